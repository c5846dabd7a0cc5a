#include "editor/editor.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "editor/command_groups.h"
#include "generate/menu_page.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {

Editor::Editor(Host& host, std::string program_folder)
    : notify_(host), doc_(notify_), form_(doc_), program_folder_(std::move(program_folder)) {
  notify_.SetTree(&doc_.model.tree);
  notify_.SetBeforeFormRefresh([this] { form_.RememberCompleteColours(); });
  doc_.model.SetSelectionHandler([this] { form_.OnSelectionChanged(); });
  doc_.model.tree.SetChangeHook([this](MenuTree::Change c, NodeId n) { notify_.TreeChanged(c, n); });
}

Editor::~Editor() {
  std::error_code ec;
  if (!preview_folder_.empty()) std::filesystem::remove_all(preview_folder_, ec);
}

const std::string& Editor::PreviewFolder() {
  if (preview_folder_.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/pomeli2-preview-XXXXXX";
    if (mkdtemp(pattern.data())) preview_folder_ = pattern + "/";
  }
  return preview_folder_;
}

void Editor::Start() {
  Notifier::Batch batch(notify_);
  doc_.model.ResetMenu();
  doc_.settings = PageSettings::Initial();
  doc_.ReadLastProject();
  form_.Start();
  doc_.MarkModified(0);
  doc_.model.TreeHasFocus = 1;
  notify_.TreeRebuilt();
  notify_.TreeColoursChanged();
  notify_.FocusTree();
}

EditorState Editor::Capture() const {
  const MenuModel& m = doc_.model;
  return {m.table.Share(), m.tree.Share(), m.counters, doc_.settings, form_.item, m.SelectedRow};
}

template <typename F>
auto Editor::AsStep(const std::string& name, F&& change) {
  EditorState before = Capture();
  const unsigned long edits = doc_.Edits(), touches = doc_.Touches();
  auto result = change();
  if (doc_.Edits() != edits || doc_.Touches() != touches) {
    history_.Done(name, std::move(before), doc_.Edits() != edits);
    notify_.ControlsChanged();  // undo and redo change with it
  }
  return result;
}

void Editor::Apply(EditorState state) {
  MenuModel& m = doc_.model;
  // The files the project and its page were written to stay as they are:
  // saving is no step.
  PageSettings files = doc_.settings;
  // Nor is the copy buffer: like a clipboard, it keeps what was copied last.
  const NodeId copied = m.CopiedItem();
  const MenuTree::Snapshot shown = m.tree.Share();
  m.table.Restore(std::move(state.rows));
  m.tree.Restore(std::move(state.tree));
  m.counters = state.counters;
  m.KeepCopyBuffer(copied);
  doc_.settings = std::move(state.settings);
  doc_.settings.ProjectPath = files.ProjectPath;
  doc_.settings.HtmlFileName = files.HtmlFileName;
  doc_.settings.Path = files.Path;
  m.SelectedRow = state.selected_row;
  form_.item = std::move(state.item);
  form_.link_browse_path = form_.item.link;
  form_.RefreshEnabling();
  form_.CheckAllCompleteColours();
  notify_.TreeRestored(m.tree.ChangesSince(shown));
  notify_.SelectionChanged();
  notify_.TreeColoursChanged();
  notify_.ControlsChanged();
  notify_.FormChanged();
}

void Editor::UndoRedo(bool undo) {
  open_field_ = 0;
  EditorState now = Capture();
  Apply(undo ? history_.Undo(std::move(now)) : history_.Redo(std::move(now)));
  doc_.MarkModified(history_.AtSaved() ? 0 : 1);
}

std::string Editor::CommandTooltipText(int command) const {
  std::string tip = sj(CommandTooltip(command));
  if (command == kCmdUndo && history_.CanUndo()) tip += ": " + history_.UndoName();
  if (command == kCmdRedo && history_.CanRedo()) tip += ": " + history_.RedoName();
  return tip;
}

void Editor::Dispatch(int command) {
  if (!CommandEnabled(command)) return;
  Notifier::Batch batch(notify_);
  if (command == kCmdUndo || command == kCmdRedo) {
    UndoRedo(command == kCmdUndo);
    notify_.ControlsChanged();
    return;
  }
  open_field_ = 0;
  if (ChangesNothing(command)) {
    // Writing and reading files, and the shell's own commands, are no steps;
    // the snapshot of a step would make every row they number a copy.
    Run(command);
  } else {
    AsStep(Utf8ToSjis(StepName(command)).value_or(""), [&] {
      Run(command);
      return 0;
    });
  }
  // Any command may change what the menus and buttons offer.
  notify_.ControlsChanged();
}

bool Editor::ChangesNothing(int command) {
  switch (command) {
    case kCmdSave: case kCmdSaveAs: case kCmdHtmlSave: case kCmdHtmlSaveAs: case kCmdPreview:
    case kCmdPrint: case kCmdPrintPreview: case kCmdPrintSetup: case kCmdFrame2: case kCmdFrame3:
    case kCmdIconCopy: case kCmdHelp: case kCmdAbout: case kCmdExit: case kCmdNew: case kCmdOpen:
    case kCmdRecent: case kCmdRename: case kCmdFrameResizable:
      return true;
    default:
      return false;
  }
}

void Editor::Run(int command) {
  switch (command) {
    case kCmdAddItem: tree_commands::AddItem(*this); break;
    case kCmdDelete: tree_commands::DeleteItem(*this); break;
    case kCmdRename: tree_commands::StartRename(*this); break;
    case kCmdMoveUp: tree_commands::Move(*this, true); break;
    case kCmdMoveDown: tree_commands::Move(*this, false); break;
    case kCmdOutlineUp: if (doc_.model.TreeHasFocus == 1) tree_commands::Move(*this, true); break;
    case kCmdOutlineDown: if (doc_.model.TreeHasFocus == 1) tree_commands::Move(*this, false); break;
    case kCmdIndent: tree_commands::Indent(*this, true); break;
    case kCmdOutdent: tree_commands::Indent(*this, false); break;
    case kCmdCut: clipboard_commands::Cut(*this); break;
    case kCmdCopy: clipboard_commands::Copy(*this); break;
    case kCmdPasteCut: clipboard_commands::Paste(*this, true); break;
    case kCmdPasteCopy: clipboard_commands::Paste(*this, false); break;
    case kCmdNew: document_commands::New(*this); break;
    case kCmdOpen: document_commands::Open(*this, std::nullopt); break;
    case kCmdRecent: document_commands::Open(*this, doc_.LastProjectPath()); break;
    case kCmdSave: document_commands::Save(*this); break;
    case kCmdSaveAs: document_commands::SaveAs(*this); break;
    case kCmdHtmlSave: html_commands::SaveHtml(*this, false); break;
    case kCmdHtmlSaveAs: html_commands::SaveHtml(*this, true); break;
    case kCmdIconCopy: html_commands::CopyIcons(*this); break;
    case kCmdFrame2: html_commands::CreateFrameSet(*this, 2); break;
    case kCmdFrame3: html_commands::CreateFrameSet(*this, 3); break;
    case kCmdPreview: html_commands::Preview(*this); break;
    case kCmdTreeBgColor: colour_commands::ChooseTreeColour(*this, true); break;
    case kCmdTreeItemColor: colour_commands::ChooseTreeColour(*this, false); break;
    case kCmdBulkSize: bulk_commands::Change(*this, BulkChangeDialog::Kind::kFontSize); break;
    case kCmdBulkStyle: bulk_commands::Change(*this, BulkChangeDialog::Kind::kFontStyle); break;
    case kCmdBulkOther: bulk_commands::Change(*this, BulkChangeDialog::Kind::kOtherButton); break;
    case kCmdBulkBg: bulk_commands::Change(*this, BulkChangeDialog::Kind::kBackground); break;
    case kCmdScriptOptions: option_commands::ScriptOptions(*this); break;
    case kCmdTreeImages: option_commands::TreeImages(*this); break;
    case kCmdBodyInsert: option_commands::BodyInsert(*this); break;
    case kCmdAddTarget: option_commands::AddTargetName(*this); break;
    case kCmdItemTargets: option_commands::ToggleItemTargets(*this); break;
    case kCmdItemIcons: option_commands::ToggleItemIcons(*this); break;
    case kCmdFrameResizable: option_commands::ToggleFrameResizable(*this); break;
    case kCmdSelectImage: path_commands::SelectImage(*this); break;
    case kCmdPrint: notify_.host().Print(Host::PrintKind::kPrint); break;
    case kCmdPrintPreview: notify_.host().Print(Host::PrintKind::kPreview); break;
    case kCmdPrintSetup: notify_.host().Print(Host::PrintKind::kSetup); break;
    case kCmdHelp: notify_.host().ShowHelp(); break;
    case kCmdAbout: notify_.host().ShowAbout(); break;
    case kCmdExit: notify_.host().RequestClose(); break;
    default: break;
  }
}

bool Editor::FieldChanged(int control, const std::string& text) {
  Notifier::Batch batch(notify_);
  // Typing in one field is one step until the focus leaves it.
  if (open_field_ == control) return form_.FieldChanged(control, text);
  const unsigned long edits = doc_.Edits(), touches = doc_.Touches();
  std::string before = form_.FieldText(control);
  bool kept = AsStep(sj("入力"), [&] { return form_.FieldChanged(control, text); });
  if (doc_.Edits() != edits || doc_.Touches() != touches) {
    open_field_ = control;
    open_field_before_ = std::move(before);
  }
  return kept;
}

void Editor::FieldEditEnded(int control) {
  if (control != 0 && control == open_field_ && FormState::IsColourField(control)) {
    const std::string value = form_.FieldText(control);
    if (!value.empty() && !CompleteColour(value)) {
      Notifier::Batch batch(notify_);
      notify_.Message(ColourExpected(), sj("入力エラー"), MessageIcon::kError);
      // Back to the text before the typing when that was a colour, else to
      // no colour; within the typing's own step.
      const bool was_colour = open_field_before_.empty() || CompleteColour(open_field_before_);
      form_.FieldChanged(control, was_colour ? open_field_before_ : std::string());
    }
  }
  open_field_ = 0;
}

void Editor::CheckBoxClicked(int control, bool checked) {
  Notifier::Batch batch(notify_);
  open_field_ = 0;
  AsStep(sj("チェックの変更"), [&] {
    form_.CheckBoxClicked(control, checked);
    return 0;
  });
}

void Editor::ButtonClicked(int control) {
  if (!ControlEnabled(control)) return;
  Notifier::Batch batch(notify_);
  open_field_ = 0;
  bool colour = FormState::ColourFieldOfButton(control) != 0;
  AsStep(sj(colour ? "色の変更" : "ファイルの選択"), [&] {
    if (colour) colour_commands::ChooseFieldColour(*this, control);
    else path_commands::Browse(*this, control);
    return 0;
  });
  notify_.ControlsChanged();
}

bool Editor::CanDrop(NodeId item, NodeId parent, NodeId before) const {
  return tree_commands::CanMoveTo(doc_.model, item, parent, before);
}

void Editor::Drop(NodeId item, NodeId parent, NodeId before) {
  if (!CanDrop(item, parent, before)) return;
  Notifier::Batch batch(notify_);
  open_field_ = 0;
  AsStep(Utf8ToSjis(StepName(kCmdDrop)).value_or(""), [&] {
    tree_commands::MoveTo(*this, item, parent, before);
    return 0;
  });
  notify_.ControlsChanged();
}

void Editor::SelectItem(NodeId node) {
  Notifier::Batch batch(notify_);
  open_field_ = 0;
  doc_.model.tree.Select(node);
}

bool Editor::EndLabelEdit(const std::string& title) {
  Notifier::Batch batch(notify_);
  open_field_ = 0;
  return AsStep(Utf8ToSjis(StepName(kCmdRename)).value_or(""), [&] { return tree_commands::Rename(*this, title); });
}

void Editor::OpenProject(const std::string& sjis_path) {
  Notifier::Batch batch(notify_);
  document_commands::Open(*this, sjis_path);
  notify_.ControlsChanged();
}

void Editor::RefuseUnrepresentableText() { form_.RefuseUnrepresentableText(); }

bool Editor::ReadProjectFile(const std::string& path) {
  Notifier::Batch batch(notify_);
  if (!doc_.ReadProjectFile(path, form_.target_list)) return false;
  form_.ShowLoadedItem();
  return true;
}

bool Editor::CommandEnabled(int command) const {
  const PageSettings& s = doc_.settings;
  switch (command) {
    case kCmdNew: case kCmdOpen: case kCmdSave: case kCmdSaveAs:
    case kCmdHtmlSave: case kCmdHtmlSaveAs:
    case kCmdRename: case kCmdAddItem: case kCmdDelete: case kCmdCut: case kCmdCopy:
    case kCmdExit: case kCmdToolbar: case kCmdHelp: case kCmdAbout:
    case kCmdTreeBgColor: case kCmdTreeItemColor:
    case kCmdBulkSize: case kCmdBulkStyle: case kCmdBulkOther: case kCmdBulkBg:
    case kCmdScriptOptions: case kCmdTreeImages: case kCmdBodyInsert: case kCmdAddTarget:
    case kCmdItemTargets: case kCmdItemIcons: case kCmdFrameResizable: case kCmdSelectImage:
    case kCmdPrint: case kCmdPrintPreview: case kCmdPrintSetup: case kCmdPreview:
      return true;
    case kCmdOutlineUp: return form_.Enabled(kCtlMoveUp);
    case kCmdOutlineDown: return form_.Enabled(kCtlMoveDown);
    case kCmdIndent: {
      NodeId n = doc_.model.tree.Selected();
      return n != kNoNode && n != doc_.model.Root() && doc_.model.tree.PrevSibling(n) != kNoNode;
    }
    case kCmdOutdent: {
      NodeId n = doc_.model.tree.Selected();
      return n != kNoNode && n != doc_.model.Root() && doc_.model.tree.Parent(n) != doc_.model.Root();
    }
    case kCmdUndo: return history_.CanUndo();
    case kCmdRedo: return history_.CanRedo();
    case kCmdRecent: return !doc_.LastProjectPath().empty();
    case kCmdFrame2: case kCmdFrame3: case kCmdIconCopy: return s.HtmlFileName != UntitledHtml();
    case kCmdPasteCut: return doc_.model.counters.CutBufferFull();
    case kCmdPasteCopy: return doc_.model.counters.CopyBufferFull();
    case kCmdMoveUp: case kCmdMoveDown: return form_.Enabled(command);
    default: return false;
  }
}

bool Editor::ControlEnabled(int control) const {
  switch (control) {
    case kCtlAddItem: case kCtlMoveUp: case kCtlMoveDown: return CommandEnabled(control);
    default: return form_.Enabled(control);
  }
}

bool Editor::CommandCheckable(int command) {
  return command == kCmdItemTargets || command == kCmdItemIcons || command == kCmdFrameResizable;
}

bool Editor::CommandChecked(int command) const {
  switch (command) {
    case kCmdItemTargets: return doc_.settings.ItemTargetsEnabled();
    case kCmdItemIcons: return doc_.settings.ItemIconsEnabled();
    case kCmdFrameResizable: return doc_.frame_resizable == 1;
    default: return false;
  }
}

std::string Editor::RecentEntryText() const {
  const std::string& last = doc_.LastProjectPath();
  if (last.empty()) return sj("なし");
  if (last.size() <= 70) return last;
  return sj("前回使ったファイルを開く");
}

ContextMenu Editor::CurrentContextMenu() const {
  const BatchCounters& c = doc_.model.counters;
  return ContextMenuFor(c.CutBufferFull(), c.CopyBufferFull());
}

bool Editor::CloseRequested(int left, int top, int client_width, int client_height) {
  const PageSettings& s = doc_.settings;
  std::string last = s.ProjectPath != UntitledProject() ? s.ProjectPath : doc_.LastProjectPath();
  bool modified = doc_.ModifiedFlag() == 1;
  const SettingsFile* file = doc_.AttachedSettingsFile();
  if (file) {
    if (auto fields = file->Read()) {
      last = fields->last_project;
      // Either says so: an edit whose mark could not be written still counts.
      modified = modified || (!fields->modified.empty() && fields->modified[0] == '1');
    }
  }
  // いいえ is the default: Enter out of habit must not throw the work away.
  if (modified && notify_.Message(sj("変更が保存されていません。このまま終了しますか？"), sj("保存確認"),
                                  MessageIcon::kWarning, MessageButtons::kYesNo, MessageAnswer::kNo) != MessageAnswer::kYes)
    return false;
  if (file && !file->WriteCloseLine(left, top, client_width, client_height, last))
    doc_.ShowError(sj("「Pomeli2.ini」を書き込めません。"), sj("ファイルエラー"));
  return true;
}

}  // namespace pomeli2
