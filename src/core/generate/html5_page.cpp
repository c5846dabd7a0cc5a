#include "generate/html5_page.h"

#include <algorithm>
#include <unordered_map>

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
  std::string html;
  bool named;
};

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
      : s_(s), out_(out), plus_(UrlAttr(s.Plus)), minus_(UrlAttr(s.Minus)), otherw_(UrlAttr(s.Otherw)) {
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
        open_ends.push_back(LenientSignedInt(item.End()));
        continue;
      }
      out_ += "</li>\r\n";
      const int n = LenientSignedInt(item.N());
      while (!open_ends.empty() && open_ends.back() <= n) {
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

  const std::string& Plus() const { return plus_; }
  const std::string& Minus() const { return minus_; }

 private:
  // Neighbouring items mostly look alike and share their button's picture:
  // the last answer is kept for the next item that asks the same.
  const std::string& LookClass(const MenuItem& v) {
    if (looks_asked_ && v.font_size == last_look_.font_size && v.style == last_look_.style &&
        v.bg_color == last_look_.bg_color)
      return last_look_class_;
    looks_asked_ = true;
    last_look_.font_size = v.font_size;
    last_look_.style = v.style;
    last_look_.bg_color = v.bg_color;
    last_look_class_ = NewLookClass(v);
    return last_look_class_;
  }
  const std::string& ButtonClass(const std::string& stored) {
    if (!buttons_asked_ || stored != last_button_) {
      buttons_asked_ = true;
      last_button_ = stored;
      last_button_class_ = IconClass(MendUrl(stored));
    }
    return last_button_class_;
  }

  std::string NewLookClass(const MenuItem& v) {
    std::string look;
    if (auto size = Html5FontSize(v.font_size)) look += "font-size:" + *size + ";";
    if (v.style == "Bold" || v.style == "Bold&Italic") look += "font-weight:bold;";
    if (v.style == "Italic" || v.style == "Bold&Italic") look += "font-style:italic;";
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
  static std::string Img(const std::string& src, const std::string& alt) {
    if (src.empty()) return alt.empty() ? "" : "<span class=\"n\">" + alt + "</span>";
    return "<img src=\"" + src + "\" alt=\"" + alt + "\">";
  }

  // An image title's picture speaks for the item only when no text follows
  // it, and then by its file name.
  static TitleHtml Title(const std::string& title) {
    auto image = SplitImageTitle(title);
    if (!image) return {title, TitleShowsText(title)};
    const bool text = TitleShowsText(image->text);
    const std::string src = UrlAttr(image->path);
    if (src.empty()) return {image->text, text};
    const std::string alt = text ? "" : EscapeForText(LinkFileName(image->path));
    return {"<img src=\"" + src + "\" alt=\"" + alt + "\">" + image->text, text || !alt.empty()};
  }

  // For an item whose title shows no text: the file name of its link, else
  // a word that says it has none.
  static std::string NameOf(const std::string& link) { return EscapeForText(UntitledName(link)); }

  void Item(const PageItem& item) {
    const MenuItem& v = *item.item;
    const std::string link = UrlAttr(v.link);
    // A branch carries its link only when parent links are on; one whose
    // click also opens the branch sends the link to the right frame.
    bool has_link = !link.empty() && (item.leaf || s_.ParentLink == 1);
    // An item that shows no text is named by its button's alt, or by a text
    // only a reader sees: an <a> without href may carry no aria-label.
    const TitleHtml title = Title(v.title);
    const std::string name = title.named ? "" : NameOf(has_link ? v.link : "");
    std::string classes = LookClass(v);
    if (!item.leaf && v.open == "1") classes += " o";
    if (item.leaf) classes += ButtonClass(ButtonImage(s_, item));
    out_ += "<li><a class=\"" + classes + "\"";
    if (!item.leaf) out_ += " id=\"t" + item.N() + "\"";
    if (has_link) {
      bool toggles = !item.leaf && (s_.Unite == 1 || s_.ParentLinkOn == 1);
      out_ += " href=\"" + link + "\"" + TargetAttr(toggles ? RightFrameName(s_) : EffectiveTarget(s_, *item.item));
    }
    out_ += ">" + Img(item.leaf ? "" : plus_, name) + title.html + "</a>";
    if (item.leaf && has_link && s_.Unite != 1) {
      if (v.other_window == OtherWindow::kNewWindow) OtherButton(link, s_.OtherwFrame, sj("別ウインドウで開く"));
      else if (v.other_window == OtherWindow::kLeaveFrames) OtherButton(link, "_top", sj("フレームを解除して開く"));
    }
  }

  void OtherButton(const std::string& link, const std::string& target, const std::string& what) {
    out_ += "<a class=\"x\" href=\"" + link + "\"" + TargetAttr(target) + " title=\"" + what + "\">" +
            Img(otherw_, what) + "</a>";
  }

  const PageSettings& s_;
  std::string& out_;
  std::string plus_, minus_, otherw_;
  Numbered looks_, icons_;
  bool looks_asked_ = false, buttons_asked_ = false;
  MenuItem last_look_;  // its font size, style and colour
  std::string last_look_class_, last_button_, last_button_class_;
};

}  // namespace

std::string BuildHtml5Page(const PageSettings& s, const std::vector<PageItem>& items, const std::string* header,
                           const std::string* footer) {
  const PageNumbers n = ReadPageNumbers(s);
  const std::string label = IsBlank(s.Title) ? sj("メニュー") : s.Title;

  std::string list;
  list.reserve(items.size() * 100);
  Html5Builder builder(s, list);
  builder.Items(items);

  // Composed in CP932 like every stored value, and converted as a whole.
  std::string out;
  out.reserve(list.size() + 8192);
  out += "<!DOCTYPE html>\r\n<html lang=\"ja\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
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

  // Start and Left place the menu; Row is the line pitch, never below the
  // 24-pixel target size; Indent steps each level. Long titles wrap, so
  // that a narrow frame or a large zoom needs no sideways scrolling.
  out += "#pomeli>ul{margin:" + Px(n.start) + " 0 0 " + Px(n.left) + ";padding:0}\r\n";
  out += "#pomeli ul{list-style:none;margin:0;padding:0 0 0 " + Px(n.indent) + "}\r\n";
  out += "#pomeli li>a{display:inline-flex;align-items:center;gap:3px;min-height:" + Px(std::max(n.row, 24)) +
         ";min-width:24px;vertical-align:top}\r\n";
  // The rules that go with the script; closed groups hidden from their
  // owner's aria-expanded once the script has marked the menu.
  AppendLines(out, scripts::kHtml5Style);
  out += builder.StyleRules();
  out += "</style>\r\n</head>\r\n<body>\r\n";
  if (header) out += *header;

  out += "<nav id=\"pomeli\" aria-label=\"" + Html5Attribute(label) + "\" data-plus=\"" + builder.Plus() +
         "\" data-minus=\"" + builder.Minus() + "\"";
  if (s.CloseTree == 1) out += " data-close-tree";
  if (s.CloseItems == 1) out += " data-speed=\"" + std::to_string(n.speed) + "\"";
  if (s.ParentLink == 1 && (s.ParentLinkOn == 1 || s.Unite == 1)) out += " data-link-toggles";
  if (s.Unite == 1) out += " data-unite";
  // Closed groups are hidden before the list is parsed, so that a large menu
  // is never laid out whole.
  out += ">\r\n<script>document.getElementById(\"pomeli\").className=\"js\"</script>\r\n<ul>\r\n" + list +
         "</ul>\r\n</nav>\r\n";
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
  return SjisToUtf8Lossy(out);
}

}  // namespace pomeli2
