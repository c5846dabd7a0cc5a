#include "generate/site_pages.h"

#include <algorithm>
#include <system_error>

#include "text/ascii.h"
#include "text/markup.h"
#include "text/utf8.h"

namespace pomeli2 {
namespace fs = std::filesystem;
namespace {

// A character of a tag's name as the site's pages are searched for tags.
bool IsNameChar(char c) {
  return IsAsciiAlnum(c) || c == '-' || c == '_' || c == ':' || c == '.';
}

}  // namespace

namespace site {

std::vector<std::string_view> StartTags(std::string_view lower, std::string_view name) {
  std::vector<std::string_view> tags;
  const std::string open = "<" + std::string(name);
  for (size_t at = 0; (at = lower.find(open, at)) != std::string_view::npos; at += open.size()) {
    const size_t after = at + open.size();
    if (after < lower.size() && IsNameChar(lower[after])) continue;
    const size_t close = lower.find('>', after);
    tags.push_back(lower.substr(at, (close == std::string_view::npos ? lower.size() : close) - at));
  }
  return tags;
}

std::optional<std::vector<std::string>> ListPages(const fs::path& site) {
  std::error_code ec;
  std::vector<std::string> pages;
  fs::recursive_directory_iterator it(site, fs::directory_options::skip_permission_denied, ec), end;
  if (ec) return std::nullopt;
  for (; it != end; it.increment(ec)) {
    if (ec) return std::nullopt;
    const fs::path& path = it->path();
    std::string relative = path.lexically_relative(site).generic_string();
    if (it.depth() == 0 && relative == kSiteFolder) {
      it.disable_recursion_pending();
      continue;
    }
    const std::string ext = AsciiLower(path.extension().string());
    if ((ext == ".html" || ext == ".htm") && it->is_regular_file(ec)) pages.push_back(std::move(relative));
  }
  std::sort(pages.begin(), pages.end());
  return pages;
}

std::optional<std::vector<Page>> ReadPages(const fs::path& site, std::vector<Page>* earlier) {
  auto names = ListPages(site);
  if (!names) return std::nullopt;
  std::vector<Page> pages;
  pages.reserve(names->size());
  for (std::string& name : *names) {
    Page page{std::move(name), {}, std::nullopt, std::nullopt};
    page.system_path = (site / page.site_path).string();
    // The stamp first: a write during the read then shows in the next one.
    page.stamp = StampOf(page.system_path);
    Page* before = nullptr;
    if (earlier) {
      auto it = std::lower_bound(earlier->begin(), earlier->end(), page.site_path,
                                 [](const Page& p, const std::string& path) { return p.site_path < path; });
      if (it != earlier->end() && it->site_path == page.site_path) before = &*it;
    }
    if (before && before->bytes && before->stamp && page.stamp && *before->stamp == *page.stamp) {
      page.bytes = std::move(before->bytes);
      // Taken: a later use of the same survey reads the page again.
      before->bytes.reset();
    } else
      page.bytes = ReadWholeFile(page.system_path);
    pages.push_back(std::move(page));
  }
  return pages;
}

}  // namespace site

std::string Describe(const PageRefusal& refusal) {
  switch (refusal.kind) {
    case PageRefusal::kUtf16: return "UTF-16 pages are not supported";
    case PageRefusal::kEncoding: return "its encoding " + refusal.encoding + " is not supported (UTF-8 or Shift_JIS)";
    case PageRefusal::kUndeclared: return "it declares no encoding and is not valid UTF-8";
  }
  return {};
}

std::variant<PageEncoding, PageRefusal> PageEncodingOf(std::string_view page) {
  if (page.substr(0, 3) == "\xEF\xBB\xBF") return PageEncoding::kUtf8;
  if (page.substr(0, 2) == "\xFE\xFF" || page.substr(0, 2) == "\xFF\xFE") return PageRefusal{PageRefusal::kUtf16, {}};
  const std::string head = AsciiLower(page.substr(0, 1024));
  for (std::string_view meta : site::StartTags(head, "meta")) {
    std::optional<std::string_view> charset = AttributeOf(meta, "charset");
    if (!charset) {
      auto content = AttributeOf(meta, "content");
      if (!content || !AttributeOf(meta, "http-equiv")) continue;
      const size_t at = content->find("charset=");
      if (at == std::string::npos) continue;
      charset = content->substr(at + 8, content->find_first_of("; \"'", at + 8) - at - 8);
    }
    const std::string_view c = *charset;
    if (c == "utf-8" || c == "utf8" || c == "unicode-1-1-utf-8") return PageEncoding::kUtf8;
    if (c == "shift_jis" || c == "shift-jis" || c == "sjis" || c == "x-sjis" || c == "windows-31j" ||
        c == "ms_kanji" || c == "csshiftjis" || c == "ms932" || c == "cp932")
      return PageEncoding::kShiftJis;
    return PageRefusal{PageRefusal::kEncoding, std::string(c)};
  }
  if (InvalidUtf8At(page)) return PageRefusal{PageRefusal::kUndeclared, {}};
  return PageEncoding::kUndeclared;
}

std::optional<MarkerContent> FindMenuMarker(std::string_view page) {
  const std::string lower = AsciiLower(page);
  for (size_t at = 0; (at = lower.find('<', at)) != std::string::npos; ++at) {
    if (lower.compare(at, 4, "<!--") == 0) {
      at = lower.find("-->", at);
      if (at == std::string::npos) return std::nullopt;
      continue;
    }
    size_t name_end = at + 1;
    while (name_end < lower.size() && IsNameChar(lower[name_end])) ++name_end;
    const size_t close = lower.find('>', name_end);
    if (name_end == at + 1 || close == std::string::npos) continue;
    const std::string name = lower.substr(at + 1, name_end - at - 1);
    const std::string_view tag(lower.data() + at, close - at);
    if (name == "script" || name == "style") {
      at = lower.find("</" + name, close);
      if (at == std::string::npos) return std::nullopt;
      continue;
    }
    if (AttributeOf(tag, "id") != kMenuMarkerId) continue;
    // Its end tag, past the same elements nested in it.
    int depth = 1;
    for (size_t p = close + 1; (p = lower.find('<', p)) != std::string::npos; ++p) {
      const bool closing = lower.compare(p, 2, "</") == 0;
      const size_t n = p + (closing ? 2 : 1);
      if (lower.compare(n, name.size(), name) != 0 || (n + name.size() < lower.size() && IsNameChar(lower[n + name.size()])))
        continue;
      depth += closing ? -1 : 1;
      if (depth == 0) return MarkerContent{close + 1, p};
    }
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace pomeli2
