// The editor without any widget: the document, the form state and the
// command groups, reached through one dispatch by command id. Everything
// that needs a person goes through the Host; what the screen must show
// again goes out through the Notifier, once per user action.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "editor/commands/command_registry.h"
#include "editor/commands/commands.h"
#include "editor/dialogs/dialogs.h"
#include "document/document.h"
#include "editor/session/find.h"
#include "editor/form/form_state.h"
#include "editor/session/history.h"
#include "editor/view/notifier.h"
#include "editor/session/services.h"
#include "editor/view/shell.h"

namespace pomeli2 {

class Editor {
 public:
  // `program_folder` is a system path ending in "/" (settings file, backup
  // copy, standard images, default names); empty when there is none.
  explicit Editor(Host& host, std::string program_folder = {});
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // The view's first update: the root item, empty buffers, start values.
  void Start();

  // --- What the screen shows: the editor's state, read-only. Everything
  // that changes it is one of the calls below, which tell the screen what
  // changed.
  const Document& Doc() const { return doc_; }
  const FormState& Form() const { return form_; }
  const MenuModel& Model() const { return doc_.model; }
  const PageSettings& Settings() const { return doc_.settings; }
  int ModifiedFlag() const { return doc_.ModifiedFlag(); }
  bool TreeHasFocus() const { return notify_.TreeHasFocus(); }

  // The dialogs' folders kept from one start to the next, with the document
  // they were used for.
  using KeptFolders = Services::KeptFolders;
  KeptFolders FoldersToKeep() const { return services_.FoldersToKeep(doc_.settings.ProjectPath); }
  void RestoreFolders(KeptFolders kept) { services_.RestoreFolders(std::move(kept)); }
  void AttachSettingsFile(const SettingsFile* file) { doc_.AttachSettingsFile(file); }
  // Where the window opens: at the position Pomeli2.ini keeps (a message
  // and no place when the file cannot be read), with the size window.ini
  // keeps, maximised again when it was.
  struct WindowStart {
    std::optional<WindowRect> place;  // nothing: where the window system puts it,
    std::optional<WindowSize> size;   // with this size when one was kept
    bool maximised = false;
  };
  // The window's first moment: the program folder's Pomeli2.ini and
  // window.ini from now on, and the dialogs' folders of the last run.
  WindowStart OpenWindow(const WindowRect& available);
  // What the window is at a close request.
  struct ClosingWindow {
    int left = 0, top = 0;  // its frame's position, as it stands when not maximised
    WindowSize client;      // its client area
    WindowSize normal;      // its size when not maximised
    bool maximised = false;
  };
  // CloseRequested, and when the window may close, window.ini for the next
  // start. False when the user chose to keep the program running.
  bool CloseWindow(const ClosingWindow& window);

  // --- What the user does. Every change of the document passes here.
  // Runs a command by its id when it is enabled, as its descriptor says.
  void Dispatch(CommandId command);
  // The undo and redo commands' own work.
  void Undo() { UndoRedo(true); }
  void Redo() { UndoRedo(false); }
  // A field's text or list selection changed; false, after the message,
  // when the text cannot be kept (the field shows its old text again).
  bool FieldChanged(int control, const std::string& text);
  void CheckBoxClicked(int control, bool checked);
  // A button of the form that runs no command: a colour button or a
  // browse button.
  void ButtonClicked(int control);
  // Drag and drop in the tree: whether `item` may go to `parent` (as its
  // last child, or before its child `before`), and the drop itself.
  bool CanDrop(NodeId item, NodeId parent, NodeId before) const;
  void Drop(NodeId item, NodeId parent, NodeId before);
  // The user selected an item in the tree.
  void SelectItem(NodeId node);
  // The find bar: typing selects the first item that matches `text` (CP932);
  // Enter and F3 go to the next match, Shift+F3 to the previous one.
  FindResult FindText(const std::string& text);
  FindResult FindAgain(bool forward);
  // The last find's matches now that the menu may have changed, and the
  // selected item's place among them.
  FindResult FindPlace();
  // The user closed `node`'s branch: a selection hidden in it moves to it,
  // as the tree views of the desktop do.
  void BranchClosed(NodeId node);
  // The check before publishing, for the window that lists its problems;
  // ShowProblem selects the item of one of them, or focuses its field.
  void CheckBeforePublishing();
  const std::vector<CheckProblem>& LastCheck() const { return last_check_; }
  // Whether the last check found a problem with `node`.
  bool CheckMarked(NodeId node) const;
  void ShowProblem(size_t index);
  // The tree got or lost the keyboard focus.
  void SetTreeFocus(bool has_focus) { notify_.SetTreeFocus(has_focus); }
  // An in-place label edit of the selected item ended with `title`. False,
  // after a message, when the label keeps its old text.
  bool EndLabelEdit(const std::string& title);
  // A project named on the command line or handed over by a second start:
  // the Open command with this file instead of its dialog.
  void OpenProject(const std::string& sjis_path);
  // The import of a file already chosen, as one step.
  void ImportFile(const std::string& sjis_path);
  // Typed text held a character that code page 932 cannot hold.
  void RefuseUnrepresentableText();
  // The focus left field `control`: typing there again is a step of its
  // own. A colour typed there that is not complete ("#12345") is refused
  // with a message, and the field takes back what it held before.
  void FieldEditEnded(int control = 0);
  // The close request: asks about unsaved changes and writes the close-time
  // line. False when the user chose to keep the program running.
  bool CloseRequested(int left, int top, int client_width, int client_height);

  // --- What the screen asks.
  bool CommandEnabled(CommandId command) const;
  // Whether a control of the form is enabled: its own rule, and for the
  // buttons that run a command, the command's. A command id is no control.
  bool ControlEnabled(int control) const;
  bool ControlEnabled(CommandId) const = delete;
  // Whether a command shows a check mark.
  bool CommandChecked(CommandId command) const;
  // A command's tooltip (CP932): undo and redo name the step they take.
  std::string CommandTooltipText(CommandId command) const;
  // A command's menu text now (CP932), for the entries whose text follows
  // the state.
  std::string CommandLiveText(CommandId command) const;
  const History& GetHistory() const { return history_; }
  // The state a step can change, shared with the document.
  EditorState Capture() const;
  // The recent entry of the file menu: the last project's path, a generic
  // text when the path is long, "なし" when there is none.
  std::string RecentEntryText() const;
  // The context menu for the present state of the two buffers.
  ContextMenu CurrentContextMenu() const;

  // Reads a project as Open does once it has a file: the form then shows
  // the last item read. False, after the message, when nothing changed.
  bool ReadProjectFile(const std::string& path);

 private:
  // Tests, benchmarks and fuzzers set up states through it (editor_access.h).
  friend struct EditorAccess;
  // What a command works on.
  CommandContext Context() { return {doc_, form_, notify_, services_}; }
  // Runs `change` as one step of the history, named `name` (CP932), when it
  // changes the document.
  template <typename F>
  auto AsStep(const std::string& name, F&& change);
  void Apply(EditorState state, NodeId copied);
  CommandOutcome Run(const CommandDescriptor& command);
  // What the dispatch does after a command: the history's part of it.
  void Follow(const CommandOutcome& outcome);
  // What the rules of the commands read.
  CommandState State() const { return {doc_, form_, history_}; }
  void UndoRedo(bool undo);
  // The typing in a field has ended: a colour left incomplete there is
  // refused, and the field goes back to what it held before.
  void EndTyping();
  // The last check speaks of the items it checked: a new document drops it,
  // and so does a new item that takes an id an undone step gave up.
  void KeepCheckOnItsItems(MenuTree::Change change, NodeId node);

  Notifier notify_;
  Document doc_;
  FormState form_;
  Services services_;
  std::optional<WindowStateStore> window_state_;  // the window's files, once it has opened
  History history_;
  int open_field_ = 0;  // the field whose typing the last step holds
  unsigned long steps_done_ = 0;
  TreeFinder finder_;
  std::vector<CheckProblem> last_check_;
  int typed_field_ = 0;  // the field typed into since the focus came to it
  int checking_field_ = 0;  // the field whose change is being checked
  std::string typed_before_;  // its text before that typing
};

}  // namespace pomeli2
