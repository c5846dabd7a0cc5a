// Where one command hands over to the next: the swatches after commands
// that fill the form, the selection and the dialogs' folders around saves,
// what a save leaves beside the page, and the values a field refuses.
#include <filesystem>

#include "editor/form/colours.h"
#include "editor/commands/command_groups.h"
#include "support/session.h"

namespace pomeli2::testing {
namespace {

class Seams : public Session {
 protected:
  // A swatch shows the colour of its field whenever the field holds a
  // complete one, however the value got there.
  void ExpectSwatchesShowTheFields(const char* after) {
    for (int field : {kCtlBgColor, kCtlBodyText, kCtlBodyLink, kCtlBodyVlink, kCtlBodyAlink, kCtlBodyHover,
                      kCtlBodyHoverBack, kCtlItemBgColor, kCtlNewBgColor}) {
      auto colour = CompleteColour(e.Form().FieldText(field));
      if (colour) {
        EXPECT_EQ(e.Form().SampleColour(field), colour) << "field " << field << " after " << after;
      }
    }
  }
  NodeId Selected() { return m().tree.Selected(); }
};

TEST_F(Seams, SwatchesFollowAddPasteNewAndUndo) {
  Type(kCtlNewBgColor, "#00FF00");
  Add("A");
  EXPECT_EQ(e.Form().FieldText(kCtlItemBgColor), "#00FF00");
  ExpectSwatchesShowTheFields("add");
  Type(kCtlItemBgColor, "#FF0000");
  Select("ホームページ");
  Add("B");
  ExpectSwatchesShowTheFields("a second add");
  EXPECT_EQ(e.Form().SampleColour(kCtlItemBgColor), 0x00FF00u);
  Select("A");
  e.SetTreeFocus(true);
  e.Dispatch(kCmdCopy);
  Select("B");
  e.Dispatch(kCmdPasteCopy);
  EXPECT_EQ(Outline(), "A,B(A)");
  ExpectSwatchesShowTheFields("paste");
  e.Dispatch(kCmdUndo);
  ExpectSwatchesShowTheFields("undo");
  Type(kCtlBgColor, "#123456");
  host.answers = {MessageAnswer::kYes};
  e.Dispatch(kCmdNew);
  ExpectSwatchesShowTheFields("File New");
  EXPECT_EQ(e.Form().SampleColour(kCtlItemBgColor), 0xFFFFFFu);
}

TEST_F(Seams, SavesGiveBackTheSelectionAndDialogsStartBesideThePage) {
  Type(kCtlTitle, "見本");
  Add("A");
  Add("A1");
  const NodeId a1 = Selected();

  host.files = {dir / "site.pml"};
  e.Dispatch(kCmdSave);
  EXPECT_EQ(Selected(), a1) << "the item the user had selected";
  EXPECT_EQ(host.dialogs.back().initial_name, home + "pomeli2.pml") << "never the program folder";
  EXPECT_NE(ReadFile(dir / "site.pml").find(S("ホームページ")), std::string::npos);

  std::filesystem::create_directories(dir.path() / "web");
  host.files = {dir / "web/index.html"};
  e.Dispatch(kCmdHtmlSave);
  EXPECT_EQ(Selected(), a1);
  EXPECT_EQ(host.dialogs.back().initial_name, dir / "pomeli2.html") << "the project's folder";
  e.Dispatch(kCmdSave);
  e.Dispatch(kCmdHtmlSave);
  EXPECT_EQ(Selected(), a1);
  EXPECT_EQ(e.Form().FieldText(kCtlTitle), S("見本"));

  // The frame set starts beside the page it names, wherever the last one
  // went; other kinds start where they were used last.
  std::filesystem::create_directories(dir.path() / "frames");
  host.files = {dir / "frames/set.html"};
  e.Dispatch(kCmdFrame2);
  EXPECT_EQ(host.dialogs.back().initial_name, dir / "web/mainframe.html");
  e.Dispatch(kCmdFrame2);
  EXPECT_EQ(host.dialogs.back().initial_name, dir / "web/mainframe.html");
  host.files = {dir / "frames/h.html"};
  host.body_insert = [](BodyInsertDialog& d) {
    d.BrowseHeader();
    d.BrowseFooter();
    return false;
  };
  e.Dispatch(kCmdBodyInsert);
  EXPECT_EQ(host.dialogs.back().initial_name, dir / "frames/Footer.html");
  e.Dispatch(kCmdHtmlSaveAs);  // cancelled
  EXPECT_EQ(host.dialogs.back().initial_name, dir / "web/index.html") << "the page itself";

  // A new document keeps where projects are kept.
  host.answers = {MessageAnswer::kYes};
  e.Dispatch(kCmdNew);
  e.Dispatch(kCmdOpen);  // cancelled
  EXPECT_EQ(host.dialogs.back().initial_name, dir / "*.pml");
  host.files = {dir / "site.pml"};
  e.Dispatch(kCmdOpen);

  // Reopened, the project writes its page again with Ctrl+H, unasked.
  const size_t dialogs = host.dialogs.size();
  SaveAndReopen("site.pml");
  std::filesystem::remove(dir.path() / "web/index.html");
  e.Dispatch(kCmdHtmlSave);
  EXPECT_EQ(host.dialogs.size(), dialogs + 1) << "only the open dialog";
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "web/index.html"));

  // A link's browse starts at the link, in the page's folder.
  Select("A1");
  Type(kCtlLink, "docs/a.html");
  Select("A");
  Select("A1");
  e.ButtonClicked(kCtlLinkBrowse);
  EXPECT_EQ(host.dialogs.back().initial_name, dir / "web/docs/a.html");
}

TEST_F(Seams, AReopenedProjectNeverTakesAPageItDidNotWrite) {
  // The overwrite of an author's page was declined; the project keeps the
  // Path, so that the next save proposes it, and is saved and reopened.
  Add("A");
  std::filesystem::create_directories(dir.path() / "web");
  WriteFile(dir / "web/index.html", "the author's own page");
  host.files = {dir / "web/index.html"};
  host.answers = {MessageAnswer::kNo};
  e.Dispatch(kCmdHtmlSave);
  SaveAndReopen("p.pml");
  EXPECT_EQ(e.Settings().HtmlFileName, UntitledHtml());
  const size_t dialogs = host.dialogs.size();
  host.files = {dir / "web/index.html"};
  host.answers = {MessageAnswer::kNo};
  e.Dispatch(kCmdHtmlSave);
  EXPECT_EQ(host.dialogs.size(), dialogs + 1) << "asks for the name";
  EXPECT_EQ(host.messages.back().text, "同名ファイルが存在します。上書きしますか？");
  EXPECT_EQ(ReadFile(dir / "web/index.html"), "the author's own page");
}

TEST_F(Seams, TheImagesFolderIsThePagesFolderWhateverItsName) {
  // A project whose page folder is gone: the page has no name in this run,
  // and Path still tells the folder.
  Add("A");
  std::filesystem::create_directories(dir.path() / "web");
  host.files = {dir / "web/index.html", dir / "p.pml"};
  e.Dispatch(kCmdHtmlSave);
  e.Dispatch(kCmdSave);
  std::filesystem::remove_all(dir.path() / "web");
  host.files = {dir / "p.pml"};
  e.Dispatch(kCmdOpen);
  ASSERT_EQ(e.Settings().HtmlFileName, UntitledHtml());
  host.tree_images = [&](TreeImagesDialog& d) {
    EXPECT_EQ(d.base_path, dir / "web/") << "not Path cut by the length of 無題.html";
    d.Browse(0);
    EXPECT_EQ(host.dialogs.back().initial_name, dir / "web/plus.gif");
    return false;
  };
  e.Dispatch(kCmdTreeImages);
}

TEST_F(Seams, HtmlSaveBringsTheImagesThePageLacks) {
  Add("A");
  Type(kCtlLink, "a.html");
  Add("A1");
  Type(kCtlLink, "b.html");
  std::filesystem::create_directories(dir.path() / "web");
  WriteFile(dir / "web/plus.gif", "mine");
  host.files = {dir / "web/index.html"};
  e.Dispatch(kCmdHtmlSave);
  EXPECT_EQ(ReadFile(dir / "web/plus.gif"), "mine") << "an existing file is never replaced";
  for (const char* name : {"minus.gif", "linkto.gif", "scroll.gif"})
    EXPECT_EQ(ReadFile(dir / (std::string("web/") + name)), ReadFile(program + name)) << name;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "web/otherw.gif")) << "no item has another-window button";
  const std::string written = "「" + (dir / "web/index.html") + "」にHTMLを書き出しました。";
  ASSERT_EQ(host.statuses.size(), 1u);
  EXPECT_EQ(host.statuses[0], written + "ページが使う標準の画像がなかったのでコピーしました：minus.gif、linkto.gif、scroll.gif");
  e.Dispatch(kCmdHtmlSave);
  ASSERT_EQ(host.statuses.size(), 2u);
  EXPECT_EQ(host.statuses[1], written) << "nothing to copy, nothing said of it";
  EXPECT_TRUE(host.messages.empty());
}

// A colour typed wrong as the only step, then undo from the toolbar: ending
// the typing takes the step back, and the undo finds nothing left to undo.
TEST_F(Seams, UndoAfterAWrongColourThatWasTheOnlyStep) {
  ASSERT_FALSE(e.CommandEnabled(kCmdUndo));
  Type(kCtlBgColor, "#12");
  ASSERT_TRUE(e.CommandEnabled(kCmdUndo));
  e.Dispatch(kCmdUndo);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "色は「#」に続けて16進数6桁で入力してください。");
  EXPECT_EQ(e.Settings().BgColor, "#4099FF");
  EXPECT_FALSE(e.CommandEnabled(kCmdUndo));
  EXPECT_FALSE(e.CommandEnabled(kCmdRedo));
}

TEST_F(Seams, RefusedValuesLeaveEverythingElseAsItWas) {
  // An incomplete colour is refused when the field is left; the field goes
  // back to the colour it held before the typing.
  Type(kCtlBodyText, "#102030");
  e.FieldEditEnded(kCtlBodyText);
  Type(kCtlBodyText, "#1020");
  e.FieldEditEnded(kCtlBodyText);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "色は「#」に続けて16進数6桁で入力してください。");
  EXPECT_EQ(host.messages[0].title, "入力エラー");
  EXPECT_EQ(e.Settings().BodyText, "#102030");
  Type(kCtlBgColor, "#12345");
  e.FieldEditEnded(kCtlBgColor);
  EXPECT_EQ(e.Settings().BgColor, "#4099FF") << "the start value";
  ASSERT_EQ(e.Settings().BodyHover, "");
  Type(kCtlBodyHover, "#12");
  e.FieldEditEnded(kCtlBodyHover);
  EXPECT_EQ(e.Settings().BodyHover, "") << "it held no colour before";
  e.FieldEditEnded(kCtlBodyHover);
  EXPECT_EQ(host.messages.size(), 3u) << "leaving a field not typed into checks nothing";
  // A command run by a key while the focus stays in the field does not let
  // the colour pass when the field is left.
  Type(kCtlBodyAlink, "#12345");
  host.files = {dir / "p.pml"};
  e.Dispatch(kCmdSave);
  e.FieldEditEnded(kCtlBodyAlink);
  EXPECT_EQ(host.messages.size(), 4u);
  EXPECT_EQ(e.Settings().BodyAlink, "#0000A0") << "the start value";

  // From a file, the save refuses it before anything is written.
  Add("A");
  EditorAccess::Settings(e).BodyLink = "#12345";
  host.files = {dir / "index.html"};
  e.Dispatch(kCmdHtmlSave);
  EXPECT_EQ(host.messages.back().text, "「LINK」の値ではメニューが動かないため、HTMLを書き出せません。\n"
                                       "色は「#」に続けて16進数6桁で入力してください。");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "index.html"));
  EditorAccess::Settings(e).BodyLink = "#123456";
  EditorAccess::Settings(e).TextBackOn = 1;
  m().tree.MutableItem(m().Selected()).bg_color = "#ffff";
  e.Dispatch(kCmdHtmlSave);
  EXPECT_EQ(host.messages.back().text, "アイテム「A」の背景色「#ffff」は色として使えないため、HTMLを書き出せません。\n"
                                       "色は「#」に続けて16進数6桁で入力してください。");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "index.html"));

  // An item colour left incomplete when a key adds an item, the focus still
  // in the field: the item it was typed into goes back.
  Select("A");
  Type(kCtlItemBgColor, "#12");
  e.Dispatch(kCmdAddItem);
  e.FieldEditEnded(kCtlItemBgColor);  // the focus goes to the tree after the add
  ASSERT_TRUE(e.EndLabelEdit(S("B")));
  EXPECT_EQ(host.messages[host.messages.size() - 1].text, "色は「#」に続けて16進数6桁で入力してください。");
  EXPECT_EQ(m().tree.Item(Find("A")).bg_color, "") << "it held no colour before";
  EXPECT_EQ(m().tree.Item(Find("B")).bg_color, e.Settings().NewBgColor);

  // A blank TARGET name adds nothing.
  host.target_name = [](TargetNameDialog& d) {
    d.name = "";
    return true;
  };
  const auto targets = e.Form().ListEntries(kCtlItemTarget);
  e.Dispatch(kCmdAddTarget);
  EXPECT_EQ(host.messages.back().text, "TARGETの名前を入力してください。");
  EXPECT_EQ(e.Form().ListEntries(kCtlItemTarget), targets);

  // The close question defaults to いいえ.
  host.answers = {MessageAnswer::kNo};
  EXPECT_FALSE(e.CloseRequested(0, 0, 800, 600));
  EXPECT_EQ(host.messages.back().text, "変更が保存されていません。このまま終了しますか？");
  EXPECT_EQ(host.messages.back().default_answer, MessageAnswer::kNo);
}

}  // namespace
}  // namespace pomeli2::testing
