// The menu page: head, optional hover style, the tree script, the BODY with
// its header and footer insertions, and one positioned block per item.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "generate/page_items.h"
#include "model/menu_tree.h"
#include "model/page_settings.h"

namespace pomeli2 {

// A setting with which the page could not work (an empty or non-numeric
// position, a zero row spacing or indent, a zero animation speed): its label
// on the form, as CP932, and what it must hold instead. Nullopt when the page
// can be written.
struct UnworkableSetting {
  std::string label;
  std::string expected;
  std::string PageSettings::*field;
};
std::optional<UnworkableSetting> FindUnworkableSetting(const PageSettings& settings);
// Every one of them, in the form's order.
std::vector<UnworkableSetting> FindUnworkableSettings(const PageSettings& settings);
// What a colour must look like (CP932), for the messages that refuse one.
const std::string& ColourExpected();

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
