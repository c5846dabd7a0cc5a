// Everything the editor needs from a person or a screen goes through this
// interface; the desktop program implements it with real dialogs, tests
// with a scripted host. Texts and paths are CP932 bytes.
#pragma once

#include <optional>
#include <string>

#include "document/publish_check.h"
#include "model/menu_tree.h"

namespace pomeli2 {

struct CustomColours;
struct BulkChangeDialog;
struct ScriptOptionsDialog;
struct TreeImagesDialog;
struct BodyInsertDialog;
struct TargetNameDialog;

enum class MessageIcon { kNone, kInformation, kWarning, kError, kQuestion };
enum class MessageButtons { kOk, kOkCancel, kYesNo };
enum class MessageAnswer { kOk, kCancel, kYes, kNo };

// A common open or save file dialog.
struct FileDialogRequest {
  enum class Kind { kOpen, kSave };
  Kind kind = Kind::kSave;
  // Entries "label|patterns|label|patterns||", patterns separated by ";".
  std::string filter;
  // Added to a chosen name that has no extension.
  std::string default_extension;
  // The file name (with or without a folder) the dialog starts with.
  std::string initial_name;
  // Only a file that exists can be chosen.
  bool must_exist = false;
  // A chosen name without an extension takes the extension of the filter
  // chosen in the dialog (its first pattern's) rather than
  // `default_extension`: the filter names a format.
  bool extension_by_filter = false;
};

class Host {
 public:
  virtual ~Host() = default;
  // `default_answer` is the button that Enter presses; nothing for the
  // first button.
  virtual MessageAnswer MessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                                   MessageButtons buttons, std::optional<MessageAnswer> default_answer) = 0;
  // The chosen path, or nothing when the dialog was cancelled.
  virtual std::optional<std::string> FileDialog(const FileDialogRequest&) { return std::nullopt; }
  // The colour dialog: opens on `initial` (0xRRGGBB), with the shared custom
  // colours, which it may change. The chosen colour, or nothing.
  virtual std::optional<unsigned> ColourDialog(unsigned /*initial*/, CustomColours&) { return std::nullopt; }
  // The editor's dialogs, shown modally over the values they hold; true
  // for OK. The dialogs' buttons call back into them.
  virtual bool RunDialog(BulkChangeDialog&) { return false; }
  virtual bool RunDialog(ScriptOptionsDialog&) { return false; }
  virtual bool RunDialog(TreeImagesDialog&) { return false; }
  virtual bool RunDialog(BodyInsertDialog&) { return false; }
  virtual bool RunDialog(TargetNameDialog&) { return false; }
  virtual void Beep() {}
  // A folder chooser starting at `initial` (CP932); the chosen folder, or
  // nothing when it was cancelled.
  virtual std::optional<std::string> FolderDialog(const std::string& /*title*/, const std::string& /*initial*/) {
    return std::nullopt;
  }
  // A long task has done `done` of `total` steps: shown with a way to stop
  // it; false once the user asked to stop. The step `done` == `total` is the
  // last that can stop it: the work after it is shown with no way to stop.
  // EndProgress takes it away.
  virtual bool Progress(const std::string& /*text*/, size_t /*done*/, size_t /*total*/) { return true; }
  virtual void EndProgress() {}

  // --- What the screen must show again. A command sends each of these at
  // most once, when it ends; the tree's own changes come as they happen.
  // The form must show the editor's fields again.
  virtual void RefreshForm() {}
  // Some control's or command's enabled state changed.
  virtual void ControlStatesChanged() {}
  // The menu tree changed as a whole (a load, File New): show it anew.
  virtual void TreeRebuilt() {}
  // The menu tree went to another state of the same document (undo, redo):
  // these items are gone, and these (in pre-order) are new or changed. The
  // rest is as it was: show only what changed.
  virtual void TreeRestored(const MenuTree::Changes& /*changes*/) { TreeRebuilt(); }
  // An item was inserted as the last child of its parent.
  virtual void ItemInserted(NodeId) {}
  // An item was removed with its whole subtree.
  virtual void ItemRemoved(NodeId) {}
  virtual void ItemLabelChanged(NodeId) {}
  // An item (with its subtree) took another place among its siblings.
  virtual void ItemMoved(NodeId) {}
  // The editor selected another item.
  virtual void SelectionChanged(NodeId) {}
  // The colours of the editor's tree changed.
  virtual void TreeColoursChanged() {}
  // In-place editing of an item's label is to start.
  virtual void StartLabelEdit(NodeId) {}
  // An in-place label edit still open ends as leaving its box ends it: its
  // text goes to Editor::EndLabelEdit before this returns.
  virtual void FinishLabelEdit() {}
  // The menu tree is to take the keyboard focus.
  virtual void FocusTree() {}

  // --- Printing: the print dialog and job, the preview, the printer setup.
  // The host makes a PrintJob for the printer's device and draws its pages;
  // true when it did (not for the setup, nor for a print dialog cancelled).
  enum class PrintKind { kPrint, kPreview, kSetup };
  virtual bool Print(PrintKind) { return false; }

  // A passing note in the status bar (CP932).
  virtual void ShowStatus(const std::string& /*text*/) {}

  // Opens a URL in the desktop's default browser.
  virtual void OpenUrl(const std::string& /*url*/) {}

  // --- The shell's own commands.
  virtual void ShowHelp() {}
  // Opens the find bar under the tree, its text ready to type over.
  virtual void ShowFindBar() {}
  // The find bar goes to the next match of its text, or the previous one.
  virtual void FindAgain(bool /*forward*/) {}
  // The check before publishing found these problems (none, maybe): the
  // window that lists them shows them, beside the editor, and the tree
  // marks their items until the next check.
  virtual void ShowCheckResults(const std::vector<CheckProblem>& /*problems*/) {}
  // The last check lost the problems of items that are no more: the marks
  // and the list show the editor's LastCheck() again, without coming forward.
  virtual void CheckChanged() {}
  // What putting the menu into a site did, page by page (CP932), beside
  // the editor as the check's list is.
  struct SiteRow {
    std::string page, what;
  };
  virtual void ShowSiteReport(const std::string& /*summary*/, const std::vector<SiteRow>& /*rows*/) {}
  // A field of the form is to take the keyboard focus.
  virtual void FocusControl(int /*control*/) {}
  virtual void ShowAbout() {}
  // The window is asked to close, as its close box would.
  virtual void RequestClose() {}
  // The toolbar is shown, or hidden when it is shown.
  virtual void ToggleToolbar() {}
};

}  // namespace pomeli2
