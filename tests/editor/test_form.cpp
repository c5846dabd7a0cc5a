#include <gtest/gtest.h>

#include <filesystem>

#include "editor/commands/commands.h"
#include "editor/form/colours.h"
#include "editor/editor.h"
#include "editor/editor_access.h"
#include "editor/view/shell.h"
#include "support/menu_builder.h"
#include "support/scripted_host.h"

namespace pomeli2 {
namespace {

using testing::AddItem;
using testing::ItemCells;
using testing::ReadFile;
using testing::ScriptedHost;
using testing::TempDir;

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e.AttachSettingsFile(&settings);
    e.Start();
  }
  std::string Ini() { return ReadFile(dir / "Pomeli2.ini"); }

  TempDir dir;
  SettingsFile settings{dir.path().string() + "/"};
  ScriptedHost host;
  Editor e{host};
};

TEST_F(FormTest, StartWritesTheSettingsLine) {
  EXPECT_EQ(Ini(), "1\t1\t480\t510\t0\t\t\r\n");
  EXPECT_EQ(e.RecentEntryText(), sj("なし"));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(FormTest, EditsMarkTheSettingsFile) {
  EXPECT_TRUE(e.FieldChanged(kCtlTitle, "New title"));
  EXPECT_EQ(e.Settings().Title, "New title");
  EXPECT_EQ(e.ModifiedFlag(), 1);
  EXPECT_EQ(Ini(), "1\t1\t480\t510\t1\t\t\r\n");
  EditorAccess::Settings(e).ProjectPath = "/p/menu.pml";
  EditorAccess::Notify(e).Report(EditorAccess::Doc(e).MarkModified(0));
  EXPECT_EQ(Ini(), "1\t1\t480\t510\t0\t/p/menu.pml\t\r\n");
}

TEST_F(FormTest, LastProjectIsReadAtStartAndKeptWhileUntitled) {
  testing::WriteFile(dir / "Pomeli2.ini", "5\t6\t480\t510\t0\t/old/project.pml\t\r\n");
  Editor again(host);
  again.AttachSettingsFile(&settings);
  again.Start();
  EXPECT_EQ(again.Doc().LastProjectPath(), "/old/project.pml");
  EXPECT_EQ(again.RecentEntryText(), "/old/project.pml");
  EXPECT_EQ(again.CommandLiveText(kCmdRecent), "&1 /old/project.pml") << "its access key in the menu";
  EXPECT_EQ(Ini(), "1\t1\t480\t510\t0\t/old/project.pml\t\r\n");

  std::string seventy = "/" + std::string(65, 'a') + ".pml";
  ASSERT_EQ(seventy.size(), 70u);
  testing::WriteFile(dir / "Pomeli2.ini", "1\t1\t480\t510\t0\t" + seventy + "\t\r\n");
  again.Start();
  EXPECT_EQ(again.RecentEntryText(), seventy);
  testing::WriteFile(dir / "Pomeli2.ini", "1\t1\t480\t510\t0\t/" + seventy + "\t\r\n");
  again.Start();
  EXPECT_EQ(again.RecentEntryText(), sj("前回使ったファイルを開く"));
  testing::WriteFile(dir / "Pomeli2.ini", "1\t1\t480\t510\t0\t/R&D.pml\t\r\n");
  again.Start();
  EXPECT_EQ(again.CommandLiveText(kCmdRecent), "&1 /R&&D.pml");
}

TEST_F(FormTest, UnwritableSettingsFileStillKeepsTheMark) {
  std::filesystem::remove(dir.path() / "Pomeli2.ini");
  std::filesystem::create_directory(dir.path() / "Pomeli2.ini");
  e.FieldChanged(kCtlTitle, "x");
  EXPECT_EQ(e.ModifiedFlag(), 1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "「Pomeli2.ini」を書き込めません。");
  EXPECT_EQ(host.messages[0].title, "ファイルエラー");
  // The close cannot read the file either: the mark in memory decides, and
  // the program can still be closed after the question.
  host.answers = {MessageAnswer::kNo};
  EXPECT_FALSE(e.CloseRequested(10, 20, 800, 600));
  EXPECT_EQ(host.messages.back().text, "変更が保存されていません。このまま終了しますか？");
  host.answers = {MessageAnswer::kYes};
  EXPECT_TRUE(e.CloseRequested(10, 20, 800, 600));
  EXPECT_EQ(host.messages.back().text, "「Pomeli2.ini」を書き込めません。");
}

TEST_F(FormTest, CloseAsksOnlyAboutUnsavedChanges) {
  EXPECT_TRUE(e.CloseRequested(100, 50, 900, 700));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Ini(), "100\t50\t900\t700\t0\t\t\r\n");

  e.FieldChanged(kCtlRow, "18");
  host.answers = {MessageAnswer::kNo};
  EXPECT_FALSE(e.CloseRequested(100, 50, 900, 700));
  EXPECT_EQ(host.messages.back().title, "保存確認");
  EXPECT_EQ(host.messages.back().buttons, MessageButtons::kYesNo);
  EXPECT_EQ(Ini(), "1\t1\t480\t510\t1\t\t\r\n") << "a refused close leaves the file as it was";
  host.answers = {MessageAnswer::kYes};
  EXPECT_TRUE(e.CloseRequested(-5, 50, 900, 700));
  EXPECT_EQ(Ini(), "1\t1\t900\t700\t0\t\t\r\n") << "negative edges are stored as 1 and 1";
}

TEST_F(FormTest, WindowPlacement) {
  WindowRect screen{0, 0, 1920, 1040};
  EXPECT_EQ(*StartPlacement(settings, screen, host), (WindowRect{1, 1, 1000, 1000}));
  std::filesystem::remove(dir.path() / "Pomeli2.ini");
  EXPECT_EQ(*StartPlacement(settings, screen, host), (WindowRect{0, 0, 1000, 1000}));
  // A window closed on the right of the screen opens fully on it.
  EXPECT_EQ(InitialWindowRect(1500, 900, screen), (WindowRect{920, 40, 1000, 1000}));
  EXPECT_EQ(InitialWindowRect(-300, 20, {0, 0, 800, 600}), (WindowRect{0, 0, 800, 600}));
  EXPECT_EQ(InitialWindowRect(50, 60, {1920, 0, 1280, 1024}), (WindowRect{1920, 24, 1000, 1000}));

  std::filesystem::create_directory(dir.path() / "Pomeli2.ini");
  EXPECT_FALSE(StartPlacement(settings, screen, host));
  EXPECT_EQ(host.messages.back().text, "ファイル「Pomeli2.ini」をオープンできませんでした。");
  EXPECT_EQ(host.messages.back().title, "エラー");
}

TEST_F(FormTest, KeptWindowSize) {
  WindowRect screen{0, 0, 1920, 1040};
  // The size the window was closed with, held inside the screen and above
  // the smallest size.
  EXPECT_EQ(InitialWindowRect(100, 50, screen, WindowSize{800, 700}), (WindowRect{100, 50, 800, 700}));
  EXPECT_EQ(InitialWindowRect(1500, 900, screen, WindowSize{800, 700}), (WindowRect{1120, 340, 800, 700}));
  EXPECT_EQ(InitialWindowRect(0, 0, screen, WindowSize{3000, 2000}), (WindowRect{0, 0, 1920, 1040}));
  EXPECT_EQ(InitialWindowRect(0, 0, screen, WindowSize{10, 10}), (WindowRect{0, 0, kMinWindowWidth, kMinWindowHeight}));
  EXPECT_EQ(*StartPlacement(settings, screen, host, WindowSize{700, 640}), (WindowRect{1, 1, 700, 640}));
}

TEST_F(FormTest, NumericCheckSendsBackOnlyTheFieldTypedInto) {
  EXPECT_TRUE(e.FieldChanged(kCtlRow, "24"));
  EXPECT_TRUE(e.FieldChanged(kCtlStart, "30"));
  EXPECT_TRUE(e.FieldChanged(kCtlIndent, "16"));
  EXPECT_TRUE(e.FieldChanged(kCtlLeft, "5"));
  EXPECT_TRUE(host.messages.empty());
  EditorAccess::Notify(e).Report(EditorAccess::Doc(e).MarkModified(0));
  EXPECT_FALSE(e.FieldChanged(kCtlRow, "24a"));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "数字のみ入力可能です。");
  EXPECT_EQ(host.messages[0].title, "入力エラー");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kWarning);
  EXPECT_EQ(e.Settings().Row, "24") << "back to its last value";
  EXPECT_EQ(e.Settings().Start, "30") << "the fields not typed into keep their values";
  EXPECT_EQ(e.Settings().Indent, "16");
  EXPECT_EQ(e.Settings().Left, "5");
  EXPECT_EQ(e.ModifiedFlag(), 0) << "nothing changed";
  EXPECT_FALSE(e.FieldChanged(kCtlLeft, sj("１")));  // a double-byte digit is no digit
  EXPECT_EQ(e.Settings().Left, "5");
  // A value that was never valid (put there by the program) gives way to
  // one with which the page works.
  EditorAccess::Settings(e).Indent = "x";
  EXPECT_FALSE(e.FieldChanged(kCtlIndent, "1x"));
  EXPECT_EQ(e.Settings().Indent, "10");
  EXPECT_FALSE(e.FieldChanged(kCtlLeft, "1234")) << "three digits at most";
}

TEST_F(FormTest, LinkAndIconLengthWarnings) {
  NodeId a = AddItem(EditorAccess::Model(e), EditorAccess::Model(e).Root(), ItemCells("A"));
  EditorAccess::Model(e).tree.Select(a);
  EXPECT_TRUE(e.FieldChanged(kCtlLink, std::string(255, 'l')));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(e.Model().tree.Item(a).link, std::string(255, 'l'));
  EXPECT_TRUE(e.FieldChanged(kCtlLink, std::string(256, 'l')));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "リンクが長すぎます。256バイト以下にしてください。");
  EXPECT_EQ(e.Form().FieldText(kCtlLink).size(), 256u) << "the value stays";
  EXPECT_TRUE(e.FieldChanged(kCtlIcon, std::string(256, 'i')));
  EXPECT_EQ(host.messages.back().text, "アイコンのパスが長すぎます。256バイト以下にしてください。");
  EXPECT_FALSE(e.FieldChanged(kCtlLink, std::string(257, 'l')));
}

TEST_F(FormTest, ListFieldsFallBackToTheirDefaults) {
  NodeId a = AddItem(EditorAccess::Model(e), EditorAccess::Model(e).Root(), ItemCells("A"));
  EditorAccess::Model(e).tree.Select(a);
  EditorAccess::Notify(e).Report(EditorAccess::Doc(e).MarkModified(0));
  EXPECT_TRUE(e.FieldChanged(kCtlNewStyle, ""));
  EXPECT_EQ(e.Settings().NewStyle, "None");
  EXPECT_TRUE(e.FieldChanged(kCtlNewOtherButton, ""));
  EXPECT_EQ(e.Settings().NewOtherButton, OtherWindow::kNone);
  EXPECT_TRUE(e.FieldChanged(kCtlNewSize, ""));
  EXPECT_EQ(e.Settings().NewFontSize, "10pt");
  EXPECT_TRUE(e.FieldChanged(kCtlNewBgColor, "#123456"));
  EXPECT_EQ(e.ModifiedFlag(), 0) << "new-item defaults are no change of the project";
  EXPECT_EQ(*e.Form().SampleColour(kCtlNewBgColor), 0x123456u);
  EXPECT_FALSE(e.Form().SampleColour(kCtlBodyHover));

  EXPECT_TRUE(e.FieldChanged(kCtlItemTarget, ""));
  EXPECT_EQ(e.Form().FieldText(kCtlItemTarget), "Frame2");
  EXPECT_TRUE(e.FieldChanged(kCtlItemStyle, "Bold"));
  EXPECT_TRUE(e.FieldChanged(kCtlOtherButton, sj("フレーム解除")));
  const MenuItem& item = e.Model().tree.Item(a);
  EXPECT_EQ(item.style, "Bold");
  EXPECT_EQ(item.other_window, OtherWindow::kLeaveFrames);
  EXPECT_EQ(item.target, "Frame2");
  EXPECT_EQ(e.ModifiedFlag(), 1);
}

TEST_F(FormTest, CheckBoxes) {
  NodeId a = AddItem(EditorAccess::Model(e), EditorAccess::Model(e).Root(), ItemCells("A"));
  AddItem(EditorAccess::Model(e), a, ItemCells("A1"));
  EditorAccess::Model(e).tree.Select(a);
  EXPECT_FALSE(e.Form().Enabled(kCtlLink));
  e.CheckBoxClicked(kCtlParentLink, true);
  EXPECT_TRUE(e.Form().Enabled(kCtlLink));
  EXPECT_TRUE(e.Form().Enabled(kCtlItemTarget));
  e.CheckBoxClicked(kCtlParentLink, false);
  EXPECT_FALSE(e.Form().Enabled(kCtlLink));

  EditorAccess::Settings(e).CloseTree = 1;
  e.CheckBoxClicked(kCtlOpen, true);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "ツリーを畳む場合は、最初のツリーのみ「ツリーを開いた状態で表示する」\nが有効になります。");
  EXPECT_EQ(e.Model().tree.Item(a).open, "1");
  e.CheckBoxClicked(kCtlOpen, false);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(e.Model().tree.Item(a).open, "0");
}

TEST_F(FormTest, TextsThatCannotBeKept) {
  std::string before = e.Settings().Title;
  EXPECT_FALSE(e.FieldChanged(kCtlTitle, std::string(257, 't')));
  EXPECT_FALSE(e.FieldChanged(kCtlTitle, "a\tb"));
  EXPECT_EQ(e.Settings().Title, before);
  e.RefuseUnrepresentableText();
  EXPECT_EQ(host.messages.back().title, "入力エラー");
}

TEST_F(FormTest, ButtonsFollowTheirItem) {
  NodeId a = AddItem(EditorAccess::Model(e), EditorAccess::Model(e).Root(), ItemCells("A"));
  AddItem(EditorAccess::Model(e), EditorAccess::Model(e).Root(), ItemCells("B"));
  EditorAccess::Model(e).tree.Select(a);
  EXPECT_TRUE(e.ControlEnabled(kCtlLinkBrowse));
  EXPECT_TRUE(e.ControlEnabled(1057));
  EXPECT_TRUE(e.ControlEnabled(kCtlMoveDown));
  EXPECT_FALSE(e.ControlEnabled(kCtlMoveUp));
  EditorAccess::Model(e).tree.Select(EditorAccess::Model(e).Root());
  EXPECT_FALSE(e.ControlEnabled(1057)) << "the root has no item colour of its own";
  EXPECT_FALSE(e.ControlEnabled(kCtlLinkBrowse));
  EXPECT_TRUE(e.ControlEnabled(1052));
  EXPECT_TRUE(e.CommandEnabled(kCmdBulkBg));
  EXPECT_TRUE(e.CommandEnabled(kCmdPrint));
  EXPECT_TRUE(e.CommandChecked(kCmdItemTargets));
  EXPECT_FALSE(e.CommandChecked(kCmdItemIcons));
}

// The context menu offers the paste of each buffer that holds an item, and
// only those, whatever the editor's buffers went through.
TEST_F(FormTest, ContextMenuOffersThePastesOfFullBuffers) {
  auto pastes = [this] {
    std::string out;
    for (const MenuEntry& entry : e.CurrentContextMenu().entries)
      if (entry.command == kCmdPasteCut || entry.command == kCmdPasteCopy) out += entry.command == kCmdPasteCut ? "X" : "C";
    return out;
  };
  EXPECT_EQ(pastes(), "");
  e.Dispatch(kCmdAddItem);
  e.Dispatch(kCmdCopy);
  EXPECT_EQ(pastes(), "C");
  e.Dispatch(kCmdCut);
  EXPECT_EQ(pastes(), "X") << "cutting empties the copy buffer";
  e.Dispatch(kCmdPasteCut);
  e.Dispatch(kCmdCopy);
  EXPECT_EQ(pastes(), "XC") << "both buffers full at once";
  e.Dispatch(kCmdNew);
  EXPECT_EQ(pastes(), "");
}

TEST(Placement, FramesStayWithinTheAvailableArea) {
  const WindowRect area{0, 0, 1400, 1000};
  EXPECT_EQ(FitFrame({0, 0, 1002, 1025}, area), (WindowRect{0, 0, 1002, 1000}));
  EXPECT_EQ(FitFrame({600, 300, 1002, 725}, area), (WindowRect{398, 275, 1002, 725}));
  // Beside the editor on the right, else on the left, else over it.
  EXPECT_EQ(PlaceBeside({0, 0, 632, 725}, {562, 345}, area), (WindowRect{640, 0, 562, 345}));
  EXPECT_EQ(PlaceBeside({760, 40, 632, 725}, {562, 345}, area), (WindowRect{190, 40, 562, 345}));
  EXPECT_EQ(PlaceBeside({0, 0, 1400, 1000}, {562, 345}, area), (WindowRect{838, 0, 562, 345}));
  EXPECT_EQ(PlaceBeside({300, -20, 1000, 1000}, {562, 2000}, area), (WindowRect{738, 0, 562, 1000}));
  // Below the side windows already there, and over them only when the
  // screen has no room left below.
  const std::vector<WindowRect> shown{{640, 0, 562, 300}, {640, 308, 562, 300}};
  EXPECT_EQ(PlaceBeside({0, 0, 632, 725}, {562, 345}, area, shown), (WindowRect{640, 616, 562, 345}));
  EXPECT_EQ(PlaceBeside({0, 0, 632, 725}, {562, 400}, area, shown), (WindowRect{640, 308, 562, 400}));
  EXPECT_EQ(PlaceBeside({0, 0, 632, 725}, {562, 345}, area, {{0, 400, 100, 100}}), (WindowRect{640, 0, 562, 345}));
}

TEST(Colours, ALabelIsBlackOrWhiteByItsColoursLightness) {
  EXPECT_EQ(LabelColourOn(0x000000), 0xFFFFFFu);
  EXPECT_EQ(LabelColourOn(0x0000A0), 0xFFFFFFu);
  EXPECT_EQ(LabelColourOn(0x808080), 0x000000u);
  EXPECT_EQ(LabelColourOn(0xFFFF00), 0x000000u);
  EXPECT_EQ(LabelColourOn(0xFFFFFF), 0x000000u);
}

}  // namespace
}  // namespace pomeli2
