// New, Open, Save, Save As, the last project, and the backup copy that each
// open leaves in the program folder.
#include "editor/commands/command_groups.h"
#include "editor/form/form_state.h"
#include "editor/session/services.h"
#include "editor/session/file_dialogs.h"
#include "io/file_io.h"
#include "project/project_file.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2::document_commands {
namespace {

FileDialogRequest ProjectDialog(CommandContext& e, FileDialogRequest::Kind kind, const char* untitled_name) {
  FileDialogRequest d;
  d.kind = kind;
  d.filter = sj(kProjectFilter);
  d.default_extension = "pml";
  const std::string& path = e.doc.settings.ProjectPath;
  d.initial_name = path == UntitledProject() ? untitled_name : path;
  d.must_exist = kind == FileDialogRequest::Kind::kOpen;
  return d;
}

// Writes the project to ProjectPath; only a file really written clears the
// modified mark, so that no edit is lost to a save that did not happen.
CommandOutcome Write(CommandContext& e) {
  if (e.notify.Report(e.doc.WriteProjectFile())) return {};
  e.notify.Report(e.doc.MarkModified(0));
  e.notify.host().ShowStatus(FillIn(kSavedStatus, {e.doc.settings.ProjectPath}));
  return {CommandOutcome::Kind::kSaved};
}

// "backup.pml" in the program folder: the project as it was when opened.
void MakeBackup(CommandContext& e) {
  const std::string& path = e.doc.settings.ProjectPath;
  const std::string suffix = "backup.pml";
  if (path.size() >= suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0) return;
  auto source = SystemPath(path);
  auto bytes = source ? ReadWholeFile(*source) : std::nullopt;
  if (!bytes) {
    e.notify.Message(BackupFailedMessage(path), sj(kErrorTitle), MessageIcon::kWarning);
    return;
  }
  if (e.services.ProgramFolder().empty() || !WriteFileAtomically(e.services.ProgramFolder() + "backup.pml", *bytes)) {
    e.notify.Message(BackupFailedMessage(path), sj(kErrorTitle),
                       MessageIcon::kWarning);
  }
}

bool MayDropChanges(CommandContext& e) {
  return e.doc.ModifiedFlag() != 1 ||
         e.notify.Message(sj("変更が保存されていません。新しいファイルを開いてよろしいですか？"), sj(kSaveConfirmTitle),
                            MessageIcon::kWarning, MessageButtons::kYesNo) == MessageAnswer::kYes;
}

}  // namespace

bool KeepExistingFile(CommandContext& e, const std::string& sjis_path) {
  auto p = SystemPath(sjis_path);
  if (!p || !FileExists(*p)) return false;
  return e.notify.Message(sj("同名ファイルが存在します。上書きしますか？"), sj("上書確認"), MessageIcon::kWarning,
                            MessageButtons::kYesNo) != MessageAnswer::kYes;
}

CommandOutcome New(CommandContext& e) {
  if (!MayDropChanges(e)) return {};
  e.notify.Report(e.doc.MarkModified(0));
  e.form.ResetForNew();
  e.services.ForgetDialogFolders(e.doc.settings.ProjectPath);
  return {CommandOutcome::Kind::kReplaced};
}

// A file that is no project but one that import reads: said so, and
// imported into the open menu when the user agrees. Nothing for any other
// file, which the project reader then reads or refuses.
std::optional<CommandOutcome> OfferImport(CommandContext& e, const std::string& path) {
  auto system = SystemPath(path);
  auto bytes = system ? ReadWholeFile(*system) : std::nullopt;
  if (!bytes) return std::nullopt;
  if (ParseProject(*bytes, e.doc.settings, e.form.target_list).failure == ReadFailure::kNone) return std::nullopt;
  auto kind = exchange_commands::ImportableKind(*bytes, path);
  if (!kind) return std::nullopt;
  if (e.notify.Message(FillIn(kOfferImportQuestion, {path, *kind}), sj(kConfirmTitle), MessageIcon::kQuestion,
                         MessageButtons::kYesNo) == MessageAnswer::kYes)
    return CommandOutcome{CommandOutcome::Kind::kImport, path};
  return CommandOutcome{};
}

bool ReadProject(CommandContext& e, const std::string& path) {
  Notifier::Batch batch(e.notify);
  if (e.notify.Report(e.doc.ReadProjectFile(path, e.form.target_list))) return false;
  e.notify.TreeRebuilt();
  e.notify.TreeColoursChanged();
  e.form.ShowLoadedItem();
  return true;
}

CommandOutcome Open(CommandContext& e, const std::optional<std::string>& preset) {
  if (!MayDropChanges(e)) return {};
  std::string path;
  if (preset) {
    path = *preset;
  } else {
    auto chosen = AskForFile(e, FileKind::kProject, ProjectDialog(e, FileDialogRequest::Kind::kOpen, "*.pml"));
    if (!chosen) return {};
    path = *chosen;
  }
  if (auto import = OfferImport(e, path)) return *import;
  // The menu, its name and the modified mark change only when the file was
  // really read; a rejected file leaves the edits as they were.
  if (!ReadProject(e, path)) return {};
  e.notify.Report(e.doc.MarkModified(0));
  e.services.ForgetDialogFolders(e.doc.settings.ProjectPath);
  MakeBackup(e);
  return {CommandOutcome::Kind::kReplaced};
}

// The first step of Save and Save As: a pending copy is forgotten, also
// when the dialog is then cancelled.
FileDialogRequest BeginSave(CommandContext& e) {
  MenuModel& m = e.doc.model;
  FileDialogRequest dialog = ProjectDialog(e, FileDialogRequest::Kind::kSave, "pomeli2.pml");
  m.ClearCopyBuffer();
  return dialog;
}

// A file of the chosen name exists and is not to be replaced: the project
// is untitled again and nothing is written.
bool Declined(CommandContext& e, const std::string& chosen) {
  if (!KeepExistingFile(e, chosen)) return false;
  e.doc.settings.ProjectPath = UntitledProject();
  e.notify.FormChanged();
  return true;
}

// The fields store every edit as it is made, and the dispatch ends a rename
// still being typed: the saves find nothing pending, and the selection
// stays where the user left it while their dialogs and messages are open.
CommandOutcome Save(CommandContext& e) {
  FileDialogRequest dialog = BeginSave(e);
  PageSettings& s = e.doc.settings;
  if (s.ProjectPath != UntitledProject()) return Write(e);
  auto chosen = AskForFile(e, FileKind::kProject, dialog);
  if (!chosen) return {};
  s.ProjectPath = *chosen;
  e.notify.FormChanged();
  if (Declined(e, *chosen)) return {};
  return Write(e);
}

CommandOutcome SaveAs(CommandContext& e) {
  auto chosen = AskForFile(e, FileKind::kProject, BeginSave(e));
  if (!chosen || Declined(e, *chosen)) return {};
  e.doc.settings.ProjectPath = *chosen;
  e.notify.FormChanged();
  return Write(e);
}

std::string RecentEntryText(const Document& doc) {
  const std::string& last = doc.LastProjectPath();
  if (last.empty()) return sj("なし");
  if (last.size() <= 70) return last;
  return sj("前回使ったファイルを開く");
}

namespace {

// The entry in the menu: its access key, then the text with its own "&"
// shown as one.
std::string RecentMenuText(const std::string& text) {
  std::string menu = "&1 ";
  for (char c : text) menu += c == '&' ? std::string("&&") : std::string(1, c);
  return menu;
}

}  // namespace

std::vector<CommandDescriptor> Descriptors() {
  // Writing a file changes nothing the history keeps; New and Open replace
  // what it kept (the dispatch clears it once the document is replaced).
  return {
      {.id = kCmdNew, .text = "新規作成(&N)", .key = "Ctrl+N", .tooltip = "新規ファイル", .icon = "new",
       .undo = UndoKind::kClearsHistory, .enabled = AlwaysEnabled, .run = New},
      {.id = kCmdOpen, .text = "開く(&O)...", .key = "Ctrl+O", .tooltip = "開く", .icon = "open",
       .undo = UndoKind::kClearsHistory, .enabled = AlwaysEnabled,
       .run = [](CommandContext& e) { return Open(e, std::nullopt); }},
      {.id = kCmdSave, .text = "上書き保存(&S)", .key = "Ctrl+S", .tooltip = "上書き保存", .icon = "save",
       .undo = UndoKind::kNoStep, .enabled = AlwaysEnabled, .run = Save},
      {.id = kCmdSaveAs, .text = "名前を付けて保存(&A)...", .undo = UndoKind::kNoStep, .enabled = AlwaysEnabled,
       .run = SaveAs},
      {.id = kCmdRecent, .text = "最近使ったﾌｧｲﾙ", .undo = UndoKind::kClearsHistory,
       .enabled = [](const CommandState& s) { return !s.doc.LastProjectPath().empty(); },
       .live_text =
           [](const CommandState& s) {
             // "なし", greyed, has nothing to choose.
             return s.doc.LastProjectPath().empty() ? RecentEntryText(s.doc) : RecentMenuText(RecentEntryText(s.doc));
           },
       .run = [](CommandContext& e) { return Open(e, e.doc.LastProjectPath()); }},
  };
}

}  // namespace pomeli2::document_commands
