#include "generate/html5_page.h"

#include <algorithm>
#include <cctype>

#include "generate/js_text.h"
#include "page_scripts.h"
#include "text/catalogue.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

// Lines of the constant parts are kept with LF here and written with CR LF,
// like every other line of the page.
void AppendLines(std::string& out, std::string_view text) {
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
}

// A value for a style sheet property: written only when it is made of the
// characters that colours and sizes use, so that no stored text can change
// the rule around it.
bool SafeCssValue(const std::string& v) {
  return !v.empty() && std::all_of(v.begin(), v.end(), [](char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '#' || c == '.' || c == '%' || c == '-';
  });
}

std::string Px(int value) { return std::to_string(value) + "px"; }

class Html5Builder {
 public:
  Html5Builder(const PageSettings& s, std::string& out) : s_(s), out_(out) {}

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
      const int n = item.number;
      while (!open_ends.empty() && open_ends.back() <= n) {
        out_ += "</ul></li>\r\n";
        open_ends.pop_back();
      }
    }
    for (; !open_ends.empty(); open_ends.pop_back()) out_ += "</ul></li>\r\n";
  }

  // One rule per distinct look of the items, named in order of appearance.
  std::string StyleRules() const {
    std::string rules;
    for (size_t i = 0; i < looks_.size(); ++i) rules += "#pomeli .f" + std::to_string(i + 1) + "{" + looks_[i] + "}\r\n";
    return rules;
  }

 private:
  std::string LookClass(const MenuItem& r) {
    std::string look;
    if (SafeCssValue(r.font_size)) look += "font-size:" + r.font_size + ";";
    const std::string& style = r.style;
    if (style == "Bold" || style == "Bold&Italic") look += "font-weight:bold;";
    if (style == "Italic" || style == "Bold&Italic") look += "font-style:italic;";
    if (s_.TextBackOn == 1 && SafeCssValue(r.bg_color)) look += "background-color:" + r.bg_color + ";";
    if (!look.empty()) look.pop_back();
    auto found = std::find(looks_.begin(), looks_.end(), look);
    if (found == looks_.end()) found = looks_.insert(looks_.end(), look);
    return "f" + std::to_string(found - looks_.begin() + 1);
  }

  static std::string TargetAttr(const std::string& target) {
    return target.empty() ? "" : " target=\"" + EscapeForAttribute(target) + "\"";
  }
  static std::string Img(const std::string& src, const std::string& alt) {
    return "<img src=\"" + EscapeForAttribute(src) + "\" alt=\"" + EscapeForAttribute(alt) + "\">";
  }

  // The title as HTML; an image title's picture speaks for the item only
  // when no text follows it, and then by its file name.
  static std::string TitleHtml(const std::string& title) {
    auto image = SplitImageTitle(title);
    if (!image) return title;
    std::string alt;
    if (image->text.empty()) {
      size_t slash = image->path.find_last_of('/');
      alt = slash == std::string::npos ? image->path : image->path.substr(slash + 1);
    }
    return Img(image->path, alt) + image->text;
  }

  void Item(const PageItem& item) {
    const MenuItem& r = *item.item;
    const std::string& link = r.link;
    // A branch carries its link only when parent links are on; one whose
    // click also opens the branch sends the link to the right frame.
    bool has_link = !link.empty() && (item.leaf || s_.ParentLink == 1);
    std::string classes = LookClass(r);
    if (!item.leaf && r.open == "1") classes += " o";
    out_ += "<li><a class=\"" + classes + "\"";
    if (!item.leaf) out_ += " id=\"t" + item.N() + "\"";
    if (has_link) {
      bool toggles = !item.leaf && (s_.Unite == 1 || s_.ParentLinkOn == 1);
      out_ += " href=\"" + EscapeForAttribute(link) + "\"" + TargetAttr(toggles ? RightFrameName(s_) : EffectiveTarget(s_, r));
    }
    out_ += ">" + Img(ButtonImage(s_, item), "") + TitleHtml(r.title) + "</a>";
    if (item.leaf && has_link && s_.Unite != 1) {
      if (r.other_window == OtherWindow::kNewWindow) OtherButton(link, s_.OtherwFrame, sj("別ウインドウで開く"));
      else if (r.other_window == OtherWindow::kLeaveFrames) OtherButton(link, "_top", sj("フレームを解除して開く"));
    }
  }

  void OtherButton(const std::string& link, const std::string& target, const std::string& what) {
    out_ += "<a class=\"x\" href=\"" + EscapeForAttribute(link) + "\"" + TargetAttr(target) + " title=\"" + what +
            "\">" + Img(s_.Otherw, what) + "</a>";
  }

  const PageSettings& s_;
  std::string& out_;
  std::vector<std::string> looks_;
};

}  // namespace

std::string BuildHtml5Page(const PageSettings& s, const std::vector<PageItem>& items, const std::string* header,
                           const std::string* footer) {
  const PageNumbers n = ReadPageNumbers(s);
  const std::string label = s.Title.empty() ? sj("メニュー") : s.Title;

  std::string list;
  list.reserve(items.size() * 100);
  Html5Builder builder(s, list);
  builder.Items(items);

  std::string out;
  out.reserve(list.size() + 8192);
  out += "<!DOCTYPE html>\r\n<html lang=\"ja\">\r\n<head>\r\n<meta charset=\"Shift_JIS\">\r\n"
         "<meta name=\"generator\" content=\"" + std::string(kProductVersion) + "\">\r\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n";
  out += "<title>" + label + "</title>\r\n<style>\r\n";

  // The page's colours as the BODY attributes and hover style give them.
  std::string body = "margin:0";
  auto colour = [](const char* property, const std::string& value) {
    return SafeCssValue(value) ? std::string(";") + property + ":" + value : std::string();
  };
  body += colour("background-color", s.BgColor);
  if (!s.BackPicture.empty()) body += ";background-image:url(\"" + EscapeForCssString(s.BackPicture) + "\")";
  body += colour("color", s.BodyText);
  out += "body{" + body + "}\r\n";
  if (SafeCssValue(s.BodyLink)) out += "a:link,#pomeli.js a[aria-expanded]:not([href]){color:" + s.BodyLink + "}\r\n";
  if (SafeCssValue(s.BodyVlink)) out += "a:visited{color:" + s.BodyVlink + "}\r\n";
  if (SafeCssValue(s.BodyAlink)) out += "a:active{color:" + s.BodyAlink + "}\r\n";
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

  out += "<nav id=\"pomeli\" aria-label=\"" + EscapeForAttribute(label) + "\" data-plus=\"" +
         EscapeForAttribute(s.Plus) + "\" data-minus=\"" + EscapeForAttribute(s.Minus) + "\"";
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
  return out;
}

}  // namespace pomeli2
