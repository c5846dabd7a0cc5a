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
  enum class State { kFirst, kOtherRuns, kFolderUnusable };
  // kOtherRuns only when a running instance holds the lock; a lock that
  // cannot be taken for any other reason means the folder is unusable.
  State GetState() const { return state_; }
  // Asks the running instance to show its window, and to open `project`
  // (an absolute path) when one is given. False when it did not answer.
  bool WakeRunningInstance(const QString& project);
  // From now on a later start brings `window` to the front and hands over
  // the project it names.
  void Serve(MainWindow* window);

 private:
  QString server_name_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer* server_ = nullptr;
  State state_ = State::kFolderUnusable;
};

// Qt's own dialogs in Japanese, and the form font with its fallbacks.
void SetUpJapanese();

}  // namespace pomeli2
