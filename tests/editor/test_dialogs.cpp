// The colour fields, bulk changes, option dialogs, toggles and browse
// commands, with the dialogs answered by the scripted host.
#include "editor/form/colours.h"
#include "editor/commands/command_groups.h"
#include "support/session.h"

namespace pomeli2::testing {
namespace {

using Dialogs = Session;

TEST_F(Dialogs, ColourFieldsAreCheckedRepairedAndPainted) {
  struct Case {
    const char* typed;
    const char* stored;
    const char* message;  // "" for none
  };
  const Case cases[] = {
      {"F", "#F", "「#」で書き始めてください。"},
      {"#12G456", "#12456", "許可されない文字です。"},
      {"FF00G0", "#FF000", "「#」で書き始めてください。"},  // one message per check
      {"#ff0000", "#ff0000", ""},
  };
  for (const Case& c : cases) {
    host.messages.clear();
    Type(kCtlBodyLink, c.typed);
    EXPECT_EQ(e.Settings().BodyLink, c.stored) << c.typed;
    if (*c.message) {
      ASSERT_EQ(host.messages.size(), 1u) << c.typed;
      EXPECT_EQ(host.messages[0].text, c.message);
      EXPECT_EQ(host.messages[0].title, "入力エラー");
    } else {
      EXPECT_TRUE(host.messages.empty());
    }
  }
  EXPECT_EQ(*e.Form().SampleColour(kCtlBodyLink), 0xFF0000u);
  Type(kCtlBodyLink, "#a0C");
  EXPECT_EQ(*e.Form().SampleColour(kCtlBodyLink), 0xAA00CCu) << "three digits are a colour too";
  Type(kCtlBodyLink, "#FF0000");
  Type(kCtlBodyLink, "");
  EXPECT_EQ(*e.Form().SampleColour(kCtlBodyLink), 0xFF0000u) << "a cleared field keeps its swatch";
  EXPECT_EQ(e.ModifiedFlag(), 1);

  // The new-item colour never marks the project; its button writes upper case.
  host.files = {dir / "p.pml"};
  Add("A");
  e.Dispatch(kCmdSaveAs);
  host.colours = {0x010203};
  e.ButtonClicked(1058);
  EXPECT_EQ(e.Settings().NewBgColor, "#010203");
  EXPECT_EQ(e.ModifiedFlag(), 0);
  // The item's colour button stores the row too.
  Select("A");
  host.colours = {0xFFFFFF};
  e.ButtonClicked(1057);
  EXPECT_EQ(m().tree.Item(m().Selected()).bg_color, "#FFFFFF");
  EXPECT_EQ(*e.Form().SampleColour(kCtlItemBgColor), 0xFFFFFFu);
  EXPECT_EQ(e.ModifiedFlag(), 1);
  host.colours = {std::nullopt};
  e.ButtonClicked(1052);  // cancelled
  EXPECT_EQ(e.Settings().BgColor, "#4099FF");
  EXPECT_EQ(EditorAccess::GetServices(e).Custom().rgb[0], 0x123456u) << "custom colours live on between dialogs";

  // The tree colours are colour numbers, red in the low byte.
  host.colours = {0x808080, 0x0000FF};
  e.Dispatch(kCmdTreeBgColor);
  e.Dispatch(kCmdTreeItemColor);
  EXPECT_EQ(e.Settings().TreeBgColor, 8421504);
  EXPECT_EQ(e.Settings().TreeItemColor, 16711680);
  EXPECT_EQ(ColourText(0x0000FF), "#0000FF");
}

TEST_F(Dialogs, BulkChangesReachLiveAndRetiredRows) {
  Add("A");
  Type(kCtlItemSize, "9pt");
  Add("A1");
  Type(kCtlItemSize, "14pt");
  e.SelectItem(m().Root());
  Add("B");
  Select("A");
  e.Dispatch(kCmdCut);  // A and A1 are in memory now
  host.files = {dir / "p.pml"};
  e.Dispatch(kCmdSaveAs);

  std::vector<std::string> seen;
  host.bulk = [&](BulkChangeDialog& d) {
    seen.push_back(SjisToUtf8Lossy(d.title + "|" + d.value) + "|" + std::to_string(d.entries.size()));
    return false;
  };
  for (CommandId command : {kCmdBulkSize, kCmdBulkStyle, kCmdBulkOther, kCmdBulkBg}) e.Dispatch(command);
  EXPECT_EQ(seen, (std::vector<std::string>{"フォントサイズ一括変更|10pt|21", "フォントスタイル一括変更|None|4",
                                            "別ボタン一括変更|別ウインドウ|3", "背景色の一括変更|#FFFFFF|6"}));
  EXPECT_EQ(e.ModifiedFlag(), 0) << "Cancel changes nothing";

  host.bulk = [](BulkChangeDialog& d) {
    d.value = "12pt";
    return true;
  };
  e.Dispatch(kCmdBulkSize);
  host.bulk = [](BulkChangeDialog& d) {
    d.value = S("フレーム解除");
    return true;
  };
  e.Dispatch(kCmdBulkOther);
  host.bulk = [](BulkChangeDialog& d) {
    d.Typed("#1234567");  // too long: reported, kept as typed
    EXPECT_EQ(d.value, "#1234567");
    d.value = "";  // then the empty entry is picked
    return true;
  };
  e.Dispatch(kCmdBulkBg);
  EXPECT_EQ(host.messages.back().text, "7文字以上入力できません。");
  auto expect_changed = [](const MenuItem& item) {
    EXPECT_EQ(item.font_size, "12pt") << item.title;
    EXPECT_EQ(item.other_window, OtherWindow::kLeaveFrames) << item.title;
    EXPECT_EQ(item.bg_color, "") << item.title;
  };
  m().tree.ForEachPreOrder(m().Root(), [&](NodeId n) { expect_changed(m().tree.Item(n)); });
  ASSERT_TRUE(m().CutBufferFull());
  for (const ClipItem& c : m().CutItems()) expect_changed(c.item);
  EXPECT_EQ(e.Form().FieldText(kCtlItemSize), "12pt");
  EXPECT_EQ(e.ModifiedFlag(), 1);
  Select("B");
  e.Dispatch(kCmdPasteCut);
  EXPECT_EQ(m().tree.Item(m().Selected()).font_size, "12pt") << "the cut items come back changed";
}

TEST_F(Dialogs, ScriptOptionsKeepTheirRules) {
  EditorAccess::Settings(e).Speed = "0";
  ScriptOptionsDialog shown;
  host.script_options = [&](ScriptOptionsDialog& d) {
    shown = d;
    return false;
  };
  e.Dispatch(kCmdScriptOptions);
  EXPECT_EQ(shown.speed, "5");
  EXPECT_EQ(e.Settings().Speed, "5") << "also after Cancel";
  EXPECT_FALSE(shown.SpeedEnabled());

  host.script_options = [](ScriptOptionsDialog& d) {
    d.UniteClicked(true);
    EXPECT_FALSE(d.ParentLinkOnEnabled());
    d.CloseItemsClicked(true);
    d.CloseItemsClicked(false);  // off again: the dependent box keeps its mark
    EXPECT_TRUE(d.CloseTreeEnabled());
    EXPECT_FALSE(d.SpeedEnabled());
    d.right_frame = "";
    d.first_page = "first.html";
    return true;
  };
  Add("A");
  EditorAccess::Settings(e).RightFrame = "Right";
  EditorAccess::Form(e).RefreshEnabling();
  EXPECT_FALSE(e.Form().Enabled(kCtlItemTarget));
  e.Dispatch(kCmdScriptOptions);
  const PageSettings& s = e.Settings();
  EXPECT_EQ(s.ParentLinkOn, 1);
  EXPECT_EQ(s.CloseTree, 1);
  EXPECT_EQ(s.CloseItems, 0);
  EXPECT_FALSE(s.RightFrame);
  EXPECT_EQ(s.FirstPage, "first.html");
  EXPECT_EQ(host.messages.back().title, "自動変換");
  EXPECT_TRUE(e.Form().Enabled(kCtlItemTarget));
}

TEST_F(Dialogs, TreeImagesBodyFilesAndTargetNames) {
  Add("A");
  host.files = {dir / "img/p.gif"};
  host.tree_images = [&](TreeImagesDialog& d) {
    EXPECT_EQ(d.base_path, "") << "no page yet";
    d.Browse(0);
    EXPECT_EQ(host.dialogs.back().initial_name, home + "plus.gif") << "not the program folder";
    d.images[2] = "";
    return true;
  };
  e.Dispatch(kCmdTreeImages);
  EXPECT_EQ(e.Settings().Plus, "p.gif");
  EXPECT_TRUE(e.Form().Enabled(kCtlIcon)) << "an empty link image enables the item's own";
  host.tree_images = [](TreeImagesDialog& d) {
    d.RestoreDefaults();
    return true;
  };
  e.Dispatch(kCmdTreeImages);
  EXPECT_EQ(e.Settings().Plus, "plus.gif");
  EXPECT_EQ(e.Settings().Linkto, "linkto.gif");
  EXPECT_FALSE(e.Form().Enabled(kCtlIcon));

  host.files = {dir / "head.html", dir / std::string(300, 'x')};
  host.body_insert = [&](BodyInsertDialog& d) {
    d.BrowseHeader();
    EXPECT_EQ(host.dialogs.back().initial_name, home + "header.html");
    d.BrowseFooter();  // too long a path is refused
    EXPECT_EQ(host.dialogs.back().initial_name, dir / "Footer.html") << "where the header was found";
    return true;
  };
  e.Dispatch(kCmdBodyInsert);
  EXPECT_EQ(e.Settings().BodyHeader, dir / "head.html");
  EXPECT_EQ(e.Settings().BodyFooter, "");
  host.body_insert = [](BodyInsertDialog& d) {
    d.Clear();
    return true;
  };
  e.Dispatch(kCmdBodyInsert);
  EXPECT_EQ(e.Settings().BodyHeader, "");

  int modified_before = e.ModifiedFlag();
  host.messages.clear();
  host.target_name = [](TargetNameDialog& d) {
    EXPECT_EQ(d.name, "NewTarget");
    d.name = "frame2";
    return true;
  };
  e.Dispatch(kCmdAddTarget);
  EXPECT_EQ(host.messages.back().text, "既にその名前は登録されています。");
  host.target_name = [](TargetNameDialog& d) {
    d.name = "Main";
    return true;
  };
  e.Dispatch(kCmdAddTarget);
  auto item_list = e.Form().ListEntries(kCtlItemTarget);
  auto new_list = e.Form().ListEntries(kCtlNewTarget);
  EXPECT_NE(std::find(item_list.begin(), item_list.end(), "Main"), item_list.end());
  EXPECT_EQ(std::find(new_list.begin(), new_list.end(), "Main"), new_list.end());
  EXPECT_EQ(e.ModifiedFlag(), modified_before);
}

TEST_F(Dialogs, TogglesAskAndFlip) {
  EditorAccess::Settings(e).RightFrame = "Right";
  host.answers = {MessageAnswer::kCancel};
  e.Dispatch(kCmdItemTargets);
  EXPECT_EQ(e.Settings().RightFrame, "Right");
  e.Dispatch(kCmdItemTargets);
  EXPECT_FALSE(e.Settings().RightFrame);
  EXPECT_TRUE(e.CommandChecked(kCmdItemTargets));
  e.Dispatch(kCmdItemTargets);
  EXPECT_EQ(e.Settings().RightFrame, "Frame2") << "not back to Right";
  e.Dispatch(kCmdItemIcons);
  EXPECT_EQ(e.Settings().Linkto, "");
  EXPECT_EQ(host.messages.back().title, "確認");
  EXPECT_EQ(host.messages.back().buttons, MessageButtons::kOkCancel);
  host.files = {dir / "p.pml"};
  e.Dispatch(kCmdSaveAs);
  e.Dispatch(kCmdFrameResizable);
  EXPECT_TRUE(e.CommandChecked(kCmdFrameResizable));
  EXPECT_EQ(e.ModifiedFlag(), 0) << "the frame flag is no part of the project";
}

TEST_F(Dialogs, BrowsedFilesAreStoredRelativeToThePage) {
  EditorAccess::Settings(e).Linkto = "";  // items have link icons of their own
  Add("A");
  for (int control : {kCtlBackPictureBrowse, kCtlLinkBrowse, kCtlIconBrowse}) e.ButtonClicked(control);
  e.Dispatch(kCmdSelectImage);
  EXPECT_EQ(Titles(), std::vector<std::string>(4, "パス確認")) << "the page has no folder yet";
  EXPECT_TRUE(host.dialogs.empty());

  std::filesystem::create_directories(dir.path() / "web/img/menu");
  host.files = {dir / "web/index.html"};
  e.Dispatch(kCmdHtmlSaveAs);
  const std::string web = dir / "web/";
  Select("A");
  host.messages.clear();
  struct Case {
    int control;  // a button, or the image command
    std::string chosen;
    std::string stored;
    bool outside;
  };
  const std::string so = S("ソ表");  // trail bytes 0x5C
  const Case cases[] = {
      {kCtlBackPictureBrowse, web + "bg.gif", "bg.gif", false},
      {kCmdSelectImage, web + "img/menu/top.gif", "file:img/menu/top.gif", false},
      {kCtlLinkBrowse, dir / "web2/page.html", "page.html", true},
      {kCtlLinkBrowse, dir / "Web/page.html", "page.html", true},
      {kCtlIconBrowse, web + so + "/" + so + ".gif", so + "/" + so + ".gif", false},
  };
  for (const Case& c : cases) {
    host.messages.clear();
    host.files = {c.chosen};
    if (c.control == kCmdSelectImage) e.Dispatch(kCmdSelectImage);
    else e.ButtonClicked(c.control);
    EXPECT_EQ(host.messages.size(), c.outside ? 1u : 0u) << c.chosen;
  }
  EXPECT_EQ(e.Settings().BackPicture, "bg.gif");
  NodeId a = m().tree.Selected();
  EXPECT_EQ(m().tree.Label(a), "file:img/menu/top.gif");
  const MenuItem& item = m().tree.Item(a);
  EXPECT_EQ(item.link, "page.html");
  EXPECT_EQ(item.icon, so + "/" + so + ".gif");
  // The image title must still fit its project line.
  host.files = {web + std::string(1100, 'i') + ".gif"};
  e.Dispatch(kCmdSelectImage);
  EXPECT_EQ(m().tree.Label(a), "file:img/menu/top.gif");
  EXPECT_EQ(host.messages.back().title, "入力エラー");

  bool outside = false;
  EXPECT_EQ(RelativeToFolder("/w/", "/w/a\\b.gif", outside), "a/b.gif");
  EXPECT_FALSE(outside);
}

}  // namespace
}  // namespace pomeli2::testing
