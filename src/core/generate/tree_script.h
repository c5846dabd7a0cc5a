// The SCRIPT element of the menu page: the program that opens and closes
// branches, in the form for the page's browser mode and options.
#pragma once

#include <string>
#include <vector>

#include "generate/page_items.h"
#include "model/page_settings.h"

namespace pomeli2 {

std::string TreeScript(const PageSettings& settings, const std::vector<PageItem>& items, int last_item);

}  // namespace pomeli2
