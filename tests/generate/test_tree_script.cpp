#include "generate/page_fixture.h"

namespace pomeli2::testing {
namespace {

class ScriptTest : public PageTest {
 protected:
  // Top-level branch A (children A1, A2), leaf B, branch C (child C1).
  void Menu() {
    NodeId a = Add(Root(), ItemCells("A"));
    Add(a, ItemCells("A1", "a1.html"));
    Add(a, ItemCells("A2", "a2.html"));
    Add(Root(), ItemCells("B", "b.html"));
    NodeId c = Add(Root(), ItemCells("C"));
    Add(c, ItemCells("C1", "c1.html"));
  }
  std::string ScriptOf(const std::string& name = "script") { return Script(Page(name)); }
  void SetOpen(NodeId item, const char* value) { EditorAccess::Model(e).tree.MutableItem(item).open = value; }
};

TEST_F(ScriptTest, DefaultsGiveOnlyPullDown) {
  Menu();
  std::string script = ScriptOf();
  EXPECT_NE(script.find("*/\r\n\r\nfunction PullDown(Start,End)\r\n{\r\n\tlastitem = 6;\r\n\tCount=0;\r\n"
                        "\ti = parseInt(Start) + 1;\r\n\tif (document.layers) {\r\n"),
            std::string::npos);
  for (const char* absent : {"var ", "ParentLink(", "ChangeTop(", "OpenTree(", "ResetPosition(", "CloseItems("})
    EXPECT_EQ(script.find(absent), std::string::npos) << absent;
  EXPECT_TRUE(script.ends_with("\t}\r\n}\r\n// -->\r\n</SCRIPT>\r\n"));
}

TEST_F(ScriptTest, CloseTreeWithoutAnimation) {
  Menu();
  S().CloseTree = 1;
  std::string script = ScriptOf();
  EXPECT_NE(script.find("*/\r\n\r\nvar IdNo;\r\n\r\nfunction ResetPosition(Start,Id,End)\r\n{\r\n\ti = 0;\r\n"
                        "\tif (IdNo != Start) {\r\n"),
            std::string::npos);
  EXPECT_NE(script.find("function CloseTree(Flag)\r\n{\r\n\tif (Flag!=0) IdNo=Flag;\r\n"
                        "\tResetPosition(\"1\",\"2\",\"3\");\r\n\tResetPosition(\"5\",\"6\",\"6\");\r\n}\r\n\r\n"
                        "function PullDown(Start,End,Flag)\r\n{\r\n\tif (Flag==1) {\r\n\t\tIdNo = Start;\r\n"
                        "\t\tCloseTree(0);\r\n\t}\r\n\tlastitem = 6;"),
            std::string::npos);
  EXPECT_EQ(script.find("CloseItems"), std::string::npos);
}

TEST_F(ScriptTest, CloseItemsWithoutCloseTree) {
  Menu();
  S().CloseItems = 1;
  std::string script = ScriptOf();
  EXPECT_NE(script.find("*/\r\n\r\nfunction CloseItems()\r\n{\r\n\tj = 0;\r\n"), std::string::npos);
  EXPECT_NE(script.find("\t}\r\n}\r\n\r\nfunction PullDown(Start,End)\r\n"), std::string::npos);
  for (const char* absent : {"var ", "ResetPosition", "Flag"}) EXPECT_EQ(script.find(absent), std::string::npos) << absent;
}

TEST_F(ScriptTest, AnimationDeclaresItsTimer) {
  Menu();
  S().CloseTree = 1;
  S().CloseItems = 1;
  EXPECT_NE(ScriptOf().find("*/\r\n\r\nvar CurId;\r\n\r\nvar CurStart;\r\n\r\nvar CurEnd;\r\n\r\nvar CurPos;\r\n\r\n"
                            "var TimeoutId;\r\n\r\nfunction ResetPosition"),
            std::string::npos);
}

TEST_F(ScriptTest, OpenTreeCallsTopLevelBranchesOnly) {
  Menu();
  MenuModel& m = EditorAccess::Model(e);
  NodeId a = m.tree.FirstChild(Root());
  NodeId b = m.tree.NextSibling(a);
  NodeId c = m.tree.NextSibling(b);
  SetOpen(a, "1");
  SetOpen(b, "1");  // a leaf: nothing to open
  SetOpen(c, "1");
  std::string page = Page("open");
  EXPECT_NE(page.find("function OpenTree()\r\n{\r\n\tPullDown('1','3');\r\n\tPullDown('5','6');\r\n}\r\n\r\n"),
            std::string::npos);
  EXPECT_NE(page.find("MARGINHEIGHT=\"0\" onLoad=\"OpenTree()\">"), std::string::npos);
  S().CloseTree = 1;
  EXPECT_NE(ScriptOf().find("function OpenTree()\r\n{\r\n\tPullDown('1','3',1);\r\n}\r\n"), std::string::npos);

  SetOpen(a, "0");
  SetOpen(c, "0");
  page = Page("open");
  EXPECT_EQ(page.find("OpenTree"), std::string::npos) << "an open leaf alone gives no OpenTree";
}

TEST_F(ScriptTest, ParentLinkAndChangeTopFunctions) {
  Menu();
  S().ParentLink = 1;
  EXPECT_EQ(ScriptOf().find("function ParentLink"), std::string::npos);
  S().ParentLinkOn = 1;
  EXPECT_NE(ScriptOf().find("function ParentLink(PLink)\r\n{\r\n\twindow.open(PLink,\"Frame2\");\r\n}\r\n\r\n"),
            std::string::npos);
  S().ParentLinkOn = 0;
  S().Unite = 1;
  S().RightFrame = "Right";
  EXPECT_NE(ScriptOf().find("\twindow.open(PLink,\"Right\");\r\n"), std::string::npos);

  EXPECT_EQ(ScriptOf().find("ChangeTop"), std::string::npos);
  Add(Root(), ItemCells("D", "", "2"));  // even without a link
  EXPECT_NE(ScriptOf().find("function ChangeTop(TopURL)\r\n{\r\n\ttop.location=TopURL;\r\n}\r\n\r\n"),
            std::string::npos);
}

TEST_F(ScriptTest, SpeedRowAndIndentAreDecimalValues) {
  Menu();
  S().CloseTree = 1;
  S().CloseItems = 1;
  S().Speed = "12";
  S().Row = "010";
  S().Indent = "020";
  std::string script = ScriptOf();
  EXPECT_EQ(Count(script, "- 12;"), 3u);
  EXPECT_EQ(Count(script, "Pos = Pos + 10;"), 3u);
  EXPECT_EQ(Count(script, "+ 20) {"), 6u);
  EXPECT_EQ(script.find("010"), std::string::npos);
  for (const char* mode : {"IE4-5 Only", "NN4 Only", "NN6 Only"}) {
    S().Browser = PageModeFromString(mode);
    EXPECT_EQ(Count(ScriptOf(), "- 12;"), 1u) << mode;
  }
}

TEST_F(ScriptTest, UnknownBrowserTakesTheCombinedForm) {
  Menu();
  S().CloseTree = 1;
  std::string combined = ScriptOf();
  S().Browser = PageModeFromString("Lynx");
  EXPECT_EQ(ScriptOf(), combined);
}

TEST_F(ScriptTest, ImageNamesAreEscapedForScriptStrings) {
  Menu();
  S().Minus = "img\\minus \"1\".gif";
  S().Plus = sj("表\\plus.gif");  // 表 ends in byte 0x5C
  std::string script = ScriptOf();
  EXPECT_NE(script.find(".src = \"img\\\\minus \\\"1\\\".gif\";"), std::string::npos);
  EXPECT_NE(script.find(".src = \"" + sj("表") + "\\\\plus.gif\";"), std::string::npos);
}

TEST_F(ScriptTest, HandlerValuesAreEscaped) {
  S().CloseTree = 1;
  S().ParentLink = 1;
  S().ParentLinkOn = 1;
  Add(Root(), ItemCells("q", "it's \"x\".html"));
  NodeId p = Add(Root(), ItemCells("p", sj("ソ\\a.html")));
  Add(p, ItemCells("c", "c\\d.html", "2"));
  std::string items = Items(Page("escape"));
  EXPECT_NE(items.find("<A HREF=\"it's \"x\".html\" TARGET=\"Frame2\" onClick=\"CloseTree(1);window.open("
                       "'it\\'s &quot;x&quot;.html','Frame2');return false\">"),
            std::string::npos);
  EXPECT_NE(items.find("ParentLink('" + sj("ソ") + "\\\\a.html');return false\">p</A>"), std::string::npos);
  EXPECT_NE(items.find("onclick=\"ChangeTop('c\\\\d.html');return false\""), std::string::npos);
}

TEST_F(ScriptTest, PagesThatCannotWorkAreRefused) {
  Menu();
  WriteFile(dir / "refuse.html", "old page");
  struct Case {
    NumberText PageSettings::*field;
    const char* value;
    const char* label;
  } cases[] = {
      {&PageSettings::Left, "", "左位置"},     {&PageSettings::Left, "1x", "左位置"},
      {&PageSettings::Row, "0", "行間"},       {&PageSettings::Row, "", "行間"},
      {&PageSettings::Indent, "00", "インデント"}, {&PageSettings::Indent, "a", "インデント"},
  };
  for (const auto& c : cases) {
    PageSettings saved = S();
    S().*c.field = c.value;
    host.messages.clear();
    EXPECT_EQ(Write("refuse"), Document::PageWrite::kRefused) << c.label << " " << c.value;
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(std::string("「") + c.label + "」"), std::string::npos);
    EXPECT_EQ(host.messages[0].title, "入力エラー");
    S() = saved;
  }
  S().Speed = "0";
  EXPECT_EQ(Write("refuse"), Document::PageWrite::kWritten) << "Speed only matters with the animation";
  WriteFile(dir / "refuse.html", "old page");
  S().CloseItems = 1;
  EXPECT_EQ(Write("refuse"), Document::PageWrite::kRefused);
  EXPECT_NE(host.messages.back().text.find("ツリーを畳むスピード"), std::string::npos);
  EXPECT_EQ(ReadFile(dir / "refuse.html"), "old page");
  S().Speed = "-3";  // the animation would never end
  EXPECT_EQ(Write("refuse"), Document::PageWrite::kRefused);
  S().Speed = "1";
  S().Left = "-5";
  S().Row = "-20";
  EXPECT_EQ(Write("refuse"), Document::PageWrite::kWritten);
}

}  // namespace
}  // namespace pomeli2::testing
