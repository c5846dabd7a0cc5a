// The "HTML5" browser mode. How the pages behave is tested in the browsers;
// here: their exact bytes, and that no stored value breaks out of its place.
#include "generate/menu_page.h"
#include "generate/page_fixture.h"
#include "text/sjis.h"

namespace pomeli2::testing {
namespace {

TEST_F(PageTest, Html5GoldenPages) {
  for (const char* project : {"html5-all", "html5-unite", "html5-frames"}) {
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
  S().Browser = kHtml5Browser;
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
  EXPECT_NE(page.find("data-minus=\"minus.gif\" data-speed=\"7\">"), std::string::npos);
  EXPECT_NE(page.find("min-height:30px;"), std::string::npos);

  S().ParentLinkOn = 1;
  S().Unite = 1;
  S().Row = "16";
  page = Page("lists");
  EXPECT_NE(page.find("data-speed=\"7\" data-link-toggles data-unite>"), std::string::npos);
  EXPECT_EQ(page.find("class=\"x\""), std::string::npos) << "no other buttons with Unite";
  EXPECT_NE(page.find("min-height:24px;"), std::string::npos) << "never below the target size";
}

TEST_F(PageTest, Html5ValuesStayInTheirPlaces) {
  S().Browser = kHtml5Browser;
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
  EXPECT_NE(page.find("body{margin:0;background-image:url(\"a\\\"b\\3c /style>\\\\\x95\x5C.gif\");color:#000000}"),
            std::string::npos);
  EXPECT_NE(page.find("<a class=\"f1\" href=\"q&quot;.html\" target=\"t&quot;\">"), std::string::npos);
  EXPECT_NE(page.find("#pomeli .f1{}"), std::string::npos) << "the size was not a size";
  EXPECT_NE(page.find("data-plus=\"p&quot;.gif\""), std::string::npos);
  EXPECT_NE(page.find("<title>" + sj("メニュー") + "</title>"), std::string::npos) << "a page needs a title";
}

}  // namespace
}  // namespace pomeli2::testing
