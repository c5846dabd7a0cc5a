// The main window: menu 128, the accelerators, toolbar 128 and the form. It
// maps every action to a command id of the editor and shows what the editor
// decides.
#pragma once

#include <QMainWindow>
#include <QKeySequence>
#include <map>
#include <memory>

#include "editor/editor.h"
#include "widget_host.h"

class QAction;
class QPrinter;
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
  // A command's action by its number, as its object name "cmd<number>"
  // says; nullptr when it has none.
  QAction* Action(int command) const;
  // The command an accelerator runs, or kCmdNone.
  CommandId AcceleratorCommand(const QKeySequence& keys) const;
  // Every command takes the enabled and checked state the editor decides.
  void UpdateCommands();
  void RunCommand(CommandId command);
  // The toolbar command: the bar is shown, or hidden when it is shown.
  void ToggleToolbar();
  // Opens a project named on the command line or by a second start.
  void OpenProject(const QString& path);
  // Brings the window to the front, as it is (maximised stays maximised).
  void BringToFront();
  void ShowHelp();
  // Marks the items of the editor's last check and lists its problems; the
  // list comes forward only when asked.
  void ShowCheckResults(bool come_forward);
  void ShowSiteReport(const std::string& summary, const std::vector<Host::SiteRow>& rows);
  void ShowAbout();
  // Printing, its preview and the printer setup, with one printer per run;
  // true when pages were drawn.
  bool Print(Host::PrintKind kind);
  // Where the frame stands when the window is neither maximised nor
  // minimised: what the close saves and the next start restores.
  QPoint NormalFramePosition() const { return normal_position_; }
  // The title names the document, with the modified mark while there are
  // unsaved changes.
  void ShowDocumentState();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The action of a registered command, made on first use.
  QAction* ActionFor(const CommandDescriptor& command);
  void BuildMenus();
  void BuildToolbar();
  void ShowContextMenu(const QPoint& global_pos);
  // Once the window manager has framed the window (first shown, or restored
  // from maximised), the frame, title bar included, is brought within the
  // screen's available area.
  void FitFrameToArea();
  void FitAfterRestore(int tries);
  void FitFrameNow();

  WidgetHost host_;
  Editor editor_;
  FormWidget* form_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  std::map<CommandId, QAction*> actions_;
  std::map<QKeySequence, CommandId> accelerators_;
  QPoint normal_position_;
  QSize normal_size_;
  bool fit_pending_ = true;
  QSize maximised_size_;  // the client's, while last maximised
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace pomeli2
