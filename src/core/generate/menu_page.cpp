#include "generate/menu_page.h"

#include "generate/html5_page.h"
#include "generate/js_text.h"
#include "generate/tree_script.h"
#include "text/catalogue.h"
#include "text/numbers.h"

namespace pomeli2 {
namespace {

// Writes each item's DIV straight into the page: pieces are appended in
// place, so a large menu costs no temporary strings per item.
class PageBuilder {
 public:
  PageBuilder(const PageSettings& s, std::string& out)
      : s_(s), out_(out), numbers_(ReadPageNumbers(s)),
        common_target_(s.RightFrame ? &*s.RightFrame : nullptr) {}

  void Item(const PageItem& item, long long& top) {
    const MenuItem& r = *item.item;
    number_ = item.N();
    Put("<DIV STYLE=\"position:absolute;visibility:", item.top_level ? "visible" : "hidden", ";left:");
    if (item.top_level) {
      top += numbers_.row;
      Put(s_.Left.text());
    } else if (int depth = item.depth; depth > 0) {
      Put(ToText(static_cast<long long>(numbers_.left) + static_cast<long long>(depth - 1) * numbers_.indent));
    }
    Put(";top:", ToText(top), ";font-size:", r.font_size);
    if (const std::string_view css = FontStyleCss(r.style); !css.empty()) Put(";", css);
    if (s_.TextBackOn == 1 && !r.bg_color.empty()) Put(";background-color:", r.bg_color);
    Put("\" ID=\"t", number_, "\">\r\n<NOBR>\r\n");
    if (s_.Unite == 1) UnitedLine(item);
    else SeparateLines(item);
    Put("</NOBR>\r\n</DIV>\r\n\r\n");
  }

 private:
  enum class Anchor { kNone, kLink, kToggle, kToggleWithLink, kPlainLink };

  template <typename... Parts>
  void Put(const Parts&... parts) {
    (out_.append(std::string_view(parts)), ...);
  }

  // Where a link opens, as EffectiveTarget() says.
  const std::string& Target(const MenuItem& r) const { return common_target_ ? *common_target_ : r.target; }

  // The opening tags of an anchor; kNone and a leaf without a link open none.
  // Returns whether an anchor was opened.
  bool Open(Anchor anchor, const PageItem& item) {
    const MenuItem& r = *item.item;
    switch (anchor) {
      case Anchor::kNone: return false;
      case Anchor::kLink:
        if (r.link.empty()) return false;
        Put("<A HREF=\"", r.link, "\" TARGET=\"", Target(r), "\"");
        if (s_.CloseTree == 1 && item.top_level)
          Put(" onClick=\"CloseTree(", number_, ");window.open('", EscapeForHandler(r.link), "','",
              EscapeForHandler(Target(r)), "');return false\"");
        Put(">");
        return true;
      case Anchor::kToggle:
      case Anchor::kToggleWithLink:
        Put("<A HREF=\"", s_.HtmlFileName, "#t", number_, "\" onClick=\"PullDown('", number_, "','", item.End(), "'");
        if (s_.CloseTree == 1) Put(item.top_level ? ",1" : ",0");
        Put(");");
        if (anchor == Anchor::kToggleWithLink) Put("ParentLink('", EscapeForHandler(r.link), "');");
        Put("return false\">");
        return true;
      case Anchor::kPlainLink:
        Put("<A HREF=\"", r.link, "\" TARGET=\"", Target(r), "\">");
        return true;
    }
    return false;
  }
  void Close(bool opened) { Put(opened ? "</A>\r\n" : "\r\n"); }

  void Title(const std::string& title) {
    auto image = SplitImageTitle(title);
    if (!image) {
      Put(title);
      return;
    }
    Put("<IMG SRC=\"", image->path, s_.Unite == 1 ? "\" BORDER=\"0\">" : "\" BORDER=\"0\" ALIGN=\"top\">", image->text);
  }

  void ButtonImg(const PageItem& item) {
    Put("<IMG SRC=\"", ButtonImage(s_, item), "\" NAME=\"i", number_, "\" BORDER=\"0\" ALIGN=\"top\">");
  }

  void SeparateLines(const PageItem& item) {
    const MenuItem& r = *item.item;
    bool opened = Open(item.leaf ? Anchor::kLink : Anchor::kToggle, item);
    ButtonImg(item);
    Close(opened);
    if (item.leaf && !r.link.empty()) {
      if (r.other_window == OtherWindow::kNewWindow)
        Put("<A HREF=\"", r.link, "\" TARGET=\"", s_.OtherwFrame, "\"><IMG SRC=\"", s_.Otherw, "\" BORDER=\"0\"></A>\r\n");
      else if (r.other_window == OtherWindow::kLeaveFrames)
        Put("<A HREF=\"", s_.HtmlFileName, "#t", number_, "\" onclick=\"ChangeTop('", EscapeForHandler(r.link),
            "');return false\"><IMG SRC=\"", s_.Otherw, "\" BORDER=\"0\"></A>\r\n");
    }
    Anchor anchor = Anchor::kToggle;
    if (item.leaf) anchor = Anchor::kLink;
    else if (s_.ParentLink == 1 && !r.link.empty())
      anchor = s_.ParentLinkOn == 1 ? Anchor::kToggleWithLink : Anchor::kPlainLink;
    opened = Open(anchor, item);
    Title(r.title);
    Close(opened);
  }

  void UnitedLine(const PageItem& item) {
    const MenuItem& r = *item.item;
    Anchor anchor = Anchor::kLink;
    if (!item.leaf) anchor = s_.ParentLink == 1 && !r.link.empty() ? Anchor::kToggleWithLink : Anchor::kToggle;
    bool opened = Open(anchor, item);
    ButtonImg(item);
    Title(r.title);
    Close(opened);
  }

  const PageSettings& s_;
  std::string& out_;
  PageNumbers numbers_;
  const std::string* common_target_;  // RightFrame, when it names one
  std::string number_;  // the current item's number
};

}  // namespace

std::vector<UnworkableSetting> FindUnworkableSettings(const PageSettings& s) {
  using P = PageSettings;
  using N = SettingNeed;
  std::vector<UnworkableSetting> found;
  if (!s.Left.IsNumber()) found.push_back({&P::Left, N::kNumber});
  if (!s.Row.IsNumber() || s.Row.value() == 0) found.push_back({&P::Row, N::kPositiveNumber});
  if (!s.Indent.IsNumber() || s.Indent.value() == 0) found.push_back({&P::Indent, N::kPositiveNumber});
  // A step below 1 never ends the closing animation.
  if (s.CloseItems == 1 && (!s.Speed.IsNumber() || s.Speed.value() < 1))
    found.push_back({&P::Speed, N::kPositiveNumber});
  // A colour such as "#12345" (from a file) means nothing to a browser.
  for (std::string P::*field : {&P::BgColor, &P::BodyText, &P::BodyLink, &P::BodyVlink, &P::BodyAlink, &P::BodyHover,
                                &P::BodyHoverBack})
    if (!(s.*field).empty() && !UsableColour(s.*field)) found.push_back({field, N::kColour});
  return found;
}

std::optional<UnworkableSetting> FindUnworkableSetting(const PageSettings& s) {
  std::vector<UnworkableSetting> found = FindUnworkableSettings(s);
  if (found.empty()) return std::nullopt;
  return found.front();
}

namespace {

// A page of the four older modes into `out`. With a sink, `out` is handed
// on and emptied whenever a piece has gathered between two items, and once
// more at the end; false when the sink refused a piece.
bool ComposeLegacyPage(const PageSettings& s, const std::vector<PageItem>& items, const std::string* header,
                       const std::string* footer, std::string& out, const PageSink* sink) {
  constexpr size_t kPiece = 256 * 1024;  // stays in the cache while it is written
  const int last_item = static_cast<int>(items.size());
  out.reserve(sink ? kPiece + 64 * 1024 : 512 + items.size() * 400);
  out += "<HTML>\r\n<HEAD>\r\n<META CONTENT=\"" + std::string(kProductVersion) + "\" NAME=GENERATOR>\r\n"
         "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html;charset=shift_jis\">\r\n"
         "<META NAME=\"keyword\" CONTENT=\"Pomeli\">\r\n";
  out += "<TITLE>" + s.Title + "</TITLE>\r\n\r\n";
  if (!s.BodyHover.empty() || !s.BodyHoverBack.empty()) {
    std::string decl;
    if (!s.BodyHover.empty()) decl = "color:" + s.BodyHover;
    if (!s.BodyHoverBack.empty()) decl += (decl.empty() ? "" : ";") + std::string("background-color:") + s.BodyHoverBack;
    out += "<style TYPE=\"text/css\">\r\n<!--\r\nA:hover {" + decl + "}\r\n-->\r\n</style>\r\n\r\n";
  }
  out += TreeScript(s, items, last_item);
  out += "</HEAD>\r\n<BODY";
  const std::pair<const char*, const std::string*> attrs[] = {
      {" BGCOLOR=\"", &s.BgColor},    {" TEXT=\"", &s.BodyText},   {" LINK=\"", &s.BodyLink},
      {" VLINK=\"", &s.BodyVlink},    {" ALINK=\"", &s.BodyAlink}, {" BACKGROUND=\"", &s.BackPicture},
  };
  for (const auto& [name, value] : attrs)
    if (!value->empty()) out += name + *value + "\"";
  out += " TOPMARGIN=\"0\" LEFTMARGIN=\"0\" MARGINWIDTH=\"0\" MARGINHEIGHT=\"0\"";
  bool open_on_load = false;
  for (const PageItem& item : items) open_on_load = open_on_load || item.OpenOnLoad();
  if (open_on_load) out += " onLoad=\"OpenTree()\"";
  out += ">\r\n";
  if (header) out += *header;
  out += "<IMG SRC=\"" + std::string(kScrollImage) + "\" BORDER=\"0\">\r\n\r\n";

  PageBuilder builder(s, out);
  long long top = static_cast<long long>(s.Start.value()) - s.Row.value();
  for (const PageItem& item : items) {
    builder.Item(item, top);
    if (sink && out.size() >= kPiece) {
      if (!(*sink)(out)) return false;
      out.clear();
    }
  }

  if (footer) out += *footer;
  out += "</BODY>\r\n</HTML>\r\n";
  return !sink || (*sink)(out);
}

}  // namespace

std::string BuildMenuPage(const PageSettings& s, const MenuTree& tree, const std::string* header,
                          const std::string* footer) {
  const std::vector<PageItem> items = CollectPageItems(tree);
  if (s.Browser.mode == PageMode::kHtml5) return BuildHtml5Page(s, items, header, footer);
  std::string out;
  ComposeLegacyPage(s, items, header, footer, out, nullptr);
  return out;
}

bool StreamMenuPage(const PageSettings& s, const MenuTree& tree, const std::string* header, const std::string* footer,
                    const PageSink& sink) {
  const std::vector<PageItem> items = CollectPageItems(tree);
  if (s.Browser.mode == PageMode::kHtml5) return StreamHtml5Page(s, items, header, footer, sink);
  std::string out;
  return ComposeLegacyPage(s, items, header, footer, out, &sink);
}

}  // namespace pomeli2
