#include "generate/site.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

#include "exchange/shown_text.h"
#include "generate/html5_page.h"
#include "generate/html5_values.h"
#include "generate/js_text.h"
#include "generate/page_items.h"
#include "io/file_io.h"
#include "page_scripts.h"
#include "text/ascii.h"
#include "text/markup.h"
#include "text/sjis.h"
#include "text/utf8.h"

namespace pomeli2 {
namespace fs = std::filesystem;
namespace {

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == ':' || c == '.';
}

bool ValidUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const size_t from = at;
    const char32_t c = NextCodePoint(text, at);
    if (c == 0xFFFD && !(at - from == 3 && text.substr(from, 3) == "\xEF\xBF\xBD")) return false;
  }
  return true;
}

// The start tags named `name` in a lower-cased page, as their texts.
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

// ---- links

bool HasScheme(std::string_view url) {
  size_t i = 0;
  while (i < url.size() && (IsNameChar(url[i]) || url[i] == '+') && url[i] != ':') ++i;
  return i > 0 && i < url.size() && url[i] == ':' && ((url[0] | 0x20) >= 'a' && (url[0] | 0x20) <= 'z');
}

// A path with its "." and ".." segments taken out; ".." beyond the start kept.
std::string NormalPath(std::string_view path) {
  std::vector<std::string> parts;
  const bool absolute = !path.empty() && path[0] == '/';
  size_t at = absolute ? 1 : 0;
  while (true) {
    const size_t slash = path.find('/', at);
    const std::string part(path.substr(at, slash == std::string_view::npos ? std::string_view::npos : slash - at));
    const bool last = slash == std::string_view::npos;
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..") parts.pop_back();
      else if (!absolute) parts.push_back(part);
      if (last) parts.push_back("");
    } else if (part == ".") {
      if (last) parts.push_back("");
    } else {
      parts.push_back(part);
    }
    if (last) break;
    at = slash + 1;
  }
  std::string out = absolute ? "/" : "";
  for (size_t i = 0; i < parts.size(); ++i) out += (i ? "/" : "") + parts[i];
  return out;
}

std::string WithoutQuery(std::string_view url) { return std::string(url.substr(0, url.find_first_of("?#"))); }

std::string PercentDecoded(std::string_view text) {
  std::string out;
  auto hex = [](char c) { return c >= '0' && c <= '9' ? c - '0' : (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10 : -1; };
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 && hex(text[i + 2]) >= 0) {
      out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// A page's place in the site as a link names it: a folder's index page is
// the folder.
std::string PlaceKey(std::string path) {
  const size_t slash = path.rfind('/') + 1;
  const std::string file = AsciiLower(std::string_view(path).substr(slash));
  if (file == "index.html" || file == "index.htm") path.erase(slash);
  return path;
}

std::string UpTo(const std::string& site_path) {
  std::string up;
  for (char c : site_path)
    if (c == '/') up += "../";
  return up;
}

// Anything that is not ASCII in a link as percent-encoded UTF-8, which
// browsers send for a path whatever the page's encoding.
std::string AsciiUrl(std::string_view url) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : url) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

// ---- the shared script

// A JavaScript string literal in ASCII alone: a page in Shift_JIS reads a
// script that declares nothing in its own encoding.
std::string JsLiteral(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  auto unit = [&](unsigned u) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(u >> shift) & 15];
  };
  for (size_t at = 0; at < utf8.size();) {
    const char c = utf8[at];
    if (static_cast<unsigned char>(c) < 0x80) {
      ++at;
      if (c == '"' || c == '\\') out += '\\', out += c;
      else if (c == '\n') out += "\\n";
      else if (c == '\r') continue;
      else if (c == '<' && at < utf8.size() && utf8[at] == '/') out += "<\\";
      else out += c;
      continue;
    }
    const char32_t cp = NextCodePoint(utf8, at);
    if (cp >= 0x10000) {
      unit(0xD800 + ((cp - 0x10000) >> 10));
      unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      unit(static_cast<unsigned>(cp));
    }
  }
  return out + "\"";
}

// The frames of the program's frame sets, which these pages are not in,
// open in the same window; every other target (the keywords, a named
// window, a frame the site's own pages have) stays.
std::string DropTargets(const std::string& list, const std::vector<std::string>& dropped) {
  static constexpr std::string_view kTarget = " target=\"";
  std::string out;
  out.reserve(list.size());
  size_t from = 0;
  for (size_t at; (at = list.find(kTarget, from)) != std::string::npos;) {
    const size_t value = at + kTarget.size();
    const size_t close = list.find('"', value);
    if (close == std::string::npos) break;
    const std::string name = list.substr(value, close - value);
    const bool keep = std::find(dropped.begin(), dropped.end(), name) == dropped.end();
    out.append(list, from, (keep ? close + 1 : at) - from);
    from = close + 1;
  }
  out.append(list, from);
  return out;
}

std::string SiteScript(const std::string& nav_attributes, const std::string& list,
                       const std::string& menu_folder, const std::string& base_url) {
  std::string out =
      "(function () {\n"
      "  // The whole tree in place of the page's path; links as from the menu\n"
      "  // page's folder, wherever the page stands.\n"
      "  var box = document.getElementById(\"pomeli2-menu\"), me = document.currentScript;\n"
      "  if (!box || !me) return;\n";
  out += "  var base = " + (base_url.empty() ? "new URL(" + JsLiteral(menu_folder) + ", new URL(\"../\", me.src))"
                                               : "new URL(" + JsLiteral(base_url) + ")") + ";\n";
  out += "  var made = document.createElement(\"div\"), next, i;\n";
  out += "  made.innerHTML = " + JsLiteral("<nav id=\"pomeli\" class=\"js\"" + nav_attributes + "><ul>") + " +\n    " +
         JsLiteral(list) + " + \"</ul></nav>\";\n";
  out +=
      "  // The page's path gives way to the tree; the style sheet stays.\n"
      "  for (var child = box.firstChild; child; child = next) {\n"
      "    next = child.nextSibling;\n"
      "    if (child.nodeName != \"LINK\") box.removeChild(child);\n"
      "  }\n"
      "  box.appendChild(made.firstChild);\n"
      "  var links = box.querySelectorAll(\"a[href],img[src]\"), d = box.lastChild.dataset;\n"
      "  for (i = 0; i < links.length; ++i) {\n"
      "    var a = links[i], name = a.tagName == \"A\" ? \"href\" : \"src\", url = a.getAttribute(name);\n"
      "    if (url.charAt(0) != \"#\") a.setAttribute(name, new URL(url, base).href);\n"
      "  }\n"
      "  if (d.plus) d.plus = new URL(d.plus, base).href;\n"
      "  if (d.minus) d.minus = new URL(d.minus, base).href;\n"
      "})();\n";
  std::string tree(scripts::kHtml5Script);
  return out + tree;
}

// The menu page's folder from the site's, "" or ending in "/".
std::string MenuFolderIn(const fs::path& site, const std::string& menu_page) {
  std::error_code ec;
  const fs::path folder = fs::absolute(menu_page, ec).lexically_normal().parent_path();
  std::string relative = folder.lexically_relative(site).generic_string();
  if (relative == ".") relative.clear();
  return relative.empty() ? relative : relative + "/";
}

// Where a mended link leads in the site, as PlaceKey names it; none for a
// link that names no file of it.
std::optional<std::string> PlaceIn(const std::string& mended, const std::string& menu_folder) {
  if (mended.empty() || mended[0] == '#' || mended[0] == '/' || HasScheme(mended)) return std::nullopt;
  return PlaceKey(PercentDecoded(NormalPath(menu_folder + WithoutQuery(mended))));
}

// The pages under the site's folder, outside the program's own, sorted.
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

struct Page {
  std::string site_path;  // from the site's folder, "/" between folders
  std::string system_path;
  std::string bytes;
};

class SiteWriter {
 public:
  SiteWriter(const PageSettings& s, const MenuTree& tree, const SiteOptions& o)
      : s_(s), o_(o), items_(CollectPageItems(tree)) {}

  std::variant<SiteReport, std::string> Run() {
    std::error_code ec;
    const fs::path site = fs::absolute(o_.site, ec);
    if (ec || !fs::is_directory(site, ec)) return std::string("the site folder does not exist or is no folder");
    site_ = site.lexically_normal();
    if (items_.empty()) return std::string("the menu has no items");
    if (!o_.base_url.empty() && !HasScheme(o_.base_url)) return std::string("the base URL must be absolute (http://...)");
    menu_folder_ = MenuFolderIn(site_, o_.menu_page);
    menu_file_ = fs::path(o_.menu_page).filename().generic_string();
    if (!ReadPages()) return std::string("the site folder cannot be read");
    Places();

    SiteReport report;
    const fs::path own = site_ / kSiteFolder;
    // The pages go to the disk together: one sync for all, not two each.
    // They are made ready first, so that a stop on the way writes nothing.
    AtomicFileBatch batch;
    std::vector<const Page*> added;
    // A stop is heard until the last page is ready, while nothing is written
    // yet; the batch then takes its staged files away.
    auto stopped = [&](size_t done) { return o_.progress && !o_.progress(done, pages_.size()); };
    SiteReport cancelled;
    cancelled.cancelled = true;
    for (Page& page : pages_) {
      if (stopped(static_cast<size_t>(&page - pages_.data()))) return cancelled;
      const auto marker = FindMenuMarker(page.bytes);
      if (!marker) {
        report.without_marker.push_back(page.site_path);
        continue;
      }
      const auto encoding = PageEncodingOf(page.bytes);
      if (const auto* why = std::get_if<PageRefusal>(&encoding)) {
        report.refused.emplace_back(page.site_path, *why);
        continue;
      }
      std::string bytes = page.bytes.substr(0, marker->begin);
      bytes += Placeholder(page.site_path, std::get<PageEncoding>(encoding));
      bytes.append(page.bytes, marker->end);
      if (bytes == page.bytes) report.unchanged.push_back(page.site_path);
      else if (batch.Add(page.system_path, bytes)) added.push_back(&page);
      else report.failed.push_back(page.site_path);
    }
    if (stopped(pages_.size())) return cancelled;
    // Without the shared files the pages would ask for a script that is not
    // there: none of them is written then (the batch takes its staged files
    // away), and a folder made for nothing is not left behind.
    SiteReport shared_failed;
    const bool created = fs::create_directory(own, ec);
    if (!fs::is_directory(own, ec)) {
      shared_failed.failed.push_back(std::string(kSiteFolder) + "/");
      return shared_failed;
    }
    const Html5Menu menu = BuildHtml5Menu(s_, items_);
    const std::vector<std::string> frames = FrameSetTargets();
    const std::string list = DropTargets(menu.list, frames);
    const std::string nav = DropTargets(menu.attributes, frames);
    const std::string style = "@charset \"utf-8\";\n" + StylePictures(menu.style) +
                              "#pomeli2-menu .pomeli2-path{list-style:none;margin:0;padding:0}\n"
                              "#pomeli2-menu .pomeli2-path li{display:inline}\n"
                              "#pomeli2-menu .pomeli2-path li+li::before{content:\" / \"}\n";
    for (const auto& [name, bytes] : {std::pair<std::string, std::string>{kSiteScript,
                                                                            SiteScript(nav, list, menu_folder_, o_.base_url)},
                                      {kSiteStyle, style}}) {
      const std::string path = (own / name).string();
      if (ReadWholeFile(path) == bytes) continue;
      if (!WriteFileAtomically(path, bytes)) shared_failed.failed.push_back(std::string(kSiteFolder) + "/" + name);
    }
    if (!shared_failed.failed.empty()) {
      if (created) fs::remove(own, ec);
      return shared_failed;
    }

    const std::vector<std::string> failed = batch.Commit();
    for (const Page* page : added)
      (std::find(failed.begin(), failed.end(), page->system_path) == failed.end() ? report.written : report.failed)
          .push_back(page->site_path);
    return report;
  }

 private:
  bool ReadPages() {
    auto names = ListPages(site_);
    if (!names) return false;
    for (std::string& name : *names) {
      const std::string path = (site_ / name).string();
      auto bytes = ReadWholeFile(path);
      if (!bytes) return false;
      pages_.push_back({std::move(name), path, std::move(*bytes)});
    }
    return true;
  }

  // Where an item's link leads from a page `up` below the site's folder,
  // ready for an attribute.
  std::string Href(const std::string& mended, const std::string& up) const {
    if (mended.empty() || mended[0] == '#' || HasScheme(mended) || mended.rfind("//", 0) == 0)
      return mended;
    if (!o_.base_url.empty()) return ResolveUrl(o_.base_url, mended);
    if (mended[0] == '/') return mended;
    return NormalPath(up + AsciiUrl(menu_folder_) + mended);
  }

  // The pictures of the style sheet as from the menu page's folder, where
  // the sheet stands in the program's folder.
  std::string StylePictures(const std::string& style) const {
    static constexpr std::string_view kUrl = "url(\"";
    std::string out;
    size_t from = 0;
    for (size_t at; (at = style.find(kUrl, from)) != std::string::npos;) {
      const size_t value = at + kUrl.size(), close = style.find('"', value);
      if (close == std::string::npos) break;
      out.append(style, from, value - from);
      out += Href(style.substr(value, close - value), "../");
      from = close;
    }
    return out.append(style, from);
  }

  // The item each page of the site is, by its link: the first in the menu.
  void Places() {
    parents_.assign(items_.size(), -1);
    std::vector<int> stack;
    for (size_t i = 0; i < items_.size(); ++i) {
      while (!stack.empty() && items_[static_cast<size_t>(stack.back())].depth >= items_[i].depth) stack.pop_back();
      parents_[i] = stack.empty() ? -1 : stack.back();
      stack.push_back(static_cast<int>(i));
      if (auto place = PlaceIn(MendUrl(items_[i].item->link), menu_folder_)) places_.emplace(*place, static_cast<int>(i));
    }
  }

  // The frame set's frame names that no frame or iframe of the site's pages
  // bears; the other-window button's window is a window of its own.
  std::vector<std::string> FrameSetTargets() const {
    std::vector<std::string> frames{"Frame1", "Frame2", "Frame3", "Right", RightFrameName(s_)};
    auto drop = [&](const std::string& name) { frames.erase(std::remove(frames.begin(), frames.end(), name), frames.end()); };
    drop(Html5Target(s_.OtherwFrame));
    for (const Page& page : pages_) {
      const std::string lower = AsciiLower(page.bytes);
      for (const char* tag : {"frame", "iframe"})
        for (std::string_view t : StartTags(lower, tag)) {
          // The name as written, not lowered: names are compared exactly.
          const size_t at = static_cast<size_t>(t.data() - lower.data());
          if (auto name = AttributeOf(std::string_view(page.bytes).substr(at, t.size()), "name")) drop(std::string(*name));
        }
    }
    return frames;
  }

  // Text in the page's encoding; what it cannot hold as references.
  static std::string Text(const std::string& sjis, PageEncoding encoding) {
    if (encoding == PageEncoding::kShiftJis) return sjis;
    const std::string utf8 = SjisToUtf8Lossy(sjis);
    if (encoding == PageEncoding::kUtf8) return utf8;
    std::string out;
    for (size_t at = 0; at < utf8.size();) {
      const char32_t c = NextCodePoint(utf8, at);
      if (c < 0x80) out += static_cast<char>(c);
      else AppendHexReference(out, c);
    }
    return out;
  }

  std::string Placeholder(const std::string& site_path, PageEncoding encoding) const {
    const std::string up = UpTo(site_path);
    std::string out = "<link rel=\"stylesheet\" href=\"" + up + kSiteFolder + "/" + kSiteStyle + "\">";
    std::vector<int> path;
    if (auto it = places_.find(PlaceKey(site_path)); it != places_.end())
      for (int i = it->second; i >= 0; i = parents_[static_cast<size_t>(i)]) path.insert(path.begin(), i);
    std::string sjis;
    if (!path.empty()) {
      sjis += "<ol class=\"pomeli2-path\">";
      for (int i : path) {
        const MenuItem& item = *items_[static_cast<size_t>(i)].item;
        std::string text = exchange::ShownText(item.title, exchange::TitleMarkup::kAsWritten, exchange::TitlePicture::kLeftOut);
        if (IsBlank(text)) text = EscapeForText(LinkFileName(item.link));
        // As in the tree: a branch has its link only with parent links on.
        const bool linked = items_[static_cast<size_t>(i)].leaf || s_.ParentLink == 1;
        const std::string href = linked ? Href(MendUrl(item.link), up) : "";
        sjis += "<li>";
        sjis += href.empty() ? "<span>" : "<a href=\"" + EscapeForText(href) + "\"";
        if (!href.empty() && i == path.back()) sjis += " aria-current=\"page\"";
        sjis += href.empty() ? "" : ">";
        sjis += text + (href.empty() ? "</span>" : "</a>") + "</li>";
      }
      sjis += "</ol>";
    }
    const std::string all = o_.base_url.empty() ? NormalPath(up + AsciiUrl(menu_folder_ + menu_file_))
                                                : ResolveUrl(o_.base_url, AsciiUrl(menu_file_));
    sjis += "<a class=\"pomeli2-all\" href=\"" + EscapeForText(all) + "\">" + sj("メニュー全体") + "</a>";
    out += Text(sjis, encoding);
    return out + "<script src=\"" + up + kSiteFolder + "/" + kSiteScript + "\"></script>";
  }

  const PageSettings& s_;
  const SiteOptions& o_;
  std::vector<PageItem> items_;
  std::vector<int> parents_;
  std::map<std::string, int> places_;
  fs::path site_;
  std::string menu_folder_, menu_file_;
  std::vector<Page> pages_;
};

}  // namespace

std::optional<SiteSurvey> SurveySite(const std::string& site) {
  std::error_code ec;
  const fs::path folder = fs::absolute(site, ec);
  if (ec || !fs::is_directory(folder, ec)) return std::nullopt;
  auto names = ListPages(folder.lexically_normal());
  if (!names) return std::nullopt;
  SiteSurvey survey{names->size(), 0};
  for (const std::string& name : *names) {
    auto bytes = ReadWholeFile((folder / name).string());
    if (bytes && FindMenuMarker(*bytes)) ++survey.marked;
  }
  return survey;
}

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
  for (std::string_view meta : StartTags(head, "meta")) {
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
  if (!ValidUtf8(page)) return PageRefusal{PageRefusal::kUndeclared, {}};
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

std::string ResolveUrl(std::string_view base, std::string_view ref) {
  if (HasScheme(ref)) return std::string(ref);
  const size_t colon = base.find(':');
  const std::string scheme(base.substr(0, colon + 1));
  if (ref.substr(0, 2) == "//") return scheme + std::string(ref);
  const size_t authority = base.substr(colon + 1, 2) == "//" ? base.find('/', colon + 3) : colon + 1;
  const std::string origin(base.substr(0, std::min(authority, base.size())));
  std::string path(authority < base.size() ? base.substr(authority) : "/");
  const std::string plain = WithoutQuery(path);
  if (ref.empty()) return std::string(base.substr(0, base.find('#')));
  if (ref[0] == '#') return std::string(base.substr(0, base.find('#'))) + std::string(ref);
  if (ref[0] == '?') return origin + plain + std::string(ref);
  if (ref[0] == '/') return origin + NormalPath(ref);
  return origin + NormalPath(plain.substr(0, plain.rfind('/') + 1) + std::string(ref));
}

std::optional<SiteLinks> LinksIntoSite(const PageSettings& settings, const MenuTree& tree, const std::string& site,
                                       const std::string& menu_page) {
  std::error_code ec;
  const fs::path root = fs::absolute(site, ec).lexically_normal();
  if (ec || !fs::is_directory(root, ec)) return std::nullopt;
  auto pages = ListPages(root);
  if (!pages) return std::nullopt;
  const std::string folder = MenuFolderIn(root, menu_page);
  SiteLinks links;
  std::map<std::string, bool> linked;  // a page's place, whether an item links to it
  for (const std::string& page : *pages) linked.emplace(PlaceKey(page), false);
  // The menu page is the menu itself, which every marked page links to.
  if (auto own = linked.find(PlaceKey(folder + fs::path(menu_page).filename().generic_string())); own != linked.end())
    own->second = true;
  tree.ForEachPreOrder(tree.FirstTop(), [&](NodeId n) {
    // A branch's link is written only when parent links are on.
    if (n == tree.FirstTop() || (tree.HasChildren(n) && settings.ParentLink != 1)) return;
    auto place = PlaceIn(MendUrl(tree.Item(n).link), folder);
    if (!place || place->rfind("../", 0) == 0) return;
    auto it = linked.find(*place);
    if (it != linked.end()) it->second = true;
    else links.missing.push_back(n);
  });
  for (const std::string& page : *pages)
    if (!linked.at(PlaceKey(page))) links.unlinked.push_back(page);
  return links;
}

std::variant<SiteReport, std::string> PutMenuIntoSite(const PageSettings& settings, const MenuTree& tree,
                                                       const SiteOptions& options) {
  return SiteWriter(settings, tree, options).Run();
}

}  // namespace pomeli2
