// Import under the selected item and export of the whole menu, from the file
// menu, with their dialogs and messages.
#include "exchange/exchange.h"
#include "project/project_file.h"
#include "support/session.h"
#include "text/catalogue.h"

namespace pomeli2::testing {
namespace {

constexpr char kBookmarks[] = R"(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
<TITLE>Bookmarks</TITLE>
<H1>Bookmarks</H1>
<DL><p>
    <DT><H3>ニュース</H3>
    <DL><p>
        <DT><A HREF="https://example.com/a">記事 &amp; 😀</A>
        <DT><H3>奥</H3>
        <DL><p>
            <DT><A HREF="https://example.com/b">B</A>
        </DL><p>
    </DL><p>
    <DT><A HREF="https://example.org/">Top</A>
</DL><p>
)";

constexpr char kOpml[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<opml version="2.0">
<head><title>Feeds</title></head>
<body>
<outline text="A &amp; B" url="a.html">
  <outline text="子" url="c.html"/>
</outline>
<outline text="&lt;i&gt;"/>
</body>
</opml>
)";

class ImportExport : public Session {
 public:
  // 製品(工具), 会社, saved so that the modified mark is clear.
  void SetUp() override {
    Session::SetUp();
    Add("製品");
    Add("工具");
    e.SelectItem(m().Root());
    Add("会社");
    SaveAndReopen("site.pml");
    host.messages.clear();
    ASSERT_EQ(Outline(), "製品(工具),会社");
    ASSERT_EQ(e.ModifiedFlag(), 0);
  }
  std::string Source(const std::string& name, const std::string& bytes) {
    WriteFile(dir / name, bytes);
    return dir / name;
  }
  void Import(const std::string& file) {
    host.files = {file};
    e.Dispatch(kCmdImport);
  }
  std::string Project() { return SerializeProject(e.Settings(), m()).bytes; }
  std::string Selected() { return SjisToUtf8Lossy(m().tree.Label(m().Selected())); }
  const Message& LastMessage() { return host.messages.back(); }
};

TEST_F(ImportExport, ABookmarkFileGoesUnderTheSelectedItemAsOneStep) {
  Select("工具");
  const std::string before = Project();
  Import(Source("bookmarks.html", kBookmarks));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Outline(), "製品(工具(ニュース(記事 &amp; &#x1F600;,奥(B)),Top)),会社");
  EXPECT_EQ(Selected(), "ニュース") << "the first item imported";
  EXPECT_EQ(m().tree.Item(Find("B")).link, "https://example.com/b");
  EXPECT_EQ(m().tree.Item(Find("B")).bg_color, e.Settings().NewBgColor) << "the new-item values";
  EXPECT_EQ(e.ModifiedFlag(), 1);
  EXPECT_EQ(e.CommandTooltipText(kCmdUndo), S("元に戻す: インポート"));
  const std::string after = Project();

  e.Dispatch(kCmdUndo);
  EXPECT_EQ(Outline(), "製品(工具),会社");
  EXPECT_EQ(Selected(), "工具");
  EXPECT_EQ(Project(), before);
  EXPECT_EQ(e.ModifiedFlag(), 0);
  EXPECT_FALSE(e.CommandEnabled(kCmdUndo)) << "one step";

  e.Dispatch(kCmdRedo);
  EXPECT_EQ(Project(), after);
  EXPECT_EQ(e.ModifiedFlag(), 1);
}

TEST_F(ImportExport, AnOutlineGoesAfterTheLastChildAndNothingElseChanges) {
  e.SelectItem(m().Root());
  const std::string settings_before = Project().substr(0, Project().find("\r\n0\t"));
  Import(Source("feeds.opml", kOpml));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Outline(), "製品(工具),会社,A &amp; B(子),&lt;i&gt;");
  EXPECT_EQ(m().tree.Item(Find("子")).link, "c.html");
  EXPECT_EQ(Selected(), "A &amp; B");
  EXPECT_EQ(Project().substr(0, Project().find("\r\n0\t")), settings_before) << "the page title stays";
  // The dialog opens where the project lies, for any recognised source.
  ASSERT_EQ(host.dialogs.size(), 3u);
  const FileDialogRequest& asked = host.dialogs.back();
  EXPECT_EQ(asked.kind, FileDialogRequest::Kind::kOpen);
  EXPECT_TRUE(asked.must_exist);
  EXPECT_EQ(asked.filter, sj(kImportFilter));
  EXPECT_EQ(asked.initial_name, dir / "");
}

TEST_F(ImportExport, AJsonSourceBringsItsItemsButNotItsSettings) {
  const std::string settings_before = Project().substr(0, Project().find("\r\n0\t"));
  MenuModel other;
  PageSettings other_settings = PageSettings::Initial();
  other_settings.Title = "Other";
  other.ResetMenu();
  AddItem(other, AddItem(other, other.Root(), ItemCells("Json", "j.html")), ItemCells("Deep", "d.html"));
  Select("会社");
  Import(Source("menu.json", ExportMenu(ExchangeFormat::kJson, other_settings, other)));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Outline(), "製品(工具),会社(Json(Deep))");
  EXPECT_EQ(Project().substr(0, Project().find("\r\n0\t")), settings_before);
  EXPECT_EQ(SjisToUtf8Lossy(m().tree.Label(m().Root())), "ホームページ");
}

TEST_F(ImportExport, AWebPageBringsItsNavigationList) {
  Select("会社");
  Import(Source("page.html", "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body>\n"
                             "<ul><li><a href=\"x.html\">Not this</a></li></ul>\n"
                             "<nav><ul><li><a href=\"/\">ホーム</a></li>\n"
                             "<li><a href=\"/docs/\">文書</a><ul><li><a href=\"/docs/a\">A &amp; B</a></li></ul></li>\n"
                             "</ul></nav></body></html>\n"));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Outline(), "製品(工具),会社(ホーム,文書(A &amp; B))");
  EXPECT_EQ(m().tree.Item(Find("文書")).link, "/docs/");
}

TEST_F(ImportExport, RefusedSourcesChangeNothing) {
  Select("工具");
  const std::string before = Project();
  struct Case {
    std::string file, message;
  };
  const std::string missing = dir / "none.opml";
  const std::string malformed = Source("bad.opml", "<opml version=\"2.0\"><body>\n<outline text=\"a\">\n</body>\n");
  const std::string text = Source("notes.txt", "just some words\n");
  const std::string empty = Source("empty.opml", "<opml version=\"2.0\"><body>\n</body></opml>\n");
  for (const Case& c : {Case{missing, "ファイル「" + missing + "」をオープンできませんでした。"},
                        Case{malformed, "「" + malformed + "」の"}, Case{text, "「" + text + "」はインポートできる形式ではありません。"},
                        Case{empty, "「" + empty + "」にリンクのリストが見つかりません。"}}) {
    SCOPED_TRACE(c.file);
    host.messages.clear();
    Import(c.file);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(LastMessage().text.substr(0, c.message.size()), c.message);
    EXPECT_EQ(LastMessage().title, "エラー");
    EXPECT_EQ(Project(), before);
    EXPECT_EQ(Selected(), "工具");
    EXPECT_EQ(e.ModifiedFlag(), 0);
    EXPECT_FALSE(e.CommandEnabled(kCmdUndo));
  }
  Import(malformed);
  EXPECT_NE(LastMessage().text.find("行目"), std::string::npos) << LastMessage().text;

  // A cancelled dialog says nothing.
  host.messages.clear();
  e.Dispatch(kCmdImport);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Project(), before);
}

TEST_F(ImportExport, MoreItemsThanAMenuHoldsAreRefused) {
  const int room = kMaxItems - m().LiveItemCount();
  std::string list;
  for (int i = 0; i <= room; ++i) list += "- x\n";
  const std::string before = Project();
  const std::string many = Source("many.md", list);
  Import(many);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(LastMessage().text, "「" + many + "」を読み込むと" + SjisToUtf8Lossy(TooManyItemsMessage()));
  EXPECT_EQ(Project(), before);
  EXPECT_EQ(e.ModifiedFlag(), 0);

  // One fewer fits exactly.
  host.messages.clear();
  list.erase(0, 4);
  Import(Source("many.md", list));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(m().LiveItemCount(), kMaxItems);
}

TEST_F(ImportExport, CutTitlesAndLinksAreListedAndTheRestComesIn) {
  Select("工具");
  const std::string long_link(kMaxProjectLine, 'a');
  Import(Source("long.md", "- [Long](" + long_link + ".html)\n- [Short](s.html)\n"));
  EXPECT_EQ(Outline(), "製品(工具(Long,Short)),会社");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(LastMessage().text, "次のアイテムはプロジェクトファイルの1行に収まらないため、タイトルかリンクを切り詰めました。\nLong");
  EXPECT_EQ(LastMessage().icon, MessageIcon::kWarning);
  EXPECT_LT(m().tree.Item(Find("Long")).link.size(), long_link.size());
  // The cut item still fits the project: it saves and opens again.
  SaveAndReopen("site.pml");
  EXPECT_EQ(Outline(), "製品(工具(Long,Short)),会社");
}

TEST_F(ImportExport, AScriptLinkIsLeftOutAndNamed) {
  Select("工具");
  Import(Source("nav.html", "<nav><ul><li><a href=\" javascript:alert(1)\">Run</a><li><a href=\"b.html\">B</a></ul></nav>"));
  EXPECT_EQ(Outline(), "製品(工具(Run,B)),会社");
  EXPECT_EQ(m().tree.Item(Find("Run")).link, "");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(LastMessage().text, "次のアイテムのリンクはスクリプトを実行するため、リンクなしで読み込みました。\nRun");
  EXPECT_EQ(LastMessage().icon, MessageIcon::kWarning);
}

TEST_F(ImportExport, ExportWritesTheChosenFormatAndIsNoStep) {
  host.files = {dir / "menu.opml"};
  e.Dispatch(kCmdExport);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(ReadFile(dir / "menu.opml"), ExportMenu(ExchangeFormat::kOpml, e.Settings(), m()));
  EXPECT_EQ(e.ModifiedFlag(), 0);
  EXPECT_FALSE(e.CommandEnabled(kCmdUndo));
  const FileDialogRequest& asked = host.dialogs.back();
  EXPECT_EQ(asked.kind, FileDialogRequest::Kind::kSave);
  EXPECT_EQ(asked.filter, sj(kExportFilter));
  EXPECT_TRUE(asked.extension_by_filter);
  EXPECT_EQ(asked.initial_name, dir / "site") << "the project's name, the extension left to the format";

  // A file of the name: the overwrite question; No keeps it.
  WriteFile(dir / "menu.md", "old");
  host.files = {dir / "menu.md"};
  host.answers = {MessageAnswer::kNo};
  e.Dispatch(kCmdExport);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(LastMessage().title, "上書確認");
  EXPECT_EQ(ReadFile(dir / "menu.md"), "old");
  host.files = {dir / "menu.md"};
  e.Dispatch(kCmdExport);
  EXPECT_EQ(ReadFile(dir / "menu.md"), ExportMenu(ExchangeFormat::kMarkdown, e.Settings(), m()));
}

TEST_F(ImportExport, ExportRefusesAnUnknownFormatAndReportsAFileItCannotWrite) {
  Select("工具");
  host.files = {dir / "menu.txt"};
  e.Dispatch(kCmdExport);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(LastMessage().text.substr(0, ("「" + dir / "menu.txt" + "」").size()), "「" + dir / "menu.txt" + "」");
  EXPECT_NE(LastMessage().text.find(".opml"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "menu.txt"));

  host.files = {dir / "no/such/menu.json"};
  e.Dispatch(kCmdExport);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(LastMessage().text, "「" + dir / "no/such/menu.json" + "」を書き込めません。");
  EXPECT_EQ(LastMessage().title, "ファイルエラー");
  EXPECT_EQ(Selected(), "工具") << "the selection comes back";
  EXPECT_EQ(e.ModifiedFlag(), 0);
}

}  // namespace
}  // namespace pomeli2::testing
