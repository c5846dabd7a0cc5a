#include "generate/site.h"

#include <algorithm>
#include <system_error>

#include "generate/html5_page.h"
#include "generate/html5_values.h"
#include "generate/site_links.h"
#include "generate/site_placeholder.h"
#include "io/file_io.h"
#include "page_scripts.h"
#include "text/ascii.h"
#include "text/markup.h"
#include "text/utf8.h"

namespace pomeli2 {
namespace fs = std::filesystem;
using namespace site;
namespace {

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

class SiteWriter {
 public:
  SiteWriter(const PageSettings& s, const MenuTree& tree, const SiteOptions& o)
      : s_(s), o_(o), items_(CollectPageItems(tree)) {}

  std::variant<SiteReport, std::string> Run(SiteSurvey* survey) {
    std::error_code ec;
    const fs::path site = fs::absolute(o_.site, ec);
    if (ec || !fs::is_directory(site, ec)) return std::string("the site folder does not exist or is no folder");
    site_ = site.lexically_normal();
    if (items_.empty()) return std::string("the menu has no items");
    if (!o_.base_url.empty() && !HasScheme(o_.base_url)) return std::string("the base URL must be absolute (http://...)");
    menu_folder_ = MenuFolderIn(site_, o_.menu_page);
    menu_file_ = fs::path(o_.menu_page).filename().generic_string();
    // What the survey read of this folder is taken where its file has not
    // changed since; any other page is read now.
    auto pages = ReadPages(site_, survey && survey->folder == site_ ? &survey->read : nullptr);
    if (!pages || std::any_of(pages->begin(), pages->end(), [](const Page& p) { return !p.bytes; }))
      return std::string("the site folder cannot be read");
    pages_ = std::move(*pages);
    const Placeholders placeholders(s_, items_, menu_folder_, menu_file_, o_.base_url);

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
      const std::string& old = *page.bytes;
      const auto marker = FindMenuMarker(old);
      if (!marker) {
        report.without_marker.push_back(page.site_path);
        continue;
      }
      const auto encoding = PageEncodingOf(old);
      if (const auto* why = std::get_if<PageRefusal>(&encoding)) {
        report.refused.emplace_back(page.site_path, *why);
        continue;
      }
      std::string bytes = old.substr(0, marker->begin);
      bytes += placeholders.For(page.site_path, std::get<PageEncoding>(encoding));
      bytes.append(old, marker->end);
      if (bytes == old) report.unchanged.push_back(page.site_path);
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
    const std::string style = "@charset \"utf-8\";\n" + StylePictures(menu.style, placeholders) +
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

  // The pictures of the style sheet as from the menu page's folder, where
  // the sheet stands in the program's folder.
  static std::string StylePictures(const std::string& style, const Placeholders& placeholders) {
    static constexpr std::string_view kUrl = "url(\"";
    std::string out;
    size_t from = 0;
    for (size_t at; (at = style.find(kUrl, from)) != std::string::npos;) {
      const size_t value = at + kUrl.size(), close = style.find('"', value);
      if (close == std::string::npos) break;
      out.append(style, from, value - from);
      out += placeholders.Href(style.substr(value, close - value), "../");
      from = close;
    }
    return out.append(style, from);
  }

  // The frame set's frame names that no frame or iframe of the site's pages
  // bears; the other-window button's window is a window of its own.
  std::vector<std::string> FrameSetTargets() const {
    std::vector<std::string> frames{"Frame1", "Frame2", "Frame3", "Right", RightFrameName(s_)};
    auto drop = [&](const std::string& name) { frames.erase(std::remove(frames.begin(), frames.end(), name), frames.end()); };
    drop(Html5Target(s_.OtherwFrame));
    for (const Page& page : pages_) {
      const std::string& bytes = *page.bytes;
      const std::string lower = AsciiLower(bytes);
      for (const char* tag : {"frame", "iframe"})
        for (std::string_view t : StartTags(lower, tag)) {
          // The name as written, not lowered: names are compared exactly.
          const size_t at = static_cast<size_t>(t.data() - lower.data());
          if (auto name = AttributeOf(std::string_view(bytes).substr(at, t.size()), "name")) drop(std::string(*name));
        }
    }
    return frames;
  }

  const PageSettings& s_;
  const SiteOptions& o_;
  std::vector<PageItem> items_;
  fs::path site_;
  std::string menu_folder_, menu_file_;
  std::vector<Page> pages_;
};

}  // namespace

std::optional<SiteSurvey> SurveySite(const std::string& site) {
  std::error_code ec;
  const fs::path folder = fs::absolute(site, ec);
  if (ec || !fs::is_directory(folder, ec)) return std::nullopt;
  SiteSurvey survey;
  survey.folder = folder.lexically_normal();
  auto pages = ReadPages(survey.folder);
  if (!pages) return std::nullopt;
  survey.pages = pages->size();
  survey.marked = static_cast<size_t>(
      std::count_if(pages->begin(), pages->end(), [](const Page& p) { return p.bytes && FindMenuMarker(*p.bytes); }));
  survey.read = std::move(*pages);
  return survey;
}

std::variant<SiteReport, std::string> PutMenuIntoSite(const PageSettings& settings, const MenuTree& tree,
                                                       const SiteOptions& options, SiteSurvey* survey) {
  return SiteWriter(settings, tree, options).Run(survey);
}

}  // namespace pomeli2
