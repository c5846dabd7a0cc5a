#include "menu_tree_view.h"

#include <QApplication>
#include <QDataStream>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMenuBar>
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

void MenuTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  QTreeWidget::closeEditor(editor, hint);
  // The menu bar took the keyboard from the label editor (Alt, a menu's
  // key, or Escape in a menu opened with the mouse), which ended the edit.
  // The bar hands the keyboard back to the widget it took it from: the
  // editor, gone by then, so the bar would keep it without showing it.
  auto* bar = qobject_cast<QMenuBar*>(QApplication::focusWidget());
  if (!bar || bar->window() != window() || bar == menu_bar_) return;
  menu_bar_ = bar;
  bar->installEventFilter(this);
  QMetaObject::invokeMethod(this, &MenuTreeView::FollowMenuBar, Qt::QueuedConnection);
}

bool MenuTreeView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == menu_bar_) {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::FocusIn:
      case QEvent::FocusOut:
      case QEvent::MouseButtonRelease:
        // Looked at once the bar has handled the event.
        QMetaObject::invokeMethod(this, &MenuTreeView::FollowMenuBar, Qt::QueuedConnection);
        break;
      default:
        break;
    }
  }
  return QTreeWidget::eventFilter(watched, event);
}

void MenuTreeView::FollowMenuBar() {
  QMenuBar* bar = menu_bar_;
  if (!bar) return;
  QWidget* focus = window()->focusWidget();
  if (focus == bar || !focus) {
    // A bar that highlights a menu title is in use from the keyboard: it
    // keeps the keys. While one of its menus is open it needs no focus, and
    // it takes the tree as the widget to come back to; a bar that is done
    // keeps the focus and does nothing with it, or drops it.
    if (focus && !QApplication::activePopupWidget() && bar->activeAction() && isActiveWindow()) return;
    setFocus(Qt::OtherFocusReason);
  }
  // Otherwise the focus went elsewhere, as the user chose.
  bar->removeEventFilter(this);
  menu_bar_ = nullptr;
}

}  // namespace pomeli2
