// The menu on every page of a static site: the pages under a folder that
// hold the marker element get, as its content, the path to themselves in
// the menu and a link to the whole menu; a shared script, written once,
// puts the whole tree in its place.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "model/menu_tree.h"
#include "model/page_settings.h"

namespace pomeli2 {

// The program's own folder in the site and the two files in it.
inline constexpr char kSiteFolder[] = "pomeli2";
inline constexpr char kSiteScript[] = "menu.js";
inline constexpr char kSiteStyle[] = "menu.css";
// The id of the element whose content becomes the menu.
inline constexpr char kMenuMarkerId[] = "pomeli2-menu";

// How a page's text is written: as it declares (BOM, else <meta charset>),
// or, when it declares nothing and is valid UTF-8, in ASCII alone with
// character references, since the browser may read it as anything.
enum class PageEncoding { kUtf8, kShiftJis, kUndeclared };
// Why a page is left as it is: UTF-16, an encoding other than UTF-8 and
// Shift_JIS (its name, lower case), or none declared and not UTF-8.
struct PageRefusal {
  enum Kind { kUtf16, kEncoding, kUndeclared } kind;
  std::string encoding;
};
std::string Describe(const PageRefusal& refusal);  // in English
// The page's encoding, or why it cannot be written.
std::variant<PageEncoding, PageRefusal> PageEncodingOf(std::string_view page);

// The bytes between the marker's start and end tags; nullopt without one.
struct MarkerContent {
  size_t begin, end;
};
std::optional<MarkerContent> FindMenuMarker(std::string_view page);

// An absolute URL `ref` resolves to from `base` (an absolute URL).
std::string ResolveUrl(std::string_view base, std::string_view ref);

struct SiteOptions {
  std::string site;       // the site's folder (a system path)
  std::string menu_page;  // the full menu page; links resolve from its folder
  std::string base_url;   // when set, links resolve from it instead
  // Told of each page made ready, before any is written; false stops the
  // run, and nothing of the pages is written then.
  std::function<bool(size_t done, size_t total)> progress;
};

struct SiteReport {
  std::vector<std::string> written, unchanged, without_marker;  // pages, from the site's folder
  std::vector<std::pair<std::string, PageRefusal>> refused;      // a page, why it was left alone
  std::vector<std::string> failed;                               // pages or shared files not written
  bool cancelled = false;  // the progress stopped it: no page was written
};

// How many pages the site's folder holds, and how many of them the marker;
// nullopt when the folder cannot be read.
struct SiteSurvey {
  size_t pages = 0, marked = 0;
};
std::optional<SiteSurvey> SurveySite(const std::string& site);

// Writes the shared files and every page that holds the marker and whose
// bytes change. The reason when the site itself is refused (nothing is
// written then). A page that cannot be written stays as it was; the others
// are still written.
std::variant<SiteReport, std::string> PutMenuIntoSite(const PageSettings& settings, const MenuTree& tree,
                                                       const SiteOptions& options);

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

}  // namespace pomeli2
