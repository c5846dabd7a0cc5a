#include "editor/view/notifier.h"

namespace pomeli2 {

MessageAnswer Notifier::Message(const std::string& text, const std::string& title, MessageIcon icon,
                                MessageButtons buttons, std::optional<MessageAnswer> default_answer) {
  Flush();
  return host_.MessageBox(text, title, icon, buttons, default_answer);
}

bool Notifier::Report(const MaybeProblem& problem) {
  if (!problem) return false;
  if (problem->beep) host_.Beep();
  Message(problem->text, problem->title,
          problem->severity == Problem::Severity::kWarning ? MessageIcon::kWarning : MessageIcon::kError);
  return true;
}

bool Notifier::Report(const Problems& problems) {
  for (const Problem& p : problems) Report(p);
  return !problems.empty();
}

void Notifier::TreeChanged(MenuTree::Change change, NodeId node) {
  if (change == MenuTree::Change::kCleared) {
    TreeRebuilt();
    return;
  }
  if (rebuild_ || restored_) return;  // the whole tree goes out anyway
  switch (change) {
    case MenuTree::Change::kInserted: host_.ItemInserted(node); break;
    case MenuTree::Change::kRemoved: host_.ItemRemoved(node); break;
    case MenuTree::Change::kLabelChanged: host_.ItemLabelChanged(node); break;
    case MenuTree::Change::kMoved: host_.ItemMoved(node); break;
    case MenuTree::Change::kCleared: break;
  }
}

void Notifier::StartLabelEdit(NodeId node) {
  label_edit_ = node;
  if (depth_ == 0) Flush();
}

void Notifier::Flush() {
  // Each flag is cleared before its call, so that a host that calls back
  // into the editor cannot send the same change twice.
  if (rebuild_) {
    rebuild_ = restored_ = false;
    selection_ = false;  // the rebuilt tree shows the selection
    host_.TreeRebuilt();
  }
  if (restored_) {
    restored_ = false;
    MenuTree::Changes changes = std::move(restored_changes_);
    restored_changes_ = {};
    host_.TreeRestored(changes);
  }
  if (colours_) {
    colours_ = false;
    host_.TreeColoursChanged();
  }
  if (selection_) {
    selection_ = false;
    if (tree_ && tree_->Selected() != kNoNode) host_.SelectionChanged(tree_->Selected());
  }
  if (controls_) {
    controls_ = false;
    host_.ControlStatesChanged();
  }
  if (form_) {
    form_ = false;
    if (before_form_refresh_) before_form_refresh_();
    host_.RefreshForm();
  }
  if (focus_) {
    focus_ = false;
    host_.FocusTree();
  }
  if (label_edit_ != kNoNode) {
    NodeId node = label_edit_;
    label_edit_ = kNoNode;
    if (tree_ && tree_->Valid(node)) host_.StartLabelEdit(node);
  }
}

}  // namespace pomeli2
