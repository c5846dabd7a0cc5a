// Where the main window goes: the saved position, a fixed first size or the
// size it was closed with, and the smallest size it may take; and the name
// its title gives the document.
#pragma once

#include <optional>
#include <vector>
#include <string>

#include "editor/view/host.h"
#include "project/window_state.h"

namespace pomeli2 {

constexpr int kFirstWindowSize = 1000;
constexpr int kMinWindowWidth = 630;
constexpr int kMinWindowHeight = 605;

// The window opens at the saved position with a size of 1000 x 1000, or
// with the size it was closed with when that is kept, but never smaller
// than the smallest size, nor larger than the available area, nor reaching
// outside it.
WindowRect InitialWindowRect(int saved_left, int saved_top, const WindowRect& available,
                             std::optional<WindowSize> kept = std::nullopt);

// A window's frame, title bar included, moved and if need be made smaller so
// that all of it lies within `available`; the window manager's frame is
// known only once the window is shown, so the window fits itself then.
WindowRect FitFrame(WindowRect frame, const WindowRect& available);

// Where a window with a frame of `size` opens beside the editor's frame
// `editor`: on its right where there is room, else on its left, else over
// the editor at its top right; its frame always wholly within `available`.
// It goes below the frames of `shown` (other windows beside the editor) that
// it would cover, as long as it stays within `available`.
WindowRect PlaceBeside(const WindowRect& editor, WindowSize size, const WindowRect& available,
                       const std::vector<WindowRect>& shown = {});

// Reads the saved position as the window is created. Nullopt, after the
// message, when the file exists but cannot be read: the window system
// places the window then.
std::optional<WindowRect> StartPlacement(const SettingsFile& file, const WindowRect& available, Host& host,
                                         std::optional<WindowSize> kept = std::nullopt);

}  // namespace pomeli2
