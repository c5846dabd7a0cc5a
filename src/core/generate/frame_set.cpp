#include "generate/frame_set.h"

#include "generate/page_items.h"
#include "generate/template_text.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

// Page templates, written with "\n" line ends; {Name} marks a value.
constexpr const char* kHead = R"html(<HTML>
<HEAD>
<META CONTENT="{Generator}" NAME=GENERATOR>
<META HTTP-EQUIV="Content-Type" CONTENT="text/html;charset=shift_jis">
<META NAME="keyword" CONTENT="Pomeli">
<TITLE>{PageTitle}</TITLE>
</HEAD>
)html";

constexpr const char* kTwoPanes = R"html(<FRAMESET COLS="240,*" BORDER="{B}">
 <FRAME SRC="{MenuPage}" NAME="Frame1" SCROLLING="AUTO" MARGINWIDTH="0" MARGINHEIGHT="0"{R}>
 <FRAME SRC="{RightSrc}" NAME="{RightName}" SCROLLING="AUTO" MARGINWIDTH="0" MARGINHEIGHT="0"{R}>
</FRAMESET>
)html";

constexpr const char* kNoFrames = R"html(<NOFRAMES>
<BODY BGCOLOR="#8080C0">
 ＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝
 このページは「フレーム機能」を使用しております。
 このページをご覧いただくには、フレームに対応し
 たブラウザが必要です。
 ＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝＝
</NOFRAMES>
</BODY>
</HTML>
)html";

constexpr const char* kThreePanes = R"html(<FRAMESET ROWS="100,*" BORDER="{B}">

 <FRAME SRC="{TopSrc}" NAME="Frame3" SCROLLING="AUTO" MARGINWIDTH="0" MARGINHEIGHT="0"{R}>

 <FRAMESET COLS="240,*" BORDER="{B}">
  <FRAME SRC="{MenuPage}" NAME="Frame1" SCROLLING="AUTO" MARGINWIDTH="0" MARGINHEIGHT="0"{R}>
 <FRAME SRC="{RightSrc}" NAME="{RightName}" SCROLLING="AUTO" MARGINWIDTH="0" MARGINHEIGHT="0"{R}>
 </FRAMESET>

</FRAMESET>
)html";

constexpr const char* kRightBody = R"html(<BODY BGCOLOR="#50AAFF" TOPMARGIN="0" LEFTMARGIN="0" MARGINWIDTH="0" MARGINHEIGHT="0">
「frameright.html」を表示しています。<BR>
保存したフレームファイルの「&lt;FRAME SRC= &quot;frameright.html&quot;....」で記述されています。
</BODY>
</HTML>
)html";

constexpr const char* kTopBody = R"html(<BODY BGCOLOR="#0080FF" TOPMARGIN="0" LEFTMARGIN="0" MARGINWIDTH="0" MARGINHEIGHT="0">
「frametop.html」を表示しています。<BR>
保存したフレームファイルの「&lt;FRAME SRC= &quot;frametop.html&quot;....」で記述されています。<BR>
</BODY>
</HTML>
)html";

// The template text as CP932 page bytes with CR LF line ends; every page
// names the program that made it.
std::string Page(std::string_view utf8_template, TemplateValues values) {
  values.emplace("Generator", kProductVersion);
  return WithCrLf(Fill(Utf8ToSjis(utf8_template).value(), values));
}

std::string Suffixed(const std::string& title, const char* suffix_utf8) {
  return title.empty() ? "" : title + sj(suffix_utf8);
}

}  // namespace

FrameSetPages BuildFrameSet(const PageSettings& s, int panes, bool resizable) {
  TemplateValues values = {
      {"B", resizable ? "1" : "0"},
      {"R", resizable ? "" : " NORESIZE"},
      {"MenuPage", s.HtmlFileName},
      {"RightSrc", s.FirstPage.empty() ? "frameright.html" : s.FirstPage},
      {"RightName", RightFrameName(s)},
      {"TopSrc", s.FirstTopPage.empty() ? "frametop.html" : s.FirstTopPage},
  };
  FrameSetPages pages;
  values["PageTitle"] = Suffixed(s.Title, "のメイン");
  pages.frame_set = Page(kHead, values) + Page(panes == 2 ? kTwoPanes : kThreePanes, values) + Page(kNoFrames, values);
  values["PageTitle"] = Suffixed(s.Title, "のワークフレーム");
  pages.right = Page(kHead, values) + Page(kRightBody, values);
  if (panes != 2) {
    values["PageTitle"] = Suffixed(s.Title, "のトップ");
    pages.top = Page(kHead, values) + Page(kTopBody, values);
  }
  return pages;
}

bool IsPlaceholderPage(const std::string& bytes, bool top) {
  TemplateValues values = {{"PageTitle", "\x01"}};
  const std::string page = Page(kHead, values) + Page(top ? kTopBody : kRightBody, values);
  const size_t title = page.find('\x01');
  const std::string_view before(page.data(), title), after(page.data() + title + 1, page.size() - title - 1);
  if (bytes.size() < before.size() + after.size() || bytes.compare(0, before.size(), before) != 0 ||
      bytes.compare(bytes.size() - after.size(), after.size(), after) != 0)
    return false;
  // The title is one line of the page.
  std::string_view middle(bytes.data() + before.size(), bytes.size() - before.size() - after.size());
  return middle.find_first_of("\r\n") == std::string_view::npos;
}

bool IsReservedFrameSetName(const std::string& name, const std::string& html_file_name) {
  return name == "frameright.html" || name == "frametop.html" || name == html_file_name;
}

}  // namespace pomeli2
