#include "editor/shell.h"

#include <algorithm>

#include "text/sjis.h"

namespace pomeli2 {

WindowRect InitialWindowRect(int saved_left, int saved_top, const WindowRect& available) {
  WindowRect r;
  r.width = std::min(kFirstWindowSize, available.width);
  r.height = std::min(kFirstWindowSize, available.height);
  r.x = std::clamp(saved_left, available.x, available.x + available.width - r.width);
  r.y = std::clamp(saved_top, available.y, available.y + available.height - r.height);
  return r;
}

std::optional<WindowRect> StartPlacement(const SettingsFile& file, const WindowRect& available, Host& host) {
  SettingsFile::Placement p = file.ReadPlacement();
  if (p.exists && !p.readable) {
    host.MessageBox(sj("ファイル「Pomeli2.ini」をオープンできませんでした。"), sj("エラー"), MessageIcon::kError,
                    MessageButtons::kOk, std::nullopt);
    return std::nullopt;
  }
  return InitialWindowRect(p.left, p.top, available);
}

}  // namespace pomeli2
