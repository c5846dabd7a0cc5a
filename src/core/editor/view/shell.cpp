#include "editor/view/shell.h"

#include <algorithm>

#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2 {

WindowRect InitialWindowRect(int saved_left, int saved_top, const WindowRect& available,
                             std::optional<WindowSize> kept) {
  WindowRect r;
  r.width = kept ? std::max(kept->width, kMinWindowWidth) : kFirstWindowSize;
  r.height = kept ? std::max(kept->height, kMinWindowHeight) : kFirstWindowSize;
  r.width = std::min(r.width, available.width);
  r.height = std::min(r.height, available.height);
  r.x = std::clamp(saved_left, available.x, available.x + available.width - r.width);
  r.y = std::clamp(saved_top, available.y, available.y + available.height - r.height);
  return r;
}

WindowRect FitFrame(WindowRect frame, const WindowRect& available) {
  frame.width = std::min(frame.width, available.width);
  frame.height = std::min(frame.height, available.height);
  frame.x = std::clamp(frame.x, available.x, available.x + available.width - frame.width);
  frame.y = std::clamp(frame.y, available.y, available.y + available.height - frame.height);
  return frame;
}

namespace {

bool Overlap(const WindowRect& a, const WindowRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

}  // namespace

WindowRect PlaceBeside(const WindowRect& editor, WindowSize size, const WindowRect& available,
                       const std::vector<WindowRect>& shown) {
  constexpr int kGap = 8;
  WindowRect place{editor.x + editor.width + kGap, editor.y, size.width, size.height};
  if (place.x + size.width > available.x + available.width) {
    place.x = editor.x - kGap - size.width;
    // No room on either side: over the editor, at its top right.
    if (place.x < available.x) place = {editor.x + editor.width - size.width, editor.y, size.width, size.height};
  }
  place = FitFrame(place, available);
  // Below the side windows it would cover, while the screen has room.
  for (bool moved = true; moved;) {
    moved = false;
    for (const WindowRect& other : shown) {
      if (!Overlap(place, other)) continue;
      WindowRect below = place;
      below.y = other.y + other.height + kGap;
      if (below.y + below.height > available.y + available.height) return place;
      place = below;
      moved = true;
    }
  }
  return place;
}

std::optional<WindowRect> StartPlacement(const SettingsFile& file, const WindowRect& available, Host& host,
                                         std::optional<WindowSize> kept) {
  SettingsFile::Placement p = file.ReadPlacement();
  if (p.exists && !p.readable) {
    host.MessageBox(CannotOpenMessage(kSettingsFileName), sj(kErrorTitle), MessageIcon::kError,
                    MessageButtons::kOk, std::nullopt);
    return std::nullopt;
  }
  return InitialWindowRect(p.left, p.top, available, kept);
}


}  // namespace pomeli2
