// The About box and the help window.
#pragma once

#include <QDialog>

namespace pomeli2 {

class AboutDialog : public QDialog {
 public:
  explicit AboutDialog(QWidget* parent);
};

class HelpWindow : public QDialog {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent);
};

// The help text shown by the help window (HTML).
QString HelpText();

}  // namespace pomeli2
