#include "generate/html5_page.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <unordered_map>

#include "exchange/shown_text.h"
#include "generate/html5_values.h"
#include "generate/js_text.h"
#include "generate/template_text.h"
#include "page_scripts.h"
#include "text/catalogue.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

// Lines of the constant parts are kept with LF here and written with CR LF,
// like every other line of the page.
void AppendLines(std::string& out, std::string_view text) { out += WithCrLf(text); }

// A length of the page's geometry. CSS padding cannot be negative, and a
// negative margin would put the menu out of sight; lengths beyond what a
// window shows make browsers lay out pages too large to handle.
std::string Px(int value) { return std::to_string(std::clamp(value, 0, 10000)) + "px"; }

// A stored link or image path as a valid URL, ready for an attribute value.
std::string UrlAttr(const std::string& stored) { return EscapeForText(MendUrl(stored)); }

// A title's HTML, and whether it shows the item's name by itself.
struct TitleHtml {
  std::string_view html;
  bool named;
};

// A number as the page spells it.
void AppendNumber(std::string& out, int n) {
  char digits[16];
  out.append(digits, static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, n).ptr - digits));
}

// Distinct texts numbered from 1 in order of appearance: the looks and the
// pictures that the style sheet gives as classes.
class Numbered {
 public:
  size_t Number(const std::string& text) {
    auto [it, added] = numbers_.emplace(text, texts_.size() + 1);
    if (added) texts_.push_back(text);
    return it->second;
  }
  const std::vector<std::string>& Texts() const { return texts_; }

 private:
  std::unordered_map<std::string, size_t> numbers_;
  std::vector<std::string> texts_;
};

class Html5Builder {
 public:
  Html5Builder(const PageSettings& s, std::string& out)
      : s_(s), out_(out), plus_(UrlAttr(s.Plus)), minus_(UrlAttr(s.Minus)), otherw_(UrlAttr(s.Otherw)),
        right_frame_(RightFrameName(s)), common_target_(s.RightFrame ? &*s.RightFrame : nullptr) {
    // With no picture for an open branch, its button stays as it is.
    if (minus_.empty()) minus_ = plus_;
  }

  // Items are visited in Seq order; `End` tells where each branch's group closes.
  void Items(const std::vector<PageItem>& items) {
    std::vector<int> open_ends;
    for (const PageItem& item : items) {
      Item(item);
      if (!item.leaf) {
        out_ += "\r\n<ul>\r\n";
        open_ends.push_back(item.end);
        continue;
      }
      out_ += "</li>\r\n";
      while (!open_ends.empty() && open_ends.back() <= item.number) {
        out_ += "</ul></li>\r\n";
        open_ends.pop_back();
      }
    }
    for (; !open_ends.empty(); open_ends.pop_back()) out_ += "</ul></li>\r\n";
  }

  // One rule per distinct look of the items, and one per picture of a
  // leaf's button; an old browser that knows no alt for generated content
  // keeps the first declaration.
  std::string StyleRules() const {
    std::string rules;
    const auto& looks = looks_.Texts();
    for (size_t i = 0; i < looks.size(); ++i) rules += "#pomeli .f" + std::to_string(i + 1) + "{" + looks[i] + "}\r\n";
    const auto& icons = icons_.Texts();
    for (size_t i = 0; i < icons.size(); ++i) {
      const std::string url = "url(\"" + EscapeForCssString(icons[i]) + "\")";
      rules += "#pomeli .i" + std::to_string(i + 1) + "::before{content:" + url + ";content:" + url + " / \"\"}\r\n";
    }
    return rules;
  }

  // The items' own backgrounds in the dark palette.
  std::string DarkRules() const {
    std::string rules;
    const auto& looks = looks_.Texts();
    for (size_t i = 0; i < looks.size(); ++i) {
      const size_t at = looks[i].find("background-color:");
      if (at == std::string::npos) continue;
      const size_t from = at + std::strlen("background-color:");
      const std::string colour = looks[i].substr(from, looks[i].find(';', from) - from);
      rules += "#pomeli .f" + std::to_string(i + 1) + "{background-color:" + DarkBackground(colour) + "}\r\n";
    }
    return rules;
  }

  const std::string& Plus() const { return plus_; }
  const std::string& Minus() const { return minus_; }

  // An open branch's picture by one rule rather than by its src: the filter
  // opens thousands of branches in one keystroke.
  std::string OpenPictureRule() const {
    if (plus_.empty() || minus_ == plus_) return "";
    const std::string url = "url(\"" + EscapeForCssString(MendUrl(s_.Minus)) + "\")";
    return "#pomeli.js [aria-expanded=true]>img:first-child{content:" + url + ";content:" + url + " / \"\"}\r\n";
  }

 private:
  // Items mostly take turns among a few looks and button pictures: the
  // answers are kept for the items that ask the same again.
  struct Look {
    std::string font_size, style, bg_color, look_class;
  };
  const std::string& LookClass(const MenuItem& v) {
    for (const Look& l : recent_looks_)
      if (v.font_size == l.font_size && v.style == l.style && v.bg_color == l.bg_color) return l.look_class;
    if (recent_looks_.size() == kRecent) recent_looks_.erase(recent_looks_.begin());
    recent_looks_.push_back({v.font_size, v.style, v.bg_color, NewLookClass(v)});
    return recent_looks_.back().look_class;
  }
  const std::string& ButtonClass(std::string_view stored) {
    for (const auto& [picture, button_class] : recent_buttons_)
      if (picture == stored) return button_class;
    if (recent_buttons_.size() == kRecent) recent_buttons_.erase(recent_buttons_.begin());
    recent_buttons_.emplace_back(std::string(stored), IconClass(MendUrl(stored)));
    return recent_buttons_.back().second;
  }

  // Most items open in the same place.
  const std::string& TargetOf(const std::string& stored) {
    if (!targets_asked_ || stored != last_target_) {
      targets_asked_ = true;
      last_target_ = stored;
      last_target_attr_ = TargetAttr(stored);
    }
    return last_target_attr_;
  }

  std::string NewLookClass(const MenuItem& v) {
    std::string look;
    if (auto size = Html5FontSize(v.font_size)) look += "font-size:" + *size + ";";
    if (const std::string_view css = FontStyleCss(v.style); !css.empty()) look.append(css) += ';';
    if (auto colour = Html5Colour(v.bg_color); colour && s_.TextBackOn == 1) look += "background-color:" + *colour + ";";
    if (!look.empty()) look.pop_back();
    return "f" + std::to_string(looks_.Number(look));
  }

  // A leaf's button is drawn by the style sheet: an <img> for each item cost
  // the browser more than all the rest of the item. None for no picture.
  std::string IconClass(const std::string& url) {
    return url.empty() ? "" : " i" + std::to_string(icons_.Number(url));
  }

  static std::string TargetAttr(const std::string& stored) {
    const std::string target = Html5Target(stored);
    return target.empty() ? "" : " target=\"" + Html5Attribute(target) + "\"";
  }
  // A picture with its text alternative (already escaped); a name that is
  // only the program's to say when there is no picture to carry it.
  static void AppendImg(std::string& out, std::string_view src, std::string_view alt) {
    if (src.empty()) {
      if (!alt.empty()) Append(out, "<span class=\"n\">", alt, "</span>");
      return;
    }
    Append(out, "<img src=\"", src, "\" alt=\"", alt, "\">");
  }
  template <typename... Parts>
  static void Append(std::string& out, const Parts&... parts) {
    (out.append(std::string_view(parts)), ...);
  }

  // A stored link or path as UrlAttr writes it: itself when it needs no
  // mending, else made in `scratch`.
  static std::string_view Url(const std::string& stored, std::string& scratch) {
    if (stored.empty() || UrlNeedsNoMending(stored)) return stored;
    scratch = UrlAttr(stored);
    return scratch;
  }

  // An image title's picture speaks for the item only when no text follows
  // it, and then by its file name.
  TitleHtml Title(const std::string& title) {
    const bool text = exchange::TitleShowsText(title);
    auto image = SplitImageTitle(title);
    if (!image) return {title, text};
    const std::string src = UrlAttr(image->path);
    title_.clear();
    if (src.empty()) {
      title_ = image->text;
      return {title_, text};
    }
    const std::string alt = text ? "" : EscapeForText(LinkFileName(image->path));
    AppendImg(title_, src, alt);
    title_ += image->text;
    return {title_, text || !alt.empty()};
  }

  // For an item whose title shows no text: the file name of its link, else
  // a word that says it has none.
  static std::string NameOf(const std::string& link) { return EscapeForText(UntitledName(link)); }

  void Item(const PageItem& item) {
    const MenuItem& v = *item.item;
    const std::string_view link = Url(v.link, link_);
    // A branch carries its link only when parent links are on; one whose
    // click also opens the branch sends the link to the right frame.
    bool has_link = !link.empty() && (item.leaf || s_.ParentLink == 1);
    // An item that shows no text is named by its button's alt, or by a text
    // only a reader sees: an <a> without href may carry no aria-label.
    const TitleHtml title = Title(v.title);
    const std::string name = title.named ? "" : NameOf(has_link ? v.link : "");
    out_ += "<li><a class=\"";
    out_ += LookClass(v);
    if (!item.leaf && v.open == "1") out_ += " o";
    if (item.leaf) out_ += ButtonClass(ButtonImage(s_, item));
    out_ += '"';
    if (!item.leaf) {
      out_ += " id=\"t";
      AppendNumber(out_, item.number);
      out_ += '"';
    }
    if (has_link) {
      bool toggles = !item.leaf && (s_.Unite == 1 || s_.ParentLinkOn == 1);
      Append(out_, " href=\"", link, "\"");
      // Where the link opens, as RightFrameName() and EffectiveTarget() say.
      out_ += TargetOf(toggles ? right_frame_ : common_target_ ? *common_target_ : v.target);
    }
    out_ += '>';
    if (!item.leaf || !name.empty()) AppendImg(out_, item.leaf ? std::string_view() : std::string_view(plus_), name);
    out_ += title.html;
    out_ += "</a>";
    if (item.leaf && has_link && s_.Unite != 1) {
      if (v.other_window == OtherWindow::kNewWindow) OtherButton(link, new_window_, s_.OtherwFrame, "別ウインドウで開く");
      else if (v.other_window == OtherWindow::kLeaveFrames) OtherButton(link, leave_frames_, "_top", "フレームを解除して開く");
    }
  }

  // The button after the link: all but the link is the same on every item,
  // and made once.
  void OtherButton(std::string_view link, std::optional<std::string>& rest, const std::string& target,
                   const char* utf8_what) {
    if (!rest) {
      const std::string& what = sj(utf8_what);
      rest = "\"" + TargetAttr(target) + " title=\"" + what + "\">";
      AppendImg(*rest, otherw_, what);
      *rest += "</a>";
    }
    Append(out_, "<a class=\"x\" href=\"", link, *rest);
  }

  const PageSettings& s_;
  std::string& out_;
  std::string plus_, minus_, otherw_;
  const std::string right_frame_;     // where a branch's link opens
  const std::string* common_target_;  // RightFrame, when it names one
  std::optional<std::string> new_window_, leave_frames_;  // the other buttons after their links
  std::string link_, title_;  // the current item's link and title, when they are made
  Numbered looks_, icons_;
  static constexpr size_t kRecent = 32;
  std::vector<Look> recent_looks_;
  std::vector<std::pair<std::string, std::string>> recent_buttons_;  // a stored picture, its class
  bool targets_asked_ = false;
  std::string last_target_, last_target_attr_;
};

// A hash of the items' markup, eight bytes at a step (a large menu's page
// would feel one byte at a time).
std::string MenuVersion(std::string_view list) {
  std::uint64_t hash = 0x9E3779B97F4A7C15u ^ list.size();
  auto mix = [&hash](std::uint64_t word) {
    hash = (hash ^ word) * 0xFF51AFD7ED558CCDu;
    hash ^= hash >> 32;
  };
  size_t i = 0;
  for (; i + 8 <= list.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, list.data() + i, 8);
    mix(word);
  }
  std::uint64_t tail = 0;
  std::memcpy(&tail, list.data() + i, list.size() - i);
  mix(tail);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (int shift = 60; shift >= 32; shift -= 4) out += kHex[(hash >> shift) & 15];
  return out;
}

// The author's colours stand in the light; under the system's dark choice,
// shades of them that keep every text readable. The background picture,
// made for the light colours, is left out there.
std::string DarkPalette(const PageSettings& s, const std::string& item_rules) {
  auto colour = [](const std::string& value, const char* fallback) { return Html5Colour(value).value_or(fallback); };
  std::string out = ":root{color-scheme:light dark}\r\n@media (prefers-color-scheme:dark){\r\n";
  out += "body{background-color:" + DarkBackground(colour(s.BgColor, "#FFFFFF")) +
         ";background-image:none;color:" + DarkText(colour(s.BodyText, "#000000")) + "}\r\n";
  out += "a:link,#pomeli.js a[aria-expanded]:not([href]){color:" + DarkText(colour(s.BodyLink, "#0000EE")) + "}\r\n";
  out += "a:visited{color:" + DarkText(colour(s.BodyVlink, "#551A8B")) + "}\r\n";
  out += "a:active{color:" + DarkText(colour(s.BodyAlink, "#FF0000")) + "}\r\n";
  out += item_rules;
  std::string hover;
  if (auto c = Html5Colour(s.BodyHover)) hover += "color:" + DarkText(*c) + ";";
  if (auto c = Html5Colour(s.BodyHoverBack)) hover += "background-color:" + DarkBackground(*c) + ";";
  if (!hover.empty()) {
    hover.pop_back();
    out += "a:hover,#pomeli li>a:hover,#pomeli.js a[aria-expanded]:hover{" + hover + "}\r\n";
  }
  return out + "}\r\n";
}

// The menu's own rules: where it stands, its rows and indentation, and the
// rules that go with the script.
std::string MenuRules(const PageNumbers& n, const Html5Builder& builder) {
  // Start and Left place the menu; Row is the line pitch, never below the
  // 24-pixel target size; Indent steps each level. Long titles wrap, so
  // that a narrow frame or a large zoom needs no sideways scrolling.
  // The sides are the writing direction's, so that a right-to-left page
  // indents from the right.
  std::string out = "#pomeli>ul{margin:" + Px(n.start) + " 0 0;margin-inline-start:" + Px(n.left) + ";padding:0}\r\n";
  out += "#pomeli ul{list-style:none;margin:0;padding:0;padding-inline-start:" + Px(n.indent) + "}\r\n";
  out += "#pomeli li>a{display:inline-flex;align-items:center;gap:3px;min-height:" + Px(std::max(n.row, 24)) +
         ";min-width:24px;vertical-align:top;overflow-wrap:anywhere}\r\n";
  // Closed groups hidden from their owner's aria-expanded once the script
  // has marked the menu.
  AppendLines(out, scripts::kHtml5Style);
  return out + builder.OpenPictureRule() + builder.StyleRules();
}

// The NAV's label and the options the script reads from it.
std::string NavAttributes(const PageSettings& s, const PageNumbers& n, const std::string& label,
                          const Html5Builder& builder, std::string_view list) {
  std::string out = " aria-label=\"" + Html5Attribute(label) + "\" data-plus=\"" + builder.Plus() +
                    "\" data-minus=\"" + builder.Minus() + "\"";
  if (s.CloseTree == 1) out += " data-close-tree";
  if (s.CloseItems == 1) out += " data-speed=\"" + std::to_string(n.speed) + "\"";
  if (s.ParentLink == 1 && (s.ParentLinkOn == 1 || s.Unite == 1)) out += " data-link-toggles";
  if (s.Unite == 1) out += " data-unite";
  if (s.Filter == 1) out += " data-filter";
  // The open branches are kept for the menu under this; a menu whose items
  // changed forgets them.
  return out + " data-version=\"" + MenuVersion(list) + "\"";
}

}  // namespace

bool StreamHtml5Page(const PageSettings& s, const std::vector<PageItem>& items, const std::string* header,
                     const std::string* footer, const std::function<bool(std::string_view)>& sink) {
  const PageNumbers n = ReadPageNumbers(s);
  const std::string label = IsBlank(s.Title) ? sj("メニュー") : s.Title;

  std::string list;
  // Room enough for items of long titles: what is never written costs nothing.
  list.reserve(items.size() * 512);
  Html5Builder builder(s, list);
  builder.Items(items);

  // Composed in CP932 like every stored value, and converted in parts: the
  // head, the items a piece at a time, and the rest.
  std::string out;
  out.reserve(8192);
  out += "<!DOCTYPE html>\r\n<html lang=\"" + Html5Lang(s.Lang) + (s.RightToLeft() ? "\" dir=\"rtl" : "") +
         "\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
         "<meta name=\"generator\" content=\"" + std::string(kProductVersion) + "\">\r\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n";
  out += "<title>" + label + "</title>\r\n<style>\r\n";

  // The page's colours as the BODY attributes and hover style give them.
  std::string body = "margin:0";
  auto colour = [](const char* property, const std::string& value) {
    auto valid = Html5Colour(value);
    return valid ? std::string(";") + property + ":" + *valid : std::string();
  };
  body += colour("background-color", s.BgColor);
  if (const std::string picture = MendUrl(s.BackPicture); !picture.empty())
    body += ";background-image:url(\"" + EscapeForCssString(picture) + "\")";
  body += colour("color", s.BodyText);
  out += "body{" + body + "}\r\n";
  if (auto link = Html5Colour(s.BodyLink)) out += "a:link,#pomeli.js a[aria-expanded]:not([href]){color:" + *link + "}\r\n";
  if (auto visited = Html5Colour(s.BodyVlink)) out += "a:visited{color:" + *visited + "}\r\n";
  if (auto active = Html5Colour(s.BodyAlink)) out += "a:active{color:" + *active + "}\r\n";
  std::string hover = colour("color", s.BodyHover) + colour("background-color", s.BodyHoverBack);
  // Over the items' own backgrounds too, as the hover style of the other
  // modes paints over their blocks.
  if (!hover.empty())
    out += "a:hover,#pomeli li>a:hover,#pomeli.js a[aria-expanded]:hover{" + hover.substr(1) + "}\r\n";

  out += MenuRules(n, builder);
  if (s.Dark == 1) out += DarkPalette(s, builder.DarkRules());
  out += "</style>\r\n</head>\r\n<body>\r\n";
  if (header) out += *header;

  out += "<nav id=\"pomeli\"" + NavAttributes(s, n, label, builder, list);
  // Closed groups are hidden before the list is parsed, so that a large menu
  // is never laid out whole.
  out += ">\r\n<script>document.getElementById(\"pomeli\").className=\"js\"</script>\r\n<ul>\r\n";
  std::string piece;
  AppendSjisAsUtf8Lossy(out, piece);
  if (!sink(piece)) return false;
  // Cut after a line's end, where a character surely starts.
  constexpr size_t kPiece = 256 * 1024;
  for (std::string_view rest = list; !rest.empty();) {
    size_t cut = rest.size() <= kPiece ? rest.size() : rest.rfind('\n', kPiece) + 1;
    if (cut == 0) cut = rest.find('\n', kPiece) + 1;  // 0 when there is none: the rest whole
    if (cut == 0) cut = rest.size();
    piece.clear();
    AppendSjisAsUtf8Lossy(rest.substr(0, cut), piece);
    if (!sink(piece)) return false;
    rest.remove_prefix(cut);
  }
  out = "</ul>\r\n</nav>\r\n";
  // The tree behaviour (res/scripts/html5/tree.js). It reads everything it
  // needs from the page (options as data attributes of the NAV, states from
  // the ARIA attributes), so the same text serves every page. Closed groups
  // are hidden by the style sheet from their owner's aria-expanded; items of
  // a group get their roles when the group is first shown, so a large menu
  // costs nothing at load beyond its top level.
  out += "<script>\r\n";
  AppendLines(out, scripts::kHtml5Script);
  out += "</script>\r\n";
  if (footer) out += *footer;
  out += "</body>\r\n</html>\r\n";
  piece.clear();
  AppendSjisAsUtf8Lossy(out, piece);
  return sink(piece);
}

std::string BuildHtml5Page(const PageSettings& s, const std::vector<PageItem>& items, const std::string* header,
                           const std::string* footer) {
  std::string page;
  StreamHtml5Page(s, items, header, footer, [&page](std::string_view piece) {
    page += piece;
    return true;
  });
  return page;
}

Html5Menu BuildHtml5Menu(const PageSettings& s, const std::vector<PageItem>& items) {
  const PageNumbers n = ReadPageNumbers(s);
  const std::string label = IsBlank(s.Title) ? sj("メニュー") : s.Title;
  std::string list;
  Html5Builder builder(s, list);
  builder.Items(items);
  Html5Menu menu;
  menu.label = SjisToUtf8Lossy(label);
  menu.attributes = SjisToUtf8Lossy(NavAttributes(s, n, label, builder, list));
  menu.style = SjisToUtf8Lossy(MenuRules(n, builder));
  AppendSjisAsUtf8Lossy(list, menu.list);
  return menu;
}

}  // namespace pomeli2
