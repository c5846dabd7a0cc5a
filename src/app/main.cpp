// pomeli2: the desktop editor for collapsible tree menus.
#include <QApplication>
#include <QDir>
#include <QIcon>

#include "application.h"
#include "io/program_folder.h"
#include "main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Pomeli2");
  QApplication::setOrganizationName("Hesvin");
  QApplication::setWindowIcon(QIcon(":/icons/pomeli2.png"));

  const std::string folder = pomeli2::ProgramFolder();
  pomeli2::PrepareProgramFolder(folder, pomeli2::InstalledImagesFolder());
  pomeli2::SingleInstance instance(QString::fromStdString(folder));
  if (!instance.IsFirst()) {
    instance.WakeRunningInstance();
    return 0;
  }
  pomeli2::SetUpJapanese();
  pomeli2::MainWindow window(folder);
  instance.Serve(&window);
  window.show();
  return app.exec();
}
