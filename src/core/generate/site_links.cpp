#include "generate/site_links.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "generate/html5_values.h"
#include "generate/site_pages.h"
#include "text/ascii.h"

namespace pomeli2 {
namespace fs = std::filesystem;

namespace site {
namespace {

std::string WithoutQuery(std::string_view url) { return std::string(url.substr(0, url.find_first_of("?#"))); }

std::string PercentDecoded(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && IsAsciiHexDigit(text[i + 1]) && IsAsciiHexDigit(text[i + 2])) {
      out += static_cast<char>(AsciiHexValue(text[i + 1]) * 16 + AsciiHexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

bool HasScheme(std::string_view url) { return !UrlScheme(url).empty(); }

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

std::string AsciiUrl(std::string_view url) {
  std::string out;
  for (size_t i = 0; i < url.size(); ++i) {
    if (static_cast<unsigned char>(url[i]) < 0x80) out += url[i];
    else AppendPercentEncoded(out, url.substr(i, 1));
  }
  return out;
}

std::string MenuFolderIn(const fs::path& site, const std::string& menu_page) {
  std::error_code ec;
  const fs::path folder = fs::absolute(menu_page, ec).lexically_normal().parent_path();
  std::string relative = folder.lexically_relative(site).generic_string();
  if (relative == ".") relative.clear();
  return relative.empty() ? relative : relative + "/";
}

std::optional<std::string> PlaceIn(const std::string& mended, const std::string& menu_folder) {
  if (mended.empty() || mended[0] == '#' || mended[0] == '/' || HasScheme(mended)) return std::nullopt;
  return PlaceKey(PercentDecoded(NormalPath(menu_folder + WithoutQuery(mended))));
}

}  // namespace site

using namespace site;

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

}  // namespace pomeli2
