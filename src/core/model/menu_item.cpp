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
  root.bg_color = kNewItemBgColor;
  root.style = kNewItemStyle;
  root.font_size = kNewItemFontSize;
  root.target = kNewItemTarget;
  return root;
}

}  // namespace pomeli2
