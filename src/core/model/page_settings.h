// The project-wide settings. Fields with a project-file key bear the key's
// name; texts are CP932 bytes, flags are 0 or 1.
#pragma once

#include <string>

#include "model/menu_item.h"

namespace pomeli2 {

struct PageSettings {
  // Page fields.
  std::string Title, BgColor, BackPicture, Start, Left, Row, Indent;
  std::string BodyText, BodyLink, BodyVlink, BodyAlink, BodyHover, BodyHoverBack;
  int TextBackOn = 0, ParentLink = 0;
  // Tree images.
  std::string Plus, Minus, Linkto, Otherw;
  // Frames and script.
  std::string RightFrame, OtherwFrame, Browser;
  int Unite = 0, ParentLinkOn = 0, CloseItems = 0, CloseTree = 0;
  std::string Speed, FirstPage, FirstTopPage;
  // BODY insertions.
  std::string BodyHeader, BodyFooter;
  // The "HTML5" page only: the filter box (on after File New and for an
  // imported outline, off for a project file that does not say), the page's
  // language and direction, and a dark palette that follows the system's.
  int Filter = 0, Dark = 0;
  std::string Lang = "ja", Dir = "ltr";
  // Colours of the editor's own tree (red in the low byte).
  int TreeBgColor = 0, TreeItemColor = 0;
  // Files.
  std::string ProjectPath, HtmlFileName, Path;
  // New-item defaults.
  std::string NewBgColor, NewStyle, NewFontSize, NewOtherButton, NewTarget;

  // Every field at the value it has when the editor starts.
  static PageSettings Initial();
  // Sets the fields that File New resets; the others are kept.
  void ResetForNew();

  bool ItemTargetsEnabled() const;  // RightFrame is "なし"
  bool ItemIconsEnabled() const { return Linkto.empty(); }
  bool RightToLeft() const;  // Dir is "rtl", in any case
  bool operator==(const PageSettings&) const = default;
};

// A colour number (red in the low byte) as 0xRRGGBB.
inline unsigned RgbOfColourNumber(int number) {
  unsigned n = static_cast<unsigned>(number);
  return ((n & 0xFFu) << 16) | (n & 0xFF00u) | ((n >> 16) & 0xFFu);
}

// Untitled names and other constants shared by several parts.
const std::string& UntitledProject();  // "無題.pml"
const std::string& UntitledHtml();     // "無題.html"
const std::string& NoFrame();          // "なし"
// A new item's values from the new-item settings (its title aside).
MenuItem NewItemValues(const PageSettings& settings);

// The browser mode that writes the accessible standards-mode page.
inline constexpr const char* kHtml5Browser = "HTML5";

}  // namespace pomeli2
