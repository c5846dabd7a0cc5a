// The "HTML5" browser mode. How the pages behave is tested in the browsers;
// here: their exact bytes, and that no stored value breaks out of its place.
#include "generate/html5_values.h"
#include "generate/menu_page.h"
#include "generate/page_fixture.h"
#include "text/sjis.h"

namespace pomeli2::testing {
namespace {

TEST_F(PageTest, Html5GoldenPages) {
  for (const char* project : {"html5-all", "html5-unite", "html5-frames", "html5-site"}) {
    SCOPED_TRACE(project);
    Load(project);
    if (!S().BodyHeader.empty()) {
      S().BodyHeader = std::string(POMELI2_TEST_DATA) + "/pages/" + S().BodyHeader;
      S().BodyFooter = std::string(POMELI2_TEST_DATA) + "/pages/" + S().BodyFooter;
    }
    std::string page = Page(project);
    ExpectGolden(std::string("pages/") + project + ".html", page);
    EXPECT_EQ(Page(project), page) << "writing twice gives the same bytes";
    EXPECT_EQ(Count(page, "<ul>"), Count(page, "</ul>"));
    EXPECT_EQ(Count(page, "<li>"), Count(page, "</li>"));
  }
  EXPECT_TRUE(host.messages.empty());
}

// Groups close where their branch's subtree ends, also at the end of the
// menu; a branch link opens the right frame only when its click also opens
// the branch; the animation is written without one-tree-at-a-time.
TEST_F(PageTest, Html5ListsAndOptions) {
  S().Browser.mode = PageMode::kHtml5;
  S().ParentLink = 1;
  S().CloseItems = 1;
  S().Speed = "7";
  S().RightFrame = "Side";
  S().Row = "30";
  NodeId a = Add(Root(), ItemCells("A", "a.html"));
  NodeId b = Add(a, ItemCells("B"));
  NodeId c = Add(b, ItemCells("C"));
  Add(c, ItemCells("D", "d.html", "1"));
  std::string page = Page("lists");
  EXPECT_NE(page.find("<li><a class=\"f1\" id=\"t1\" href=\"a.html\" target=\"Side\">"), std::string::npos);
  EXPECT_NE(page.find("D</a><a class=\"x\" href=\"d.html\" target=\"OtherW\""), std::string::npos);
  EXPECT_NE(page.find("</a></li>\r\n</ul></li>\r\n</ul></li>\r\n</ul></li>\r\n</ul>\r\n</nav>"), std::string::npos);
  EXPECT_NE(page.find("data-minus=\"minus.gif\" data-speed=\"7\" data-version=\""), std::string::npos);
  EXPECT_NE(page.find("min-height:30px;"), std::string::npos);

  S().ParentLinkOn = 1;
  S().Unite = 1;
  S().Row = "16";
  page = Page("lists");
  EXPECT_NE(page.find("data-speed=\"7\" data-link-toggles data-unite data-version=\""), std::string::npos);
  EXPECT_EQ(page.find("class=\"x\""), std::string::npos) << "no other buttons with Unite";
  EXPECT_NE(page.find("min-height:24px;"), std::string::npos) << "never below the target size";
}

TEST_F(PageTest, Html5ValuesStayInTheirPlaces) {
  S().Browser.mode = PageMode::kHtml5;
  S().BgColor = "red}body{display:none";
  S().BodyLink = "#0000FF";
  S().BackPicture = "a\"b</style>\\" + std::string("\x95\x5C.gif");  // 表: its second byte is no backslash
  S().Plus = "p\".gif";
  S().Title = "";
  MenuItem row = ItemCells("x", "q\".html");
  row.font_size = "10pt;color:red";
  row.target = "t\"";
  Add(Root(), row);
  // The save refuses a colour that is none; the writer itself still keeps
  // such a value out of the style sheet.
  EXPECT_EQ(Write("values"), Document::PageWrite::kRefused);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "「背景色」の値ではメニューが動かないため、HTMLを書き出せません。\n"
                                   "色は「#」に続けて16進数6桁で入力してください。");
  std::string page = BuildMenuPage(S(), e.Model().tree, nullptr, nullptr);
  EXPECT_EQ(page.find("red}"), std::string::npos);
  EXPECT_NE(page.find("body{margin:0;background-image:url(\"a%22b%3C/style%3E/%E8%A1%A8.gif\");color:#000000}"),
            std::string::npos);
  EXPECT_NE(page.find("<a class=\"f1 i1\" href=\"q%22.html\" target=\"t&quot;\">"), std::string::npos);
  EXPECT_NE(page.find("#pomeli .f1{}"), std::string::npos) << "the size was not a size";
  EXPECT_NE(page.find("data-plus=\"p%22.gif\""), std::string::npos);
  EXPECT_NE(page.find("<title>メニュー</title>"), std::string::npos) << "a page needs a title";
}

// The stored values an item's look is made of, set in one place.
MenuItem WithLook(MenuItem item, const std::string& font_size, const std::string& background) {
  item.font_size = font_size;
  item.bg_color = background;
  return item;
}

// The page is UTF-8 whatever the project's Shift-JIS: texts converted, link
// paths percent-encoded as UTF-8, queries as the Shift-JIS page sent them.
TEST_F(PageTest, Html5PageIsUtf8) {
  S().Browser.mode = PageMode::kHtml5;
  S().Title = sj("案内");
  S().BackPicture = sj("背景.gif");
  Add(Root(), ItemCells(sj("製品") + "\x80", sj("製品/一覧.html?種類=本#上")));
  std::string page = Page("utf8");
  EXPECT_EQ(page.find("<!DOCTYPE html>\r\n<html lang=\"ja\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"), 0u);
  EXPECT_NE(page.find("<title>案内</title>"), std::string::npos);
  EXPECT_NE(page.find("aria-label=\"案内\""), std::string::npos);
  EXPECT_NE(page.find("url(\"%E8%83%8C%E6%99%AF.gif\")"), std::string::npos);
  EXPECT_NE(page.find("href=\"%E8%A3%BD%E5%93%81/%E4%B8%80%E8%A6%A7.html?%8E%ED%97%DE=%96%7B#%E4%B8%8A\""),
            std::string::npos);
  EXPECT_NE(page.find(">製品\uFFFD</a>"), std::string::npos) << "a byte that is no CP932 shows as U+FFFD";
  // Valid UTF-8 throughout: without the one replacement character, every
  // character is one that CP932 holds.
  page.erase(page.find("\uFFFD"), 3);
  EXPECT_TRUE(Utf8ToSjis(page));
}

// Values with which the page would not conform are mended or left out.
TEST_F(PageTest, Html5MendsOrLeavesOutAuthorValues) {
  S().Browser.mode = PageMode::kHtml5;
  S().Title = sj("　 　");
  S().TextBackOn = 1;
  S().Indent = "-4";
  S().Start = "-3";
  S().Row = "99999999999";
  S().Otherw = " ";
  S().OtherwFrame = "_Side";
  Add(Root(), WithLook(ItemCells(sj("file::文字"), "dir\\a b.htm", "1"), "-4pt", "#12345"));
  Add(Root(), WithLook(ItemCells("file:pic\\x.gif", "\\\\server\\share\\n.htm"), "12", "#ccc"));
  // The save refuses the incomplete colour; the writer leaves it out.
  EXPECT_EQ(Write("mended"), Document::PageWrite::kRefused);
  std::string page = BuildMenuPage(S(), e.Model().tree, nullptr, nullptr);
  EXPECT_NE(page.find("<title>メニュー</title>"), std::string::npos) << "a blank title is none";
  EXPECT_NE(page.find("#pomeli ul{list-style:none;margin:0;padding:0;padding-inline-start:0px}"), std::string::npos);
  EXPECT_NE(page.find("#pomeli>ul{margin:0px 0 0;margin-inline-start:10px;"), std::string::npos) << "the menu stays in sight";
  EXPECT_NE(page.find("min-height:10000px;"), std::string::npos);
  EXPECT_NE(page.find("#pomeli .f1{}\r\n#pomeli .f2{font-size:12px;background-color:#ccc}"), std::string::npos);
  // An image title without a file name is its text alone.
  EXPECT_NE(page.find("<li><a class=\"f1 i1\" href=\"dir/a%20b.htm\" target=\"Frame2\">文字</a>"
                      "<a class=\"x\" href=\"dir/a%20b.htm\" target=\"_blank\" title=\"別ウインドウで開く\">"
                      "<span class=\"n\">別ウインドウで開く</span></a></li>"),
            std::string::npos);
  EXPECT_NE(page.find("<a class=\"f2 i1\" href=\"//server/share/n.htm\" target=\"Frame2\">"
                      "<img src=\"pic/x.gif\" alt=\"x.gif\"></a>"),
            std::string::npos);
  EXPECT_EQ(page.find("src=\"\""), std::string::npos);
  EXPECT_EQ(page.find("url(\"\")"), std::string::npos);
}

// The leaves' buttons are drawn by the style sheet, one rule per picture;
// a leaf without a picture has no class for one.
TEST_F(PageTest, Html5LeafButtonsAreDrawnByTheStyleSheet) {
  S().Browser.mode = PageMode::kHtml5;
  S().Linkto = "";
  NodeId branch = Add(Root(), ItemCells("B"));
  MenuItem own = ItemCells("Own", "o.html");
  own.icon = "icons\\o\".gif";
  Add(branch, own);
  Add(branch, ItemCells("Standard", "s.html"));
  own.icon = " ";
  Add(Root(), own);
  std::string page = Page("icons");
  EXPECT_NE(page.find("#pomeli .i1::before{content:url(\"icons/o%22.gif\");content:url(\"icons/o%22.gif\") / \"\"}\r\n"
                      "#pomeli .i2::before{content:url(\"linkto.gif\");content:url(\"linkto.gif\") / \"\"}\r\n</style>"),
            std::string::npos);
  EXPECT_NE(page.find("<li><a class=\"f1\" id=\"t1\"><img src=\"plus.gif\" alt=\"\">B</a>"), std::string::npos);
  EXPECT_NE(page.find("<li><a class=\"f1 i1\" href=\"o.html\" target=\"Frame2\">Own</a></li>\r\n"
                      "<li><a class=\"f1 i2\" href=\"s.html\" target=\"Frame2\">Standard</a></li>\r\n"
                      "</ul></li>\r\n<li><a class=\"f1\" href=\"o.html\" target=\"Frame2\">Own</a></li>"),
            std::string::npos);
  EXPECT_EQ(Count(page, "<img "), 1u) << "only the branch's button";
}

// An item whose title shows no text is named by its button's alt (a branch),
// else by a hidden text: its link's file name, else "(無題)". A branch
// without a link has no href, so no aria-label either.
TEST_F(PageTest, Html5NamesItemsThatShowNoText) {
  S().Browser.mode = PageMode::kHtml5;
  S().ParentLink = 1;
  NodeId branch = Add(Root(), ItemCells("<b> </b>"));
  Add(branch, ItemCells("", "docs\\a&b.html?x=1"));
  Add(branch, ItemCells(sj("　")));
  Add(branch, ItemCells("<img src=\"logo.gif\" alt=\"Logo\">", "l.html"));
  NodeId linked = Add(Root(), ItemCells("&nbsp;", "http://example.com/docs/"));
  Add(linked, ItemCells("file:pic.gif", "p.html"));
  std::string page = Page("names");
  EXPECT_NE(page.find("<a class=\"f1\" id=\"t1\"><img src=\"plus.gif\" alt=\"(無題)\"><b> </b></a>"),
            std::string::npos);
  EXPECT_NE(page.find(" href=\"docs/a&amp;b.html?x=1\" target=\"Frame2\"><span class=\"n\">a&amp;b.html</span></a>"),
            std::string::npos);
  EXPECT_NE(page.find("><span class=\"n\">(無題)</span>　</a>"), std::string::npos);
  EXPECT_NE(page.find(" href=\"l.html\" target=\"Frame2\"><img src=\"logo.gif\" alt=\"Logo\"></a>"), std::string::npos);
  EXPECT_NE(page.find("href=\"http://example.com/docs/\" target=\"Frame2\"><img src=\"plus.gif\" alt=\"docs\">&nbsp;</a>"),
            std::string::npos);
  EXPECT_NE(page.find(" href=\"p.html\" target=\"Frame2\"><img src=\"pic.gif\" alt=\"pic.gif\"></a>"),
            std::string::npos);
  EXPECT_EQ(page.find("aria-label=\"(無題)\""), std::string::npos);

  // Without a button picture the name is a text that only a reader sees,
  // and the script leaves the missing button alone.
  S().Plus = "";
  S().Minus = "";
  page = Page("names");
  EXPECT_NE(page.find("<a class=\"f1\" id=\"t1\"><span class=\"n\">(無題)</span><b> </b></a>"), std::string::npos);
  EXPECT_NE(page.find("data-plus=\"\" data-minus=\"\""), std::string::npos);
  S().Minus = "m.gif";
  EXPECT_NE(Page("names").find("data-plus=\"\" data-minus=\"m.gif\""), std::string::npos);
  S().Plus = "p.gif";
  S().Minus = "";
  EXPECT_NE(Page("names").find("data-plus=\"p.gif\" data-minus=\"p.gif\""), std::string::npos)
      << "a branch without a picture for open keeps its button";
}

// The page settings of this mode alone: language and direction on the
// html element, the filter box and the dark palette only when asked for,
// and a version of the menu that follows its items.
TEST_F(PageTest, Html5LanguageDirectionFilterAndDarkPalette) {
  S().Browser.mode = PageMode::kHtml5;
  S().TextBackOn = 1;
  S().BodyText = "#333333";
  S().BgColor = "#FFFFFF";
  Add(Root(), WithLook(ItemCells("A", "a.html"), "10pt", "#FFFFCC"));
  std::string page = Page("settings");
  EXPECT_EQ(page.find("<!DOCTYPE html>\r\n<html lang=\"ja\">"), 0u);
  EXPECT_EQ(page.find("data-filter"), std::string::npos);
  EXPECT_EQ(page.find("prefers-color-scheme"), std::string::npos);
  const size_t at = page.find("data-version=\"");
  ASSERT_NE(at, std::string::npos);
  const std::string version = page.substr(at, 23);

  S().Lang = "ar-EG";
  S().Dir = "RTL";
  S().Filter = 1;
  S().Dark = 1;
  page = Page("settings");
  EXPECT_EQ(page.find("<!DOCTYPE html>\r\n<html lang=\"ar-EG\" dir=\"rtl\">"), 0u);
  EXPECT_NE(page.find(" data-filter data-version=\""), std::string::npos);
  EXPECT_NE(page.find(version), std::string::npos) << "the same items, the same version";
  // Light: the author's colours; dark: shades of them.
  EXPECT_NE(page.find("body{margin:0;background-color:#FFFFFF;color:#333333}"), std::string::npos);
  EXPECT_NE(page.find("@media (prefers-color-scheme:dark){\r\nbody{background-color:#303030;background-image:none;"
                      "color:#A3A3A3}"), std::string::npos);
  EXPECT_NE(page.find("#pomeli .f1{background-color:#303026}"), std::string::npos);

  Add(Root(), ItemCells("B", "b.html"));
  EXPECT_EQ(Page("settings").find(version), std::string::npos) << "another item, another version";
  for (const char* bad : {"", "j", "ja_JP", "ja-", "en--US", "e1", "ja-toolongsubtag"}) EXPECT_EQ(Html5Lang(bad), "ja") << bad;
  EXPECT_EQ(Html5Lang("zh-Hant-TW"), "zh-Hant-TW");
}

}  // namespace
}  // namespace pomeli2::testing
