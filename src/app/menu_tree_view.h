// The menu tree on the screen: a tree widget that shows the core's tree and
// follows its changes item by item, and whose drags and drops ask the
// editor, which moves the items itself; the widget then shows its change.
#pragma once

#include <QPointer>
#include <QTreeWidget>
#include <unordered_map>
#include <unordered_set>

#include "editor/editor.h"

class QMenuBar;

namespace pomeli2 {

class MenuTreeView : public QTreeWidget {
 public:
  MenuTreeView(Editor& editor, QWidget* parent = nullptr);

  // Shows the core's tree anew.
  void RebuildTree();
  // Shows what changed in the core's tree; the rest of the items, and which
  // branches are open, stay as they are.
  void ApplyTreeChanges(const MenuTree::Changes& changes);
  void InsertItem(NodeId node);
  void RemoveItem(NodeId node);
  void ShowLabel(NodeId node);
  void MoveItem(NodeId node);
  // Marks the items a check found problems with, until the next check.
  void MarkProblems(std::unordered_set<NodeId> items);
  bool Marked(NodeId node) const { return problems_.count(node) != 0; }
  void ShowSelection(NodeId node);
  void EditLabel(NodeId node);
  // A label edit still open ends as leaving its box would end it.
  void FinishLabelEdit();
  // While the find bar is open, the branches opened to show a match found
  // by typing close again once the typing finds a match outside them.
  void FindStarted();
  void FoundWhileTyping(NodeId node);
  void FindEnded();
  // Whether the view is being changed to show the core, not by the user:
  // its signals then tell nothing to forward.
  bool Showing() const { return showing_; }
  // Scrolls sideways too, so that the item's label is in view.
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

 protected:
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // The model's drop (drops that reach the model directly): `parent` and
  // `index` give the place, the data the dragged item.
  bool dropMimeData(QTreeWidgetItem* parent, int index, const QMimeData* mime, Qt::DropAction action) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct Target {
    NodeId parent = kNoNode, before = kNoNode;
  };
  // Where a drop at `pos` would put an item, by the drop indicator.
  Target TargetAt(const QPoint& pos) const;
  NodeId Dragged() const;
  // Takes the keyboard from the menu bar that ended a label edit, once the
  // bar no longer needs it.
  void FollowMenuBar();

  // A view item for `node`, not yet in the view, and one added as the last
  // child of its parent's.
  QTreeWidgetItem* NewItem(NodeId node);
  QTreeWidgetItem* MakeItem(NodeId node);
  void TakeOut(QTreeWidgetItem* item);
  // Puts `item` where `node` stands in the core's tree: under its parent,
  // after its previous sibling (which is in place), its open branches kept.
  // Whether it moved from elsewhere in the view.
  bool Place(NodeId node, QTreeWidgetItem* item);
  // Widens the column to show `node`'s label (and those of its subtree).
  void Widen(NodeId node, const QString& label);
  void WidenSubtree(NodeId node);
  void FitColumn();
  // The delegate's space on either side of a label.
  int LabelMargin() const;

  Editor& editor_;
  QPointer<QMenuBar> menu_bar_;
  std::unordered_map<NodeId, QTreeWidgetItem*> items_;
  // The open branches by id, kept for items that a step took away, so that
  // undo and redo bring them back open as they went.
  std::unordered_set<NodeId> open_;
  std::unordered_set<NodeId> problems_;
  // The right edge of the widest label the column was widened for; it
  // shrinks only when the tree is shown anew.
  int widest_ = 0;
  std::unordered_map<char16_t, int> advances_;
  static constexpr int kLabelSpace = 4;
  bool showing_ = false;
  bool finding_ = false;
  std::unordered_set<NodeId> opened_by_find_;
};

}  // namespace pomeli2
