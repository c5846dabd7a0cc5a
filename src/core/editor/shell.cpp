#include "editor/shell.h"

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

std::optional<WindowRect> StartPlacement(const SettingsFile& file, const WindowRect& available, Host& host,
                                         std::optional<WindowSize> kept) {
  SettingsFile::Placement p = file.ReadPlacement();
  if (p.exists && !p.readable) {
    host.MessageBox(sj("ファイル「Pomeli2.ini」をオープンできませんでした。"), sj(kErrorTitle), MessageIcon::kError,
                    MessageButtons::kOk, std::nullopt);
    return std::nullopt;
  }
  return InitialWindowRect(p.left, p.top, available, kept);
}

std::string DocumentName(const std::string& project_path) {
  // "/" is never the second byte of a CP932 character.
  size_t slash = project_path.rfind('/');
  return slash == std::string::npos ? project_path : project_path.substr(slash + 1);
}

}  // namespace pomeli2
