// pomeli2-build --site on the test site of tests/site: what changes in each
// page, what does not, and the exit statuses.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>

#include "document/document.h"
#include "editor/editor.h"
#include "editor/editor_access.h"
#include "generate/site.h"
#include "generate/site_links.h"
#include "support/scripted_host.h"
#include "support/golden.h"
#include "support/menu_builder.h"

namespace pomeli2::testing {
namespace {

namespace fs = std::filesystem;
using Tree = std::map<std::string, std::string>;

Tree Pages(const fs::path& root) {
  Tree tree;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) tree[fs::relative(entry.path(), root).generic_string()] = ReadFile(entry.path());
  return tree;
}

class SiteTest : public ::testing::Test {
 protected:
  SiteTest() {
    fs::copy(std::string(POMELI2_TEST_DATA) + "/site", dir.path() / "copy", fs::copy_options::recursive);
    original = Pages(Site());
  }
  fs::path Site() const { return dir.path() / "copy/pages"; }
  struct Run {
    int status;
    std::string out, err;
  };
  Run Build(const std::string& args) {
    const std::string cmd = "cd " + (dir / "copy") + " && " + POMELI2_BUILD_TOOL + " " + args + " >" + (dir / "out") +
                            " 2>" + (dir / "err");
    const int raw = std::system(cmd.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(dir / "out"), ReadFile(dir / "err")};
  }
  TempDir dir;
  Tree original;
};

TEST_F(SiteTest, ChangesOnlyTheMarkersContentAndAgainNothing) {
  Run run = Build("site.pml --site pages -o pages/menu.html");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "pomeli2-build: legacy/old.html: left as it is: it declares no encoding and is not valid UTF-8\n");
  const Tree now = Pages(Site());
  std::string placeholders;
  for (const auto& [name, bytes] : original) {
    const std::string& after = now.at(name);
    const auto marker = FindMenuMarker(bytes);
    const bool ours = marker && name != "legacy/old.html";
    EXPECT_EQ(run.out.find(name + "\n") != std::string::npos, ours) << name;
    if (!ours) {
      EXPECT_EQ(after, bytes) << name << " is not the site's to change";
      continue;
    }
    // Before the marker's content and after it, every byte as it was.
    ASSERT_GE(after.size(), marker->begin + bytes.size() - marker->end);
    EXPECT_EQ(after.substr(0, marker->begin), bytes.substr(0, marker->begin)) << name;
    EXPECT_EQ(after.substr(after.size() - (bytes.size() - marker->end)), bytes.substr(marker->end)) << name;
    const std::string content = after.substr(marker->begin, after.size() - bytes.size() + marker->end - marker->begin);
    EXPECT_LE(content.size(), 1024u) << name;
    placeholders += name + "\n" + content + "\n";
  }
  ExpectGolden("site/placeholders.txt", placeholders);
  EXPECT_EQ(now.count("pomeli2/menu.js") + now.count("pomeli2/menu.css"), 2u);

  // Once more: the same bytes, and nothing written.
  Run again = Build("site.pml --site pages -o pages/menu.html");
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.out, "");
  EXPECT_EQ(Pages(Site()), now);
}

// The editor's command writes what the tool writes; a stop on the way
// leaves every page as it was; the folder stays with the project, through
// undo, and is where the next run starts.
TEST_F(SiteTest, TheEditorPutsTheSameMenuIntoTheSite) {
  const fs::path pages = dir.path() / "copy/editor";
  fs::copy(Site(), pages, fs::copy_options::recursive);
  ASSERT_EQ(Build("site.pml --site pages -o pages/menu.html").status, 0);

  ScriptedHost host;
  Editor e(host);
  e.Start();
  ASSERT_TRUE(e.ReadProjectFile(dir / "copy/site.pml"));
  EditorAccess::Settings(e).Path = pages / "menu.html";
  EditorAccess::Settings(e).HtmlFileName = "menu.html";
  host.folders = {pages.string()};
  host.stop_at = 11;  // the last step, every page ready, none written
  e.Dispatch(kCmdSite);
  EXPECT_EQ(host.folder_starts.back(), pages.string() + "/") << "the menu page's folder at first";
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("の10個のページのうち、メニューの場所を持つ9個のページに"), std::string::npos)
      << host.messages[0].text;
  EXPECT_EQ(host.progress.back(), std::make_pair(size_t{10}, size_t{10}));
  EXPECT_EQ(Pages(pages), original) << "stopped before anything was written";
  EXPECT_TRUE(host.site_rows.empty());
  EXPECT_EQ(e.Settings().Site, pages.string());
  EXPECT_EQ(e.ModifiedFlag(), 1) << "the project keeps the folder";

  e.Dispatch(kCmdAddItem);
  e.Dispatch(kCmdUndo);
  EXPECT_EQ(e.Settings().Site, pages.string()) << "no step brings back another folder";
  host.stop_at = SIZE_MAX;
  host.folders = {pages.string()};
  e.Dispatch(kCmdSite);
  EXPECT_EQ(host.folder_starts.back(), pages.string());
  EXPECT_EQ(Pages(pages), Pages(Site())) << "the same bytes as the tool's";
  EXPECT_EQ(host.site_summary, "書き込み8、変更なし0、組み込めないページ1、書き込めないファイル0。");
  ASSERT_FALSE(host.site_rows.empty());
  EXPECT_EQ(host.site_rows[0].page, "legacy/old.html");
  EXPECT_EQ(SjisToUtf8Lossy(host.site_rows[0].what), "元のままです：文字コードの宣言がなく、UTF-8としても読めません。");

  // The check knows the site from the project alone.
  e.Dispatch(kCmdCheckLinks);
  ASSERT_FALSE(host.checks.empty());
  EXPECT_TRUE(std::any_of(host.checks.back().begin(), host.checks.back().end(),
                          [](const CheckProblem& p) { return p.field == "viewer.html"; }));
}

// The pages a survey read go on to the writer, but a page edited after the
// survey is written from what it holds then.
TEST_F(SiteTest, APageEditedAfterTheSurveyKeepsTheEdit) {
  Document doc;
  std::vector<std::string> targets;
  ASSERT_FALSE(doc.ReadProjectFile(dir / "copy/site.pml", targets));
  auto survey = SurveySite(Site().string());
  ASSERT_TRUE(survey);
  std::string intro = ReadFile(Site() / "guide/intro.html");
  intro.insert(intro.find("<main>"), "<p>edited</p>");
  WriteFile(Site() / "guide/intro.html", intro);
  auto result = PutMenuIntoSite(doc.settings, doc.model.tree, {Site().string(), Site() / "menu.html", "", {}}, &*survey);
  ASSERT_TRUE(std::holds_alternative<SiteReport>(result));
  EXPECT_NE(ReadFile(Site() / "guide/intro.html").find("<p>edited</p><main>"), std::string::npos);
  EXPECT_NE(ReadFile(Site() / "guide/intro.html").find("pomeli2-path"), std::string::npos);
}

TEST_F(SiteTest, TheMarkerFoundWhereverItStandsAndOnlyThere) {
  const std::string nested = "<div id=x><div id=\"pomeli2-menu\"><div>a<div>b</div></div></div>c</div>";
  auto m = FindMenuMarker(nested);
  ASSERT_TRUE(m);
  EXPECT_EQ(nested.substr(m->begin, m->end - m->begin), "<div>a<div>b</div></div>");
  EXPECT_FALSE(FindMenuMarker("<!-- <nav id=pomeli2-menu></nav> --><p title='id=pomeli2-menu'>"));
  EXPECT_FALSE(FindMenuMarker("<script>'<nav id=pomeli2-menu></nav>'</script>"));
  EXPECT_FALSE(FindMenuMarker("<nav id=pomeli2-menu>never closed"));
}

// A frame of the site's own keeps the links that open in it, in whatever
// letter case its page spells the attribute.
TEST_F(SiteTest, AFrameOfTheSiteKeepsItsLinksTarget) {
  std::string viewer = ReadFile(Site() / "viewer.html");
  viewer.replace(viewer.find("<iframe name=\"viewer\""), 21, "<IFRAME NAME=\"Right\"");
  WriteFile(Site() / "viewer.html", viewer);
  ASSERT_EQ(Build("site.pml --site pages -o pages/menu.html").status, 0);
  EXPECT_NE(ReadFile(Site() / "pomeli2/menu.js").find("target=\\\"Right\\\""), std::string::npos);
}

// A page that declares no encoding is written only when all of it is
// UTF-8: CP932 bytes that merely look like a UTF-8 sequence do not pass.
TEST_F(SiteTest, LinksFromABaseUrl) {
  Run run = Build("site.pml --site pages -o pages/menu.html --base https://example.org/docs/");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string page = ReadFile(Site() / "guide/deep/emoji.html");
  EXPECT_NE(page.find("<a href=\"https://example.org/docs/guide/intro.html\">"), std::string::npos) << page;
  EXPECT_NE(page.find("href=\"https://example.org/docs/menu.html\""), std::string::npos) << page;
  EXPECT_NE(page.find("href=\"../../pomeli2/menu.css\""), std::string::npos) << page;
  EXPECT_EQ(ResolveUrl("http://h/a/b.html?q#f", "../c/./d.html"), "http://h/c/d.html");
  EXPECT_EQ(ResolveUrl("http://h/a/b.html", "/x"), "http://h/x");
  EXPECT_EQ(ResolveUrl("file:///s/a/", "?q"), "file:///s/a/?q");
  EXPECT_EQ(ResolveUrl("http://h/a/b.html", "my_page:1.html"), "http://h/a/my_page:1.html") << "no scheme has _";
}

TEST_F(SiteTest, TheCheckKnowsTheSite) {
  fs::remove(Site() / "news/index.html");
  WriteFile(Site() / "menu.html", "the menu page, linked from every page");
  Run run = Build("--check site.pml --site pages -o pages/menu.html");
  EXPECT_EQ(run.status, 4);
  const std::string site_lines = run.out.substr(run.out.find("\n", run.out.find("linkto.gif")) + 1);
  EXPECT_EQ(site_lines,
            "お知らせ: リンク: サイトにこのページがありません。\n"
            "site: guide/unlisted.html: メニューのどの項目からもリンクされていません。\n"
            "site: viewer.html: メニューのどの項目からもリンクされていません。\n");
  EXPECT_EQ(Build("--check site.pml --site missing").status, 4);

  // The project's own site folder, beside the project file, when --site
  // names none.
  std::string project = ReadFile(dir / "copy/site.pml");
  project.insert(project.find("0\t"), "[Site]\tpages\r\n");
  fs::create_directory(dir / "copy/sub");
  WriteFile(dir / "copy/sub/site.pml", project);
  fs::rename(Site(), dir / "copy/sub/pages");
  Run own = Build("--check sub/site.pml -o sub/pages/menu.html");
  EXPECT_EQ(own.out.substr(own.out.find("\n", own.out.find("linkto.gif")) + 1), site_lines);
}

TEST_F(SiteTest, ExitStatuses) {
  EXPECT_EQ(Build("site.pml --site missing").status, 1);
  EXPECT_EQ(Build("missing.pml --site pages").status, 1);
  EXPECT_EQ(Build("site.pml --site pages --base relative/").status, 1);
  EXPECT_EQ(Build("site.pml --base http://x/").status, 2);
  EXPECT_EQ(Build("site.pml --site pages --check --base http://x/").status, 2);
  EXPECT_EQ(Pages(Site()), original) << "nothing is written when the project or the site is refused";
}

}  // namespace
}  // namespace pomeli2::testing
