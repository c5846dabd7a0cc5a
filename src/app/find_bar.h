// The find bar under the menu tree: typing finds, Enter and F3 go on,
// Shift+F3 goes back (the registry's keys), Escape closes it and gives the
// tree the keyboard.
#pragma once

#include <functional>

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "editor/editor.h"

namespace pomeli2 {

class MenuTreeView;

class FindBar : public QWidget {
 public:
  FindBar(Editor& editor, MenuTreeView* tree, std::function<void()> focus_tree, QWidget* parent = nullptr);
  // Shows the bar with its text selected, ready to type over.
  void Open();
  // The count again, after the menu changed.
  void Refresh();
  // The next match, or the previous one.
  void FindAgain(bool forward);
  // Whether `widget` is the bar's text box.
  bool HasText(const QWidget* widget) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Show(const FindResult& found);
  void Close();

  Editor& editor_;
  MenuTreeView* tree_;
  std::function<void()> focus_tree_;
  QLineEdit* text_;
  QLabel* count_;
};

}  // namespace pomeli2
