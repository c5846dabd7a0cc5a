#include "menu_tree_view.h"

#include <algorithm>

#include <QApplication>
#include <QDataStream>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMenuBar>
#include <QMimeData>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>

#include "text_border.h"

namespace pomeli2 {
namespace {

NodeId NodeOf(const QTreeWidgetItem* item) { return item ? item->data(0, Qt::UserRole).value<NodeId>() : kNoNode; }

// A menu item in the view. Whether it shows the check's mark is asked of the
// view when the item is drawn, so that marking thousands of items after a
// check changes no item, and the mark stays with its item through edits.
class MarkableItem : public QTreeWidgetItem {
 public:
  MarkableItem(const MenuTreeView& tree, NodeId node) : view_(tree), node_(node) {}
  QVariant data(int column, int role) const override {
    if (column != 0 || !view_.Marked(node_)) return QTreeWidgetItem::data(column, role);
    // Red, and a sign that does not rely on the colour alone.
    switch (role) {
      case Qt::FontRole: {
        QFont font = view_.font();
        font.setUnderline(true);
        return font;
      }
      case Qt::ForegroundRole: return QBrush(QColor(0xC0, 0, 0));
      case Qt::ToolTipRole: return QString::fromUtf8("リンクの確認で問題が見つかりました");
      default: return QTreeWidgetItem::data(column, role);
    }
  }

 private:
  const MenuTreeView& view_;
  const NodeId node_;
};

}  // namespace

MenuTreeView::MenuTreeView(Editor& editor, QWidget* parent) : QTreeWidget(parent), editor_(editor) {
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  // The column is as wide as the widest label, deep ones included, so that
  // a deep tree scrolls sideways instead of cutting its labels off.
  header()->setStretchLastSection(false);
  connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { open_.insert(NodeOf(item)); });
  connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
    open_.erase(NodeOf(item));
    if (!showing_) editor_.BranchClosed(NodeOf(item));
  });
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

QTreeWidgetItem* MenuTreeView::NewItem(NodeId node) {
  const MenuTree& tree = editor_.Model().tree;
  auto* item = new MarkableItem(*this, node);
  const QString label = ToQt(tree.Label(node));
  item->setText(0, label);
  item->setData(0, Qt::UserRole, node);
  Widen(node, label);
  item->setFlags(item->flags() | Qt::ItemIsEditable | Qt::ItemIsDropEnabled);
  if (tree.Parent(node) == kNoNode) item->setFlags(item->flags() & ~Qt::ItemIsDragEnabled);  // the root stays
  items_[node] = item;
  return item;
}

QTreeWidgetItem* MenuTreeView::MakeItem(NodeId node) {
  NodeId parent = editor_.Model().tree.Parent(node);
  QTreeWidgetItem* item = NewItem(node);
  if (parent == kNoNode) addTopLevelItem(item);
  else items_.at(parent)->addChild(item);
  return item;
}

namespace {

// Which items of a subtree are open, to open them again after the subtree
// was taken out of the view and put back (the view forgets it).
std::vector<QTreeWidgetItem*> OpenIn(QTreeWidgetItem* top) {
  std::vector<QTreeWidgetItem*> open, stack{top};
  while (!stack.empty()) {
    QTreeWidgetItem* item = stack.back();
    stack.pop_back();
    if (!item->isExpanded()) continue;
    open.push_back(item);
    for (int i = 0; i < item->childCount(); ++i) stack.push_back(item->child(i));
  }
  return open;
}

}  // namespace

void MenuTreeView::ApplyTreeChanges(const MenuTree::Changes& changes) {
  const MenuTree& tree = editor_.Model().tree;
  showing_ = true;
  setUpdatesEnabled(false);
  // Items gone: their children that stay (moved elsewhere) are taken out
  // first, so that deleting a gone item takes only gone items with it.
  std::unordered_set<NodeId> gone(changes.removed.begin(), changes.removed.end());
  std::vector<QTreeWidgetItem*> to_delete;
  for (NodeId node : changes.removed) {
    auto it = items_.find(node);
    if (it == items_.end()) continue;
    QTreeWidgetItem* item = it->second;
    for (int i = item->childCount() - 1; i >= 0; --i)
      if (!gone.count(NodeOf(item->child(i)))) item->takeChild(i);
    // Only the top of each gone subtree is deleted; the rest goes with it.
    QTreeWidgetItem* parent = item->parent();
    if (!parent || !gone.count(NodeOf(parent))) to_delete.push_back(item);
  }
  for (QTreeWidgetItem* item : to_delete) {
    TakeOut(item);
    delete item;
  }
  for (NodeId node : changes.removed) items_.erase(node);
  // Items new or changed, parents before children: each goes right after
  // its previous sibling, which is in place by then.
  for (NodeId node : changes.changed) {
    auto it = items_.find(node);
    QTreeWidgetItem* item = it != items_.end() ? it->second : NewItem(node);
    const QString label = ToQt(tree.Label(node));
    if (item->text(0) != label) {
      item->setText(0, label);
      Widen(node, label);
    }
    // A subtree that moved may have gone deeper.
    if (Place(node, item)) WidenSubtree(node);
  }
  // Items that come back open as they went, once their children are in.
  for (NodeId node : changes.changed)
    if (open_.count(node) && tree.HasChildren(node)) items_.at(node)->setExpanded(true);
  if (QTreeWidgetItem* root = topLevelItem(0)) root->setExpanded(true);
  setUpdatesEnabled(true);
  showing_ = false;
}

void MenuTreeView::RebuildTree() {
  const MenuTree& tree = editor_.Model().tree;
  showing_ = true;
  setUpdatesEnabled(false);
  clear();
  items_.clear();
  open_.clear();
  widest_ = 0;
  for (NodeId top = tree.FirstTop(); top != kNoNode; top = tree.NextSibling(top))
    tree.ForEachPreOrder(top, [&](NodeId n) { MakeItem(n); });
  FitColumn();
  // The root is the home page of every item: its branch is always shown.
  if (auto it = items_.find(tree.FirstTop()); it != items_.end()) it->second->setExpanded(true);
  setUpdatesEnabled(true);
  showing_ = false;
  ShowSelection(tree.Selected());
}

void MenuTreeView::InsertItem(NodeId node) {
  open_.erase(node);  // an id given anew: nothing to remember
  showing_ = true;
  MakeItem(node);
  showing_ = false;
}

void MenuTreeView::RemoveItem(NodeId node) {
  auto it = items_.find(node);
  if (it == items_.end()) return;
  QTreeWidgetItem* item = it->second;
  std::vector<QTreeWidgetItem*> stack{item};
  while (!stack.empty()) {
    QTreeWidgetItem* i = stack.back();
    stack.pop_back();
    items_.erase(i->data(0, Qt::UserRole).value<NodeId>());
    for (int c = 0; c < i->childCount(); ++c) stack.push_back(i->child(c));
  }
  showing_ = true;
  delete item;
  showing_ = false;
}

void MenuTreeView::ShowLabel(NodeId node) {
  auto it = items_.find(node);
  if (it == items_.end()) return;
  showing_ = true;
  const QString label = ToQt(editor_.Model().tree.Label(node));
  it->second->setText(0, label);
  Widen(node, label);
  showing_ = false;
}

void MenuTreeView::MarkProblems(std::unordered_set<NodeId> items) {
  // The items ask for their marks when drawn.
  problems_ = std::move(items);
  viewport()->update();
}

void MenuTreeView::MoveItem(NodeId node) {
  auto it = items_.find(node);
  if (it == items_.end()) return;
  showing_ = true;
  if (Place(node, it->second)) WidenSubtree(node);
  showing_ = false;
}

void MenuTreeView::TakeOut(QTreeWidgetItem* item) {
  if (QTreeWidgetItem* parent = item->parent()) parent->removeChild(item);
  else if (int i = indexOfTopLevelItem(item); i >= 0) takeTopLevelItem(i);
}

bool MenuTreeView::Place(NodeId node, QTreeWidgetItem* item) {
  const MenuTree& tree = editor_.Model().tree;
  const NodeId parent = tree.Parent(node), prev = tree.PrevSibling(node);
  QTreeWidgetItem* parent_item = parent == kNoNode ? nullptr : items_.at(parent);
  auto index_in_parent = [&](QTreeWidgetItem* i) {
    return parent_item ? parent_item->indexOfChild(i) : indexOfTopLevelItem(i);
  };
  const bool in_view = item->parent() || item->treeWidget();
  if (in_view && item->parent() == parent_item &&
      index_in_parent(item) == (prev == kNoNode ? 0 : index_in_parent(items_.at(prev)) + 1))
    return false;
  std::vector<QTreeWidgetItem*> open = in_view ? OpenIn(item) : std::vector<QTreeWidgetItem*>{};
  if (in_view) TakeOut(item);
  // Its previous sibling's place once it is out.
  const int at = prev == kNoNode ? 0 : index_in_parent(items_.at(prev)) + 1;
  if (parent_item) parent_item->insertChild(at, item);
  else insertTopLevelItem(at, item);
  for (QTreeWidgetItem* o : open) o->setExpanded(true);
  return in_view;
}

void MenuTreeView::Widen(NodeId node, const QString& label) {
  // The label's advance from its characters' advances, kept by character:
  // measuring each label as a whole would cost a third of a large menu's
  // loading. Labels are Shift-JIS text, without surrogate pairs.
  const QFontMetrics metrics = fontMetrics();
  int advance = 0;
  for (QChar c : label) {
    auto [known, added] = advances_.try_emplace(c.unicode(), 0);
    if (added) known->second = metrics.horizontalAdvance(c);
    advance += known->second;
  }
  // Where the view draws the label: one indentation per level, the root's
  // branch sign included, and the delegate's margins either side.
  const int right = indentation() * (editor_.Model().tree.Level(node) + (rootIsDecorated() ? 1 : 0)) + advance +
                    2 * LabelMargin() + kLabelSpace;
  if (right <= widest_) return;
  widest_ = right;
  FitColumn();
}

void MenuTreeView::WidenSubtree(NodeId node) {
  editor_.Model().tree.ForEachPreOrder(node, [this](NodeId n) { Widen(n, items_.at(n)->text(0)); });
}

int MenuTreeView::LabelMargin() const { return style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1; }

void MenuTreeView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) advances_.clear();
  QTreeWidget::changeEvent(event);
}

void MenuTreeView::FitColumn() {
  // Never narrower than the view, so that a selected row is marked across.
  const int width = std::max(widest_, viewport()->width());
  if (columnWidth(0) != width) setColumnWidth(0, width);
}

bool MenuTreeView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Resize) {
    // The view keeps its offsets when it shrinks, so a selected row that was
    // in view could end up out of it: a restored window showed a deep tree's
    // rows empty. It is brought back once the scroll bars have their ranges.
    const QSize was = static_cast<QResizeEvent*>(event)->oldSize();
    QTreeWidgetItem* current = currentItem();
    if (current && was.isValid() && QRect(QPoint(0, 0), was).intersects(visualItemRect(current)))
      QTimer::singleShot(0, this, [this] {
        if (currentItem()) scrollTo(currentIndex());
      });
    FitColumn();
  }
  return QTreeWidget::viewportEvent(event);
}

void MenuTreeView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  QScrollBar* bar = horizontalScrollBar();
  const int was = bar->value();
  // The view scrolls to the column's start: a deep item's label could be
  // off to the right. The label is brought into view, its branch sign too,
  // scrolling no more than that needs.
  QTreeWidget::scrollTo(index, hint);
  if (!index.isValid()) return;
  const QRect cell = visualRect(index);
  if (!cell.isValid()) return;
  const int left = cell.left() + bar->value() - indentation();
  const int right = cell.left() + bar->value() + fontMetrics().horizontalAdvance(index.data().toString()) + 2 * LabelMargin();
  const int view = viewport()->width();
  if (left >= was && right <= was + view) bar->setValue(was);
  else if (left < was) bar->setValue(left);
  else bar->setValue(std::min(left, right - view));
}

void MenuTreeView::ShowSelection(NodeId node) {
  auto it = items_.find(node);
  if (it == items_.end()) return;
  showing_ = true;
  for (QTreeWidgetItem* p = it->second->parent(); p; p = p->parent()) {
    if (finding_ && !p->isExpanded()) opened_by_find_.insert(NodeOf(p));
    p->setExpanded(true);
  }
  setCurrentItem(it->second);
  // Not scrollToItem: it passes by this view's own scrolling.
  scrollTo(indexFromItem(it->second));
  showing_ = false;
}

void MenuTreeView::FinishLabelEdit() {
  if (state() != EditingState) return;
  if (QWidget* editor = indexWidget(currentIndex())) {
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

void MenuTreeView::FindStarted() {
  finding_ = true;
  opened_by_find_.clear();
}

void MenuTreeView::FoundWhileTyping(NodeId node) {
  const MenuTree& tree = editor_.Model().tree;
  showing_ = true;
  for (auto it = opened_by_find_.begin(); it != opened_by_find_.end();) {
    auto item = items_.find(*it);
    if (item == items_.end() || !tree.Valid(*it)) {
      it = opened_by_find_.erase(it);
    } else if (node == kNoNode || !tree.IsInSubtree(node, *it)) {
      item->second->setExpanded(false);
      it = opened_by_find_.erase(it);
    } else {
      ++it;
    }
  }
  showing_ = false;
}

void MenuTreeView::FindEnded() {
  finding_ = false;
  opened_by_find_.clear();
}

void MenuTreeView::EditLabel(NodeId node) {
  auto it = items_.find(node);
  if (it == items_.end()) return;
  ShowSelection(node);
  editItem(it->second);
}

}  // namespace pomeli2
