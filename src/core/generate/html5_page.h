// The menu page of the "HTML5" browser mode: a standards-mode page with the
// menu as nested lists of links, made a keyboard-driven tree by a small
// inline script. Without the script the lists stay open and usable.
#pragma once

#include <string>
#include <vector>

#include "generate/page_items.h"
#include "model/page_settings.h"

namespace pomeli2 {

std::string BuildHtml5Page(const PageSettings& settings, const std::vector<PageItem>& items,
                           const std::string* header, const std::string* footer);

}  // namespace pomeli2
