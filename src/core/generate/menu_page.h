// The menu page: head, optional hover style, the tree script, the BODY with
// its header and footer insertions, and one positioned block per item.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/page_items.h"
#include "model/menu_tree.h"
#include "model/page_settings.h"

namespace pomeli2 {

// What a setting must hold for the page to work.
enum class SettingNeed : std::uint8_t { kNumber, kPositiveNumber, kColour };
// A setting with which the page could not work (an empty or non-numeric
// position, a zero row spacing or indent, a zero animation speed, a colour
// no browser reads) and what it must hold instead. Those who tell the user
// name it.
struct UnworkableSetting {
  SettingField field;
  SettingNeed need;
};
// The first of them, or nullopt when the page can be written.
std::optional<UnworkableSetting> FindUnworkableSetting(const PageSettings& settings);
// Every one of them, in the form's order.
std::vector<UnworkableSetting> FindUnworkableSettings(const PageSettings& settings);

// The whole page. `header` and `footer` are the bytes of the BODY insertion
// files, or null when there is none (or it could not be read).
std::string BuildMenuPage(const PageSettings& settings, const MenuTree& tree, const std::string* header,
                          const std::string* footer);
// The same page handed to `sink` in pieces, in order, so that a large page
// is never held whole.
// False as soon as the sink returns false.
using PageSink = std::function<bool(std::string_view bytes)>;
bool StreamMenuPage(const PageSettings& settings, const MenuTree& tree, const std::string* header,
                    const std::string* footer, const PageSink& sink);

}  // namespace pomeli2
