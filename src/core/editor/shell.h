// Where the main window goes: the saved position, a fixed first size, and
// the smallest size it may take.
#pragma once

#include <optional>

#include "editor/host.h"
#include "project/settings_file.h"

namespace pomeli2 {

struct WindowRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const WindowRect&) const = default;
};

constexpr int kFirstWindowSize = 1000;
constexpr int kMinWindowWidth = 630;
constexpr int kMinWindowHeight = 605;

// The window opens at the saved position with a size of 1000 x 1000, but
// never larger than the available area nor reaching outside it.
WindowRect InitialWindowRect(int saved_left, int saved_top, const WindowRect& available);

// Reads the saved position as the window is created. Nullopt, after the
// message, when the file exists but cannot be read: the window system
// places the window then.
std::optional<WindowRect> StartPlacement(const SettingsFile& file, const WindowRect& available, Host& host);

}  // namespace pomeli2
