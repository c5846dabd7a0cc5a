// Menus to and from the files other programs keep outlines in: OPML, the
// Netscape bookmark file that browsers export, this program's own JSON,
// Markdown lists of links, and (import only) the lists of any web page.
// Sources and exports are UTF-8; what goes into a project is CP932.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/menu_model.h"
#include "model/page_settings.h"

namespace pomeli2 {

enum class ExchangeFormat { kJson, kOpml, kBookmarks, kMarkdown, kWebPage };

// The export format that a file name's extension asks for (".json",
// ".opml", ".html" or ".htm" for bookmarks, ".md"), in any letter case.
std::optional<ExchangeFormat> ExportFormatOf(std::string_view file_name);

// The attribute of a bookmark file's folder heading (<H3>) that carries the
// branch's own link; browsers ignore it.
inline constexpr char kFolderLinkAttribute[] = "POMELI2_HREF";
// The OPML namespace of the target and open mark.
inline constexpr char kOpmlNamespace[] = "urn:x-pomeli2:outline";

// The file's bytes. JSON holds every page setting and every field of every
// item as the project stores them; the other formats hold the root's
// children with their titles as the page shows them, links and levels (OPML
// also the target and the open mark).
std::string ExportMenu(ExchangeFormat format, const PageSettings& settings, const MenuModel& menu);

struct ImportProblem {
  enum Kind { kUnknownFormat, kMalformed, kBadEncoding, kNoList } kind;
  int line = 0;        // 0 when no line can be named
  std::string detail;  // CP932, may be empty
};

struct ImportedMenu {
  ExchangeFormat format = ExchangeFormat::kJson;
  std::optional<ImportProblem> problem;
  std::string page_title;                 // CP932 HTML; empty when the source names none
  std::optional<PageSettings> settings;   // JSON: the stored settings over the initial ones
  std::optional<MenuItem> root;           // JSON: the root's values (its title is the stored one)
  Clip items;                             // in pre-order; depth 0 goes under the place of import
  std::vector<std::string> cut_titles;    // the items whose title or link was cut to fit a project line
};

// Reads a source, recognised by its content. `defaults` gives the fields a
// source does not hold (the new-item values); `parent_level` is the level
// below the root of the item the import goes under (0 for the root), for
// the lengths of the project lines.
ImportedMenu ImportMenu(std::string_view bytes, const MenuItem& defaults, int parent_level);

// The message of a failed import of `file` (CP932).
std::string ImportProblemMessage(const ImportProblem& problem, const std::string& file);
// The warning that lists the cut items, or "" when none was cut.
std::string CutItemsWarning(const std::vector<std::string>& cut_titles);

}  // namespace pomeli2
