// One menu item's own values, as the project file stores them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pomeli2 {

// The extra button after a leaf's title.
enum class OtherWindow : std::uint8_t {
  kNone = 0,        // "ボタンなし"
  kNewWindow = 1,   // "別ウインドウ": opens the link in another window
  kLeaveFrames = 2  // "フレーム解除": opens the link over the whole frame set
};

// The file's code: "0" and "1" are themselves, anything else means 2.
OtherWindow OtherWindowOfCode(std::string_view code);
inline char CodeOf(OtherWindow kind) { return static_cast<char>('0' + static_cast<int>(kind)); }
// As the form and the new-item setting name a kind (CP932): "ボタンなし",
// "別ウインドウ", "フレーム解除".
const std::string& OtherButtonText(OtherWindow kind);
// The inverse: any text but the first two means "フレーム解除".
OtherWindow OtherButtonKind(std::string_view text);

struct MenuItem {
  std::string title;      // HTML, or "file:" + image path [+ ":" + text]
  std::string bg_color;   // the title's background, "#RRGGBB" as typed
  std::string style;      // "None", "Bold", "Italic", "Bold Italic" or what a file held
  std::string font_size;  // "10pt" and the like
  std::string link;
  std::string target;
  std::string icon;       // a leaf's button image
  std::string open;       // "1": a top-level branch starts open (kept as the file held it)
  OtherWindow other_window = OtherWindow::kNone;

  bool operator==(const MenuItem&) const = default;
};

// The root of a new menu.
MenuItem RootItem();

}  // namespace pomeli2
