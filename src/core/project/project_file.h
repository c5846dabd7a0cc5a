// The project file (.pml): setting lines "[Key]\tvalue" and one item line
// per menu item in pre-order, every line ending in CR LF, CP932 bytes.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/menu_model.h"
#include "model/page_settings.h"
#include "project/line_reader.h"

namespace pomeli2 {

// The longest line the reader takes whole, before its line end.
constexpr size_t kMaxProjectLine = 1022;

struct ProjectKey {
  enum Kind { kText, kNumber, kFlag, kColour, kPageMode, kRightFrame };
  const char* key;
  Kind kind;
  std::string PageSettings::*text;
  int PageSettings::*number;
  // A key that older files do not have is written only when its value is
  // not this one, which is also what its absence means.
  const char* absent = nullptr;
  // kNumber: kept as its text, as the file holds it.
  NumberText PageSettings::*numeral = nullptr;
  bool Omitted(const std::string& value) const { return absent && value == absent; }
};
// An item's other-window kind as the files write it, "0", "1" or "2", and
// as a code is read: "0" and "1" are themselves, anything else means 2.
inline char CodeOf(OtherWindow kind) { return static_cast<char>('0' + static_cast<int>(kind)); }
OtherWindow OtherWindowOfCode(std::string_view code);

// The page modes as [Browser] and the JavaScript options name them, in the
// order the options list them.
const std::vector<std::string>& PageModeTexts();
std::string PageModeToString(const BrowserSetting& browser);
BrowserSetting PageModeFromString(std::string_view text);

// [RightFrame]: a frame's name, or "なし" for none.
std::string RightFrameToString(const std::optional<std::string>& frame);
std::optional<std::string> RightFrameFromString(std::string_view text);

// The keys in the order they are written; the two BODY keys come last.
const std::vector<ProjectKey>& ProjectKeys();
// A setting's value as its line holds it, and a line's value stored as the
// reader stores it.
std::string SettingValue(const PageSettings& settings, const ProjectKey& key);
void StoreSettingValue(PageSettings& settings, const ProjectKey& key, std::string_view value);

struct SerializedProject {
  std::string bytes;
  // When a line would be longer than the reader takes: which value it is
  // (the key, or the item's title), and nothing else is set.
  std::optional<std::string> too_long_key;
  std::optional<std::string> too_long_item_title;
};

// The length of an item's line at `depth` levels below the root, without
// its line end.
size_t ItemLineLength(const MenuItem& item, int depth);

// The bytes of the project file: the settings, then the menu's items in
// pre-order, each with its level below the root.
SerializedProject SerializeProject(const PageSettings& settings, const MenuModel& menu);

enum class ReadFailure { kNone, kBadNumber, kBadStructure, kTooManyItems };

struct ParsedProject {
  ReadFailure failure = ReadFailure::kNone;
  PageSettings settings;                 // the settings before the read with the file's values applied
  MenuTree tree;                         // the items; ids in file order, the root's is 0
  std::vector<std::string> new_targets;  // Target texts not yet in the TARGET list, in order
};

ParsedProject ParseProject(const ByteSource& source, const PageSettings& current,
                           const std::vector<std::string>& target_list);
// Replaces the menu by the items read; its root title is the root's. The
// last item in pre-order comes selected with them, told to no selection
// handler (see MenuTree::Replace), and is returned.
NodeId RebuildMenu(MenuModel& model, MenuTree items);
// Replaces the menu by `root` with `items` below it, depth 0 being the
// root's children; the last item comes selected, as above, and is returned.
NodeId RebuildMenu(MenuModel& model, MenuItem root, std::vector<ClipItem> items);

ParsedProject ParseProject(std::string_view bytes, const PageSettings& current,
                           const std::vector<std::string>& target_list);

}  // namespace pomeli2
