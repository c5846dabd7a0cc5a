#include "menu_tree_view.h"

#include <QDataStream>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

namespace pomeli2 {
namespace {

NodeId NodeOf(const QTreeWidgetItem* item) { return item ? item->data(0, Qt::UserRole).value<NodeId>() : kNoNode; }

}  // namespace

MenuTreeView::MenuTreeView(Editor& editor, QWidget* parent) : QTreeWidget(parent), editor_(editor) {
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
}

NodeId MenuTreeView::Dragged() const { return NodeOf(currentItem()); }

MenuTreeView::Target MenuTreeView::TargetAt(const QPoint& pos) const {
  QTreeWidgetItem* under = itemAt(pos);
  if (!under) return {};
  NodeId node = NodeOf(under);
  const MenuTree& tree = editor_.Model().tree;
  switch (dropIndicatorPosition()) {
    case OnItem: return {node, kNoNode};
    case AboveItem: return {tree.Parent(node), node};
    case BelowItem: return {tree.Parent(node), tree.NextSibling(node)};
    default: return {};
  }
}

void MenuTreeView::dragMoveEvent(QDragMoveEvent* event) {
  QTreeWidget::dragMoveEvent(event);
  Target t = TargetAt(event->position().toPoint());
  // A drop the editor refuses shows no mark.
  if (event->source() != this || !editor_.CanDrop(Dragged(), t.parent, t.before)) event->ignore();
}

void MenuTreeView::dropEvent(QDropEvent* event) {
  Target t = TargetAt(event->position().toPoint());
  NodeId dragged = Dragged();
  if (event->source() != this || !editor_.CanDrop(dragged, t.parent, t.before)) {
    event->ignore();
    return;
  }
  editor_.Drop(dragged, t.parent, t.before);
  // The editor moved the items; the drag must not remove its source.
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

bool MenuTreeView::dropMimeData(QTreeWidgetItem* parent, int index, const QMimeData* mime, Qt::DropAction) {
  QByteArray encoded = mime->data("application/x-qabstractitemmodeldatalist");
  QDataStream stream(&encoded, QIODevice::ReadOnly);
  int row = 0, column = 0;
  QMap<int, QVariant> roles;
  stream >> row >> column >> roles;
  NodeId dragged = roles.value(Qt::UserRole).value<NodeId>();
  if (!parent || !roles.contains(Qt::UserRole)) return false;
  NodeId before = index >= 0 && index < parent->childCount() ? NodeOf(parent->child(index)) : kNoNode;
  if (!editor_.CanDrop(dragged, NodeOf(parent), before)) return false;
  editor_.Drop(dragged, NodeOf(parent), before);
  return true;
}

}  // namespace pomeli2
