// The menu on every page of a static site: the pages under a folder that
// hold the marker element get, as its content, the path to themselves in
// the menu and a link to the whole menu; a shared script, written once,
// puts the whole tree in its place.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "generate/site_pages.h"
#include "model/menu_tree.h"
#include "model/page_settings.h"

namespace pomeli2 {

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
// nullopt when the folder cannot be read. The pages as read go on to the
// writer, which reads again only those whose files have changed since.
struct SiteSurvey {
  size_t pages = 0, marked = 0;
  std::filesystem::path folder;
  std::vector<site::Page> read;
};
std::optional<SiteSurvey> SurveySite(const std::string& site);

// Writes the shared files and every page that holds the marker and whose
// bytes change. The reason when the site itself is refused (nothing is
// written then). A page that cannot be written stays as it was; the others
// are still written. The pages of a survey of the same folder are taken
// from it where their files are as the survey found them.
std::variant<SiteReport, std::string> PutMenuIntoSite(const PageSettings& settings, const MenuTree& tree,
                                                       const SiteOptions& options, SiteSurvey* survey = nullptr);

}  // namespace pomeli2
