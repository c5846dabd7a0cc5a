// The editor's dialogs on the screen: each shows a dialog the core keeps
// and forwards what the user does to it.
#pragma once

#include <QDialog>

#include "editor/dialogs/dialogs.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace pomeli2 {

class Editor;

class BulkDialog : public QDialog {
 public:
  BulkDialog(BulkChangeDialog& model, QWidget* parent);
  void accept() override;

 private:
  void ShowSwatch();
  BulkChangeDialog& model_;
  QComboBox* box_ = nullptr;
  QPushButton* colour_ = nullptr;
};

class ScriptOptionsWindow : public QDialog {
 public:
  ScriptOptionsWindow(ScriptOptionsDialog& model, QWidget* parent);
  void accept() override;

 private:
  void ShowState();
  ScriptOptionsDialog& model_;
};

class TreeImagesWindow : public QDialog {
 public:
  TreeImagesWindow(TreeImagesDialog& model, QWidget* parent);
  void accept() override;

 private:
  TreeImagesDialog& model_;
  QLineEdit* edits_[4] = {};
};

class BodyInsertWindow : public QDialog {
 public:
  BodyInsertWindow(BodyInsertDialog& model, QWidget* parent);

 private:
  void ShowState();
  BodyInsertDialog& model_;
  QLineEdit* header_ = nullptr;
  QLineEdit* footer_ = nullptr;
};

class TargetNameWindow : public QDialog {
 public:
  TargetNameWindow(TargetNameDialog& model, QWidget* parent);
  void accept() override;

 private:
  TargetNameDialog& model_;
  QLineEdit* name_ = nullptr;
};

// A text of a dialog's field as CP932; false, after the message, when it
// holds a character that CP932 cannot hold.
bool TakeText(QWidget* dialog, const QString& text, std::string& into);

}  // namespace pomeli2
