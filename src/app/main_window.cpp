#include "main_window.h"

#include <unordered_set>

#include "check_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <QTreeWidget>

#include "dialogs.h"
#include "editor/commands/command_registry.h"
#include "editor/view/shell.h"
#include "form_widget.h"
#include "menu_tree_view.h"
#include "text/catalogue.h"
#include "printing.h"
#include "text_border.h"

namespace pomeli2 {
namespace {

// The toolbar's own icons, shipped with the program in every size it
// needs, so that the bar looks the same on every desktop.
QIcon ToolbarIcon(const char* name) {
  QIcon icon;
  if (*name)
    for (int size : {16, 22, 24, 32, 48, 64}) icon.addFile(QString(":/toolbar/%1/%2.png").arg(size).arg(name));
  return icon;
}

QRect AvailableArea() {
  QScreen* screen = QApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

MainWindow::MainWindow(const std::string& program_folder, QWidget* parent)
    : QMainWindow(parent),
      host_(*this),
      editor_(host_, program_folder) {
  setObjectName("mainWindow");
  setMinimumSize(kMinWindowWidth, kMinWindowHeight);
  // Where the window's frame stood when it was closed last time. move()
  // places the frame, as the close saved it, so the window does not creep
  // by its frame at every start.
  QRect area = AvailableArea();
  const Editor::WindowStart start = editor_.OpenWindow({area.x(), area.y(), area.width(), area.height()});
  if (start.place) {
    move(start.place->x, start.place->y);
    resize(start.place->width, start.place->height);
  } else if (start.size) {
    resize(start.size->width, start.size->height);
  }
  normal_position_ = pos();
  normal_size_ = size();
  if (start.maximised) setWindowState(windowState() | Qt::WindowMaximized);

  form_ = new FormWidget(editor_, this);
  setCentralWidget(form_);
  // There from the start, so that the first note does not shift the form.
  statusBar();
  connect(form_, &FormWidget::CommandRequested, this, &MainWindow::RunCommand);
  connect(form_, &FormWidget::ContextMenuRequested, this, &MainWindow::ShowContextMenu);
  BuildMenus();
  BuildToolbar();
  // The accelerators come before the focused control, whatever it is.
  qApp->installEventFilter(this);

  editor_.Start();
  UpdateCommands();
}

void MainWindow::ShowDocumentState() {
  // "[*]" is where Qt shows the modified mark; one in the file name itself
  // is written twice to stay as it is.
  QString name = ToQt(FileNameOf(editor_.Settings().ProjectPath)).replace("[*]", "[*][*]");
  setWindowTitle(name + "[*] - " + kProductVersion);
  setWindowModified(editor_.ModifiedFlag() == 1);
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

QAction* MainWindow::Action(int command) const {
  auto it = actions_.find(static_cast<CommandId>(command));
  return it == actions_.end() ? nullptr : it->second;
}

CommandId MainWindow::AcceleratorCommand(const QKeySequence& keys) const {
  auto it = accelerators_.find(keys);
  return it == accelerators_.end() ? kCmdNone : it->second;
}

QAction* MainWindow::ActionFor(const CommandDescriptor& command) {
  const CommandId id = *command.id;
  if (QAction* action = Action(id)) return action;
  auto* action = new QAction(this);
  action->setObjectName(QString("cmd%1").arg(id));
  action->setToolTip(Ui(command.tooltip));
  if (*command.prompt) action->setStatusTip(Ui(command.prompt));
  action->setCheckable(command.checkable);
  actions_[id] = action;
  connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
  return action;
}

void MainWindow::BuildMenus() {
  for (const Menu& menu : MainMenu()) {
    QMenu* m = menuBar()->addMenu(Ui(menu.title));
    connect(m, &QMenu::aboutToShow, this, &MainWindow::UpdateCommands);
    for (const MenuEntry& entry : menu.entries) {
      if (entry.command == kCmdNone) {
        m->addSeparator();
        continue;
      }
      QString text = Ui(entry.text);
      if (*entry.shortcut) text += "\t" + QString(entry.shortcut);
      QAction* action = ActionFor(*FindCommand(entry.command));
      action->setText(text);
      m->addAction(action);
    }
  }
  for (const CommandDescriptor& command : Commands())
    for (const char* keys : {command.key_bound ? command.key : "", command.hidden_key})
      if (*keys) accelerators_[QKeySequence(QString(keys))] = *command.id;
}

void MainWindow::BuildToolbar() {
  toolbar_ = new QToolBar(this);
  toolbar_->setObjectName("toolbar128");
  toolbar_->setMovable(true);
  addToolBar(Qt::TopToolBarArea, toolbar_);
  for (CommandId command : ToolbarCommands()) {
    if (command == kCmdNone) {
      toolbar_->addSeparator();
      continue;
    }
    const CommandDescriptor& d = *FindCommand(command);
    QAction* action = ActionFor(d);
    action->setIcon(ToolbarIcon(d.icon));
    toolbar_->addAction(action);
  }
  // The bar can also be closed from its own context menu: the mark follows
  // the bar, whoever hid it.
  QAction* toggle = Action(kCmdToolbar);
  toggle->setChecked(true);
  connect(toolbar_, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
}

void MainWindow::ToggleToolbar() {
  toolbar_->setVisible(toolbar_->isHidden());
  Action(kCmdToolbar)->setChecked(!toolbar_->isHidden());
}

void MainWindow::UpdateCommands() {
  for (auto& [command, action] : actions_) {
    const CommandDescriptor& d = *FindCommand(command);
    action->setEnabled(editor_.CommandEnabled(command));
    if (d.tooltip_detail) action->setToolTip(ToQt(editor_.CommandTooltipText(command)));
    if (d.checked) action->setChecked(editor_.CommandChecked(command));
    if (d.live_text) action->setText(ToQt(editor_.CommandLiveText(command)));
  }
  // Every change of the modified flag or of the project's path comes with
  // a change of the enabled states (undo, paste, the recent entry).
  ShowDocumentState();
}

void MainWindow::RunCommand(CommandId command) { editor_.Dispatch(command); }

void MainWindow::OpenProject(const QString& path) {
  auto sjis = FromQt(QFileInfo(path).absoluteFilePath());
  if (!sjis) {
    editor_.RefuseUnrepresentableText();
    return;
  }
  editor_.OpenProject(*sjis);
}

void MainWindow::BringToFront() {
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void MainWindow::ShowContextMenu(const QPoint& global_pos) {
  ContextMenu chosen = editor_.CurrentContextMenu();
  QMenu menu(this);
  menu.setObjectName(QString("context%1").arg(chosen.id));
  for (const MenuEntry& entry : chosen.entries) {
    if (entry.command == kCmdNone) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(Ui(entry.text));
    action->setEnabled(editor_.CommandEnabled(entry.command));
    connect(action, &QAction::triggered, this, [this, id = entry.command] { RunCommand(id); });
  }
  menu.exec(global_pos);
}

void MainWindow::ShowHelp() {
  auto* help = findChild<HelpWindow*>();
  if (!help) help = new HelpWindow(this);
  help->show();
  help->raise();
  help->activateWindow();
}

void MainWindow::ShowCheckResults(bool come_forward) {
  std::unordered_set<NodeId> marked;
  for (const CheckProblem& p : editor_.LastCheck())
    if (p.item != kNoNode) marked.insert(p.item);
  form_->Tree()->MarkProblems(std::move(marked));
  auto* window = findChild<CheckWindow*>();
  if (!window && !come_forward) return;
  if (!window) window = new CheckWindow(editor_, this);
  window->ShowResults(come_forward);
}

void MainWindow::ShowSiteReport(const std::string& summary, const std::vector<Host::SiteRow>& rows) {
  auto* window = findChild<SiteReportWindow*>();
  if (!window) window = new SiteReportWindow(this);
  window->ShowReport(summary, rows);
}

bool MainWindow::Print(Host::PrintKind kind) {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  switch (kind) {
    case Host::PrintKind::kSetup:
      QPageSetupDialog(printer_.get(), this).exec();
      return false;
    case Host::PrintKind::kPrint: {
      QPrintDialog dialog(printer_.get(), this);
      if (dialog.exec() != QDialog::Accepted) return false;
      PrintOutline(*printer_, editor_.Doc(), printer_->fromPage(), printer_->toPage());
      return true;
    }
    case Host::PrintKind::kPreview: {
      QPrintPreviewDialog preview(printer_.get(), this);
      bool drawn = false;
      connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this, &drawn](QPrinter* printer) {
        PrintOutline(*printer, editor_.Doc());
        drawn = true;
      });
      preview.exec();
      return drawn;
    }
  }
  return false;
}

void MainWindow::ShowAbout() { AboutDialog(this).exec(); }

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this || QApplication::activePopupWidget() || QApplication::activeModalWidget())
    return false;
  // A key that the focused control ignored comes again to its parents: it
  // was decided where the keyboard is.
  if (QWidget* focus = QApplication::focusWidget(); focus && widget != focus) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  // A text box: a line edit (the form's fields, the find bar, the rename
  // box) or the line edit of an editable list.
  auto* box = qobject_cast<QLineEdit*>(widget);
  if (auto* list = qobject_cast<QComboBox*>(widget); list && list->isEditable()) box = list->lineEdit();
  KeyFocus focus;
  if (widget == form_->Tree()) focus.place = KeyFocus::Place::kTree;
  if (box && !box->isReadOnly())
    focus = {form_->IsFindText(box) ? KeyFocus::Place::kFindBar : KeyFocus::Place::kTextBox, box->isUndoAvailable(),
             box->isRedoAvailable()};
  const QString keys = QKeySequence(key->keyCombination()).toString(QKeySequence::PortableText);
  const KeyUse use = UseOfKey(keys.toStdString(), focus);
  if (use.command == kCmdNone && use.box == KeyUse::Box::kNone) return false;
  if (event->type() == QEvent::ShortcutOverride) {
    // Claimed here, so that neither the control's own binding nor a menu's
    // mnemonic (Alt+V opens "表示") takes it; the key press that follows
    // runs the command.
    event->accept();
    return true;
  }
  // The box's own history, whatever the platform binds to these keys.
  if (use.box == KeyUse::Box::kUndo) box->undo();
  else if (use.box == KeyUse::Box::kRedo) box->redo();
  else RunCommand(use.command);
  return true;
}

void MainWindow::moveEvent(QMoveEvent* event) {
  if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) normal_position_ = pos();
  QMainWindow::moveEvent(event);
  FitFrameToArea();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) normal_size_ = size();
  if (isMaximized()) maximised_size_ = size();
  QMainWindow::resizeEvent(event);
  FitFrameToArea();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  // Restored from maximised, the window comes back to a size that may have
  // been kept or given before its frame was known.
  if (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMaximized && !isMaximized())
    FitAfterRestore(10);
}

void MainWindow::FitFrameToArea() {
  if (!fit_pending_ || !isVisible()) return;
  if (frameGeometry().size() == geometry().size()) return;  // the window manager has not framed it yet
  fit_pending_ = false;
  // A window that starts maximised fits itself when it is restored.
  if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) FitFrameNow();
}

void MainWindow::FitAfterRestore(int tries) {
  // The window manager restores the size in steps; the frame is fitted once
  // it has left the maximised size.
  QTimer::singleShot(200, this, [this, tries] {
    if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) return;
    const bool settled = size() != maximised_size_ && frameGeometry().size() != geometry().size();
    if (!settled && tries > 0) return FitAfterRestore(tries - 1);
    FitFrameNow();
  });
}

void MainWindow::FitFrameNow() {
  const QRect frame = frameGeometry(), client = geometry();
  const QRect area = screen() ? screen()->availableGeometry() : AvailableArea();
  const WindowRect now{frame.x(), frame.y(), frame.width(), frame.height()};
  const WindowRect fitted = FitFrame(now, {area.x(), area.y(), area.width(), area.height()});
  if (fitted == now) return;
  resize(client.width() - (now.width - fitted.width), client.height() - (now.height - fitted.height));
  move(fitted.x, fitted.y);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  const QPoint frame = NormalFramePosition();
  const QRect client = centralWidget() ? rect() : QRect();
  if (editor_.CloseWindow({frame.x(), frame.y(), {client.width(), client.height()},
                           {normal_size_.width(), normal_size_.height()}, isMaximized()}))
    event->accept();
  else
    event->ignore();
}

}  // namespace pomeli2
