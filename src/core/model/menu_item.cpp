#include "model/menu_item.h"

#include "text/sjis.h"

namespace pomeli2 {

OtherWindow OtherWindowOfCode(std::string_view code) {
  if (code == "0") return OtherWindow::kNone;
  if (code == "1") return OtherWindow::kNewWindow;
  return OtherWindow::kLeaveFrames;
}

MenuItem RootItem() {
  MenuItem root;
  root.title = sj("ホームページ");
  root.bg_color = "#8080FF";
  root.style = "None";
  root.font_size = "10pt";
  root.target = "Frame2";
  return root;
}

const std::string& OtherButtonText(OtherWindow kind) {
  switch (kind) {
    case OtherWindow::kNone: return sj("ボタンなし");
    case OtherWindow::kNewWindow: return sj("別ウインドウ");
    case OtherWindow::kLeaveFrames: break;
  }
  return sj("フレーム解除");
}

OtherWindow OtherButtonKind(std::string_view text) {
  if (text == sj("ボタンなし")) return OtherWindow::kNone;
  if (text == sj("別ウインドウ")) return OtherWindow::kNewWindow;
  return OtherWindow::kLeaveFrames;
}

}  // namespace pomeli2
