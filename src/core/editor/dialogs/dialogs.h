// The editor's dialogs as the core keeps them: their values, lists and
// enabling rules, and what their own buttons do. The host shows a dialog and
// forwards what the user does to it; OK or Cancel is the host's answer, and
// the command that opened the dialog then applies the values.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/page_settings.h"
#include "project/project_file.h"
#include "text/catalogue.h"

namespace pomeli2 {

struct CommandContext;

// The colour dialog's custom colours, shared by every colour dialog of a run.
struct CustomColours {
  unsigned rgb[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                      0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
};

// One of the four bulk changes: one value in one list, applied to every row.
struct BulkChangeDialog {
  enum class Kind { kFontSize, kFontStyle, kOtherButton, kBackground };
  explicit BulkChangeDialog(CommandContext& editor, Kind kind);
  Kind kind;
  std::string title, first_text, last_text;
  std::vector<std::string> entries;
  bool editable = false;  // only the background colour's box takes typing
  std::string value;
  // The background colour's swatch: the last complete colour of the box.
  std::optional<unsigned> swatch;

  // The colour box was typed into: the colour check, which may repair the
  // value (the host shows the value again). Picking from the list is a
  // plain assignment of `value`.
  void Typed(const std::string& text);
  // The colour button beside the box.
  void ChooseColour();
  // OK: false, after the message, while the box holds a colour that is not
  // complete ("#12345"): the dialog stays open.
  bool Accept();

 private:
  CommandContext& editor_;
};

// JavaScript options.
struct ScriptOptionsDialog {
  std::string browser, right_frame, otherw_frame, speed, first_page, first_top_page;
  int unite = 0, parent_link_on = 0, close_items = 0, close_tree = 0;
  // The "HTML5" page's own: filter box, language, direction, dark palette.
  std::string lang, dir;
  int filter = 0, dark = 0;

  static std::vector<std::string> RightFrameEntries();
  static std::vector<std::string> OtherwFrameEntries();
  static std::vector<std::string> BrowserEntries();
  static std::vector<std::string> SpeedEntries();
  static std::vector<std::string> LangEntries();
  static std::vector<std::string> DirEntries();
  static constexpr size_t kLangLimit = 35;  // the longest language tag a page needs
  static constexpr size_t kPageLimit = kTextLimit;
  // A merged button and text leaves the parent-link pull-down on; the
  // animation leaves "one branch at a time" on and makes its speed matter.
  bool ParentLinkOnEnabled() const { return unite != 1; }
  bool CloseTreeEnabled() const { return close_items != 1; }
  bool SpeedEnabled() const { return close_items == 1; }
  bool Html5Enabled() const { return PageModeFromString(browser).mode == PageMode::kHtml5; }
  // The language is a tag where an HTML5 page is written with it.
  bool LangValid() const;
  void UniteClicked(bool on);
  void CloseItemsClicked(bool on);
};

// The four tree images, each with a browse button that keeps the file name.
struct TreeImagesDialog {
  explicit TreeImagesDialog(CommandContext& editor) : editor_(editor) {}
  std::string images[4];  // Plus, Minus, Linkto, Otherw
  std::string base_path;  // where browsing starts (CP932, ending in "/")
  void Browse(int row);
  void RestoreDefaults();

 private:
  CommandContext& editor_;
};

// The files whose bytes go first and last into the menu page's BODY.
struct BodyInsertDialog {
  explicit BodyInsertDialog(CommandContext& editor) : editor_(editor) {}
  std::string header, footer;
  static constexpr size_t kPathLimit = kTextLimit;
  void BrowseHeader();
  void BrowseFooter();
  void Clear() { header.clear(), footer.clear(); }

 private:
  CommandContext& editor_;
};

// A name for the TARGET list.
struct TargetNameDialog {
  explicit TargetNameDialog(CommandContext& editor) : editor_(editor) {}
  std::string name = "NewTarget";
  static constexpr size_t kNameLimit = 30;
  // OK: false, after the message, while the name is blank (it would be a
  // blank entry of the list, and a TARGET that names nothing) or the list
  // has it already; the dialog stays open on it.
  bool Accept();

 private:
  CommandContext& editor_;
};

}  // namespace pomeli2
