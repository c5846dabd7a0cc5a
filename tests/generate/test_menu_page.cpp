#include <filesystem>
#include <functional>

#include "generate/menu_page.h"
#include "generate/page_fixture.h"
#include "io/file_faults.h"
#include "support/file_size_limit.h"

namespace pomeli2::testing {
namespace {

// Lines joined with CR LF, each line ending in one.
std::string Lines(std::initializer_list<const char*> lines) {
  std::string out;
  for (const char* l : lines) out += std::string(l) + "\r\n";
  return out;
}

TEST_F(PageTest, ProductsToolsContactExample) {
  Load("example");
  std::string page = Page("pomeli2");
  EXPECT_EQ(Items(page),
            Lines({"<DIV STYLE=\"position:absolute;visibility:visible;left:10;top:10;font-size:10pt\" ID=\"t1\">",
                   "<NOBR>",
                   "<A HREF=\"pomeli2.html#t1\" onClick=\"PullDown('1','2');return false\"><IMG SRC=\"plus.gif\" "
                   "NAME=\"i1\" BORDER=\"0\" ALIGN=\"top\"></A>",
                   "<A HREF=\"pomeli2.html#t1\" onClick=\"PullDown('1','2');return false\">Products</A>",
                   "</NOBR>", "</DIV>", "",
                   "<DIV STYLE=\"position:absolute;visibility:hidden;left:30;top:10;font-size:10pt\" ID=\"t2\">",
                   "<NOBR>",
                   "<A HREF=\"tools.html\" TARGET=\"Frame2\"><IMG SRC=\"linkto.gif\" NAME=\"i2\" BORDER=\"0\" "
                   "ALIGN=\"top\"></A>",
                   "<A HREF=\"tools.html\" TARGET=\"Frame2\">Tools</A>", "</NOBR>", "</DIV>", "",
                   "<DIV STYLE=\"position:absolute;visibility:visible;left:10;top:26;font-size:10pt\" ID=\"t3\">",
                   "<NOBR>",
                   "<A HREF=\"contact.html\" TARGET=\"Frame2\"><IMG SRC=\"linkto.gif\" NAME=\"i3\" BORDER=\"0\" "
                   "ALIGN=\"top\"></A>",
                   "<A HREF=\"contact.html\" TARGET=\"Frame2\">Contact</A>", "</NOBR>", "</DIV>", ""}));
  ExpectGolden("pages/example.html", page);
}

// One golden page per browser mode with every option that changes the
// script, and pages for the other option combinations.
TEST_F(PageTest, GoldenPages) {
  for (const char* project : {"options-all", "options-ie", "options-nn4", "options-nn6", "closetree-all", "escapes"}) {
    SCOPED_TRACE(project);
    Load(project);
    std::string page = Page(project);
    ExpectGolden(std::string("pages/") + project + ".html", page);
    EXPECT_EQ(Page(project), page) << "writing twice gives the same bytes";
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(PageTest, HeadHoverStyleAndBody) {
  Add(Root(), ItemCells("A", "a.html"));
  S().Title = "T&\"";
  S().BodyHover = "#FF0000";
  S().BodyHoverBack = "#FFFF00";
  S().BackPicture = "back.gif";
  S().BodyLink = "";
  std::string page = Page("head");
  EXPECT_NE(page.find("<TITLE>T&\"</TITLE>\r\n\r\n<style TYPE=\"text/css\">\r\n<!--\r\n"
                      "A:hover {color:#FF0000;background-color:#FFFF00}\r\n-->\r\n</style>\r\n\r\n<SCRIPT"),
            std::string::npos);
  EXPECT_NE(page.find("<BODY BGCOLOR=\"#4099FF\" TEXT=\"#000000\" VLINK=\"#8000FF\" ALINK=\"#0000A0\" "
                      "BACKGROUND=\"back.gif\" TOPMARGIN=\"0\" LEFTMARGIN=\"0\" MARGINWIDTH=\"0\" MARGINHEIGHT=\"0\">\r\n"
                      "<IMG SRC=\"scroll.gif\" BORDER=\"0\">\r\n\r\n<DIV"),
            std::string::npos);
  S().BodyHover = "";
  EXPECT_NE(Page("head").find("A:hover {background-color:#FFFF00}"), std::string::npos);
  S().BodyHoverBack = "";
  EXPECT_EQ(Page("head").find("<style"), std::string::npos);
}

TEST_F(PageTest, Geometry) {
  S().Left = "010";
  S().Start = "10";
  S().Row = "16";
  S().Indent = "20";
  Add(Root(), ItemCells("one"));
  NodeId two = Add(Root(), ItemCells("two"));
  NodeId three = Add(Root(), ItemCells("three"));
  NodeId child = Add(three, ItemCells("child"));
  Add(child, ItemCells("grandchild", "g.html"));
  (void)two;
  std::string items = Items(Page("geometry"));
  EXPECT_NE(items.find("visibility:visible;left:010;top:10;"), std::string::npos);
  EXPECT_NE(items.find("visibility:visible;left:010;top:26;"), std::string::npos);
  EXPECT_NE(items.find("visibility:visible;left:010;top:42;"), std::string::npos);
  EXPECT_NE(items.find("visibility:hidden;left:30;top:42;font-size:10pt\" ID=\"t4\""), std::string::npos);
  EXPECT_NE(items.find("visibility:hidden;left:50;top:42;font-size:10pt\" ID=\"t5\""), std::string::npos);
}

TEST_F(PageTest, TargetsAndButtonImages) {
  MenuItem leaf = ItemCells("leaf", "l.html");
  leaf.target = "";
  leaf.icon = "own.gif";
  NodeId branch = Add(Root(), ItemCells("branch"));
  Add(branch, leaf);
  MenuItem plain = ItemCells("plain", "p.html");
  plain.icon = "";
  Add(branch, plain);
  std::string items = Items(Page("targets"));
  EXPECT_NE(items.find("<A HREF=\"l.html\" TARGET=\"\"><IMG SRC=\"linkto.gif\" NAME=\"i2\""), std::string::npos);

  S().RightFrame = "Frame2";
  S().Linkto = "";
  items = Items(Page("targets"));
  EXPECT_NE(items.find("<A HREF=\"l.html\" TARGET=\"Frame2\"><IMG SRC=\"own.gif\" NAME=\"i2\""), std::string::npos);
  EXPECT_NE(items.find("<A HREF=\"p.html\" TARGET=\"Frame2\"><IMG SRC=\"linkto.gif\" NAME=\"i3\""), std::string::npos);
  EXPECT_NE(items.find("<IMG SRC=\"plus.gif\" NAME=\"i1\""), std::string::npos);
}

TEST_F(PageTest, LeafWithoutLinkAndOtherButtons) {
  Add(Root(), ItemCells("nolink", "", "1"));
  Add(Root(), ItemCells("other", "o.html", "1"));
  Add(Root(), ItemCells("leave", "x.html", "2"));
  NodeId branch = Add(Root(), ItemCells("branch", "b.html", "1"));
  Add(branch, ItemCells("kid", "k.html"));
  std::string items = Items(Page("buttons"));
  EXPECT_NE(items.find("<NOBR>\r\n<IMG SRC=\"linkto.gif\" NAME=\"i1\" BORDER=\"0\" ALIGN=\"top\">\r\nnolink\r\n</NOBR>"),
            std::string::npos);
  EXPECT_NE(items.find("<A HREF=\"o.html\" TARGET=\"OtherW\"><IMG SRC=\"otherw.gif\" BORDER=\"0\"></A>\r\n"),
            std::string::npos);
  EXPECT_NE(items.find("<A HREF=\"buttons.html#t3\" onclick=\"ChangeTop('x.html');return false\">"
                       "<IMG SRC=\"otherw.gif\" BORDER=\"0\"></A>\r\n"),
            std::string::npos);
  EXPECT_EQ(Count(items, "otherw.gif"), 2u) << "branches and leaves without links get no other buttons";
}

TEST_F(PageTest, ImageTitles) {
  Add(Root(), ItemCells("file:pic.gif:Text", "a.html"));
  Add(Root(), ItemCells("file:only.gif", "b.html"));
  Add(Root(), ItemCells("file:", "c.html"));
  std::string items = Items(Page("titles"));
  EXPECT_NE(items.find("\"><IMG SRC=\"pic.gif\" BORDER=\"0\" ALIGN=\"top\">Text</A>"), std::string::npos);
  EXPECT_NE(items.find("\"><IMG SRC=\"only.gif\" BORDER=\"0\" ALIGN=\"top\"></A>"), std::string::npos);
  EXPECT_NE(items.find("TARGET=\"Frame2\">file:</A>"), std::string::npos);
  S().Unite = 1;
  items = Items(Page("titles"));
  EXPECT_NE(items.find("ALIGN=\"top\"><IMG SRC=\"pic.gif\" BORDER=\"0\">Text</A>"), std::string::npos);
}

TEST_F(PageTest, CloseTreeFlagsAndParentLinkAnchors) {
  S().CloseTree = 1;
  NodeId top = Add(Root(), ItemCells("top", "top.html"));
  NodeId nested = Add(top, ItemCells("nested"));
  Add(nested, ItemCells("deep", "deep.html"));
  Add(Root(), ItemCells("leaf", "leaf.html"));
  std::string items = Items(Page("flags"));
  EXPECT_NE(items.find("PullDown('1','3',1);return false\">top</A>"), std::string::npos);
  EXPECT_NE(items.find("PullDown('2','3',0);return false\">nested</A>"), std::string::npos);
  EXPECT_NE(items.find("<A HREF=\"leaf.html\" TARGET=\"Frame2\" onClick=\"CloseTree(4);window.open('leaf.html',"
                       "'Frame2');return false\">leaf</A>"),
            std::string::npos);
  EXPECT_NE(items.find("<A HREF=\"deep.html\" TARGET=\"Frame2\">deep</A>"), std::string::npos);

  S().ParentLink = 1;
  items = Items(Page("flags"));
  EXPECT_NE(items.find("<A HREF=\"top.html\" TARGET=\"Frame2\">top</A>"), std::string::npos);
  S().ParentLinkOn = 1;
  items = Items(Page("flags"));
  EXPECT_NE(items.find("PullDown('1','3',1);ParentLink('top.html');return false\">top</A>"), std::string::npos);
  S().ParentLinkOn = 0;
  S().Unite = 1;
  items = Items(Page("flags"));
  EXPECT_NE(items.find("PullDown('1','3',1);ParentLink('top.html');return false\"><IMG SRC=\"plus.gif\" NAME=\"i1\" "
                       "BORDER=\"0\" ALIGN=\"top\">top</A>"),
            std::string::npos);
}

TEST_F(PageTest, BodyHeaderAndFooter) {
  Add(Root(), ItemCells("A", "a.html"));
  WriteFile(dir / "head.txt", "<P>head</P>");
  WriteFile(dir / "foot.txt", "<P>foot</P>\r\n");
  S().BodyHeader = dir / "head.txt";
  S().BodyFooter = dir / "foot.txt";
  std::string page = Page("body");
  EXPECT_NE(page.find("MARGINHEIGHT=\"0\">\r\n<P>head</P><IMG SRC=\"scroll.gif\""), std::string::npos);
  EXPECT_NE(page.find("</DIV>\r\n\r\n<P>foot</P>\r\n</BODY>\r\n</HTML>\r\n"), std::string::npos);

  // A missing BODY file stops the write: the page of the last write stays.
  S().BodyHeader = dir / "missing.txt";
  EXPECT_EQ(Write("body"), Document::PageWrite::kRefused);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            "BODY用のヘッダーファイルが存在しません。\nツールの「BODYタグ内の先頭と後尾の設定」で確認してください。");
  EXPECT_EQ(host.messages[0].title, "ファイルエラー");
  EXPECT_EQ(ReadFile(dir / "body.html"), page);
}

TEST_F(PageTest, NoItemsAndWriteFailures) {
  EXPECT_EQ(Write("none"), std::nullopt);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "書き出すアイテムがありません。");
  EXPECT_EQ(host.messages[0].title, "アイテム確認");

  // Items that were all deleted again still give a page, with no blocks.
  NodeId a = Add(Root(), ItemCells("A"));
  EditorAccess::Model(e).tree.DeleteSubtree(a);
  std::string page = Page("empty");
  EXPECT_EQ(Items(page), "");
  EXPECT_NE(page.find("lastitem = 0;"), std::string::npos);

  EditorAccess::Doc(e).SetMenuPagePath(dir / "missing/page.html");
  const Document::PageWriteResult failed = EditorAccess::Doc(e).WriteMenuPage();
  EXPECT_EQ(failed.result, Document::PageWrite::kWriteFailed);
  ASSERT_EQ(failed.problems.size(), 1u);
  EXPECT_EQ(failed.problems[0].text, sj("「page.html」を書き込めません。"));
}

TEST_F(PageTest, FailedWriteKeepsTheOldPageWhole) {
  for (int i = 0; i < 50; ++i) Add(Root(), ItemCells("item", "page.html"));
  WriteFile(dir / "keep.html", "old page");
  std::optional<Document::PageWrite> result;
  {
    FileSizeLimit limit(1000);  // the write fails half way
    result = Write("keep");
  }
  EXPECT_EQ(result, Document::PageWrite::kWriteFailed);
  EXPECT_EQ(ReadFile(dir / "keep.html"), "old page");
  EXPECT_EQ(host.messages.back().text, "「keep.html」を書き込めません。");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(PageTest, ALargePageGoesOutInPiecesThatMakeTheWholePage) {
  // Some 900 KB: the page reaches the file in several writes.
  for (int i = 0; i < 300; ++i) {
    NodeId top = Add(Root(), ItemCells("branch " + std::to_string(i), i % 2 ? "b.html" : ""));
    for (int j = 0; j < 9; ++j)
      Add(top, ItemCells("leaf " + std::to_string(j), "p" + std::to_string(j) + ".html", j % 3 == 0 ? "1" : "2"));
  }
  const std::string page = Page("big");
  const std::string whole = BuildMenuPage(e.Settings(), e.Model().tree, nullptr, nullptr);
  ASSERT_GT(whole.size(), 800'000u);
  EXPECT_TRUE(page == whole) << "the written page differs from the page built whole";

  // A write that fails once part of the page is out leaves the old page.
  struct ThirdWriteFails : FileFaults {
    int writes = 0;
    int Before(FileOp op, const std::string&) override { return op == FileOp::kWrite && ++writes == 3 ? ENOSPC : 0; }
  } faults;
  WriteFile(dir / "keep.html", "old page");
  std::optional<Document::PageWrite> result;
  {
    ScopedFileFaults guard(faults);
    result = Write("keep");
  }
  EXPECT_EQ(faults.writes, 3);
  EXPECT_EQ(result, Document::PageWrite::kWriteFailed);
  EXPECT_EQ(ReadFile(dir / "keep.html"), "old page");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);  // big.html and keep.html
}

TEST(PageItems, NumbersDepthsAndEndsOfRandomMenus) {
  // Each item's number is its place in pre-order below the root; its
  // branch ends at its last descendant; depth counts from the root's children.
  struct Expected {
    const MenuItem* item;
    int depth, number, end;
    bool leaf;
  };
  unsigned x = 4242;
  auto next = [&x](unsigned n) {
    x = x * 1103515245u + 12345u;
    return static_cast<int>((x >> 16) % n);
  };
  for (int round = 0; round < 200; ++round) {
    MenuModel m;
    m.ResetMenu();
    std::vector<NodeId> nodes = {m.Root()};
    for (int i = next(60); i > 0; --i) {
      // Mostly under a recent item, so that deep branches and long runs of
      // closing levels come up.
      const size_t from = nodes.size() > 4 && next(3) ? nodes.size() - 4 : 0;
      nodes.push_back(m.tree.InsertLast(nodes[from + static_cast<size_t>(next(static_cast<unsigned>(nodes.size() - from)))],
                                        ItemCells("i")));
    }
    if (next(4) == 0 && nodes.size() > 2) m.tree.DeleteSubtree(nodes[static_cast<size_t>(1 + next(static_cast<unsigned>(nodes.size() - 1)))]);

    std::vector<Expected> expected;
    std::function<void(NodeId, int)> visit = [&](NodeId n, int depth) {
      const size_t at = expected.size();
      expected.push_back({&m.tree.Item(n), depth, static_cast<int>(at) + 1, 0, !m.tree.HasChildren(n)});
      for (NodeId c = m.tree.FirstChild(n); c != kNoNode; c = m.tree.NextSibling(c)) visit(c, depth + 1);
      expected[at].end = static_cast<int>(expected.size());
    };
    for (NodeId c = m.tree.FirstChild(m.Root()); c != kNoNode; c = m.tree.NextSibling(c)) visit(c, 1);

    const std::vector<PageItem> items = CollectPageItems(m.tree);
    ASSERT_EQ(items.size(), expected.size()) << "round " << round;
    for (size_t i = 0; i < items.size(); ++i) {
      SCOPED_TRACE(::testing::Message() << "round " << round << ", item " << i + 1);
      EXPECT_EQ(items[i].item, expected[i].item);
      EXPECT_EQ(items[i].depth, expected[i].depth);
      EXPECT_EQ(items[i].number, expected[i].number);
      EXPECT_EQ(items[i].end, expected[i].end);
      EXPECT_EQ(items[i].leaf, expected[i].leaf);
      EXPECT_EQ(items[i].top_level, expected[i].depth == 1);
    }
  }
}

TEST_F(PageTest, ThePendingCopyIsForgottenBeforeWriting) {
  NodeId a = Add(Root(), ItemCells("A"));
  EditorAccess::Model(e).Copy(a);
  Page("copy");
  EXPECT_FALSE(e.Model().CopyBufferFull());
  EXPECT_EQ(e.Model().tree.Selected(), Root());
}

}  // namespace
}  // namespace pomeli2::testing
