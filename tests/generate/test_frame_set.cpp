#include <filesystem>

#include "generate/page_fixture.h"
#include "io/program_folder.h"

namespace pomeli2::testing {
namespace {

class FrameSetTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    Add(Root(), ItemCells("A", "a.html"));
    ASSERT_EQ(Write("menu"), Editor::PageWrite::kWritten);
  }
  Editor::FrameSetWrite Create(const std::string& name, int panes) { return e.CreateFrameSet(dir / name, panes); }
  bool Exists(const std::string& name) { return std::filesystem::exists(dir.path() / name); }
};

TEST_F(FrameSetTest, GoldenPages) {
  S().Title = sj("見本");
  S().RightFrame = "Frame2";
  ASSERT_EQ(Create("mainframe.html", 2), Editor::FrameSetWrite::kWritten);
  ExpectGolden("frames/two-panes.html", ReadFile(dir / "mainframe.html"));
  ExpectGolden("frames/frameright.html", ReadFile(dir / "frameright.html"));
  EXPECT_FALSE(Exists("frametop.html")) << "two panes never write the top page";
  ASSERT_EQ(Create("main3.html", 3), Editor::FrameSetWrite::kWritten);
  ExpectGolden("frames/three-panes.html", ReadFile(dir / "main3.html"));
  ExpectGolden("frames/frametop.html", ReadFile(dir / "frametop.html"));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(FrameSetTest, ResizableFlagNamesAndFirstPages) {
  e.SetFrameResizable(1);
  S().Title = "";
  S().FirstPage = "first.html";
  S().FirstTopPage = "top&\"1\".html";
  ASSERT_EQ(Create("set.html", 3), Editor::FrameSetWrite::kWritten);
  std::string page = ReadFile(dir / "set.html");
  EXPECT_EQ(Count(page, "BORDER=\"1\""), 2u);
  EXPECT_EQ(Count(page, "NORESIZE"), 0u);
  EXPECT_EQ(Count(page, "MARGINHEIGHT=\"0\">"), 3u);
  EXPECT_NE(page.find("<TITLE></TITLE>"), std::string::npos);
  EXPECT_NE(page.find("SRC=\"first.html\" NAME=\"Frame2\""), std::string::npos);
  EXPECT_NE(page.find("SRC=\"top&\"1\".html\" NAME=\"Frame3\""), std::string::npos);
  EXPECT_NE(page.find("<FRAME SRC=\"menu.html\" NAME=\"Frame1\""), std::string::npos);
  EXPECT_TRUE(Exists("frameright.html")) << "the placeholder is written even when unused";
  EXPECT_NE(ReadFile(dir / "frameright.html").find("<TITLE></TITLE>"), std::string::npos);

  S().RightFrame = "Right";
  e.SetFrameResizable(0);
  ASSERT_EQ(Create("set.html", 2), Editor::FrameSetWrite::kWritten);
  page = ReadFile(dir / "set.html");
  EXPECT_NE(page.find("NAME=\"Right\""), std::string::npos);
  EXPECT_EQ(Count(page, " NORESIZE>"), 2u);
}

TEST_F(FrameSetTest, ReservedNamesAreRefused) {
  for (const char* name : {"frameright.html", "frametop.html", "menu.html"}) {
    host.messages.clear();
    EXPECT_EQ(Create(std::string("sub/") + name, 2), Editor::FrameSetWrite::kReservedName) << name;
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "frameright.html、frametop.html、menu.htmlは使えません。\n他のファイル名を使ってください。");
    EXPECT_EQ(host.messages[0].title, "ファイルエラー");
  }
  EXPECT_EQ(Create("FrameRight.html", 2), Editor::FrameSetWrite::kWritten);
}

TEST_F(FrameSetTest, ExistingPageIsReplacedOnlyAfterYes) {
  WriteFile(dir / "set.html", "mine");
  host.answers = {MessageAnswer::kNo};
  EXPECT_EQ(Create("set.html", 2), Editor::FrameSetWrite::kDeclined);
  EXPECT_EQ(ReadFile(dir / "set.html"), "mine");
  EXPECT_FALSE(Exists("frameright.html"));
  EXPECT_EQ(host.messages.back().text, "同名ファイルが存在します。上書きしますか？");
  EXPECT_EQ(host.messages.back().title, "上書確認");
  host.answers = {MessageAnswer::kYes};
  EXPECT_EQ(Create("set.html", 2), Editor::FrameSetWrite::kWritten);
  EXPECT_NE(ReadFile(dir / "set.html"), "mine");
}

TEST_F(FrameSetTest, PlaceholderFailureStopsTheRest) {
  std::filesystem::create_directory(dir.path() / "frameright.html");  // cannot be replaced by a file
  EXPECT_EQ(Create("set.html", 3), Editor::FrameSetWrite::kWriteFailed);
  EXPECT_TRUE(Exists("set.html"));
  EXPECT_FALSE(Exists("frametop.html"));
  EXPECT_EQ(host.messages.back().text, "「frameright.html」を書き込めません。");
}

class IconCopyTest : public FrameSetTest {
 protected:
  void SetUp() override {
    FrameSetTest::SetUp();
    std::filesystem::create_directory(dir.path() / "program");
    for (const char* name : kStandardImages) WriteFile(dir / (std::string("program/") + name), name);
  }
  std::string Program() { return dir / "program/"; }
  std::vector<std::string> Copied() {
    std::vector<std::string> names;
    for (const char* name : kStandardImages)
      if (Exists(name)) names.push_back(name);
    return names;
  }
};

TEST_F(IconCopyTest, CopiesAllFiveAfterAsking) {
  ASSERT_TRUE(e.CopyStandardImages(Program()));
  EXPECT_EQ(Copied().size(), 5u);
  EXPECT_EQ(ReadFile(dir / "plus.gif"), "plus.gif");
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].title, "確認");
  EXPECT_EQ(host.messages[0].buttons, MessageButtons::kOkCancel);
  EXPECT_EQ(host.messages[0].text,
            "Pomeli Pomeli標準のアイコンファイルを\r\nHTMLの保存フォルダに5個コピーします。\r\nよろしいですか？\r\n\r\n"
            "plus.gif\r\nminus.gif\r\nlinkto.gif\r\notherw.gif\r\nscroll.gif\r\n");
  EXPECT_EQ(host.messages[1].text, "コピーが終了しました。");
}

TEST_F(IconCopyTest, CancelCopiesNothing) {
  host.answers = {MessageAnswer::kCancel};
  EXPECT_FALSE(e.CopyStandardImages(Program()));
  EXPECT_TRUE(Copied().empty());
}

TEST_F(IconCopyTest, StopsAtTheFirstMissingImage) {
  std::filesystem::remove(dir.path() / "program/otherw.gif");
  EXPECT_FALSE(e.CopyStandardImages(Program()));
  EXPECT_TRUE(Copied().empty()) << "otherw.gif comes first";
  EXPECT_EQ(host.messages.back().text, "ファイルが存在しません。コピーに失敗しました。");

  WriteFile(dir / "program/otherw.gif", "o");
  std::filesystem::remove(dir.path() / "program/linkto.gif");
  EXPECT_FALSE(e.CopyStandardImages(Program()));
  EXPECT_EQ(Copied().size(), 4u) << "linkto.gif comes last";
}

TEST(ProgramFolder, SeedsStandardImagesOnce) {
  TempDir dir;
  std::string images = InstalledImagesFolder();
  ASSERT_FALSE(images.empty());
  std::string folder = dir / "home/pomeli2/";
  ASSERT_TRUE(PrepareProgramFolder(folder, images));
  for (const char* name : kStandardImages) EXPECT_EQ(ReadFile(folder + name), ReadFile(images + name)) << name;
  WriteFile(folder + "plus.gif", "custom");
  ASSERT_TRUE(PrepareProgramFolder(folder, images));
  EXPECT_EQ(ReadFile(folder + "plus.gif"), "custom") << "an existing image is kept";
  EXPECT_EQ(ReadFile(folder + "plus.gif").size(), 6u);
  for (const char* name : kStandardImages) EXPECT_EQ(ReadFile(images + name).substr(0, 6), "GIF89a") << name;
}

}  // namespace
}  // namespace pomeli2::testing
