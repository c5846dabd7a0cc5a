#include "application.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFont>
#include <QLibraryInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLocale>
#include <QTranslator>

#include "main_window.h"

namespace pomeli2 {

SingleInstance::SingleInstance(const QString& program_folder) {
  // One instance per program folder, which is per user.
  QByteArray hash = QCryptographicHash::hash(program_folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  server_name_ = "pomeli2-" + QString::fromLatin1(hash);
  lock_ = std::make_unique<QLockFile>(program_folder + "pomeli2.lock");
  lock_->setStaleLockTime(0);  // a lock is stale only when its process is gone
  if (lock_->tryLock(200)) state_ = State::kFirst;
  else if (lock_->error() == QLockFile::LockFailedError) state_ = State::kOtherRuns;
  else state_ = State::kFolderUnusable;
}

SingleInstance::~SingleInstance() {
  if (server_) server_->close();
}

bool SingleInstance::WakeRunningInstance(const QString& project) {
  QLocalSocket socket;
  socket.connectToServer(server_name_);
  if (!socket.waitForConnected(3000)) return false;
  socket.write(project.isEmpty() ? QByteArray("show\n") : "open\t" + project.toUtf8() + "\n");
  bool written = socket.waitForBytesWritten(3000);
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(1000);
  return written;
}

void SingleInstance::Serve(MainWindow* window) {
  // A server left behind by a killed instance blocks listen() until removed.
  QLocalServer::removeServer(server_name_);
  server_ = new QLocalServer(this);
  server_->listen(server_name_);
  connect(server_, &QLocalServer::newConnection, this, [this, window] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, window, [socket, window] {
        while (socket->canReadLine()) {
          QByteArray line = socket->readLine().trimmed();
          window->BringToFront();
          // Opened once the second start has been answered.
          if (line.startsWith("open\t"))
            QMetaObject::invokeMethod(
                window, [window, path = QString::fromUtf8(line.mid(5))] { window->OpenProject(path); },
                Qt::QueuedConnection);
        }
      });
    }
  });
}

void SetUpJapanese() {
  auto* translator = new QTranslator(qApp);
  if (translator->load(QLocale(QLocale::Japanese), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(translator);
  // The form's font, with installed Japanese fonts behind it so that no text
  // shows as empty boxes.
  QFont font;
  font.setFamilies({QString::fromUtf8("ＭＳ Ｐゴシック"), "IPAPGothic", "IPAGothic", "Noto Sans CJK JP",
                    "VL PGothic", "TakaoPGothic"});
  font.setPointSize(9);
  QApplication::setFont(font);
}

}  // namespace pomeli2
