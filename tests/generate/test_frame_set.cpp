#include <filesystem>

#include "generate/frame_set.h"
#include "generate/page_fixture.h"
#include "io/program_folder.h"

namespace pomeli2::testing {
namespace {

class FrameSetTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    Add(Root(), ItemCells("A", "a.html"));
    ASSERT_EQ(Write("menu"), Document::PageWrite::kWritten);
  }
  // The frame set command with `name` chosen in its dialog; true when it
  // wrote the page and no file error was reported.
  bool Create(const std::string& name, int panes) {
    host.files.push_back(dir / name);
    if (Exists(name) && !std::filesystem::is_directory(dir.path() / name)) WriteFile(dir / name, "mine");
    size_t before = host.messages.size();
    e.Dispatch(panes == 2 ? kCmdFrame2 : kCmdFrame3);
    for (size_t i = before; i < host.messages.size(); ++i)
      if (host.messages[i].title == "ファイルエラー") return false;
    return Exists(name) && ReadFile(dir / name).rfind("<HTML>", 0) == 0;
  }
  bool Exists(const std::string& name) { return std::filesystem::exists(dir.path() / name); }
};

TEST_F(FrameSetTest, GoldenPages) {
  S().Title = sj("見本");
  S().RightFrame = "Frame2";
  ASSERT_TRUE(Create("mainframe.html", 2));
  ExpectGolden("frames/two-panes.html", ReadFile(dir / "mainframe.html"));
  ExpectGolden("frames/frameright.html", ReadFile(dir / "frameright.html"));
  EXPECT_FALSE(Exists("frametop.html")) << "two panes never write the top page";
  ASSERT_TRUE(Create("main3.html", 3));
  EXPECT_EQ(host.dialogs.back().initial_name, dir / "mainframe.html") << "beside the menu page";
  EXPECT_EQ(host.dialogs.back().default_extension, "html");
  ExpectGolden("frames/three-panes.html", ReadFile(dir / "main3.html"));
  ExpectGolden("frames/frametop.html", ReadFile(dir / "frametop.html"));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(FrameSetTest, ResizableFlagNamesAndFirstPages) {
  e.Dispatch(kCmdFrameResizable);
  S().Title = "";
  S().FirstPage = "first.html";
  S().FirstTopPage = "top&\"1\".html";
  ASSERT_TRUE(Create("set.html", 3));
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
  e.Dispatch(kCmdFrameResizable);
  ASSERT_TRUE(Create("set.html", 2));
  page = ReadFile(dir / "set.html");
  EXPECT_NE(page.find("NAME=\"Right\""), std::string::npos);
  EXPECT_EQ(Count(page, " NORESIZE>"), 2u);
}

TEST_F(FrameSetTest, ReservedNamesAreRefused) {
  for (const char* name : {"frameright.html", "frametop.html", "menu.html"}) {
    host.messages.clear();
    EXPECT_FALSE(Create(std::string("sub/") + name, 2)) << name;
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "frameright.html、frametop.html、menu.htmlは使えません。\n他のファイル名を使ってください。");
    EXPECT_EQ(host.messages[0].title, "ファイルエラー");
  }
  EXPECT_TRUE(Create("FrameRight.html", 2));
}

TEST_F(FrameSetTest, ExistingPageIsReplacedOnlyAfterYes) {
  WriteFile(dir / "set.html", "mine");
  host.answers = {MessageAnswer::kNo};
  EXPECT_FALSE(Create("set.html", 2));
  EXPECT_EQ(ReadFile(dir / "set.html"), "mine");
  EXPECT_FALSE(Exists("frameright.html"));
  EXPECT_EQ(host.messages.back().text, "同名ファイルが存在します。上書きしますか？");
  EXPECT_EQ(host.messages.back().title, "上書確認");
  host.answers = {MessageAnswer::kYes};
  Create("set.html", 2);
  EXPECT_NE(ReadFile(dir / "set.html"), "mine");
}

TEST_F(FrameSetTest, PlaceholdersNeverReplaceTheAuthorsPages) {
  S().Title = sj("古い題");
  ASSERT_TRUE(Create("set.html", 3));
  const std::string old_right = ReadFile(dir / "frameright.html");
  // Placeholders of ours follow the new title; the author's own top page
  // stays as the author wrote it.
  WriteFile(dir / "frametop.html", "<HTML>my top page</HTML>\r\n");
  S().Title = sj("新しい題");
  ASSERT_TRUE(Create("set.html", 3));
  EXPECT_NE(ReadFile(dir / "frameright.html"), old_right);
  EXPECT_NE(ReadFile(dir / "frameright.html").find(sj("新しい題のワークフレーム")), std::string::npos);
  EXPECT_EQ(ReadFile(dir / "frametop.html"), "<HTML>my top page</HTML>\r\n");
  // A page that only begins like a placeholder is the author's too.
  std::string edited = old_right;
  edited.insert(edited.find("</BODY>"), "<P>mine</P>\r\n");
  WriteFile(dir / "frameright.html", edited);
  ASSERT_TRUE(Create("set.html", 2));
  EXPECT_EQ(ReadFile(dir / "frameright.html"), edited);
  EXPECT_TRUE(IsPlaceholderPage(old_right, false));
  EXPECT_FALSE(IsPlaceholderPage(old_right, true)) << "the right page is no top page";
}

TEST_F(FrameSetTest, PlaceholderFailureStopsTheRest) {
  std::filesystem::create_directory(dir.path() / "frameright.html");  // cannot be replaced by a file
  EXPECT_FALSE(Create("set.html", 3));
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
  std::vector<std::string> Copied() {
    std::vector<std::string> names;
    for (const char* name : kStandardImages)
      if (Exists(name)) names.push_back(name);
    return names;
  }
};

TEST_F(IconCopyTest, CopiesAllFiveAfterAsking) {
  e.Dispatch(kCmdIconCopy);
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
  e.Dispatch(kCmdIconCopy);
  EXPECT_TRUE(Copied().empty());
}

TEST_F(IconCopyTest, StopsAtTheFirstMissingImage) {
  std::filesystem::remove(dir.path() / "program/otherw.gif");
  e.Dispatch(kCmdIconCopy);
  EXPECT_TRUE(Copied().empty()) << "otherw.gif comes first";
  EXPECT_EQ(host.messages.back().text, "ファイルが存在しません。コピーに失敗しました。");

  WriteFile(dir / "program/otherw.gif", "o");
  std::filesystem::remove(dir.path() / "program/linkto.gif");
  e.Dispatch(kCmdIconCopy);
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
