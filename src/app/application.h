// Start-up of the desktop program: one instance per user, the program
// folder, Japanese texts and fonts.
#pragma once

#include <QObject>
#include <memory>

class QLocalServer;
class QLockFile;

namespace pomeli2 {

class MainWindow;

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // Takes the per-user lock in the program folder; a lock whose owner died
  // is taken over.
  explicit SingleInstance(const QString& program_folder);
  ~SingleInstance() override;
  bool IsFirst() const { return first_; }
  // Asks the running instance to show its window.
  void WakeRunningInstance();
  // From now on a later start brings `window` to the front.
  void Serve(MainWindow* window);

 private:
  QString server_name_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer* server_ = nullptr;
  bool first_ = false;
};

// Qt's own dialogs in Japanese, and the form font with its fallbacks.
void SetUpJapanese();

}  // namespace pomeli2
