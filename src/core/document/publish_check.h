// The check before publishing: what would make the menu page fail or lead
// nowhere, item by item. Links with a scheme (http:, mailto: …) are not
// fetched; local links and images must exist beside the page.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "generate/menu_page.h"
#include "model/menu_model.h"
#include "model/page_settings.h"

namespace pomeli2 {

struct CheckProblem {
  NodeId item = kNoNode;  // kNoNode: a page setting
  std::optional<SettingField> setting;  // the page setting, if one
  std::string where;  // "Products > Tools > Hammer", or "page" (CP932)
  std::string field;  // the form's name of the field (CP932)
  std::string what;   // what is wrong (CP932)
};

// The name the form or a dialog gives a page setting that a check can find
// wrong, and what a setting must hold (CP932).
std::string SettingName(const SettingField& field);
std::string NeedText(SettingNeed need);
// "「label」の値ではメニューが動かない…" and what it must hold instead.
std::string UnworkableMessage(const UnworkableSetting& bad);

// `page_folder` is the menu page's folder (CP932, "" or ending in "/"),
// where relative links and images are looked for.
std::vector<CheckProblem> CheckBeforePublishing(const PageSettings& settings, const MenuModel& menu,
                                                const std::string& page_folder);

// With a site folder (a system path): the site's pages that no item links
// to, and the items whose links lead into the site to no page there; the
// links resolve from `menu_page`'s folder. A folder that cannot be read is
// one problem.
std::vector<CheckProblem> CheckSite(const PageSettings& settings, const MenuModel& menu, const std::string& site,
                                    const std::string& menu_page);

// The project's site folder as a system path, "" when none is set; a
// relative one stands beside the project file.
std::string SiteFolderOf(const PageSettings& settings);

// "where: field: what", one problem to a line.
std::string ProblemLine(const CheckProblem& problem);

}  // namespace pomeli2
