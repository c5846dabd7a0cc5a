#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>

#include <filesystem>

#include "editor/editor.h"
#include "editor/editor_access.h"
#include "generate/menu_page.h"
#include "project/project_file.h"
#include "support/file_size_limit.h"
#include "support/menu_builder.h"
#include "support/scripted_host.h"
#include "text/numbers.h"

namespace pomeli2 {
namespace {

using testing::AddItem;
using testing::ItemCells;
using testing::ReadFile;
using testing::ScriptedHost;
using testing::TempDir;

const std::string kGolden = std::string(POMELI2_TEST_DATA) + "/golden/sample.pml";

MenuItem Cells(const char* title_utf8, const std::string& link, const std::string& other = "0") {
  return ItemCells(sj(title_utf8), link, other);
}

// The menu of the golden file, built as the editor would hold it, with a
// deleted item's id among the live ones.
// Writes the project as Save does once it has a name, messages and all.
bool Save(Editor& e) { return !EditorAccess::Notify(e).Report(EditorAccess::Doc(e).WriteProjectFile()); }

void BuildSample(Editor& e) {
  e.Start();
  PageSettings& s = EditorAccess::Settings(e);
  s.Title = sj("メニュー見本");
  s.BgColor = "#FFFFFF";
  s.BackPicture = "back.gif";
  s.TextBackOn = 1;
  s.TreeItemColor = 255;
  s.Browser.mode = PageMode::kNn6Only;
  s.Path = "web/menu.html";
  s.CloseTree = 1;
  s.Speed = "8";
  s.BodyHeader = "head.txt";
  EditorAccess::Form(e).StoreSelectedItem();  // root selected: its row takes the page title
  MenuModel& m = EditorAccess::Model(e);
  MenuItem products = Cells("製品", "products.html");
  products.open = "1";
  NodeId a = AddItem(m, m.Root(), products);
  MenuItem tools = Cells("工具", "tools.html", "1");
  tools.target = "Right";
  AddItem(m, a, tools);
  m.tree.DeleteSubtree(AddItem(m, a, Cells("削除済み", "old.html")));
  MenuItem view = Cells("表示", sj("ソフト\\表.html"), "5");
  view.target = "_blank";
  AddItem(m, a, view);
  MenuItem contact = Cells("連絡先", "contact.html");
  contact.bg_color = "#FFCC00";
  contact.style = "Bold";
  contact.font_size = "12pt";
  AddItem(m, m.Root(), contact);
}

// The items in pre-order with their levels, the root with the title the
// file stores for it.
std::vector<std::pair<int, MenuItem>> LiveItems(Editor& e) {
  const MenuModel& m = e.Model();
  std::vector<std::pair<int, MenuItem>> items;
  m.tree.ForEachPreOrder(m.Root(), [&](NodeId n) { items.push_back({m.tree.Level(n), m.tree.Item(n)}); });
  items.front().second.title = m.root_title;
  return items;
}

// [Browser] is read into its mode; a text that names none (letter case
// counts) writes the combined page and is saved back as it was read.
TEST(ProjectKeys, BrowserTextsComeBackAsTheyWereRead) {
  const ProjectKey *browser = nullptr, *frame = nullptr;
  for (const ProjectKey& k : ProjectKeys()) {
    if (std::string(k.key) == "[Browser]") browser = &k;
    if (std::string(k.key) == "[RightFrame]") frame = &k;
  }
  ASSERT_TRUE(browser && frame);
  for (const char* text : {"HTML5", "NN4 Only", "IE4-5, NN4, NN6", "html5", "Lynx", ""}) {
    PageSettings s;
    StoreSettingValue(s, *browser, text);
    EXPECT_EQ(SettingValue(s, *browser), text);
    EXPECT_EQ(s.Browser.mode == PageMode::kHtml5, std::string(text) == "HTML5") << text;
  }
  // [RightFrame] "なし" is no frame; any other text, the empty one too, names one.
  PageSettings s;
  StoreSettingValue(s, *frame, sj("なし"));
  EXPECT_TRUE(s.ItemTargetsEnabled());
  EXPECT_EQ(SettingValue(s, *frame), sj("なし"));
  StoreSettingValue(s, *frame, "");
  EXPECT_FALSE(s.ItemTargetsEnabled());
  EXPECT_EQ(SettingValue(s, *frame), "");
}

TEST(ProjectWrite, GoldenBytesAndReadBack) {
  TempDir dir;
  ScriptedHost host;
  Editor e(host);
  BuildSample(e);
  EditorAccess::Settings(e).ProjectPath = dir / "sample.pml";
  ASSERT_TRUE(Save(e));
  EXPECT_EQ(ReadFile(dir / "sample.pml"), ReadFile(kGolden));
  EXPECT_TRUE(host.messages.empty());

  ScriptedHost host2;
  Editor loaded(host2);
  loaded.Start();
  ASSERT_TRUE(loaded.ReadProjectFile(dir / "sample.pml"));
  EXPECT_TRUE(host2.messages.empty());
  EXPECT_EQ(loaded.Settings(), e.Settings());
  EXPECT_EQ(LiveItems(loaded), LiveItems(e));

  EditorAccess::Settings(loaded).ProjectPath = dir / "again.pml";
  ASSERT_TRUE(Save(loaded));
  EXPECT_EQ(ReadFile(dir / "again.pml"), ReadFile(kGolden));
}

TEST(ProjectWrite, RootOnlyProjectHasOneItemLineAndNoBodyKeys) {
  TempDir dir;
  ScriptedHost host;
  Editor e(host);
  e.Start();
  EditorAccess::Settings(e).ProjectPath = dir / "one.pml";
  ASSERT_TRUE(Save(e));
  std::string bytes = ReadFile(dir / "one.pml");
  EXPECT_EQ(bytes.find("[BodyHeader]"), std::string::npos);
  EXPECT_EQ(bytes.find("[BodyFooter]"), std::string::npos);
  std::string tail = "[Speed]\t5\r\n0\t" + sj("ホームページ") + "\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n";
  ASSERT_GE(bytes.size(), tail.size());
  EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);

  Editor loaded(host);
  loaded.Start();
  ASSERT_TRUE(loaded.ReadProjectFile(dir / "one.pml"));
  EXPECT_EQ(loaded.Model().tree.Count(), 1);
  EXPECT_FALSE(loaded.Model().HasCreatedItems());
}

// The page settings that older files lack: written only when they differ
// from what their absence means, and a file without them reads as off, in
// Japanese, left to right, on no site, whatever the editor held before.
TEST(ProjectWrite, NewerPageSettingsOnlyWhenTheyDifferFromTheirAbsence) {
  TempDir dir;
  ScriptedHost host;
  Editor e(host);
  e.Start();
  e.Dispatch(kCmdNew);
  EXPECT_EQ(e.Settings().Filter, 1) << "a new project has the filter box";
  EditorAccess::Settings(e).Lang = "ar";
  EditorAccess::Settings(e).Dir = "rtl";
  EditorAccess::Settings(e).Dark = 1;
  EditorAccess::Settings(e).Site = "/srv/www/site";
  EditorAccess::Settings(e).ProjectPath = dir / "new.pml";
  ASSERT_TRUE(Save(e));
  const std::string bytes = ReadFile(dir / "new.pml");
  EXPECT_NE(bytes.find("[Speed]\t5\r\n[Filter]\t1\r\n[Lang]\tar\r\n[Dir]\trtl\r\n[Dark]\t1\r\n[Site]\t/srv/www/site\r\n0\t"),
            std::string::npos);

  Editor loaded(host);
  loaded.Start();
  ASSERT_TRUE(loaded.ReadProjectFile(dir / "new.pml"));
  EXPECT_EQ(loaded.Settings().Filter, 1);
  EXPECT_EQ(loaded.Settings().Lang, "ar");
  EXPECT_TRUE(loaded.Settings().RightToLeft());
  EXPECT_EQ(loaded.Settings().Dark, 1);
  EXPECT_EQ(loaded.Settings().Site, "/srv/www/site");

  // An older file: its page keeps to what it was.
  testing::WriteFile(dir / "old.pml", ReadFile(kGolden));
  ASSERT_TRUE(loaded.ReadProjectFile(dir / "old.pml"));
  EXPECT_EQ(loaded.Settings().Filter, 0);
  EXPECT_EQ(loaded.Settings().Lang, "ja");
  EXPECT_FALSE(loaded.Settings().RightToLeft());
  EXPECT_EQ(loaded.Settings().Dark, 0);
  EXPECT_EQ(loaded.Settings().Site, "") << "no site from the project before";
  ASSERT_TRUE(Save(loaded));
  EXPECT_EQ(ReadFile(dir / "old.pml"), ReadFile(kGolden)) << "saved again, the same bytes";
}

TEST(ProjectWrite, FailedWriteKeepsTheOldFileWhole) {
  TempDir dir;
  ScriptedHost host;
  Editor e(host);
  BuildSample(e);
  std::string target = dir / "keep.pml";
  testing::WriteFile(target, "old contents");
  EditorAccess::Settings(e).ProjectPath = target;
  bool written;
  {
    testing::FileSizeLimit limit(100);  // the write fails half way
    written = Save(e);
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadFile(target), "old contents");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "「" + target + "」を書き込めません。");
  EXPECT_EQ(host.messages[0].title, "ファイルエラー");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
}

TEST(ProjectWrite, UnwritablePathIsReportedAndLeavesNoTemporaryFile) {
  TempDir dir;
  ScriptedHost host;
  Editor e(host);
  e.Start();
  std::filesystem::create_directory(dir.path() / "folder.pml");
  EditorAccess::Settings(e).ProjectPath = dir / "folder.pml";  // a folder cannot be replaced by a file
  EXPECT_FALSE(Save(e));
  EditorAccess::Settings(e).ProjectPath = dir / "missing/x.pml";
  EXPECT_FALSE(Save(e));
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(ProjectWrite, KeepsPermissionsAndWritesThroughLinks) {
  TempDir dir;
  ScriptedHost host;
  Editor e(host);
  e.Start();
  std::string real = dir / "real.pml";
  testing::WriteFile(real, "x");
  chmod(real.c_str(), 0640);
  std::filesystem::create_symlink("real.pml", dir.path() / "link.pml");
  EditorAccess::Settings(e).ProjectPath = dir / "link.pml";
  ASSERT_TRUE(Save(e));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.pml"));
  EXPECT_NE(ReadFile(real), "x");
  struct stat st;
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(ProjectWrite, RefusesLinesTheReaderCouldNotTakeWhole) {
  TempDir dir;
  ScriptedHost host;
  Editor e(host);
  e.Start();
  std::string target = dir / "long.pml";
  testing::WriteFile(target, "old");
  EditorAccess::Settings(e).ProjectPath = target;

  EditorAccess::Settings(e).FirstPage = std::string(1022 - std::string("[FirstPage]\t").size(), 'p');
  EXPECT_TRUE(Save(e));  // exactly the longest line
  EditorAccess::Settings(e).FirstPage += "p";
  EXPECT_FALSE(Save(e));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("[FirstPage]"), std::string::npos);
  EditorAccess::Settings(e).FirstPage.clear();

  NodeId n = AddItem(EditorAccess::Model(e), EditorAccess::Model(e).Root(), ItemCells("long", std::string(1000, 'l')));
  (void)n;
  std::string before = ReadFile(target);
  EXPECT_FALSE(Save(e));
  EXPECT_NE(host.messages.back().text.find("アイテム「long」"), std::string::npos);
  EXPECT_EQ(ReadFile(target), before);
}

TEST(ProjectWrite, LargeProjectLoadsRenumbersAndWritesBackIdentical) {
  // 10,000 items: every tenth item a top-level branch, the rest its children
  // and grandchildren.
  std::string file = ReadFile(kGolden);
  file = file.substr(0, file.find("\r\n0\t") + 2);
  file += "0\troot\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n";
  for (int i = 1; i < 10000; ++i) {
    int depth = i % 10 == 1 ? 1 : i % 10 < 5 ? 2 : 3;
    file += std::to_string(depth) + "\titem" + std::to_string(i) + "\t#FFFFFF\tBold\t1\t12pt\tp" + std::to_string(i) +
            ".html\t" + std::to_string(i % 3) + "\tRight\tlinkto.gif\t" + (depth == 1 ? "1" : "0") + "\r\n";
  }
  TempDir dir;
  testing::WriteFile(dir / "big.pml", file);
  ScriptedHost host;
  Editor e(host);
  e.Start();
  ASSERT_TRUE(e.ReadProjectFile(dir / "big.pml"));
  EXPECT_EQ(e.Model().tree.Count(), 10000);

  EditorAccess::Settings(e).ProjectPath = dir / "big2.pml";
  ASSERT_TRUE(Save(e));
  EXPECT_EQ(ReadFile(dir / "big2.pml"), file);
}

// A number setting comes back as the file held it, whatever it reads as; the
// page prints that text as the top-level items' left and computes with its
// value everywhere else, and only a text that is a number satisfies the check.
TEST(ProjectWrite, NumberSettingsKeepTheirTextAndPagesUseTheirValue) {
  const struct {
    std::string text;
    long long value;
    bool number;
  } odd[] = {{" 12", 12, true},  {"+3", 3, true},          {"012", 12, true}, {"1e3", 1, false},
             {"", 0, false},     {"-0", 0, true},          {" -7", -7, true}, {sj("１２"), 0, false},
             {std::string(900, '7'), 2147483647, true}};
  for (const auto& o : odd) {
    PageSettings s = PageSettings::Initial();
    s.Start = s.Left = s.Row = s.Indent = s.Speed = o.text;
    MenuModel m;
    m.ResetMenu();
    AddItem(m, AddItem(m, m.Root(), Cells("A", "")), Cells("B", "b.html"));
    const std::string bytes = SerializeProject(s, m).bytes;
    for (const char* key : {"[Start]\t", "[Left]\t", "[Row]\t", "[Indent]\t", "[Speed]\t"})
      EXPECT_NE(bytes.find(key + o.text + "\r\n"), std::string::npos) << key << o.text;
    ParsedProject back = ParseProject(bytes, PageSettings::Initial(), {});
    ASSERT_EQ(back.failure, ReadFailure::kNone);
    RebuildMenu(m, std::move(back.tree));
    EXPECT_EQ(SerializeProject(back.settings, m).bytes, bytes) << o.text;

    const std::string page = BuildMenuPage(back.settings, m.tree, nullptr, nullptr);
    // The first item stands at Start; the child one Indent right of Left.
    EXPECT_NE(page.find("visibility:visible;left:" + o.text + ";top:" + ToText(o.value) + ";"), std::string::npos);
    EXPECT_NE(page.find("visibility:hidden;left:" + ToText(2 * o.value) + ";top:"), std::string::npos) << o.text;
    // Without the animation a negative row spacing or indent still works.
    auto bad = FindUnworkableSetting(back.settings);
    EXPECT_EQ(!bad, o.number && o.value != 0) << o.text;
    const SettingField first = o.number ? &PageSettings::Row : &PageSettings::Left;
    if (bad) {
      EXPECT_EQ(bad->field, first) << o.text;
    }
  }
}

}  // namespace
}  // namespace pomeli2
