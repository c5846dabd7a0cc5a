// The check before publishing: a window beside the editor that lists the
// problems; a double click shows the item or the field. The site's report
// is a list beside the editor too.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QTreeWidget>

#include "editor/editor.h"

namespace pomeli2 {

// The main window finds its side windows by type: each needs a type of its
// own for that, or any dialog would pass for it.
class CheckWindow : public QDialog {
  Q_OBJECT

 public:
  CheckWindow(Editor& editor, QWidget* parent);
  // Shows the editor's last check, and the window in front unless
  // `come_forward` is false.
  void ShowResults(bool come_forward = true);

 private:
  Editor& editor_;
  QLabel* summary_;
  QTreeWidget* list_;
};

// What putting the menu into a site did, page by page, beside the editor.
class SiteReportWindow : public QDialog {
  Q_OBJECT

 public:
  explicit SiteReportWindow(QWidget* parent);
  void ShowReport(const std::string& summary, const std::vector<Host::SiteRow>& rows);

 private:
  QLabel* summary_;
  QTreeWidget* list_;
};

}  // namespace pomeli2
