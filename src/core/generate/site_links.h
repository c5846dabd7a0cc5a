// Where the menu's links lead among a site's pages: a link's place in the
// site, the paths from one page to another, URLs resolved from a base, and
// what the menu and the pages say of each other.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/menu_tree.h"
#include "model/page_settings.h"

namespace pomeli2 {

// An absolute URL `ref` resolves to from `base` (an absolute URL).
std::string ResolveUrl(std::string_view base, std::string_view ref);

// What the menu and the site's pages say of each other: the pages (from the
// site's folder) that no item links to, and the items whose links lead into
// the site but to no page there (a folder without its index page counts as
// none). Nullopt when the site's folder cannot be read.
struct SiteLinks {
  std::vector<std::string> unlinked;
  std::vector<NodeId> missing;
};
std::optional<SiteLinks> LinksIntoSite(const PageSettings& settings, const MenuTree& tree, const std::string& site,
                                       const std::string& menu_page);

namespace site {

// Whether a URL starts with a scheme ("http:", "mailto:").
bool HasScheme(std::string_view url);
// A path with its "." and ".." segments taken out; ".." beyond the start kept.
std::string NormalPath(std::string_view path);
// A page's place in the site as a link names it: a folder's index page is
// the folder.
std::string PlaceKey(std::string path);
// "../" for each folder a page (from the site's folder) stands in.
std::string UpTo(const std::string& site_path);
// Anything that is not ASCII in a link as percent-encoded UTF-8, which
// browsers send for a path whatever the page's encoding.
std::string AsciiUrl(std::string_view url);
// The menu page's folder from the site's, "" or ending in "/".
std::string MenuFolderIn(const std::filesystem::path& site, const std::string& menu_page);
// Where a mended link leads in the site, as PlaceKey names it; none for a
// link that names no file of it.
std::optional<std::string> PlaceIn(const std::string& mended, const std::string& menu_folder);

}  // namespace site
}  // namespace pomeli2
