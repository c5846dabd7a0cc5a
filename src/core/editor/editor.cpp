#include "editor/editor.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "editor/commands/command_groups.h"
#include "editor/session/file_dialogs.h"
#include "io/file_io.h"
#include "text/catalogue.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {

Editor::Editor(Host& host, std::string program_folder)
    : notify_(host), form_(doc_, notify_), services_(std::move(program_folder)) {
  notify_.SetTree(&doc_.model.tree);
  notify_.SetBeforeFormRefresh([this] { form_.RememberCompleteColours(); });
  doc_.model.SetSelectionHandler([this] { form_.OnSelectionChanged(); });
  doc_.model.tree.SetChangeHook([this](MenuTree::Change c, NodeId n) {
    KeepCheckOnItsItems(c, n);
    notify_.TreeChanged(c, n);
  });
}

Editor::WindowStart Editor::OpenWindow(const WindowRect& available) {
  window_state_.emplace(services_.ProgramFolder());
  doc_.AttachSettingsFile(&window_state_->Settings());
  KeptWindow kept = window_state_->Read();
  WindowStart start{pomeli2::StartPlacement(window_state_->Settings(), available, notify_.host(), kept.size),
                    std::nullopt, kept.maximised};
  if (!start.place && kept.size)
    start.size = WindowSize{std::min(kept.size->width, available.width), std::min(kept.size->height, available.height)};
  services_.RestoreFolders({std::move(kept.document), std::move(kept.folders)});
  return start;
}

void Editor::Start() {
  Notifier::Batch batch(notify_);
  doc_.model.ResetMenu();
  doc_.settings = PageSettings::Initial();
  doc_.ReadLastProject();
  form_.Start();
  notify_.Report(doc_.MarkModified(0));
  notify_.TreeRebuilt();
  notify_.TreeColoursChanged();
  notify_.FocusTree();
}

EditorState Editor::Capture() const {
  return {doc_.model.Share(), doc_.settings};
}

template <typename F>
auto Editor::AsStep(const std::string& name, F&& change) {
  EditorState before = Capture();
  const unsigned long edits = doc_.Edits(), touches = doc_.Touches();
  const int was_modified = doc_.ModifiedFlag();
  auto result = change();
  if (doc_.Edits() == edits && doc_.Touches() == touches) return result;
  // A command that changed nothing is no step, and no edit either,
  // whatever it said.
  const EditorState after = Capture();
  if (SameContent(before, after)) {
    if (doc_.ModifiedFlag() != was_modified) notify_.Report(doc_.MarkModified(was_modified));
  } else {
    history_.Done(name, std::move(before), after, doc_.Edits() != edits);
    // A copied item that only a redo could bring back is gone for good.
    doc_.model.ForgetWaitingCopy();
    ++steps_done_;
    notify_.ControlsChanged();  // undo and redo change with it
  }
  return result;
}

void Editor::Apply(EditorState state, NodeId copied) {
  MenuModel& m = doc_.model;
  // The files the project and its page were written to stay as they are:
  // saving is no step.
  PageSettings files = doc_.settings;
  const MenuTree::Snapshot shown = m.tree.Share();
  m.Restore(std::move(state.menu));
  // Nor is the copy buffer: like a clipboard, it keeps what was copied last,
  // when that item is in this state.
  m.KeepCopyBuffer(copied);
  doc_.settings = std::move(state.settings);
  doc_.settings.ProjectPath = files.ProjectPath;
  doc_.settings.HtmlFileName = files.HtmlFileName;
  doc_.settings.Path = files.Path;
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
  NodeId copied = doc_.model.CopiedItem();
  EditorState then = undo ? history_.Undo(std::move(now)) : history_.Redo(std::move(now));
  Apply(std::move(then), copied);
  notify_.Report(doc_.MarkModified(history_.AtSaved() ? 0 : 1));
}

std::string Editor::CommandTooltipText(CommandId command) const {
  const CommandDescriptor* d = FindCommand(command);
  if (!d) return "";
  std::string tip = sj(d->tooltip);
  if (d->tooltip_detail)
    if (auto detail = d->tooltip_detail(State())) tip += ": " + *detail;
  return tip;
}

std::string Editor::CommandLiveText(CommandId command) const {
  const CommandDescriptor* d = FindCommand(command);
  if (!d) return "";
  return d->live_text ? d->live_text(State()) : Utf8ToSjis(*d->text).value_or("");
}

void Editor::Dispatch(CommandId command) {
  const CommandDescriptor* d = FindCommand(command);
  if (!d || !(*d->enabled)(State())) return;
  // A rename still being typed is an edit like any other: what the command
  // reads and writes is what the user typed. It is a step of its own.
  notify_.host().FinishLabelEdit();
  Notifier::Batch batch(notify_);
  // Whatever the user does next ends the typing in a field, even while
  // the focus stays there (a key, a toolbar button).
  EndTyping();
  // Ending the typing may have taken back a colour typed wrong, and with it
  // the only step that undo had.
  if (!(*d->enabled)(State())) {
    notify_.ControlsChanged();
    return;
  }
  CommandOutcome outcome;
  if (*d->undo == UndoKind::kStep) {
    AsStep(Utf8ToSjis(StepName(command)).value_or(""), [&] {
      outcome = Run(*d);
      return 0;
    });
  } else {
    // Writing and reading files, the shell's own commands and undo itself
    // are no steps; the snapshot of a step would make every row they number
    // a copy.
    outcome = Run(*d);
  }
  Follow(outcome);
  // Any command may change what the menus and buttons offer.
  notify_.ControlsChanged();
}

CommandOutcome Editor::Run(const CommandDescriptor& command) {
  CommandContext context = Context();
  return command.run(context);
}

void Editor::Follow(const CommandOutcome& outcome) {
  switch (outcome.kind) {
    case CommandOutcome::Kind::kNothing: break;
    case CommandOutcome::Kind::kSaved: history_.MarkSaved(); break;
    case CommandOutcome::Kind::kReplaced: history_.Clear(); break;
    case CommandOutcome::Kind::kUndo: Undo(); break;
    case CommandOutcome::Kind::kRedo: Redo(); break;
    case CommandOutcome::Kind::kCheck: CheckBeforePublishing(); break;
    case CommandOutcome::Kind::kImport: ImportFile(outcome.path); break;
    case CommandOutcome::Kind::kKeptSetting: history_.KeepSetting(&PageSettings::Site, doc_.settings.Site); break;
  }
}

bool Editor::FieldChanged(int control, const std::string& text) {
  Notifier::Batch batch(notify_);
  // What the field held before the user began typing there: a command run
  // meanwhile by a key or a toolbar button ends the step, not the typing.
  if (typed_field_ != control) {
    typed_field_ = control;
    typed_before_ = form_.FieldText(control);
  }
  // A message of the field's own check takes the keyboard from the field;
  // that ends no typing (see FieldEditEnded).
  const int was_checking = checking_field_;
  checking_field_ = control;
  struct Restore {
    int& field;
    int was;
    ~Restore() { field = was; }
  } restore{checking_field_, was_checking};
  // Typing in one field is one step until the focus leaves it.
  if (open_field_ == control) {
    bool kept = form_.FieldChanged(control, text);
    if (!history_.Continued(Capture())) {
      open_field_ = 0;
      notify_.ControlsChanged();  // undo may have nothing left
    }
    return kept;
  }
  const unsigned long steps = steps_done_;
  bool kept = AsStep(sj("入力"), [&] { return form_.FieldChanged(control, text); });
  if (steps_done_ != steps) open_field_ = control;
  return kept;
}

void Editor::FieldEditEnded(int control) {
  // The box of a message that the field's own check opened took the focus:
  // one mistake, one message, and the typing goes on once it is closed.
  if (control != 0 && control == checking_field_) return;
  if (control == typed_field_) EndTyping();
  typed_field_ = 0;
  open_field_ = 0;
}

void Editor::EndTyping() {
  const int control = typed_field_;
  typed_field_ = 0;
  if (control != 0 && FormState::IsColourField(control)) {
    const std::string value = form_.FieldText(control);
    if (!value.empty() && !UsableColour(value)) {
      Notifier::Batch batch(notify_);
      notify_.Message(sj(kColourExpected), sj(kInputErrorTitle), MessageIcon::kError);
      // Back to the text before the typing when that was a colour, else to
      // no colour: within the typing's step while it is still open.
      const std::string back = typed_before_.empty() || UsableColour(typed_before_) ? typed_before_ : std::string();
      FieldChanged(control, back);
      typed_field_ = 0;
    }
  }
  open_field_ = 0;
}

void Editor::CheckBoxClicked(int control, bool checked) {
  Notifier::Batch batch(notify_);
  EndTyping();
  AsStep(sj("チェックの変更"), [&] {
    form_.CheckBoxClicked(control, checked);
    return 0;
  });
}

void Editor::ButtonClicked(int control) {
  if (!ControlEnabled(control)) return;
  Notifier::Batch batch(notify_);
  EndTyping();
  bool colour = FormState::ColourFieldOfButton(control) != 0;
  AsStep(sj(colour ? "色の変更" : "ファイルの選択"), [&] {
    CommandContext context = Context();
    if (colour) colour_commands::ChooseFieldColour(context, control);
    else path_commands::Browse(context, control);
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
  EndTyping();
  AsStep(sj(kDropStepName), [&] {
    CommandContext context = Context();
    tree_commands::MoveTo(context, item, parent, before);
    return 0;
  });
  notify_.ControlsChanged();
}

void Editor::SelectItem(NodeId node) {
  Notifier::Batch batch(notify_);
  EndTyping();
  doc_.model.tree.Select(node);
}

FindResult Editor::FindText(const std::string& text) {
  FindResult found = finder_.First(doc_.model.tree, text);
  if (found.node != kNoNode) SelectItem(found.node);
  return found;
}

FindResult Editor::FindAgain(bool forward) {
  FindResult found = finder_.Step(doc_.model.tree, doc_.model.Selected(), forward);
  if (found.node != kNoNode) SelectItem(found.node);
  return found;
}

FindResult Editor::FindPlace() { return finder_.Place(doc_.model.tree, doc_.model.Selected()); }

void Editor::BranchClosed(NodeId node) {
  const MenuTree& tree = doc_.model.tree;
  const NodeId selected = doc_.model.Selected();
  if (!tree.Valid(node) || selected == kNoNode || selected == node || !tree.IsInSubtree(selected, node)) return;
  SelectItem(node);
}

void Editor::CheckBeforePublishing() {
  last_check_ = pomeli2::CheckBeforePublishing(doc_.settings, doc_.model, doc_.MenuPageFolder());
  if (const std::string site = SiteFolderOf(doc_.settings); !site.empty()) {
    const std::string menu_page = SystemPath(doc_.settings.Path).value_or(SjisToUtf8Lossy(doc_.settings.Path));
    for (CheckProblem& p : CheckSite(doc_.settings, doc_.model, site, menu_page)) last_check_.push_back(std::move(p));
  }
  notify_.host().ShowCheckResults(last_check_);
}

bool Editor::CheckMarked(NodeId node) const {
  return std::any_of(last_check_.begin(), last_check_.end(), [node](const CheckProblem& p) { return p.item == node; });
}

void Editor::KeepCheckOnItsItems(MenuTree::Change change, NodeId node) {
  const size_t before = last_check_.size();
  if (change == MenuTree::Change::kCleared) last_check_.clear();
  else if (change == MenuTree::Change::kInserted)
    std::erase_if(last_check_, [node](const CheckProblem& p) { return p.item == node; });
  if (last_check_.size() != before) notify_.host().CheckChanged();
}

void Editor::ShowProblem(size_t index) {
  if (index >= last_check_.size()) return;
  const CheckProblem& p = last_check_[index];
  if (p.item != kNoNode) {
    if (!doc_.model.tree.Valid(p.item)) return;  // gone since the check
    SelectItem(p.item);
    Notifier::Batch batch(notify_);
    notify_.FocusTree();
  } else if (int control = p.setting ? FormState::ControlOfSetting(*p.setting) : 0) {
    notify_.host().FocusControl(control);
  } else if (CommandId dialog = p.setting ? option_commands::DialogOfSetting(*p.setting) : kCmdNone) {
    // A setting only a dialog holds: that dialog, to mend it in.
    Dispatch(dialog);
  }
}

bool Editor::EndLabelEdit(const std::string& title) {
  Notifier::Batch batch(notify_);
  EndTyping();
  return AsStep(Utf8ToSjis(StepName(kCmdRename)).value_or(""), [&] {
    CommandContext context = Context();
    return tree_commands::Rename(context, title);
  });
}

void Editor::OpenProject(const std::string& sjis_path) {
  Notifier::Batch batch(notify_);
  CommandContext context = Context();
  Follow(document_commands::Open(context, sjis_path));
  notify_.ControlsChanged();
}

void Editor::ImportFile(const std::string& sjis_path) {
  Notifier::Batch batch(notify_);
  AsStep(Utf8ToSjis(StepName(kCmdImport)).value_or(""), [&] {
    CommandContext context = Context();
    exchange_commands::ImportFile(context, sjis_path);
    return 0;
  });
}

void Editor::RefuseUnrepresentableText() { form_.RefuseUnrepresentableText(); }

bool Editor::ReadProjectFile(const std::string& path) {
  CommandContext context = Context();
  return document_commands::ReadProject(context, path);
}

bool Editor::CommandEnabled(CommandId command) const {
  const CommandDescriptor* d = FindCommand(command);
  return d && (*d->enabled)(State());
}

bool Editor::ControlEnabled(int control) const {
  if (CommandId command = CommandOfButton(control)) return CommandEnabled(command);
  return form_.Enabled(control);
}

bool Editor::CommandChecked(CommandId command) const {
  const CommandDescriptor* d = FindCommand(command);
  return d && d->checked && d->checked(State());
}

std::string Editor::RecentEntryText() const { return document_commands::RecentEntryText(doc_); }

ContextMenu Editor::CurrentContextMenu() const {
  return ContextMenuFor(doc_.model.CutBufferFull(), doc_.model.CopyBufferFull());
}

bool Editor::CloseWindow(const ClosingWindow& window) {
  if (!CloseRequested(window.left, window.top, window.client.width, window.client.height)) return false;
  if (window_state_) {
    KeptFolders folders = FoldersToKeep();
    // A window.ini that cannot be written costs the next start its size and
    // folders, not the work: nothing is said.
    window_state_->Write({window.normal, window.maximised, std::move(folders.document), std::move(folders.folders)});
  }
  return true;
}

bool Editor::CloseRequested(int left, int top, int client_width, int client_height) {
  notify_.host().FinishLabelEdit();
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
  if (modified && notify_.Message(sj("変更が保存されていません。このまま終了しますか？"), sj(kSaveConfirmTitle),
                                  MessageIcon::kWarning, MessageButtons::kYesNo, MessageAnswer::kNo) != MessageAnswer::kYes)
    return false;
  if (file && !file->WriteCloseLine(left, top, client_width, client_height, last))
    notify_.Message(UnwritableMessage(kSettingsFileName), sj(kFileErrorTitle), MessageIcon::kError);
  return true;
}

}  // namespace pomeli2
