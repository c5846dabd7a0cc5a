// Import and export of whole menus in the formats other programs keep
// outlines in. Import adds to the menu, as a paste does; export writes a
// file and changes nothing.
#include "editor/commands/command_groups.h"
#include "editor/form/form_state.h"
#include "editor/session/services.h"
#include "editor/session/file_dialogs.h"
#include "exchange/exchange.h"
#include "io/file_io.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2::exchange_commands {
namespace {

std::optional<std::string> ReadChosenFile(CommandContext& e, const std::string& path) {
  auto system = SystemPath(path);
  auto bytes = system ? ReadWholeFile(*system) : std::nullopt;
  if (!bytes)
    e.notify.Message(CannotOpenMessage(path), sj(kErrorTitle),
                       MessageIcon::kError);
  return bytes;
}

// The project's name without its extension, so that the dialog adds the
// one of the format chosen there.
std::string ExportName(const PageSettings& s) {
  if (s.ProjectPath == UntitledProject()) return "pomeli2";
  std::string name = FileNameOf(s.ProjectPath);
  if (auto dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

}  // namespace

void Import(CommandContext& e) {
  FileDialogRequest dialog;
  dialog.kind = FileDialogRequest::Kind::kOpen;
  dialog.filter = sj(kImportFilter);
  dialog.must_exist = true;
  auto chosen = AskForFile(e, FileKind::kImport, dialog);
  if (chosen) ImportFile(e, *chosen);
}

std::optional<std::string> ImportableKind(std::string_view bytes, std::string_view path) {
  ImportedMenu imported = ImportMenu(bytes, MenuItem{}, 0, path);
  if (imported.problem || imported.items.empty()) return std::nullopt;
  switch (imported.format) {
    case ExchangeFormat::kJson: return sj(kImportKindJson);
    case ExchangeFormat::kOpml: return sj(kImportKindOpml);
    case ExchangeFormat::kBookmarks: return sj(kImportKindBookmarks);
    case ExchangeFormat::kMarkdown: return sj(kImportKindMarkdown);
    case ExchangeFormat::kWebPage: return sj(kImportKindWebPage);
  }
  return std::nullopt;
}

void ImportFile(CommandContext& e, const std::string& path) {
  auto bytes = ReadChosenFile(e, path);
  if (!bytes) return;

  MenuModel& m = e.doc.model;
  const NodeId parent = m.Selected();
  // The lengths of the project lines depend on the level the items go to.
  ImportedMenu imported = ImportMenu(*bytes, NewItemValues(e.doc.settings), m.tree.Level(parent), path);
  if (!imported.problem && imported.items.empty()) imported.problem = ImportProblem{ImportProblem::kNoList, 0, 0, {}};
  if (imported.problem) {
    e.notify.Message(ImportProblemMessage(*imported.problem, path), sj(kErrorTitle), MessageIcon::kError);
    return;
  }
  if (!ItemsFit(m.LiveItemCount(), static_cast<long long>(imported.items.size()))) {
    e.notify.Message(TooManyImportedMessage(path), sj(kErrorTitle), MessageIcon::kError);
    return;
  }

  // Only the items come in: the page settings and the root of a JSON
  // source stay those of the open project.
  const NodeId last_before = m.tree.LastChild(parent);
  m.Paste(imported.items);
  const NodeId first = last_before == kNoNode ? m.tree.FirstChild(parent) : m.tree.NextSibling(last_before);
  // The first item imported is shown, where the eye looks for them.
  m.tree.Select(first);
  e.form.ShowLoadedItem();
  e.notify.FocusTree();
  e.notify.Report(e.doc.MarkModified(1));
  e.notify.host().ShowStatus(FillIn(kImportedStatus, {path, std::to_string(imported.items.size())}));
  for (const std::string& warning : {CutItemsWarning(imported.cut_titles), ScriptLinksWarning(imported.script_links)})
    if (!warning.empty()) e.notify.Message(warning, sj(kConfirmTitle), MessageIcon::kWarning);
}

void Export(CommandContext& e) {
  FileDialogRequest dialog;
  dialog.filter = sj(kExportFilter);
  dialog.initial_name = ExportName(e.doc.settings);
  dialog.extension_by_filter = true;
  auto chosen = AskForFile(e, FileKind::kExport, dialog);
  if (!chosen) return;
  auto format = ExportFormatOf(*chosen);
  if (!format) {
    e.notify.Message(sj("「") + *chosen +
                           sj("」の形式がわかりません。\n拡張子を .json、.opml、.html、.md のどれかにしてください。"),
                       sj(kErrorTitle), MessageIcon::kWarning);
    return;
  }
  if (document_commands::KeepExistingFile(e, *chosen)) return;
  auto system = SystemPath(*chosen);
  if (!system || !WriteFileAtomically(*system, ExportMenu(*format, e.doc.settings, e.doc.model)))
    e.notify.Message(UnwritableMessage(*chosen), sj(kFileErrorTitle), MessageIcon::kError);
  else
    e.notify.host().ShowStatus(FillIn(kExportedStatus, {*chosen}));
}

std::vector<CommandDescriptor> Descriptors() {
  // Import is one step, as a paste is; export only writes a file.
  return {
      {.id = kCmdImport, .text = "インポート(&M)...", .undo = UndoKind::kStep, .enabled = AlwaysEnabled,
       .run = Import},
      {.id = kCmdExport, .text = "エクスポート(&E)...", .undo = UndoKind::kNoStep, .enabled = AlwaysEnabled,
       .run = Export},
  };
}

}  // namespace pomeli2::exchange_commands
