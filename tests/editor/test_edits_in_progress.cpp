// Edits that are still under way when the user does something else: a
// rename being typed, typing in a field, a message of a field's own check,
// and the keys that belong to a text box.
#include "io/file_io.h"
#include "support/session.h"

namespace pomeli2::testing {
namespace {

using EditsInProgress = Session;

TEST_F(EditsInProgress, ARenameBeingTypedIsSavedAndAskedAboutOnClose) {
  Add("news");
  const std::string file = dir / "site.pml";
  host.files = {file};
  e.Dispatch(kCmdSave);
  ASSERT_EQ(e.ModifiedFlag(), 0);

  // Ctrl+S with the rename box open: the file holds what was typed.
  e.Dispatch(kCmdRename);
  ASSERT_EQ(host.label_edits.size(), 2u);
  host.open_label_edit = [&] { e.EndLabelEdit(S("お知らせ")); };
  e.Dispatch(kCmdSave);
  EXPECT_EQ(e.ModifiedFlag(), 0);
  EXPECT_NE(ReadWholeFile(file).value().find(S("\tお知らせ\t")), std::string::npos);

  // The close with the box open: an edit, so the question comes.
  e.Dispatch(kCmdRename);
  host.open_label_edit = [&] { e.EndLabelEdit(S("ニュース")); };
  host.answers = {MessageAnswer::kNo};
  EXPECT_FALSE(e.CloseRequested(0, 0, 800, 600));
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back().text, "変更が保存されていません。このまま終了しますか？");
  EXPECT_EQ(m().tree.Label(m().Selected()), S("ニュース"));
}

TEST_F(EditsInProgress, UndoAndRedoOfTypingShowWhatIsStored) {
  Add("A");
  Type(kCtlLink, "news.html");
  e.FieldEditEnded(kCtlLink);
  const NodeId a = m().Selected();
  auto shown_and_stored = [&](const char* link) {
    EXPECT_EQ(e.Form().FieldText(kCtlLink), link);
    EXPECT_EQ(m().tree.Item(a).link, link);
  };
  for (const char* typed : {"news.htmlx", "news.htmlxy", "news.htmlxyz"}) Type(kCtlLink, typed);
  e.Dispatch(kCmdUndo);
  shown_and_stored("news.html");
  e.Dispatch(kCmdRedo);
  shown_and_stored("news.htmlxyz");
  EXPECT_FALSE(e.CommandEnabled(kCmdRedo));

  // Typing undone in the box back to where it began is no step: the
  // menu's undo then takes the step before it.
  e.FieldEditEnded(kCtlLink);
  Type(kCtlLink, "news.htmlxyzq");
  Type(kCtlLink, "news.htmlxyz");
  e.Dispatch(kCmdUndo);
  shown_and_stored("news.html");
}

TEST_F(EditsInProgress, TheMessageOfAFieldsCheckEndsNoTyping) {
  // The message box takes the keyboard from the field, which says that
  // its edit ended.
  host.on_message = [&](const Message&) { e.FieldEditEnded(kCtlBodyLink); };
  e.FieldChanged(kCtlBodyLink, "b");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "「#」で書き始めてください。");
  e.FieldChanged(kCtlBodyLink, "#123456");
  e.FieldEditEnded(kCtlBodyLink);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(e.Settings().BodyLink, "#123456");
}

TEST(KeysOfTextBoxes, TheKeysThatEditTextActOnTheText) {
  using Place = KeyFocus::Place;
  const KeyFocus tree{Place::kTree}, other{Place::kOther}, box{Place::kTextBox}, box_with_history{Place::kTextBox, true, true};
  auto command = [](const char* keys, const KeyFocus& f) { return UseOfKey(keys, f).command; };
  EXPECT_EQ(command("Ctrl+A", tree), kCmdAddItem);
  EXPECT_EQ(command("Ctrl+A", other), kCmdAddItem);
  EXPECT_EQ(command("Ctrl+A", box), kCmdNone);
  EXPECT_EQ(command("Ctrl+Z", box), kCmdUndo) << "nothing left to undo in the box";
  EXPECT_EQ(UseOfKey("Ctrl+Z", box_with_history).box, KeyUse::Box::kUndo);
  EXPECT_EQ(command("Ctrl+Z", box_with_history), kCmdNone);
  for (const char* redo : {"Ctrl+Y", "Ctrl+Shift+Z"}) {
    EXPECT_EQ(command(redo, box), kCmdRedo);
    EXPECT_EQ(UseOfKey(redo, box_with_history).box, KeyUse::Box::kRedo);
  }
  // Every other key of the program works from a box as from anywhere.
  EXPECT_EQ(command("Ctrl+S", box_with_history), kCmdSave);
  EXPECT_EQ(command("Alt+V", box), kCmdPasteCut);
  EXPECT_EQ(command("F5", box), kCmdPreview);
  // The outline keys are the tree's.
  EXPECT_EQ(command("Ctrl+Shift+Up", box), kCmdNone);
  EXPECT_EQ(command("Ctrl+Shift+Up", other), kCmdNone);
  EXPECT_EQ(command("Ctrl+Shift+Up", tree), kCmdOutlineUp);
  // F3 is the find bar's, whose box edits text as any box does.
  const KeyFocus find_bar{Place::kFindBar};
  EXPECT_EQ(command("F3", find_bar), kCmdFindNext);
  EXPECT_EQ(command("Shift+F3", find_bar), kCmdFindPrevious);
  EXPECT_EQ(command("F3", box), kCmdNone);
  EXPECT_EQ(command("F3", tree), kCmdNone);
  EXPECT_EQ(command("Ctrl+A", find_bar), kCmdNone);
}

}  // namespace
}  // namespace pomeli2::testing
