// Tells the host what changed, once per change: within a batch (a command,
// a field edit) the form, the enabled states and the selection are sent once,
// when the batch ends, however often they changed. The tree's inserts,
// removals and label changes go out as they happen, so that the screen can
// keep in step item by item, unless the whole tree is to be shown anew.
// It also keeps the one thing the editor knows of the screen: whether the
// tree has the keyboard.
#pragma once

#include <functional>

#include "document/problem.h"
#include "editor/view/host.h"

namespace pomeli2 {

class Notifier {
 public:
  explicit Notifier(Host& host) : host_(host) {}
  Notifier(const Notifier&) = delete;
  Notifier& operator=(const Notifier&) = delete;

  Host& host() { return host_; }

  // Shows a message; what is pending is shown first, so the form behind the
  // message is current.
  MessageAnswer Message(const std::string& text, const std::string& title, MessageIcon icon,
                        MessageButtons buttons = MessageButtons::kOk,
                        std::optional<MessageAnswer> default_answer = std::nullopt);

  // Shows what the document reported, a message each (after the beep of
  // one that asks for it); false when there was nothing to show.
  bool Report(const MaybeProblem& problem);
  bool Report(const Problems& problems);

  void FormChanged() { Mark(form_); }
  void ControlsChanged() { Mark(controls_); }
  void SelectionChanged() { Mark(selection_); }
  void TreeColoursChanged() { Mark(colours_); }
  void TreeRebuilt() { Mark(rebuild_); }
  void TreeRestored(MenuTree::Changes changes) {
    // Two restores in one batch would need their changes merged; none does
    // that, and the whole tree is the safe answer.
    if (restored_) rebuild_ = true;
    restored_changes_ = std::move(changes);
    Mark(restored_);
  }
  void TreeChanged(MenuTree::Change change, NodeId node);
  void StartLabelEdit(NodeId node);
  // Whether the menu tree has the keyboard: the screen says so as the focus
  // comes and goes; asking for it counts at once, before the screen
  // follows. The tree's own commands act only then.
  bool TreeHasFocus() const { return tree_focus_; }
  void SetTreeFocus(bool has_focus) { tree_focus_ = has_focus; }
  void FocusTree() {
    tree_focus_ = true;
    Mark(focus_);
  }

  // Holds back what changes until the outermost batch ends.
  class Batch {
   public:
    explicit Batch(Notifier& n) : n_(n) { ++n_.depth_; }
    ~Batch() {
      if (--n_.depth_ == 0) n_.Flush();
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    Notifier& n_;
  };

  // Sends what is pending.
  void Flush();
  // The tree the screen shows, for the selection that goes out.
  void SetTree(const MenuTree* tree) { tree_ = tree; }
  // Runs before every refresh of the form goes out, so that what the form
  // derives from its fields (the swatches) follows every change, whoever
  // made it.
  void SetBeforeFormRefresh(std::function<void()> fn) { before_form_refresh_ = std::move(fn); }

 private:
  void Mark(bool& flag) {
    flag = true;
    if (depth_ == 0) Flush();
  }

  Host& host_;
  const MenuTree* tree_ = nullptr;
  std::function<void()> before_form_refresh_;
  int depth_ = 0;
  bool tree_focus_ = false;
  bool form_ = false, controls_ = false, selection_ = false, colours_ = false, rebuild_ = false, restored_ = false,
       focus_ = false;
  NodeId label_edit_ = kNoNode;
  MenuTree::Changes restored_changes_;
};

}  // namespace pomeli2
