#include <gtest/gtest.h>

#include <random>

#include "exchange/exchange.h"
#include "exchange/html_tree.h"
#include "exchange/shown_text.h"
#include "exchange/text_forms.h"
#include "project/project_file.h"
#include "support/golden.h"
#include "support/menu_builder.h"
#include "text/catalogue.h"

namespace pomeli2::testing {
namespace {

// One line per item: level, title and link in UTF-8, as they were imported.
std::vector<std::string> Outline(const ImportedMenu& menu) {
  std::vector<std::string> out;
  for (const ClipItem& c : menu.items)
    out.push_back(std::to_string(c.depth) + " " + SjisToUtf8Lossy(c.item.title) + " -> " + SjisToUtf8Lossy(c.item.link));
  return out;
}

ImportedMenu Import(const std::string& utf8) { return ImportMenu(utf8, ItemCells(""), 0); }

// A title's text as the exports write it.
std::string Shown(std::string_view utf8) {
  return exchange::ShownText(utf8, exchange::TitleMarkup::kParsed, exchange::TitlePicture::kKept);
}

// A menu with what export must take care of: Japanese, an emoji kept as a
// reference, entities and tags in titles, a branch with its own link, an
// item without a link, spaces at a title's ends and an image title.
void SampleMenu(MenuModel& m, PageSettings& s) {
  s = PageSettings::Initial();
  s.Title = sj("サイト &amp; メニュー");
  m.ResetMenu();
  m.root_title = s.Title;
  NodeId root = m.Root();
  NodeId products = AddItem(m, root, ItemCells(sj("製品"), "products/index.html"));
  AddItem(m, products, ItemCells(sj("<b>新</b> ツール &lt;α&gt;"), "products/tools.html"));
  NodeId more = AddItem(m, products, ItemCells("More &#x1F600; fun", "https://example.com/%F0%9F%98%80?a=1&b=2"));
  AddItem(m, more, ItemCells(sj("  余白  "), "deep (1).html"));
  AddItem(m, root, ItemCells(sj("リンクなし")));
  MenuItem image = ItemCells("file:img/logo.gif:Logo", "logo.html");
  image.target = "_blank";
  image.open = "1";
  AddItem(m, root, image);
}

// The readings of one title: as written for the find, the check and a site
// page's path; parsed with its picture for the exports; parsed with the
// alts for whether it names its item on a page.
TEST(ShownText, EachReadingOfATitle) {
  using namespace exchange;
  const std::string title = "file:a.gif:<b>A&amp;B</b> <img alt=L src=x>";
  EXPECT_EQ(ShownText(title, TitleMarkup::kAsWritten, TitlePicture::kLeftOut), "A&amp;B ");
  EXPECT_EQ(ShownText(title, TitleMarkup::kParsed, TitlePicture::kKept), "file:a.gif:A&B ");
  EXPECT_EQ(ShownText(title, TitleMarkup::kParsed, TitlePicture::kLeftOut, ImageAlt::kShown), "A&B L");
  EXPECT_EQ(ShownText("a < b", TitleMarkup::kAsWritten, TitlePicture::kLeftOut), "a ");
  EXPECT_EQ(ShownText("a < b", TitleMarkup::kParsed, TitlePicture::kLeftOut), "a < b");
  EXPECT_EQ(ShownText("file:a.gif", TitleMarkup::kParsed, TitlePicture::kKept), "file:a.gif");
  EXPECT_EQ(ShownText("a<template>b</template>", TitleMarkup::kParsed, TitlePicture::kKept), "a") << "not shown";
  EXPECT_FALSE(TitleShowsText("file:a.gif:<img src=b.gif>"));
  EXPECT_TRUE(TitleShowsText("file:a.gif:<img src=b.gif alt=B>"));
}

TEST(ShownText, ATitleShowsTextUnlessBlankOrOnlyMarkup) {
  for (const char* shows : {"a", " x ", "&amp;", "<b>x</b>", "<img src=a.gif alt=\"Logo\">", "<IMG SRC='a' ALT='L'>",
                            "<img src=a alt=L>", "<img alt = 'L' src=a>", "<img/alt=L>", "a < b", "<", "<b>item</b> 7",
                            "</i>x", "<a href=x>y>", "<script> </script>x"})
    EXPECT_TRUE(exchange::TitleShowsText(shows)) << shows;
  for (const char* blank : {"", "   ", "&nbsp;&#160;", "<b></b>", "<img src=a.gif>", "<img src=a.gif alt=\"\">",
                            "<img src=a.gif alt=\" \">", "<img data-alt=x title=alt alt=\"\">", "<!-- x -->", "<span title=x></span>", "<br>", "<b", "<b> </b>\t",
                            "<i>&#32;</i>", "<b title='>x'></b>"})
    EXPECT_FALSE(exchange::TitleShowsText(blank)) << blank;
  EXPECT_FALSE(exchange::TitleShowsText(sj("　 　")));
  EXPECT_TRUE(exchange::TitleShowsText(sj("　製品")));
}

TEST(Export, GoldenFilesOfEachFormat) {
  MenuModel m;
  PageSettings s;
  SampleMenu(m, s);
  ExpectGolden("exchange/menu.json", ExportMenu(ExchangeFormat::kJson, s, m));
  ExpectGolden("exchange/menu.opml", ExportMenu(ExchangeFormat::kOpml, s, m));
  ExpectGolden("exchange/bookmarks.html", ExportMenu(ExchangeFormat::kBookmarks, s, m));
  ExpectGolden("exchange/menu.md", ExportMenu(ExchangeFormat::kMarkdown, s, m));
}

TEST(Export, FormatByExtension) {
  EXPECT_EQ(ExportFormatOf("a/b.JSON"), ExchangeFormat::kJson);
  EXPECT_EQ(ExportFormatOf("b.opml"), ExchangeFormat::kOpml);
  EXPECT_EQ(ExportFormatOf("b.htm"), ExchangeFormat::kBookmarks);
  EXPECT_EQ(ExportFormatOf("b.md"), ExchangeFormat::kMarkdown);
  EXPECT_EQ(ExportFormatOf("b.txt"), std::nullopt);
  EXPECT_EQ(ExportFormatOf("a.md/b"), std::nullopt);
}

TEST(Import, BookmarkFileWithNestedFoldersJapaneseEmojiAndEntities) {
  const std::string file =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
      "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n"
      "<DL><p>\n"
      "    <DT><H3 ADD_DATE=\"1\">ツール &amp; 道具</H3>\n"
      "    <DL><p>\n"
      "        <DT><A HREF=\"https://example.com/?a=1&amp;b=2\" ADD_DATE=\"2\">例 😀</A>\n"
      "        <DT><H3 POMELI2_HREF=\"sub.html\">Sub</H3>\n"
      "        <DL><p>\n"
      "            <DT><A HREF=\"https://例え.jp/😀\">Deep</A>\n"
      "        </DL><p>\n"
      "    </DL><p>\n"
      "    <DT><A HREF=\"top.html\">Top</A>\n"
      "</DL><p>\n";
  ImportedMenu menu = Import(file);
  ASSERT_FALSE(menu.problem);
  EXPECT_EQ(menu.format, ExchangeFormat::kBookmarks);
  EXPECT_EQ(menu.page_title, "Bookmarks");
  EXPECT_EQ(Outline(menu), (std::vector<std::string>{
                               "0 ツール &amp; 道具 -> ",
                               "1 例 &#x1F600; -> https://example.com/?a=1&b=2",
                               "1 Sub -> sub.html",
                               "2 Deep -> https://例え.jp/%F0%9F%98%80",
                               "0 Top -> top.html",
                           }));
  EXPECT_EQ(menu.items[1].item.bg_color, "#8080FF") << "the new-item values";
}

TEST(Import, Opml2WithTheProgramsAttributes) {
  const std::string file =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<opml version=\"2.0\" xmlns:p=\"urn:x-pomeli2:outline\">\n"
      "  <head><title>Feeds &amp; Links</title></head>\n"
      "  <body>\n"
      "    <outline text=\"A &lt;b&gt; &amp; 日本\" p:target=\"_blank\" p:open=\"1\">\n"
      "      <outline text=\"Child\" type=\"link\" url=\"c.html\"/>\n"
      "      <outline text=\"Feed\" type=\"rss\" xmlUrl=\"f.xml\" htmlUrl=\"site.html\"/>\n"
      "    </outline>\n"
      "    <outline text=\"  Two  \"/>\n"
      "  </body>\n"
      "</opml>\n";
  ImportedMenu menu = Import(file);
  ASSERT_FALSE(menu.problem);
  EXPECT_EQ(menu.page_title, "Feeds &amp; Links");
  EXPECT_EQ(Outline(menu), (std::vector<std::string>{"0 A &lt;b&gt; &amp; 日本 -> ", "1 Child -> c.html",
                                                     "1 Feed -> site.html", "0   Two   -> "}));
  EXPECT_EQ(menu.items[0].item.target, "_blank");
  EXPECT_EQ(menu.items[0].item.open, "1");
  EXPECT_EQ(menu.items[1].item.target, "Frame2");
}

TEST(Import, WebPageTakesItsNavigationLists) {
  const std::string page =
      "<!DOCTYPE html><html><head><title>Site</title><script>var s = '<ul><li><a href=x>no</a></ul>';</script></head>\n"
      "<body><ul><li><a href=\"ad.html\">Not the menu</a></ul>\n"
      "<nav>\n"
      "  <ul>\n"
      "    <li><a href=\"/\">Home</a>\n"
      "    <li>Products\n"
      "      <ul>\n"
      "        <li><a href=\"p/a.html\">\n          Tool &amp; <em>Die</em>\n        </a></li>\n"
      "        <li><a href='p/b.html'>B</a>\n"
      "          <ol><li><a href=p/b1.html>B1</a></li></ol>\n"
      "        </li>\n"
      "      </ul>\n"
      "    </li>\n"
      "    <li><a href=\"about.html\">About</a></li>\n"
      "  </ul>\n"
      "</nav></body></html>\n";
  ImportedMenu menu = Import(page);
  ASSERT_FALSE(menu.problem);
  EXPECT_EQ(menu.format, ExchangeFormat::kWebPage);
  EXPECT_EQ(menu.page_title, "Site");
  EXPECT_EQ(Outline(menu), (std::vector<std::string>{"0 Home -> /", "0 Products -> ", "1 Tool &amp; <em>Die</em> -> p/a.html",
                                                     "1 B -> p/b.html", "2 B1 -> p/b1.html", "0 About -> about.html"}));

  // Without a <nav>, the first outermost list that holds links.
  ImportedMenu lists = Import("<html><body><ul><li>No links</ul><ol><li><a href=a>A</a><ul><li>x</ul></ol></body></html>");
  ASSERT_FALSE(lists.problem);
  EXPECT_EQ(Outline(lists), (std::vector<std::string>{"0 A -> a", "1 x -> "}));
}

TEST(Import, MarkdownListOfLinks) {
  const std::string md =
      "# My *Site*\n"
      "\n"
      "Some text.\n"
      "- [Home](index.html)\n"
      "  - [Tools & <more>](<tools page.html> \"title\")\n"
      "    * Bare \\[item\\] &amp; more\n"
      "\t- [Tab](t.html)\n"  // a tab reaches the fourth column
      "- [](empty.html)\n"
      "```\n- not an item\n```\n"
      "+ Plus\n";
  ImportedMenu menu = Import(md);
  ASSERT_FALSE(menu.problem);
  EXPECT_EQ(menu.format, ExchangeFormat::kMarkdown);
  EXPECT_EQ(menu.page_title, "My <em>Site</em>");
  // <more> is an HTML tag to CommonMark, and no markup a title keeps.
  EXPECT_EQ(Outline(menu), (std::vector<std::string>{"0 Home -> index.html", "1 Tools &amp;  -> tools page.html",
                                                     "2 Bare [item] &amp; more -> ", "2 Tab -> t.html", "0  -> empty.html",
                                                     "0 Plus -> "}));
}

TEST(Import, DeclaredCharacterSet) {
  std::string file = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META CONTENT=\"text/html; charset=Shift_JIS\">\n<DL><p>\n<DT><A HREF=\"a\">" +
                     sj("日本語") + "</A>\n</DL><p>\n";
  ImportedMenu menu = Import(file);
  ASSERT_FALSE(menu.problem);
  EXPECT_EQ(Outline(menu), (std::vector<std::string>{"0 日本語 -> a"}));
}

TEST(Import, MalformedAndUnknownSourcesNameTheLine) {
  struct Case {
    std::string source;
    ImportProblem::Kind kind;
    int line;
  };
  const Case cases[] = {
      {"<opml version=\"2.0\"><body>\n<outline text=\"a\">\n</body></opml>", ImportProblem::kMalformed, 3},
      {"<opml version=\"2.0\"><body>\n<outline text=\"a\">\n", ImportProblem::kMalformed, 2},
      {"<opml><body>\n<outline text=a/></body></opml>", ImportProblem::kMalformed, 2},
      {"<opml><head/></opml>", ImportProblem::kMalformed, 0},
      {"<opml xmlns=\"urn:x\"/>\n", ImportProblem::kMalformed, 0},
      {"<?xml version=\"1.0\"?>\n<opml version=\"2.0\"><body>\n</body></opml>\n<opml/>", ImportProblem::kMalformed, 4},
      {"{\"format\": \"pomeli2-menu\",\n\"menu\": {\"title\": \"a\",\n}", ImportProblem::kMalformed, 3},
      {"{\"format\": \"pomeli2-menu\",\n\"menu\": {\"title\": 5}}", ImportProblem::kMalformed, 2},
      {"{\"other\": 1}", ImportProblem::kUnknownFormat, 0},
      {"{\"format\": \"pomeli2-menu\", \"menu\":\n" + std::string(5000, '[') + std::string(5000, ']') + "}", ImportProblem::kMalformed, 2},
      {"just some text\n", ImportProblem::kUnknownFormat, 0},
      {"", ImportProblem::kUnknownFormat, 0},
      {"<html><body><p>No lists</p></body></html>", ImportProblem::kNoList, 0},
      {"- fine\n- bad \xFF byte\n", ImportProblem::kBadEncoding, 2},
      {"<?xml version=\"1.0\" encoding=\"x-unheard-of\"?><opml/>", ImportProblem::kBadEncoding, 0},
      {"\xFF\xFE<\x00o\x00\x00\xD8", ImportProblem::kBadEncoding, 0},  // a lone surrogate
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    ImportedMenu menu = Import(c.source);
    ASSERT_TRUE(menu.problem);
    EXPECT_EQ(menu.problem->kind, c.kind);
    EXPECT_EQ(menu.problem->line, c.line);
  }
  // A README of prose, named as Markdown, holds no list to import.
  ImportedMenu prose = ImportMenu("# Title\n\nProse only.\n", MenuItem{}, 0, "README.md");
  ASSERT_TRUE(prose.problem);
  EXPECT_EQ(prose.problem->kind, ImportProblem::kNoList);
  ImportProblem problem{ImportProblem::kMalformed, 12, 0, sj("<DL>が閉じていません")};
  EXPECT_EQ(SjisToUtf8Lossy(ImportProblemMessage(problem, "a.html")), "「a.html」の12行目が正しくありません：<DL>が閉じていません。");
}

// The faults found on real files, and sources written from the formats'
// definitions (CommonMark's list rules and examples, the HTML standard's
// unclosed <DT> and <DL>, OPML 1.0 and 2.0): each imports as its definition
// reads it.
TEST(Import, SourcesReadAsTheirDefinitionsReadThem) {
  struct Case {
    const char* file;
    std::vector<std::string> outline;
  };
  const Case cases[] = {
      // Markdown that starts with HTML is still Markdown.
      {"div_first.md", {"0 A -> a.html", "0 B -> b.html"}},
      // Levels are CommonMark's, whatever the indentation.
      {"heading_between.md", {"0 A -> a.html", "0 B -> b.html"}},
      {"one_space_deeper.md", {"0 A -> a.html", "0 B -> b.html"}},
      {"ordered.md", {"0 A -> a.html", "0 B -> b.html"}},
      // A link that is none is text; its bare URL is the item's link.
      {"bad_link.md", {"0 A -> a.html", "0 [B](http://x/y z) -> http://x/y", "0 C -> c.html"}},
      // Safari leaves out the outermost list.
      {"safari.html", {"0 F -> ", "1 A -> a.html"}},
      // A byte order mark names the encoding; a feed without a site is linked to the feed.
      {"utf16le.opml", {"0 日本 -> https://example.com/feed.xml"}},
      {"utf16be.html", {"0 日本 -> a.html"}},
      {"utf16le.md", {"0 日本 -> a.html"}},
      {"commonmark_lists.md", {"0 foo -> ", "0 bar -> ", "0 baz -> ", "0 one -> ", "0 two -> ", "0 three -> ", "0 a -> ",
                               "1 b -> ", "2 c -> ", "0 ten -> ", "1 under ten -> ", "0 d -> ", "0 e -> ", "0 f -> ",
                               "0 g -> ", "0 h -> ", "0 Heading item -> ", "0 Setext item -> ", "0 a -> ", "0 b -> "}},
      {"unclosed_dl.html", {"0 Folder -> ", "1 One -> one.html", "1 Inner -> ", "2 Deep -> deep.html", "1 Two -> two.html",
                            "0 Top -> top.html", "0 Open -> ", "1 Last  -> last.html"}},
      {"opml1.opml", {"0 United States -> ", "1 Far West -> ", "2 Alaska -> ", "2 California -> ", "1 Great Plains -> ",
                      "2 Kansas -> ", "0 Qu&#xE9;bec -> "}},
      {"opml2.opml", {"0 CNET News.com -> http://news.com.com/", "0 Scripting News -> http://www.scripting.com/rss.xml",
                      "0 Places -> ", "1 Dave's home page -> http://www.scripting.com/",
                      "1 Shared directory -> http://hosting.opml.org/dave/directory.opml",
                      "1 Query &amp; more -> http://example.com/?a=1&b=2"}},
      // Elements in a default namespace are known by their local names.
      {"namespaced.opml", {"0 Tools -> ", "1 Editor -> http://example.com/editor", "0 News -> http://example.com/rss.xml"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    // Recognised by what they are, with and without their names.
    for (const std::string name : {c.file, ""}) {
      ImportedMenu menu = ImportMenu(ReadFile(std::string(POMELI2_TEST_DATA) + "/exchange/sources/" + c.file), ItemCells(""), 0, name);
      ASSERT_FALSE(menu.problem) << name;
      EXPECT_EQ(Outline(menu), c.outline) << name;
    }
  }
}

// A third party's page brings no script into the author's site: titles keep
// text and the markup that only changes how it looks, script links go.
TEST(Import, ImportedTitlesAndLinksRunNothing) {
  ImportedMenu menu = ImportMenu(ReadFile(std::string(POMELI2_TEST_DATA) + "/exchange/sources/hostile_nav.html"), ItemCells(""), 0, "nav.html");
  ASSERT_FALSE(menu.problem);
  EXPECT_EQ(Outline(menu), (std::vector<std::string>{"0 <img src=\"x\">Pic -> b.html", "0 Evil -> c.html", "0 <span>Span</span> -> d.html"}));
  menu = Import("- [<b onclick=\"x()\">B</b><style>p{}</style><img src=\"data:text/html,x\" alt=\"a&quot;\">](b.html)\n"
                "- [Run](javascript:alert(1))\n- [Run too](\tJavaScript:alert(1))\n- <https://example.com/a?b>\n");
  ASSERT_FALSE(menu.problem);
  EXPECT_EQ(Outline(menu), (std::vector<std::string>{"0 <b>B</b><img alt=\"a&quot;\"> -> b.html", "0 Run -> ", "0 Run too -> ",
                                                     "0 https://example.com/a?b -> https://example.com/a?b"}));
  EXPECT_EQ(menu.script_links, (std::vector<std::string>{"Run", "Run too"}));
  EXPECT_EQ(SjisToUtf8Lossy(ScriptLinksWarning(menu.script_links)),
            "次のアイテムのリンクはスクリプトを実行するため、リンクなしで読み込みました。\nRun\nRun too");
}

// The HTML parser's time grows with the square of the nesting and it frees
// its tree recursively: markup nested without end is refused before it, in
// every form that would nest it, while long flat markup still comes in.
TEST(Import, MarkupNestedTooDeepIsRefused) {
  auto repeat = [](const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  const int deep = exchange::kMaxHtmlSourceDepth + 1;
  const std::string list = "<ul><li><a href=\"a.html\">A</a></ul>";
  for (const std::string& source : {
           "<!DOCTYPE html><nav>" + list + repeat("<div>", deep),
           "<!DOCTYPE html>" + list + repeat("<div/>", deep),
           "<!DOCTYPE html>" + list + "<svg>" + repeat("<g a=\"/>\">", deep),
           "<!DOCTYPE html>" + list + "<svg><foreignObject>" + repeat("<g/>", deep),
           "<!DOCTYPE html>" + list + repeat("<li><dd>", deep / 2 + 1),
           "<!DOCTYPE html>" + list + repeat("<object><div></div>", deep),
           "<!DOCTYPE html>" + list + repeat("<table><td>", deep / 4 + 1),  // with the rows and groups put in
           "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>" + repeat("<DT><H3>F</H3>\n<DL><p>", deep),
           "- [A](a.html) " + repeat("<span>", deep) + "\n",
       }) {
    SCOPED_TRACE(source.substr(0, 60));
    ImportedMenu menu = Import(source);
    ASSERT_TRUE(menu.problem);
    EXPECT_EQ(menu.problem->kind, ImportProblem::kTooDeep);
  }
  EXPECT_EQ(SjisToUtf8Lossy(ImportProblemMessage(ImportProblem{ImportProblem::kTooDeep, 0, 0, {}}, "deep.html")),
            "「deep.html」は要素の入れ子が深すぎるため、インポートできません。");

  const int flat = 2 * exchange::kMaxHtmlSourceDepth;
  for (const std::string& source : {
           "<!DOCTYPE html><ul>" + repeat("<li><p><a href=\"a.html\">A</a><p>B", flat) + "</ul>",
           "<!DOCTYPE html><ul>" + repeat("<li><svg><path d=\"M0\"/><title>T</title><g/></svg><a href=\"a.html\">A</a>", flat) + "</ul>",
           "<!DOCTYPE html><script>" + repeat("if (a<b) x();", flat) + "</script>" + list,
           "<!DOCTYPE html><table>" + repeat("<tr><td>" + list + "<td><br>", flat) + "</table>",
           "<!DOCTYPE html>" + list + repeat("<div>", exchange::kMaxHtmlSourceDepth),
           "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>" + repeat("<DT><H3>F</H3>\n<DL><p>\n<DT><A HREF=\"a.html\">A</A>\n</DL><p>\n", flat) + "</DL><p>",
       }) {
    SCOPED_TRACE(source.substr(0, 60));
    ImportedMenu menu = Import(source);
    ASSERT_FALSE(menu.problem) << menu.problem->kind;
    EXPECT_FALSE(menu.items.empty());
  }
}

TEST(Import, LongTitlesAndLinksAreCutAtACharacterBoundary) {
  std::string title;
  for (int i = 0; i < 300; ++i) title += "日😀";
  std::string link = "https://example.com/" + std::string(900, 'x');
  ImportedMenu menu = Import("- [" + title + "](" + link + ")\n- [short](s.html)\n");
  ASSERT_FALSE(menu.problem);
  ASSERT_EQ(menu.items.size(), 2u);
  const MenuItem& cut = menu.items[0].item;
  EXPECT_LE(ItemLineLength(cut, 1), kMaxProjectLine);
  EXPECT_GT(ItemLineLength(cut, 1), kMaxProjectLine - 12) << "no more is cut than needed";
  EXPECT_TRUE(SjisToUtf8(cut.title)) << "no half character";
  EXPECT_EQ(Shown(exchange::TitleFromProject(cut.title)).find("&#"), std::string::npos) << "no half reference";
  EXPECT_EQ(menu.cut_titles, std::vector<std::string>{cut.title});
  EXPECT_EQ(menu.items[1].item.title, "short");
  EXPECT_NE(SjisToUtf8Lossy(CutItemsWarning(menu.cut_titles)).find("日&#x1F600;"), std::string::npos);

  EXPECT_EQ(exchange::CutText("ab%F0%9F%98%80", 13), "ab");
  EXPECT_EQ(exchange::CutText("ab%F0%9F%98%80c", 14), "ab%F0%9F%98%80");
  EXPECT_EQ(exchange::CutText("ab&#x1F600;", 10), "ab");
  EXPECT_EQ(exchange::CutText(sj("あい"), 3), sj("あ"));
}

// ---------------------------------------------------------------- round trips

std::string RandomText(std::mt19937& rng, bool link) {
  static const std::vector<std::string> pieces = {
      "a", "Z", " ", "&amp;", "&lt;", "&gt;", "&#x1F600;", "&#x1F389;", sj("日本"), sj("ア"), sj("～"), sj("①"), "%",
      "?q=1&r=2", "(x)", "[y]", "*", "_", "\\", "#", "-", "<b>", "</b>", "!", "`", "'", "\"", "+",
  };
  static const std::vector<std::string> link_pieces = {
      "a", "/", "%F0%9F%98%80", sj("日本"), "?q=1&r=2", "(x)", " ", "#top", "%20", "\\", "<", ">",
  };
  const auto& from = link ? link_pieces : pieces;
  std::string out;
  int n = static_cast<int>(rng() % 8);
  for (int i = 0; i < n; ++i) out += from[rng() % from.size()];
  return out;
}

void RandomProject(std::mt19937& rng, MenuModel& m, PageSettings& s) {
  s = PageSettings::Initial();
  s.Title = RandomText(rng, false);
  s.BgColor = "#" + std::to_string(rng() % 1000000);
  s.Browser.mode = rng() % 2 ? PageMode::kHtml5 : PageMode::kNn6Only;
  s.CloseItems = static_cast<int>(rng() % 2);
  s.TreeBgColor = static_cast<int>(rng() % 16777216);
  s.BodyHeader = rng() % 2 ? sj("ヘッダ.txt") : "";
  m.ResetMenu();
  m.root_title = s.Title;
  std::vector<NodeId> nodes = {m.Root()};
  int count = 1 + static_cast<int>(rng() % 40);
  for (int i = 0; i < count; ++i) {
    MenuItem item = ItemCells(RandomText(rng, false), RandomText(rng, true), std::to_string(rng() % 3));
    item.target = rng() % 2 ? "_blank" : "Frame2";
    item.open = rng() % 2 ? "1" : "0";
    item.bg_color = rng() % 2 ? "#FFEEDD" : "";
    item.style = rng() % 2 ? "Bold" : "None";
    nodes.push_back(AddItem(m, nodes[rng() % nodes.size()], item));
  }
}

// Every item of a menu below the root: level, title as shown, link.
std::vector<std::string> Shown(const MenuModel& m) {
  std::vector<std::string> out;
  m.tree.ForEachPreOrder(m.Root(), [&](NodeId n) {
    if (n == m.Root()) return;
    out.push_back(std::to_string(m.tree.Level(n) - 1) + "|" + Shown(exchange::TitleFromProject(m.tree.Item(n).title)) +
                  "|" + m.tree.Item(n).link);
  });
  return out;
}

std::vector<std::string> Shown(const ImportedMenu& menu) {
  std::vector<std::string> out;
  for (const ClipItem& c : menu.items)
    out.push_back(std::to_string(c.depth) + "|" + Shown(exchange::TitleFromProject(c.item.title)) + "|" + c.item.link);
  return out;
}

TEST(RoundTrip, JsonSavesTheSameProject) {
  std::mt19937 rng(19);
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE(round);
    MenuModel m;
    PageSettings s;
    RandomProject(rng, m, s);
    const std::string saved = SerializeProject(s, m).bytes;
    ImportedMenu back = ImportMenu(ExportMenu(ExchangeFormat::kJson, s, m), ItemCells(""), 0);
    ASSERT_FALSE(back.problem);
    ASSERT_TRUE(back.settings && back.root);
    MenuModel again;
    RebuildMenu(again, *back.root, back.items);
    EXPECT_EQ(SerializeProject(*back.settings, again).bytes, saved);
  }
}

TEST(RoundTrip, JsonKeepsBytesThatAreNoText) {
  MenuModel m;
  PageSettings s = PageSettings::Initial();
  m.ResetMenu();
  AddItem(m, m.Root(), ItemCells("\x87\x40 \xEE\xEF \x80", "x"));  // NEC and IBM duplicates, a lone byte
  ImportedMenu back = ImportMenu(ExportMenu(ExchangeFormat::kJson, s, m), ItemCells(""), 0);
  ASSERT_FALSE(back.problem);
  EXPECT_EQ(back.items.at(0).item.title, "\x87\x40 \xEE\xEF \x80");
}

TEST(RoundTrip, OutlinesKeepTitlesLinksAndLevels) {
  std::mt19937 rng(1919);
  for (ExchangeFormat format : {ExchangeFormat::kOpml, ExchangeFormat::kMarkdown, ExchangeFormat::kBookmarks}) {
    for (int round = 0; round < 60; ++round) {
      SCOPED_TRACE(std::to_string(static_cast<int>(format)) + " round " + std::to_string(round));
      MenuModel m;
      PageSettings s;
      RandomProject(rng, m, s);
      const std::string file = ExportMenu(format, s, m);
      ImportedMenu back = ImportMenu(file, ItemCells(""), 0);
      ASSERT_FALSE(back.problem) << file;
      EXPECT_EQ(Shown(back), Shown(m)) << file;
      EXPECT_EQ(Shown(exchange::TitleFromProject(back.page_title)),
                Shown(exchange::TitleFromProject(s.Title)));
    }
  }
}

}  // namespace
}  // namespace pomeli2::testing
