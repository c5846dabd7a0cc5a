// What the marker of each page of a site holds until the shared script puts
// the whole tree there: the page's path in the menu and a link to the whole
// menu, so that a page without script still leads somewhere.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "generate/page_items.h"
#include "generate/site_pages.h"
#include "model/page_settings.h"

namespace pomeli2::site {

class Placeholders {
 public:
  // `items` as CollectPageItems gives them; links resolve from the menu
  // page's folder (from the site's, "" or ending in "/"), or from
  // `base_url` when it is set.
  Placeholders(const PageSettings& s, const std::vector<PageItem>& items, std::string menu_folder,
               std::string menu_file, std::string base_url);

  // Where an item's link leads from a page `up` below the site's folder,
  // ready for an attribute.
  std::string Href(const std::string& mended, const std::string& up) const;

  // The marker's content for the page at `site_path`, in its encoding.
  std::string For(const std::string& site_path, PageEncoding encoding) const;

 private:
  const PageSettings& s_;
  const std::vector<PageItem>& items_;
  std::string menu_folder_, menu_file_, base_url_;
  std::vector<int> parents_;
  std::map<std::string, int> places_;  // the item each page is, by its link: the first in the menu
};

}  // namespace pomeli2::site
