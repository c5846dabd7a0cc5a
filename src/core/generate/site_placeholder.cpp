#include "generate/site_placeholder.h"

#include "exchange/shown_text.h"
#include "generate/html5_values.h"
#include "generate/js_text.h"
#include "generate/site_links.h"
#include "text/markup.h"
#include "text/sjis.h"
#include "text/utf8.h"

namespace pomeli2::site {
namespace {

// Text in the page's encoding; what it cannot hold as references.
std::string Text(const std::string& sjis, PageEncoding encoding) {
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

}  // namespace

Placeholders::Placeholders(const PageSettings& s, const std::vector<PageItem>& items, std::string menu_folder,
                           std::string menu_file, std::string base_url)
    : s_(s), items_(items), menu_folder_(std::move(menu_folder)), menu_file_(std::move(menu_file)),
      base_url_(std::move(base_url)) {
  parents_.assign(items_.size(), -1);
  std::vector<int> stack;
  for (size_t i = 0; i < items_.size(); ++i) {
    while (!stack.empty() && items_[static_cast<size_t>(stack.back())].depth >= items_[i].depth) stack.pop_back();
    parents_[i] = stack.empty() ? -1 : stack.back();
    stack.push_back(static_cast<int>(i));
    if (auto place = PlaceIn(MendUrl(items_[i].item->link), menu_folder_)) places_.emplace(*place, static_cast<int>(i));
  }
}

std::string Placeholders::Href(const std::string& mended, const std::string& up) const {
  if (mended.empty() || mended[0] == '#' || HasScheme(mended) || mended.rfind("//", 0) == 0) return mended;
  if (!base_url_.empty()) return ResolveUrl(base_url_, mended);
  if (mended[0] == '/') return mended;
  return NormalPath(up + AsciiUrl(menu_folder_) + mended);
}

std::string Placeholders::For(const std::string& site_path, PageEncoding encoding) const {
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
      std::string text =
          exchange::ShownText(item.title, exchange::TitleMarkup::kAsWritten, exchange::TitlePicture::kLeftOut);
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
  const std::string all = base_url_.empty() ? NormalPath(up + AsciiUrl(menu_folder_ + menu_file_))
                                            : ResolveUrl(base_url_, AsciiUrl(menu_file_));
  sjis += "<a class=\"pomeli2-all\" href=\"" + EscapeForText(all) + "\">" + sj("メニュー全体") + "</a>";
  out += Text(sjis, encoding);
  return out + "<script src=\"" + up + kSiteFolder + "/" + kSiteScript + "\"></script>";
}

}  // namespace pomeli2::site
