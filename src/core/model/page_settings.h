// The project-wide settings. Fields with a project-file key bear the key's
// name; texts are CP932 bytes, flags are 0 or 1.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "model/menu_item.h"
#include "model/number_text.h"

namespace pomeli2 {

// The page a project writes: the tree script in one of the browser modes of
// its time, or the accessible standards-mode page.
enum class PageMode : std::uint8_t { kAllBrowsers, kIeOnly, kNn4Only, kNn6Only, kHtml5 };

// [Browser]: the mode, and the file's own text when it names none (such a
// project is written in the combined mode and saved back as it was read).
// Its texts are the project file's (project/PageModeToString).
struct BrowserSetting {
  PageMode mode = PageMode::kAllBrowsers;
  std::optional<std::string> unknown;
  bool operator==(const BrowserSetting&) const = default;
};

struct PageSettings {
  // Page fields.
  std::string Title, BgColor, BackPicture;
  NumberText Start, Left, Row, Indent;
  std::string BodyText, BodyLink, BodyVlink, BodyAlink, BodyHover, BodyHoverBack;
  int TextBackOn = 0, ParentLink = 0;
  // Tree images.
  std::string Plus, Minus, Linkto, Otherw;
  // Frames and script.
  // The frame every item's link opens in; none: each item's own target.
  std::optional<std::string> RightFrame;
  std::string OtherwFrame;
  BrowserSetting Browser;
  int Unite = 0, ParentLinkOn = 0, CloseItems = 0, CloseTree = 0;
  NumberText Speed;  // the closing animation's step
  std::string FirstPage, FirstTopPage;
  // BODY insertions.
  std::string BodyHeader, BodyFooter;
  // The "HTML5" page only: the filter box (on after File New and for an
  // imported outline, off for a project file that does not say), the page's
  // language and direction, and a dark palette that follows the system's.
  int Filter = 0, Dark = 0;
  std::string Lang = "ja", Dir = "ltr";
  // The folder of the site whose pages carry the menu (a system path);
  // empty when the menu goes on no site.
  std::string Site;
  // Colours of the editor's own tree (red in the low byte).
  int TreeBgColor = 0, TreeItemColor = 0;
  // Files.
  std::string ProjectPath, HtmlFileName, Path;
  // New-item defaults.
  std::string NewBgColor, NewStyle, NewFontSize, NewTarget;
  OtherWindow NewOtherButton = OtherWindow::kNone;

  // Every field at the value it has when the editor starts.
  static PageSettings Initial();
  // Sets the fields that File New resets; the others are kept.
  void ResetForNew();

  bool ItemTargetsEnabled() const { return !RightFrame; }
  bool ItemIconsEnabled() const { return Linkto.empty(); }
  bool RightToLeft() const;  // Dir is "rtl", in any case
  bool operator==(const PageSettings&) const = default;
};

// One page setting, by its member: a text or a number.
using SettingField = std::variant<std::string PageSettings::*, NumberText PageSettings::*>;

// A colour number (red in the low byte) as 0xRRGGBB.
inline unsigned RgbOfColourNumber(int number) {
  unsigned n = static_cast<unsigned>(number);
  return ((n & 0xFFu) << 16) | (n & 0xFF00u) | ((n >> 16) & 0xFFu);
}

// Untitled names and other constants shared by several parts.
const std::string& UntitledProject();  // "無題.pml"
const std::string& UntitledHtml();     // "無題.html"
// A new item's values from the new-item settings (its title aside).
MenuItem NewItemValues(const PageSettings& settings);

}  // namespace pomeli2
