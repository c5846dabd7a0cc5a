#include "model/page_settings.h"
#include "model/menu_item.h"

#include "text/ascii.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2 {

const std::string& UntitledProject() { return sj("無題.pml"); }
const std::string& UntitledHtml() { return sj("無題.html"); }

PageSettings PageSettings::Initial() {
  PageSettings s;
  s.Title = sj(kHomePageTitle);
  s.BgColor = "#4099FF";
  s.Start = "10";
  s.Left = "10";
  s.Row = "16";
  s.Indent = "20";
  s.BodyText = "#000000";
  s.BodyLink = "#0000FF";
  s.BodyVlink = "#8000FF";
  s.BodyAlink = "#0000A0";
  s.Plus = kPlusImage;
  s.Minus = kMinusImage;
  s.Linkto = kLinktoImage;
  s.Otherw = kOtherwImage;
  s.OtherwFrame = "OtherW";
  s.Speed = "5";
  s.TreeBgColor = 16777215;
  s.TreeItemColor = 0;
  s.ProjectPath = UntitledProject();
  s.HtmlFileName = UntitledHtml();
  s.Path = "pomeli2.html";
  s.NewBgColor = kNewItemBgColor;
  s.NewStyle = kNewItemStyle;
  s.NewFontSize = kNewItemFontSize;
  s.NewTarget = kNewItemTarget;
  return s;
}

void PageSettings::ResetForNew() {
  Title = sj(kHomePageTitle);
  BgColor = "#FFFFFF";
  BackPicture.clear();
  ProjectPath = UntitledProject();
  HtmlFileName = UntitledHtml();
  Path = "pomeli2.html";
  NewBgColor = "#FFFFFF";
  NewStyle = kNewItemStyle;
  NewFontSize = kNewItemFontSize;
  Filter = 1;
  Site.clear();
}

bool PageSettings::RightToLeft() const {
  return EqualIgnoringAsciiCase(Dir, "rtl");
}

MenuItem NewItemValues(const PageSettings& s) {
  MenuItem item;
  item.bg_color = s.NewBgColor;
  item.style = s.NewStyle;
  item.font_size = s.NewFontSize;
  item.other_window = s.NewOtherButton;
  item.target = s.NewTarget;
  item.icon = kLinktoImage;
  item.open = "0";
  return item;
}

}  // namespace pomeli2
