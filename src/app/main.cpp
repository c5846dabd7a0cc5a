// pomeli2: the desktop editor for collapsible tree menus.
#include <QApplication>
#include <cstdio>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>

#include "application.h"
#include "io/program_folder.h"
#include "main_window.h"
#include "text/catalogue.h"

namespace {

// The program cannot work without its folder: it says so, and ends.
int Fail(const QString& text) {
  std::fputs((text.toStdString() + "\n").c_str(), stderr);
  QMessageBox::critical(nullptr, QString::fromUtf8(pomeli2::kErrorTitle), text);
  return 1;
}

int FolderUnusable(const std::string& folder) {
  return Fail(QString::fromUtf8("プログラムフォルダ「%1」を作成できないか、書き込めません。\n"
                                "フォルダの権限を確認するか、環境変数 POMELI2_HOME で別のフォルダを指定してください。")
                  .arg(QString::fromStdString(folder)));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Pomeli2");
  QApplication::setOrganizationName("Hesvin");
  // Ties the windows to the installed desktop entry (the Wayland app id).
  QGuiApplication::setDesktopFileName("io.github.pomeli2.Pomeli2");
  QApplication::setWindowIcon(QIcon(":/icons/pomeli2.png"));
  pomeli2::SetUpJapanese();

  // A project named on the command line (or by a file manager) is opened.
  QString project;
  QStringList args = QApplication::arguments();
  if (args.size() > 1) project = QFileInfo(args.at(1)).absoluteFilePath();

  const std::string folder = pomeli2::ProgramFolder();
  if (!pomeli2::PrepareProgramFolder(folder, pomeli2::InstalledImagesFolder())) return FolderUnusable(folder);
  pomeli2::SingleInstance instance(QString::fromStdString(folder));
  switch (instance.GetState()) {
    case pomeli2::SingleInstance::State::kFirst: break;
    case pomeli2::SingleInstance::State::kOtherRuns:
      if (instance.WakeRunningInstance(project)) return 0;
      return Fail(QString::fromUtf8("実行中の Pomeli Pomeli が応答しません。\n"
                                    "実行中でなければ、ロックファイル「%1pomeli2.lock」を削除してください。")
                      .arg(QString::fromStdString(folder)));
    case pomeli2::SingleInstance::State::kFolderUnusable: return FolderUnusable(folder);
  }
  pomeli2::MainWindow window(folder);
  instance.Serve(&window);
  window.show();
  if (!project.isEmpty())
    QMetaObject::invokeMethod(&window, [&window, project] { window.OpenProject(project); }, Qt::QueuedConnection);
  return app.exec();
}
