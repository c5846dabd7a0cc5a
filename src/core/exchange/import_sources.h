// What the import's readers share: the items a source gives before they
// become menu items, and the text helpers of every format.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/exchange.h"
#include "exchange/html_tree.h"
#include "text/ascii.h"

namespace pomeli2::exchange::sources {

// An item as a source gives it, in UTF-8; the fields it does not give are
// the new-item values.
struct SourceItem {
  int level = 0;
  std::string title;  // HTML
  std::string link;
  std::optional<std::string> target, open;
};

struct Source {
  std::optional<ImportProblem> problem;
  std::string page_title;  // UTF-8 HTML
  std::vector<SourceItem> items;
};

ImportProblem Problem(ImportProblem::Kind kind, int line, std::string detail = {}, int column = 0);
// White space as a page shows it: runs become one space, the ends go.
std::string Collapse(std::string_view s);
// Plain text as a title; an image title ("file:" path ":" text) keeps its
// path as it is.
std::string TitleOfText(std::string_view text);

// The readers, one per kind of source (import_markup.cpp, import_markdown.cpp).
Source ReadOpml(std::string_view text);
Source ReadBookmarks(std::string_view text);
Source ReadWebPage(const HtmlTree& page);
Source ReadMarkdown(std::string_view text);

}  // namespace pomeli2::exchange::sources
