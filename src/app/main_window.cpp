#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>

#include "dialogs.h"
#include "editor/commands.h"
#include "editor/shell.h"
#include "form_widget.h"
#include "text_border.h"

namespace pomeli2 {
namespace {

// The desktop theme's icon for a toolbar command, or one of Qt's own when the
// theme has none, so that the bar is never blank.
QIcon ToolbarIcon(int command, QStyle* style) {
  struct Choice {
    int command;
    const char* theme;
    QStyle::StandardPixmap fallback;
  };
  static const Choice choices[] = {
      {kCmdNew, "document-new", QStyle::SP_FileIcon},
      {kCmdOpen, "document-open", QStyle::SP_DialogOpenButton},
      {kCmdSave, "document-save", QStyle::SP_DialogSaveButton},
      {kCmdHtmlSave, "text-html", QStyle::SP_FileDialogDetailedView},
      {kCmdFrame2, "view-split-left-right", QStyle::SP_FileDialogListView},
      {kCmdFrame3, "view-split-top-bottom", QStyle::SP_FileDialogInfoView},
      {kCmdIconCopy, "insert-image", QStyle::SP_DirLinkIcon},
      {kCmdCut, "edit-cut", QStyle::SP_TrashIcon},
      {kCmdPasteCut, "edit-paste", QStyle::SP_ArrowDown},
      {kCmdCopy, "edit-copy", QStyle::SP_FileLinkIcon},
      {kCmdPasteCopy, "edit-paste", QStyle::SP_ArrowDown},
      {kCmdHelp, "help-contents", QStyle::SP_DialogHelpButton},
      {kCmdAbout, "help-about", QStyle::SP_MessageBoxInformation},
  };
  for (const Choice& c : choices)
    if (c.command == command) return QIcon::fromTheme(c.theme, style->standardIcon(c.fallback));
  return style->standardIcon(QStyle::SP_FileIcon);
}

QRect AvailableArea() {
  QScreen* screen = QApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

MainWindow::MainWindow(const std::string& program_folder, QWidget* parent)
    : QMainWindow(parent),
      program_folder_(program_folder),
      settings_file_(program_folder),
      host_(*this),
      editor_(host_) {
  setObjectName("mainWindow");
  setWindowTitle("Pomeli Pomeli Version 2.0");
  setMinimumSize(kMinWindowWidth, kMinWindowHeight);
  // Where the window was closed last time, read as the frame is created.
  QRect area = AvailableArea();
  if (auto rect = StartPlacement(settings_file_, {area.x(), area.y(), area.width(), area.height()}, host_))
    setGeometry(rect->x, rect->y, rect->width, rect->height);

  form_ = new FormWidget(editor_, this);
  setCentralWidget(form_);
  connect(form_, &FormWidget::CommandRequested, this, &MainWindow::RunCommand);
  connect(form_, &FormWidget::ContextMenuRequested, this, &MainWindow::ShowContextMenu);
  BuildMenus();
  BuildToolbar();

  editor_.AttachSettingsFile(&settings_file_);
  editor_.Start();
  form_->ApplyTreeColours();
  form_->Tree()->setFocus();
  UpdateCommands();
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::Action(int command) const {
  auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::BuildMenus() {
  for (const Menu& menu : MainMenu()) {
    QMenu* m = menuBar()->addMenu(Ui(menu.title));
    connect(m, &QMenu::aboutToShow, this, &MainWindow::UpdateCommands);
    for (const MenuEntry& entry : menu.entries) {
      if (entry.command == 0) {
        m->addSeparator();
        continue;
      }
      QString text = Ui(entry.text);
      if (*entry.shortcut) text += "\t" + QString(entry.shortcut);
      QAction* action = m->addAction(text);
      action->setObjectName(QString("cmd%1").arg(entry.command));
      if (entry.bound) action->setShortcut(QKeySequence(QString(entry.shortcut)));
      action->setToolTip(Ui(CommandTooltip(entry.command)));
      actions_[entry.command] = action;
      if (entry.command == kCmdToolbar) continue;  // wired to the toolbar below
      connect(action, &QAction::triggered, this, [this, id = entry.command] { RunCommand(id); });
    }
  }
  // F1 opens the help as command 32792 does.
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, &MainWindow::ShowHelp);
}

void MainWindow::BuildToolbar() {
  toolbar_ = new QToolBar(this);
  toolbar_->setObjectName("toolbar128");
  toolbar_->setMovable(true);
  addToolBar(Qt::TopToolBarArea, toolbar_);
  for (int command : ToolbarCommands()) {
    if (command == 0) {
      toolbar_->addSeparator();
      continue;
    }
    QAction* action = Action(command);
    if (!action) {
      action = new QAction(this);
      action->setObjectName(QString("cmd%1").arg(command));
      actions_[command] = action;
      connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
    }
    action->setIcon(ToolbarIcon(command, style()));
    action->setToolTip(Ui(CommandTooltip(command)));
    toolbar_->addAction(action);
  }
  QAction* toggle = Action(kCmdToolbar);
  toggle->setCheckable(true);
  toggle->setChecked(true);
  connect(toggle, &QAction::toggled, toolbar_, &QToolBar::setVisible);
  connect(toolbar_, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
}

void MainWindow::UpdateCommands() {
  for (auto& [command, action] : actions_) {
    if (command == kCmdToolbar) continue;
    action->setEnabled(editor_.CommandEnabled(command));
    if (command == kCmdItemTargets || command == kCmdItemIcons || command == kCmdFrameResizable) {
      action->setCheckable(true);
      action->setChecked(editor_.CommandChecked(command));
    }
  }
  if (QAction* recent = Action(kCmdRecent)) recent->setText(ToQt(editor_.RecentEntryText()));
}

void MainWindow::RunCommand(int command) {
  switch (command) {
    case kCmdExit: close(); break;
    case kCmdHelp: ShowHelp(); break;
    case kCmdAbout: AboutDialog(this).exec(); break;
    case kCmdRename:
      if (QTreeWidgetItem* item = form_->Tree()->currentItem()) form_->Tree()->editItem(item);
      break;
    case kCmdIconCopy:
      if (editor_.CommandEnabled(command)) editor_.CopyStandardImages(program_folder_);
      break;
    default: break;  // commands still to come are disabled
  }
  UpdateCommands();
}

void MainWindow::ShowContextMenu(const QPoint& global_pos) {
  const BatchCounters& c = editor_.Model().counters;
  ContextMenu chosen = ContextMenuFor(c.CutBufferFull(), c.CopyBufferFull());
  QMenu menu(this);
  menu.setObjectName(QString("context%1").arg(chosen.id));
  for (const MenuEntry& entry : chosen.entries) {
    if (entry.command == 0) {
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

void MainWindow::closeEvent(QCloseEvent* event) {
  QRect frame = frameGeometry();
  QRect client = centralWidget() ? rect() : QRect();
  if (editor_.CloseRequested(frame.x(), frame.y(), client.width(), client.height())) event->accept();
  else event->ignore();
}

}  // namespace pomeli2
