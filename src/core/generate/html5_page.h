// The menu page of the "HTML5" browser mode: a standards-mode page with the
// menu as nested lists of links, made a keyboard-driven tree by a small
// inline script. Without the script the lists stay open and usable.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/page_items.h"
#include "model/page_settings.h"

namespace pomeli2 {

std::string BuildHtml5Page(const PageSettings& settings, const std::vector<PageItem>& items,
                           const std::string* header, const std::string* footer);
// The same page handed to `sink` in pieces, in order; false as soon as the
// sink returns false.
bool StreamHtml5Page(const PageSettings& settings, const std::vector<PageItem>& items, const std::string* header,
                     const std::string* footer, const std::function<bool(std::string_view)>& sink);

// The same menu for pages that carry it inside their own, in UTF-8: its
// label, the NAV's attributes (the options the script reads), the rules of
// the menu alone (nothing of the page's own body) and the items' lists.
struct Html5Menu {
  std::string label, attributes, style, list;
};
Html5Menu BuildHtml5Menu(const PageSettings& settings, const std::vector<PageItem>& items);

}  // namespace pomeli2
