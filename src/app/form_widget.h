// The main form: the page group, the selected item's group and the new-item
// group on the left, the menu tree on the right, the arrow buttons between.
// It shows the editor's state and forwards every change to it.
#pragma once

#include <QWidget>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "editor/editor.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace pomeli2 {

class FindBar;
class MenuTreeView;
}
class QTreeWidgetItem;
class QGroupBox;

namespace pomeli2 {

class FormWidget : public QWidget {
  Q_OBJECT
 public:
  explicit FormWidget(Editor& editor, QWidget* parent = nullptr);

  // Every field shows the editor's value again (signals held back).
  void Refresh();
  // Every control takes the enabled state the editor decided.
  void ApplyEnabled();
  void FocusTree();
  void ShowFindBar();
  void FindAgain(bool forward);
  // Whether `widget` is the find bar's text box.
  bool IsFindText(const QWidget* widget) const;
  void RefreshFindBar();
  void ApplyTreeColours();
  // The menu tree, which shows the core's tree and follows its changes.
  MenuTreeView* Tree() const { return tree_; }
  // A control by its id (also its object name "ctl<id>").
  QWidget* Control(int id) const;
  // The target lists show the editor's TARGET list, sorted.
  void FillTargetLists();

 signals:
  void CommandRequested(pomeli2::CommandId command);
  void ContextMenuRequested(const QPoint& global_pos);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* AddEdit(int id);
  QPushButton* AddBrowseButton(int id);
  QComboBox* AddList(int id);
  QCheckBox* AddCheckBox(int id);
  void TextEdited(int id, QLineEdit* edit);
  void ListActivated(int id, QComboBox* list);
  void TreeSelectionChanged(QTreeWidgetItem* current);
  void TreeItemChanged(QTreeWidgetItem* item);
  void PaintSample(int button);
  QGroupBox* MakeGroup(const char* title);

  Editor& editor_;
  FindBar* find_bar_ = nullptr;
  MenuTreeView* tree_ = nullptr;
  std::map<int, QWidget*> controls_;
  bool updating_ = false;
};

}  // namespace pomeli2
