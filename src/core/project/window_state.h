// What the main window keeps from one run to the next: the position line of
// Pomeli2.ini, which the settings file shares with the modified mark and the
// last project, and its own file window.ini beside it (the size it had
// before it was maximised, whether it was, and the file dialogs' folders
// with the document they served), in the INI form Qt's QSettings writes.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "project/settings_file.h"

namespace pomeli2 {

struct WindowRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const WindowRect&) const = default;
};

// The size a window had when it was closed last time.
struct WindowSize {
  int width = 0, height = 0;
  bool operator==(const WindowSize&) const = default;
};

// window.ini's part.
struct KeptWindow {
  std::optional<WindowSize> size;       // the normal size; nothing when none was kept
  bool maximised = false;
  std::string document;                 // the project the folders served (CP932)
  std::map<int, std::string> folders;   // the file dialogs' folders by kind (CP932)
  bool operator==(const KeptWindow&) const = default;
};

class WindowStateStore {
 public:
  // `program_folder` is a system path ending in "/".
  explicit WindowStateStore(const std::string& program_folder)
      : settings_(program_folder), path_(program_folder + "window.ini") {}
  // Pomeli2.ini, whose first two fields are the window's position.
  const SettingsFile& Settings() const { return settings_; }
  const std::string& Path() const { return path_; }

  // What window.ini holds; nothing kept when it is missing or unreadable.
  KeptWindow Read() const;
  // Writes window.ini with `kept`, keeping whatever else the file holds;
  // false when it cannot be written.
  bool Write(const KeptWindow& kept) const;

 private:
  SettingsFile settings_;
  std::string path_;
};

}  // namespace pomeli2
