// Reading Markdown lists.
#include <algorithm>

#include "exchange/import_sources.h"
#include "exchange/markup.h"
#include "exchange/text_forms.h"
#include "text/sjis.h"

namespace pomeli2::exchange::sources {
namespace {


// Inline text as a Markdown reader gives it: backslash escapes and entity
// references resolved, the rest as it stands.
std::string MarkdownInline(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    char c = s[i];
    if (c == '\\' && i + 1 < s.size() && std::ispunct(static_cast<unsigned char>(s[i + 1]))) {
      out += s[i + 1];
      i += 2;
    } else if (c == '&') {
      size_t semi = s.find(';', i);
      if (semi != std::string_view::npos && semi - i <= 12) {
        std::string decoded = DecodeEntities(s.substr(i, semi - i + 1));
        if (decoded != s.substr(i, semi - i + 1)) {
          out += decoded;
          i = semi + 1;
          continue;
        }
      }
      out += c;
      ++i;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

struct ListLine {
  int indent;
  std::string content;
};

std::optional<ListLine> MarkdownListLine(std::string_view line) {
  int indent = 0;
  size_t i = 0;
  for (; i < line.size() && (line[i] == ' ' || line[i] == '\t'); ++i) indent += line[i] == '\t' ? 4 - indent % 4 : 1;
  if (i >= line.size() || (line[i] != '-' && line[i] != '*' && line[i] != '+')) return std::nullopt;
  if (i + 1 < line.size() && line[i + 1] != ' ' && line[i + 1] != '\t') return std::nullopt;
  // A thematic break ("- - -", "***") is no item.
  std::string_view rest = line.substr(i);
  if (rest.size() >= 3 && rest.find_first_not_of(std::string(1, line[i]) + " \t") == std::string_view::npos) return std::nullopt;
  return ListLine{indent, Trim(line.substr(i + 1))};
}

bool Broken(bool& broken) {
  broken = true;
  return false;
}

// "[text](link ...)" at the start of `s`: the text's and the link's sources,
// or nothing when it is no link; `broken` when the link does not close.
bool MarkdownLink(std::string_view s, std::string& text, std::string& link, bool& broken) {
  if (s.empty() || s[0] != '[') return false;
  int depth = 0;
  size_t close = std::string_view::npos;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\') {
      ++i;
    } else if (s[i] == '[') {
      ++depth;
    } else if (s[i] == ']' && --depth == 0) {
      close = i;
      break;
    }
  }
  if (close == std::string_view::npos || close + 1 >= s.size() || s[close + 1] != '(') return false;
  text = std::string(s.substr(1, close - 1));
  size_t p = close + 2;
  while (p < s.size() && s[p] == ' ') ++p;
  std::string dest;
  if (p < s.size() && s[p] == '<') {
    size_t q = p + 1;
    for (; q < s.size() && s[q] != '>'; ++q) {
      if (s[q] == '\\' && q + 1 < s.size()) ++q;
    }
    if (q >= s.size()) return Broken(broken);
    dest = std::string(s.substr(p + 1, q - p - 1));
    p = q + 1;
  } else {
    int parens = 0;
    size_t q = p;
    for (; q < s.size() && s[q] != ' '; ++q) {
      if (s[q] == '\\' && q + 1 < s.size()) {
        ++q;
      } else if (s[q] == '(') {
        ++parens;
      } else if (s[q] == ')') {
        if (parens == 0) break;
        --parens;
      }
    }
    dest = std::string(s.substr(p, q - p));
    p = q;
  }
  // A link title ("..." or '...') may follow; it is no part of the menu.
  while (p < s.size() && s[p] == ' ') ++p;
  if (p < s.size() && (s[p] == '"' || s[p] == '\'')) {
    size_t q = s.find(s[p], p + 1);
    if (q == std::string_view::npos) return Broken(broken);
    p = q + 1;
    while (p < s.size() && s[p] == ' ') ++p;
  }
  if (p >= s.size() || s[p] != ')') return Broken(broken);
  link = MarkdownInline(dest);
  return true;
}

}  // namespace

Source ReadMarkdown(std::string_view text) {
  Source src;
  std::vector<int> indents;  // of the items that may take children
  bool fenced = false;
  int line_number = 0;
  for (size_t start = 0; start <= text.size();) {
    size_t nl = text.find('\n', start);
    if (nl == std::string_view::npos) nl = text.size();
    std::string_view line = text.substr(start, nl - start);
    start = nl + 1;
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string trimmed = Trim(line);
    if (trimmed.rfind("```", 0) == 0 || trimmed.rfind("~~~", 0) == 0) {
      fenced = !fenced;
      continue;
    }
    if (fenced) continue;
    if (src.items.empty() && src.page_title.empty() && trimmed.rfind("# ", 0) == 0) {
      std::string heading = Trim(std::string_view(trimmed).substr(2));
      // A closing run of "#" after a space is no part of the heading.
      size_t hashes = heading.find_last_not_of('#');
      if (hashes != std::string::npos && hashes + 1 < heading.size() && heading[hashes] == ' ') heading.erase(hashes);
      src.page_title = TitleOfText(MarkdownInline(Trim(heading)));
      continue;
    }
    auto item_line = MarkdownListLine(line);
    if (!item_line) continue;
    while (!indents.empty() && indents.back() >= item_line->indent) indents.pop_back();
    SourceItem item;
    item.level = static_cast<int>(indents.size());
    indents.push_back(item_line->indent);
    std::string text_part, link;
    bool broken = false;
    if (MarkdownLink(item_line->content, text_part, link, broken)) {
      item.title = TitleOfText(MarkdownInline(text_part));
      item.link = std::move(link);
    } else if (broken) {
      src.problem = Problem(ImportProblem::kMalformed, line_number, sj("リンクの「)」がありません"));
      return src;
    } else {
      item.title = TitleOfText(MarkdownInline(item_line->content));
    }
    src.items.push_back(std::move(item));
  }
  return src;
}

bool LooksLikeMarkdown(std::string_view text) {
  for (size_t start = 0; start < text.size();) {
    size_t nl = text.find('\n', start);
    if (nl == std::string_view::npos) nl = text.size();
    std::string_view line = text.substr(start, nl - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (MarkdownListLine(line)) return true;
    start = nl + 1;
  }
  return false;
}

}  // namespace pomeli2::exchange::sources
