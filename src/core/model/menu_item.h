// One menu item's own values, as the project file stores them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pomeli2 {

// The extra button after a leaf's title.
enum class OtherWindow : std::uint8_t {
  kNone = 0,        // "ボタンなし"
  kNewWindow = 1,   // "別ウインドウ": opens the link in another window
  kLeaveFrames = 2  // "フレーム解除": opens the link over the whole frame set
};

// Its code in the files is project/'s (CodeOf, OtherWindowOfCode), its name
// on the form the form's (OtherButtonText).

struct MenuItem {
  std::string title;      // HTML, or "file:" + image path [+ ":" + text]
  std::string bg_color;   // the title's background, "#RRGGBB" as typed
  std::string style;      // a name of kFontStyles, or what a file held
  std::string font_size;  // "10pt" and the like
  std::string link;
  std::string target;
  std::string icon;       // a leaf's button image
  std::string open;       // "1": a top-level branch starts open (kept as the file held it)
  OtherWindow other_window = OtherWindow::kNone;

  bool operator==(const MenuItem&) const = default;
};

// The font styles the form offers, in its order, and how a page writes each.
struct FontStyle {
  const char* name;  // as the item and the project file keep it
  const char* css;   // the declarations, ";" between two; none for the first
};
inline constexpr std::array<FontStyle, 4> kFontStyles = {{{"None", ""},
                                                         {"Bold", "font-weight:bold"},
                                                         {"Italic", "font-style:italic"},
                                                         {"Bold&Italic", "font-weight:bold;font-style:italic"}}};
// The declarations of a stored style; empty for "None" and for a style that
// no entry names.
std::string_view FontStyleCss(std::string_view style);

// The new-item fields' first values, which the root of a new menu takes
// too; an emptied new-item field takes its value back at once.
inline constexpr const char* kNewItemBgColor = "#8080FF";
inline constexpr const char* kNewItemStyle = kFontStyles[0].name;
inline constexpr const char* kNewItemFontSize = "10pt";
inline constexpr const char* kNewItemTarget = "Frame2";

// The root of a new menu.
MenuItem RootItem();

// An image title, "file:" + path [+ ":" + text], split; nullopt for any
// other title (and for "file:" alone).
struct ImageTitle {
  std::string path, text;
  bool has_text = false;  // the ":" after the path was there
};
std::optional<ImageTitle> SplitImageTitle(std::string_view title);

// The title with `shown` applied to the part that is text: an image title's
// text after its path (one without text stays as it is), else all of it.
std::string MapTitleText(std::string_view title, const std::function<std::string(std::string_view)>& shown);

}  // namespace pomeli2
