#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>

#include "editor/editor.h"
#include "support/menu_builder.h"
#include "support/scripted_host.h"

namespace pomeli2::testing {
namespace {

struct CliRun {
  int status;
  std::string out, err;
};

class CliTest : public ::testing::Test {
 protected:
  CliRun Build(const std::string& args) {
    std::string cmd = std::string(POMELI2_BUILD_TOOL) + " " + args + " >" + (dir / "out.txt") + " 2>" + (dir / "err.txt");
    int raw = std::system(cmd.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(dir / "out.txt"), ReadFile(dir / "err.txt")};
  }
  static std::string Project(const std::string& name) {
    return std::string(POMELI2_TEST_DATA) + "/pages/" + name + ".pml";
  }
  TempDir dir;
};

// A started editor whose program folder is `program`.
struct EditorSession {
  explicit EditorSession(const std::string& program) : e(host, Created(program)) { e.Start(); }
  static std::string Created(const std::string& folder) {
    std::filesystem::create_directory(folder);
    return folder;
  }
  // An item under the selected one, with its title and link.
  void Add(const char* title, const char* link) {
    e.Dispatch(kCmdAddItem);
    ASSERT_TRUE(e.EndLabelEdit(sj(title)));
    ASSERT_TRUE(e.FieldChanged(kCtlLink, link));
  }
  ScriptedHost host;
  Editor e;
};

TEST_F(CliTest, HelpVersionAndUsageErrors) {
  CliRun help = Build("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Usage: pomeli2-build PROJECT.pml"), std::string::npos);
  CliRun version = Build("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_NE(version.out.find("2.0"), std::string::npos);
  EXPECT_EQ(Build("").status, 2);
  EXPECT_EQ(Build("--bogus x.pml").status, 2);
  EXPECT_EQ(Build("a.pml b.pml").status, 2);
  EXPECT_EQ(Build(Project("example") + " -o").status, 2);
  EXPECT_EQ(Build(Project("example") + " --frameset2 a.html --frameset3 b.html").status, 2);
  EXPECT_EQ(Build(Project("example") + " --frameset2 sub/a.html").status, 2);
}

TEST_F(CliTest, WritesTheSamePageAsTheEditor) {
  std::filesystem::copy(Project("options-all"), dir.path() / "menu.pml");
  CliRun run = Build(dir / "menu.pml");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  std::string cli_page = ReadFile(dir / "menu.html");

  ScriptedHost host;
  Editor e(host);
  e.Start();
  ASSERT_TRUE(e.ReadProjectFile(dir / "menu.pml"));
  std::filesystem::create_directory(dir.path() / "editor");
  host.files = {dir / "editor/menu.html"};
  e.Dispatch(kCmdHtmlSave);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(ReadFile(dir / "editor/menu.html"), cli_page);
  EXPECT_EQ(ReadFile(dir / "menu.pml"), ReadFile(Project("options-all"))) << "the project is not touched";
}

TEST_F(CliTest, AProjectMadeInTheEditorBuildsToTheEditorsPage) {
  EditorSession session(dir / "program/");
  ScriptedHost& host = session.host;
  Editor& e = session.e;
  session.Add("製品", "products.html");
  session.Add("ソフト", "soft.html");
  e.SelectItem(e.Model().Root());
  session.Add("会社概要", "about.html");
  ASSERT_TRUE(e.FieldChanged(kCtlOtherButton, sj("フレーム解除")));
  e.Dispatch(kCmdMoveUp);
  host.files = {dir / "site.pml"};
  e.Dispatch(kCmdSave);
  e.Dispatch(kCmdNew);
  host.files = {dir / "site.pml"};
  e.Dispatch(kCmdOpen);
  std::filesystem::create_directory(dir.path() / "editor");
  host.files = {dir / "editor/site.html"};
  e.Dispatch(kCmdHtmlSave);
  EXPECT_EQ(host.messages.size(), 1u) << "only File New's notice";

  CliRun run = Build(dir / "site.pml");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(dir / "site.html"), ReadFile(dir / "editor/site.html"));
  EXPECT_NE(ReadFile(dir / "site.html").find("about.html"), std::string::npos);
}

// Export from the file menu writes what the tool exports of the saved
// project, in every format.
TEST_F(CliTest, TheEditorExportsWhatTheToolExportsOfTheSavedProject) {
  EditorSession editor(dir / "program/");
  editor.Add("製品 &amp; サービス", "products/index.html");
  editor.Add("<b>新</b> &#x1F600;", "https://example.com/%F0%9F%98%80?a=1&b=2");
  editor.Add("  余白  ", "");
  editor.e.SelectItem(editor.e.Model().Root());
  ASSERT_TRUE(editor.e.FieldChanged(kCtlTitle, sj("サイトの &lt;メニュー&gt;")));
  editor.Add("会社概要", "about.html");
  editor.host.files = {dir / "site.pml"};
  editor.e.Dispatch(kCmdSave);
  for (const char* ext : {".json", ".opml", ".html", ".md"}) {
    SCOPED_TRACE(ext);
    editor.host.files = {dir / (std::string("editor") + ext)};
    editor.e.Dispatch(kCmdExport);
    ASSERT_EQ(Build(dir / "site.pml" + " --export " + (dir / (std::string("tool") + ext))).status, 0);
    EXPECT_EQ(ReadFile(dir / (std::string("editor") + ext)), ReadFile(dir / (std::string("tool") + ext)));
  }
  EXPECT_NE(ReadFile(dir / "editor.opml").find("<outline text=\"製品 &amp; サービス\""), std::string::npos)
      << ReadFile(dir / "editor.opml");
  EXPECT_TRUE(editor.host.messages.empty());
  EXPECT_EQ(editor.e.ModifiedFlag(), 0);
}

// The editor offers the HTML5 mode last; pomeli2-build writes it alike.
TEST_F(CliTest, OptionsSetThroughTheDialogsBuildToTheEditorsPage) {
  for (const std::string& browser : {std::string("NN6 Only"), ScriptOptionsDialog::BrowserEntries().back()}) {
    SCOPED_TRACE(browser);
    const std::string site = dir / browser.substr(0, 3);
    std::filesystem::create_directory(site);
    ScriptedHost host;
    std::filesystem::create_directory(site + "/program");
    Editor e(host, site + "/program/");
    e.Start();
    for (const char* title : {"One", "Two"}) {
      e.SelectItem(e.Model().Root());
      e.Dispatch(kCmdAddItem);
      ASSERT_TRUE(e.EndLabelEdit(title));
      ASSERT_TRUE(e.FieldChanged(kCtlLink, std::string(title) + ".html"));
    }
    host.script_options = [&browser](ScriptOptionsDialog& d) {
      d.browser = browser;
      d.CloseItemsClicked(true);
      d.speed = "3";
      d.right_frame = "Right";
      return true;
    };
    e.Dispatch(kCmdScriptOptions);
    host.tree_images = [](TreeImagesDialog& d) {
      d.images[0] = "img/open.gif";
      return true;
    };
    e.Dispatch(kCmdTreeImages);
    host.bulk = [](BulkChangeDialog& d) {
      d.Typed("#ffeedd");
      return true;
    };
    e.Dispatch(kCmdBulkBg);
    e.CheckBoxClicked(kCtlTextBackOn, true);  // the items' own colours count
    host.colours = {0x336699};
    e.ButtonClicked(1053);  // TEXT
    host.answers = {MessageAnswer::kOk};
    e.Dispatch(kCmdItemIcons);
    host.files = {site + "/site.pml", site + "/editor.html"};
    e.Dispatch(kCmdSave);
    e.Dispatch(kCmdHtmlSave);
    EXPECT_EQ(host.messages.size(), 1u) << "only the toggle's question";

    CliRun run = Build(site + "/site.pml" + " -o " + (site + "/built.html"));
    ASSERT_EQ(run.status, 0) << run.err;
    std::string page = ReadFile(site + "/built.html");
    EXPECT_EQ(page, ReadFile(site + "/editor.html"));
    EXPECT_NE(page.find("#336699"), std::string::npos);
    EXPECT_NE(page.find("img/open.gif"), std::string::npos);
    EXPECT_NE(page.find("#ffeedd"), std::string::npos);
    EXPECT_EQ(page.find("<!DOCTYPE html>") == 0, browser == "HTML5");
  }
}

TEST_F(CliTest, FrameSetAndImages) {
  CliRun run = Build(Project("frames") + " -o " + (dir / "site.html") + " --frameset3 main.html --resizable --copy-images");
  ASSERT_EQ(run.status, 0) << run.err;
  std::string main = ReadFile(dir / "main.html");
  EXPECT_NE(main.find("<FRAME SRC=\"site.html\" NAME=\"Frame1\""), std::string::npos);
  EXPECT_NE(main.find("BORDER=\"1\""), std::string::npos);
  EXPECT_FALSE(ReadFile(dir / "frametop.html").empty());
  for (const char* image : {"plus.gif", "minus.gif", "linkto.gif", "otherw.gif", "scroll.gif"})
    EXPECT_EQ(ReadFile(dir / image).substr(0, 6), "GIF89a") << image;

  CliRun reserved = Build(Project("frames") + " -o " + (dir / "site.html") + " --frameset2 frameright.html");
  EXPECT_EQ(reserved.status, 2);
  EXPECT_NE(reserved.err.find("ファイルエラー: frameright.html、frametop.html、site.htmlは使えません。"), std::string::npos);
}

TEST_F(CliTest, FailuresAndTheirExitStatus) {
  CliRun missing = Build(dir / "none.pml");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "エラー: ファイル「" + (dir / "none.pml") + "」をオープンできませんでした。\n");

  WriteFile(dir / "bad.pml", "junk\r\n");
  EXPECT_EQ(Build(dir / "bad.pml").status, 1);

  WriteFile(dir / "root.pml", "0\tHome\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n");
  CliRun root_only = Build(dir / "root.pml");
  EXPECT_EQ(root_only.status, 1);
  EXPECT_EQ(root_only.err, "アイテム確認: 書き出すアイテムがありません。\n");

  WriteFile(dir / "zero.pml", "[Row]\t0\r\n0\tHome\t\t\t1\t\t\t0\r\n1\tA\t\t\t1\t\t\t0\r\n");
  CliRun refused = Build(dir / "zero.pml");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("入力エラー: 「行間」"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "zero.html"));

  // A colour no browser understands, and a BODY file that is gone, stop the
  // build before the page of the last build is touched.
  WriteFile(dir / "zero.html", "old page");
  WriteFile(dir / "zero.pml", "[BgColor]\t#12345\r\n0\tHome\t\t\t1\t\t\t0\r\n1\tA\t\t\t1\t\t\t0\r\n");
  refused = Build(dir / "zero.pml");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("入力エラー: 「背景色」"), std::string::npos);
  // Three digits are a colour as well; four are not.
  WriteFile(dir / "zero.pml", "[BgColor]\t#abc\r\n[BodyText]\t#FFF\r\n[TextBackOn]\t1\r\n0\tHome\t\t\t1\t\t\t0\r\n"
                              "1\tA\t#0f0\t\t1\t\t\t0\r\n");
  ASSERT_EQ(Build(dir / "zero.pml").status, 0);
  EXPECT_NE(ReadFile(dir / "zero.html").find("#abc"), std::string::npos);
  EXPECT_NE(ReadFile(dir / "zero.html").find("#0f0"), std::string::npos);
  WriteFile(dir / "zero.html", "old page");
  WriteFile(dir / "zero.pml", "[TextBackOn]\t1\r\n0\tHome\t\t\t1\t\t\t0\r\n1\tA\t#0f0f\t\t1\t\t\t0\r\n");
  EXPECT_EQ(Build(dir / "zero.pml").status, 1);
  WriteFile(dir / "zero.pml", "[BodyFooter]\t" + (dir / "gone.txt") + "\r\n0\tHome\t\t\t1\t\t\t0\r\n1\tA\t\t\t1\t\t\t0\r\n");
  refused = Build(dir / "zero.pml");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "ファイルエラー: BODY用のフッターファイルが存在しません。 ツールの「BODYタグ内の先頭と後尾の設定」で確認してください。\n");
  EXPECT_EQ(ReadFile(dir / "zero.html"), "old page");

  CliRun unwritable = Build(Project("example") + " -o " + (dir / "no/such/folder.html"));
  EXPECT_EQ(unwritable.status, 3);
  EXPECT_EQ(unwritable.err, "ファイルエラー: 「folder.html」を書き込めません。\n");
}

TEST_F(CliTest, ExportsAndImportsBackTheSameProject) {
  const std::string project = Project("html5-nested");
  CliRun json = Build(project + " --export " + (dir / "menu.json"));
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(json.err, "");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "menu.html")) << "no page is written";
  CliRun back = Build("--import " + (dir / "menu.json") + " -o " + (dir / "back.pml"));
  ASSERT_EQ(back.status, 0) << back.err;
  EXPECT_EQ(ReadFile(dir / "back.pml"), ReadFile(project));

  for (const char* ext : {".opml", ".html", ".md"}) {
    SCOPED_TRACE(ext);
    ASSERT_EQ(Build(project + " --export " + (dir / (std::string("menu") + ext))).status, 0);
    CliRun outline = Build("--import " + (dir / (std::string("menu") + ext)) + " -o " + (dir / "outline.pml") + " --title 'Neu 😀'");
    ASSERT_EQ(outline.status, 0) << outline.err;
    std::string saved = ReadFile(dir / "outline.pml");
    EXPECT_EQ(saved.substr(0, 23), "[Title]\tNeu &#x1F600;\r\n");
    EXPECT_NE(saved.find("\r\n0\tNeu &#x1F600;\t#8080FF\t"), std::string::npos) << "the root takes the page title";
    EXPECT_NE(saved.find("\r\n3\tAlpha one a\t#8080FF\tNone\t1\t10pt\ta1a.html\t0\tFrame2\tlinkto.gif\t0\r\n"),
              std::string::npos);
  }
}

TEST_F(CliTest, ImportAndExportFailures) {
  EXPECT_EQ(Build("--import a.md").status, 2) << "no -o";
  EXPECT_EQ(Build("--import a.md -o b.pml --copy-images").status, 2);
  EXPECT_EQ(Build(Project("example") + " --title x").status, 2);
  EXPECT_EQ(Build(Project("example") + " --export " + (dir / "menu.txt")).status, 2);
  EXPECT_EQ(Build(Project("example") + " --export " + (dir / "no/such/menu.md")).status, 3);
  EXPECT_EQ(Build((dir / "none.pml") + " --export " + (dir / "menu.md")).status, 1);

  CliRun missing = Build("--import " + (dir / "none.md") + " -o " + (dir / "p.pml"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "エラー: ファイル「" + (dir / "none.md") + "」をオープンできませんでした。\n");

  WriteFile(dir / "bad.opml", "<opml version=\"2.0\">\n<body>\n<outline text=\"a\">\n</body>\n</opml>\n");
  CliRun bad = Build("--import " + (dir / "bad.opml") + " -o " + (dir / "p.pml"));
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "エラー: 「" + (dir / "bad.opml") + "」の4行目1列目が正しくありません：終了タグ</body>が<outline>と対応しません。\n");

  WriteFile(dir / "notes.txt", "plain words\n");
  CliRun unknown = Build("--import " + (dir / "notes.txt") + " -o " + (dir / "p.pml"));
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.err.find("「" + (dir / "notes.txt") + "」はインポートできる形式ではありません。"), std::string::npos);

  std::string many;
  for (int i = 0; i < kMaxItems; ++i) many += "- item\n";
  WriteFile(dir / "many.md", many);
  CliRun too_many = Build("--import " + (dir / "many.md") + " -o " + (dir / "p.pml"));
  EXPECT_EQ(too_many.status, 1);
  EXPECT_EQ(too_many.err, "エラー: 「" + (dir / "many.md") + "」を読み込むとアイテムの数が多すぎます。 1つのメニューに入れられるアイテムは17999個までです。\n");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "p.pml"));
  many.erase(0, 7);  // one fewer, with the root as many as a project holds
  WriteFile(dir / "many.md", many);
  EXPECT_EQ(Build("--import " + (dir / "many.md") + " -o " + (dir / "p.pml")).status, 0);

  WriteFile(dir / "long.md", "- [" + std::string(1200, 'T') + "](l.html)\n- [ok](ok.html)\n");
  CliRun cut = Build("--import " + (dir / "long.md") + " -o " + (dir / "long.pml"));
  EXPECT_EQ(cut.status, 0);
  EXPECT_NE(cut.err.find("タイトルかリンクを切り詰めました。\n" + std::string(900, 'T')), std::string::npos) << cut.err;
  EXPECT_NE(ReadFile(dir / "long.pml").find("\t10pt\tl.html\t"), std::string::npos) << "the link is whole";
  EXPECT_EQ(cut.err.find("ok"), std::string::npos) << "only the cut item is listed";
  EXPECT_EQ(Build(dir / "long.pml").status, 0) << "the project reads back";

  // A link that would run script is left out and named; the item comes in.
  WriteFile(dir / "nav.html", "<nav><ul><li><a href=\"javascript:alert(1)\">Run</a><li><a href=\"b.html\">B</a></ul></nav>");
  CliRun script = Build("--import " + (dir / "nav.html") + " -o " + (dir / "nav.pml"));
  EXPECT_EQ(script.status, 0);
  EXPECT_EQ(script.err, "pomeli2-build: 次のアイテムのリンクはスクリプトを実行するため、リンクなしで読み込みました。\nRun\n");
  EXPECT_EQ(ReadFile(dir / "nav.pml").find("javascript"), std::string::npos);
}

// The check before publishing, on a site folder with missing pages and
// images and with settings the page cannot work with.
TEST_F(CliTest, CheckListsEveryProblemBeforePublishing) {
  const std::filesystem::path site = dir.path() / "site";
  std::filesystem::create_directories(site / "tools");
  WriteFile(site / "plus.gif", "GIF");
  WriteFile(site / "tools/saw.html", "<p>saw");
  auto line = [](const std::string& depth, const std::string& title, const std::string& colour, const std::string& link,
                 const std::string& icon = "") {
    return depth + "\t" + title + "\t" + colour + "\tNone\t1\t10pt\t" + link + "\t0\tFrame2\t" + icon + "\t0\r\n";
  };
  std::string project = "[Title]\tSite\r\n[BgColor]\t#12345\r\n[Row]\t0\r\n[BackPicture]\tback.gif\r\n"
                        "[Plus]\tplus.gif\r\n[Minus]\tminus.gif\r\n[Linkto]\t\r\n[Otherw]\thttp://example.com/o.gif\r\n"
                        "[Path]\t" + (site / "menu.html").string() + "\r\n" +
                        line("0", "root", "#8080FF", "") + line("1", "Products", "#FFFFFF", "products.html") +
                        line("2", "<b>Tools</b>", "#FFFFFF", "tools/index.html") +
                        line("3", "Hammer", "#FFF", "tools/hammer.html?x=1#top", "icons/hammer.gif") +
                        line("3", "Saw", "#FFFFFF", "tools\\saw.html#blade", "plus.gif") +
                        line("2", "", "#FFFFFF", "") +
                        line("1", " ", "#FFFFFF", "http://example.com/x") + line("1", "Mail", "", "mailto:a@example.com") +
                        line("1", "file:pics/logo.gif:Logo", "#FFFFFF", "file:///nowhere/abs.html");
  WriteFile(dir / "site.pml", project);
  CliRun run = Build("--check " + (dir / "site.pml"));
  EXPECT_EQ(run.status, 4) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "page: 行間: 1以上の数値を入力してください。\n"
            "page: 背景色: 色は「#」に続けて16進数6桁で入力してください。\n"
            "page: 背景画像: 「back.gif」が見つかりません。\n"
            "page: マイナスボタン: 「minus.gif」が見つかりません。\n"
            "Products > Tools > Hammer: リンク: 「tools/hammer.html?x=1#top」が見つかりません。\n"
            "Products > Tools > Hammer: アイコン: 「icons/hammer.gif」が見つかりません。\n"
            "Products > (無題): 名前: 名前がありません。\n"
            "x: 名前: 名前がありません。\n"
            "Logo: 名前: 「pics/logo.gif」が見つかりません。\n"
            "Logo: リンク: 「file:///nowhere/abs.html」が見つかりません。\n");
  EXPECT_FALSE(std::filesystem::exists(site / "menu.html")) << "a check writes nothing";

  // -o names the page's folder instead of [Path]: there everything is.
  const std::filesystem::path other = dir.path() / "other";
  std::filesystem::create_directories(other / "tools");
  std::filesystem::create_directories(other / "icons");
  std::filesystem::create_directories(other / "pics");
  for (const char* name : {"back.gif", "minus.gif", "tools/hammer.html", "tools/saw.html", "icons/hammer.gif",
                           "pics/logo.gif", "plus.gif"})
    WriteFile(other / name, "x");
  run = Build("--check " + (dir / "site.pml") + " -o " + (other / "menu.html").string());
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.out,
            "page: 行間: 1以上の数値を入力してください。\n"
            "page: 背景色: 色は「#」に続けて16進数6桁で入力してください。\n"
            "Products > (無題): 名前: 名前がありません。\n"
            "x: 名前: 名前がありません。\n"
            "Logo: リンク: 「file:///nowhere/abs.html」が見つかりません。\n");

  // The buttons of branches and of other windows are pictures this page
  // never shows: missing, they are no problem.
  WriteFile(dir / "clean.pml", "[Plus]\tplus.gif\r\n[Minus]\tminus.gif\r\n[Linkto]\t\r\n[Otherw]\totherw.gif\r\n"
                               "[BackPicture]\t\r\n" +
                                   line("0", "root", "#8080FF", "") + line("1", "Home", "#FFFFFF", "http://example.com/"));
  run = Build("--check " + (dir / "clean.pml"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Build("--check " + Project("example") + " --copy-images").status, 2);
}

}  // namespace
}  // namespace pomeli2::testing
