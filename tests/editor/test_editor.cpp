#include <gtest/gtest.h>

#include "editor/editor.h"
#include "editor/editor_access.h"
#include "support/menu_builder.h"
#include "support/scripted_host.h"

namespace pomeli2 {
namespace {

using testing::AddItem;
using testing::ScriptedHost;

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override { e.Start(); }
  MenuModel& m() { return EditorAccess::Model(e); }

  ScriptedHost host;
  Editor e{host};
};

// A started editor has nothing to save and no item whose fields could be
// typed into.
TEST_F(EditorTest, StartLeavesNothingToSaveAndNoItemToEdit) {
  EXPECT_EQ(e.ModifiedFlag(), 0);
  ASSERT_EQ(FormState::ControlsOf(FieldGroup::kItem).size(), 11u) << "eight fields, three buttons";
  for (int id : FormState::ControlsOf(FieldGroup::kItem)) EXPECT_FALSE(e.Form().Enabled(id)) << id;
  EXPECT_FALSE(e.Form().Enabled(kCtlMoveUp));
  EXPECT_FALSE(e.Form().Enabled(kCtlMoveDown));
}

TEST_F(EditorTest, FileNewResetsSomeSettingsAndKeepsOthers) {
  PageSettings& s = EditorAccess::Settings(e);
  s.Start = "30";
  s.Plus = "p.gif";
  s.CloseTree = 1;
  s.BodyHeader = "h.txt";
  s.NewTarget = "Right";
  s.BackPicture = "b.gif";
  m().Cut(AddItem(m(), m().Root(), "A"));
  EditorAccess::Form(e).ResetForNew();
  EXPECT_EQ(s.BgColor, "#FFFFFF");
  EXPECT_EQ(s.NewBgColor, "#FFFFFF");
  EXPECT_EQ(s.BackPicture, "");
  EXPECT_EQ(s.Start, "30");
  EXPECT_EQ(s.Plus, "p.gif");
  EXPECT_EQ(s.CloseTree, 1);
  EXPECT_EQ(s.BodyHeader, "h.txt");
  EXPECT_EQ(s.NewTarget, "Right");
  EXPECT_FALSE(m().HasCreatedItems());
  EXPECT_EQ(m().tree.Item(m().Root()).bg_color, "#FFFFFF");
  EXPECT_EQ(m().tree.Count(), 1);
  EXPECT_FALSE(m().CutBufferFull());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "ページ確認");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(host.messages[0].text,
            "ページ設定及びツール内の設定は、現在の設定がそのまま活かされます。\n"
            "設定値を完全にリセットするときは一度アプリケーションを終了してください。");
}

TEST_F(EditorTest, SelectionChangeLoadsRowAndSetsEnabling) {
  NodeId a = AddItem(m(), m().Root(), testing::ItemCells("A", "a/b/c.html", "1"));
  NodeId a1 = AddItem(m(), a, "A1");
  NodeId a11 = AddItem(m(), a1, "A11");
  NodeId b = AddItem(m(), m().Root(), "B");
  (void)a11;

  m().tree.Select(a);
  EXPECT_EQ(e.Form().FieldText(kCtlLink), "a/b/c.html");
  EXPECT_EQ(e.Form().FieldText(kCtlOtherButton), sj("別ウインドウ"));
  EXPECT_TRUE(e.Form().Enabled(kCtlOpen));  // top-level branch
  EXPECT_FALSE(e.Form().Enabled(kCtlLink));  // ParentLink clear
  EXPECT_FALSE(e.Form().Enabled(kCtlIcon));
  EXPECT_TRUE(e.Form().Enabled(kCtlMoveDown));
  EXPECT_FALSE(e.Form().Enabled(kCtlMoveUp));

  m().tree.Select(a1);  // second-level branch
  EXPECT_FALSE(e.Form().Enabled(kCtlOpen));

  EditorAccess::Settings(e).Linkto = "";
  EditorAccess::Settings(e).RightFrame = "Right";
  m().tree.Select(b);  // leaf
  EXPECT_TRUE(e.Form().Enabled(kCtlLink));
  EXPECT_FALSE(e.Form().Enabled(kCtlOpen));
  EXPECT_FALSE(e.Form().Enabled(kCtlItemTarget));
  EXPECT_TRUE(e.Form().Enabled(kCtlIcon));
  EXPECT_TRUE(e.Form().Enabled(kCtlMoveUp));

  EditorAccess::Settings(e).ParentLink = 1;
  EditorAccess::Settings(e).RightFrame = std::nullopt;
  m().tree.Select(a);
  EXPECT_TRUE(e.Form().Enabled(kCtlLink));
  EXPECT_TRUE(e.Form().Enabled(kCtlItemTarget));

  m().tree.Select(m().Root());
  ASSERT_EQ(FormState::ControlsOf(FieldGroup::kItem).size(), 11u) << "eight fields, three buttons";
  for (int id : FormState::ControlsOf(FieldGroup::kItem)) EXPECT_FALSE(e.Form().Enabled(id)) << id;
  EXPECT_FALSE(e.Form().Enabled(kCtlMoveUp));
  EXPECT_FALSE(e.Form().Enabled(kCtlMoveDown));
}

TEST_F(EditorTest, StoreSelectedItemFillsEmptyValues) {
  NodeId a = AddItem(m(), m().Root(), "A");
  m().tree.Select(a);
  EditorAccess::Settings(e).NewStyle = "Italic";
  MenuItem& f = m().tree.MutableItem(a);
  f.style.clear();
  f.font_size.clear();
  f.open = "yes";
  EditorAccess::Form(e).StoreSelectedItem();
  const MenuItem& r = m().tree.Item(a);
  EXPECT_EQ(r.style, "Italic");
  EXPECT_EQ(r.font_size, "10pt");
  EXPECT_EQ(r.open, "0") << "a flag that is not \"1\" is stored as \"0\"";
  EXPECT_EQ(r.title, "A");  // only the root's title follows the page title

  EditorAccess::Settings(e).Title = "Page";
  m().tree.Select(m().Root());
  EditorAccess::Form(e).StoreSelectedItem();
  EXPECT_EQ(m().root_title, "Page");
  EXPECT_EQ(m().tree.Label(m().Root()), sj("ホームページ")) << "the label stays";
}

TEST_F(EditorTest, EnteredTextChecks) {
  EXPECT_TRUE(EditorAccess::Form(e).CheckEnteredText(std::string(256, 'a'), 256));
  EXPECT_FALSE(EditorAccess::Form(e).CheckEnteredText(std::string(257, 'a'), 256));
  EXPECT_FALSE(EditorAccess::Form(e).CheckEnteredText("a\tb", 256));
  EXPECT_FALSE(EditorAccess::Form(e).CheckEnteredText(std::string("a\0b", 3), 256)) << "NUL would end the fields when read";
  EXPECT_TRUE(EditorAccess::Form(e).CheckEnteredText(sj("ソ表"), 256)) << "trail bytes 0x5C are no control";
  ASSERT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(host.messages[2].text, "タブや改行などの制御文字は入力できません。");
  EXPECT_EQ(host.messages[0].text, "256 文字以内で入力してください。");
  EXPECT_EQ(host.messages[0].title, "入力エラー");
}

TEST_F(EditorTest, RenameKeepsItemLinesReadable) {
  NodeId a = AddItem(m(), m().Root(), testing::ItemCells("A", std::string(800, 'l')));
  m().tree.Select(a);
  // A blank title would be an invisible item and a nameless link.
  for (const std::string& blank : {std::string(), std::string("  "), sj("　 ")}) EXPECT_FALSE(e.EndLabelEdit(blank));
  EXPECT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(host.messages[0].text, "アイテムの名前を入力してください。");
  EXPECT_EQ(host.messages[0].title, "入力エラー");
  EXPECT_EQ(e.ModifiedFlag(), 0);
  EXPECT_FALSE(e.EndLabelEdit(std::string(257, 't')));
  EXPECT_FALSE(e.EndLabelEdit(std::string(250, 't')));  // with the long link, the line would not fit
  EXPECT_FALSE(e.EndLabelEdit("a\tb"));
  EXPECT_EQ(m().tree.Label(a), "A");
  EXPECT_EQ(host.messages.size(), 6u);
  EXPECT_TRUE(e.EndLabelEdit(std::string(170, 't')));
}

}  // namespace
}  // namespace pomeli2
