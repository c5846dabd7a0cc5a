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
  enum Kind { kUnknownFormat, kMalformed, kBadEncoding, kNoList, kTooDeep } kind;
  int line = 0;        // 0 when no line can be named
  int column = 0;      // 0 when no column can be named
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
  std::vector<std::string> script_links;  // the titles of the items whose link would have run script
};

// Reads a source, recognised by what it is, in this order:
//  1. a byte order mark gives the encoding (UTF-8, UTF-16 LE or BE);
//  2. a "{" first is the menu's JSON;
//  3. XML whose root element is <opml> is an outline;
//  4. the bookmark doctype at the start is a bookmark file;
//  5. a file name ending in .md or .markdown is Markdown;
//  6. HTML with a doctype or an <html>, <head> or <body> tag of its own, or a
//     file name ending in .html, .htm or .xhtml, is a web page;
//  7. text whose CommonMark reading holds a list is Markdown;
//  8. HTML whose parse holds a list (<ul>, <ol>) is a web page.
// Without a byte order mark a web page or XML file is read in the
// character set it declares. `file_name` may be empty. `defaults` gives the
// fields a source does not hold (the new-item values); `parent_level` is
// the level below the root of the item the import goes under (0 for the
// root), for the lengths of the project lines. Titles taken from other
// programs' files keep only text and markup that changes how text looks;
// links that would run script are left out (`script_links`).
ImportedMenu ImportMenu(std::string_view bytes, const MenuItem& defaults, int parent_level,
                        std::string_view file_name = {});

// The message of a failed import of `file` (CP932).
std::string ImportProblemMessage(const ImportProblem& problem, const std::string& file);
// The warning that lists the cut items, or "" when none was cut.
std::string CutItemsWarning(const std::vector<std::string>& cut_titles);
// The warning that lists the items whose script link was left out, or "".
std::string ScriptLinksWarning(const std::vector<std::string>& titles);
// The refusal of an import that would make the menu too big (CP932).
std::string TooManyImportedMessage(const std::string& file);

}  // namespace pomeli2
