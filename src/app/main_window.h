// The main window: menu 128, the accelerators, toolbar 128 and the form. It
// asks the editor what each command may do and forwards what the user does.
#pragma once

#include <QMainWindow>
#include <map>
#include <memory>

#include "editor/editor.h"
#include "project/settings_file.h"
#include "widget_host.h"

class QAction;
class QToolBar;

namespace pomeli2 {

class FormWidget;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // `program_folder` is a system path ending in "/".
  explicit MainWindow(const std::string& program_folder, QWidget* parent = nullptr);
  ~MainWindow() override;

  Editor& GetEditor() { return editor_; }
  WidgetHost& GetHost() { return host_; }
  FormWidget& Form() { return *form_; }
  QAction* Action(int command) const;
  // Every command takes the enabled and checked state the editor decides.
  void UpdateCommands();
  void RunCommand(int command);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolbar();
  void ShowContextMenu(const QPoint& global_pos);
  void ShowHelp();

  std::string program_folder_;
  SettingsFile settings_file_;
  WidgetHost host_;
  Editor editor_;
  FormWidget* form_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  std::map<int, QAction*> actions_;
};

}  // namespace pomeli2
