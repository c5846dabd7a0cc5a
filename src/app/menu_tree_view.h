// The menu tree on the screen: a tree widget whose drags and drops ask the
// editor, which moves the items itself; the widget then shows its change.
#pragma once

#include <QPointer>
#include <QTreeWidget>

#include "editor/editor.h"

class QMenuBar;

namespace pomeli2 {

class MenuTreeView : public QTreeWidget {
 public:
  MenuTreeView(Editor& editor, QWidget* parent = nullptr);

 protected:
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // The model's drop (drops that reach the model directly): `parent` and
  // `index` give the place, the data the dragged item.
  bool dropMimeData(QTreeWidgetItem* parent, int index, const QMimeData* mime, Qt::DropAction action) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

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

  Editor& editor_;
  QPointer<QMenuBar> menu_bar_;
};

}  // namespace pomeli2
