// Undo and redo: a session of every kind of step, taken back to the start
// and forward to the end, compared at each point with the session itself.
#include <functional>

#include "editor/session/history.h"
#include "generate/menu_page.h"
#include "project/project_file.h"
#include "support/session.h"

namespace pomeli2::testing {
namespace {

class Undo : public Session {
 public:
  // What a step changes, as text: the project and the page that would be
  // written, the tree and the cut buffer. (The selection and the form are
  // those of the moment before the step, which a user may have changed
  // since the last one: they are checked apart.) The copy buffer is no part
  // of the history.
  std::string State() {
    MenuModel& mm = m();
    std::string out = Outline() + "\n";
    for (const ClipItem& c : mm.CutItems()) out += std::to_string(c.depth) + c.item.title + c.item.bg_color + "|";
    out += SerializeProject(e.Settings(), mm).bytes;
    out += BuildMenuPage(e.Settings(), mm.tree, nullptr, nullptr);
    return out;
  }
};

TEST_F(Undo, EveryStepBackToTheStartAndForwardToTheEnd) {
  auto dialog = [&](auto& handler, auto set) {
    handler = [set](auto& d) {
      set(d);
      return true;
    };
  };
  std::vector<std::function<void()>> steps = {
      [&] { e.Dispatch(kCmdAddItem); },
      [&] { ASSERT_TRUE(e.EndLabelEdit("A")); },
      [&] {  // typing in one field is one step
        Type(kCtlLink, "a");
        Type(kCtlLink, "a.h");
        e.FieldEditEnded();
      },
      [&] { e.Dispatch(kCmdAddItem); },
      [&] { ASSERT_TRUE(e.EndLabelEdit("A1")); },
      [&] { e.CheckBoxClicked(kCtlTextBackOn, true); },
      [&] {
        e.SelectItem(m().Root());
        e.Dispatch(kCmdAddItem);
      },
      [&] { e.Dispatch(kCmdMoveUp); },
      [&] {  // a copy is no step
        Select("A");
        e.Dispatch(kCmdCopy);
        e.Dispatch(kCmdPasteCopy);
      },
      [&] {
        Select("A1");
        e.Dispatch(kCmdCut);
      },
      [&] {
        e.SelectItem(m().Root());
        e.Dispatch(kCmdPasteCut);
      },
      [&] {
        Select("A");
        e.Dispatch(kCmdDelete);
      },
      [&] {
        dialog(host.bulk, [](BulkChangeDialog& d) { d.value = "14pt"; });
        e.Dispatch(kCmdBulkSize);
      },
      [&] {
        dialog(host.script_options, [](ScriptOptionsDialog& d) { d.CloseItemsClicked(true); });
        e.Dispatch(kCmdScriptOptions);
      },
      [&] {
        host.colours = {0x336699};
        e.ButtonClicked(1052);
      },
      [&] {
        host.colours = {0x808080};
        e.Dispatch(kCmdTreeBgColor);
      },
      [&] { e.Dispatch(kCmdItemIcons); },
  };
  std::vector<std::string> states = {State()};
  size_t saved_at = 6;
  for (size_t i = 0; i < steps.size(); ++i) {
    steps[i]();
    if (i + 1 == saved_at) {  // saving numbers the rows: the state after it
      host.files = {dir / "p.pml"};
      e.Dispatch(kCmdSaveAs);
    }
    states.push_back(State());
    ASSERT_EQ(e.GetHistory().Steps(), i + 1) << "step " << i;
  }
  EXPECT_EQ(e.CommandTooltipText(kCmdUndo), S("元に戻す: 各アイテムのリンク・アイコンを有効にする"));
  for (size_t k = steps.size(); k > 0; --k) {
    e.Dispatch(kCmdUndo);
    EXPECT_TRUE(State() == states[k - 1]) << "undo to " << k - 1;
    EXPECT_EQ(e.ModifiedFlag(), k - 1 == saved_at ? 0 : 1) << k - 1;
  }
  EXPECT_FALSE(e.CommandEnabled(kCmdUndo));
  for (size_t k = 1; k <= steps.size(); ++k) {
    e.Dispatch(kCmdRedo);
    EXPECT_TRUE(State() == states[k]) << "redo to " << k;
  }
  EXPECT_FALSE(e.CommandEnabled(kCmdRedo));
  // The project saved after the sixth step: undoing to it and saving gives
  // the same file.
  const std::string saved = ReadFile(dir / "p.pml");
  for (size_t k = steps.size(); k > saved_at; --k) e.Dispatch(kCmdUndo);
  EXPECT_EQ(e.ModifiedFlag(), 0);
  e.Dispatch(kCmdSave);
  EXPECT_EQ(ReadFile(dir / "p.pml"), saved);

  // A new step drops what could be redone; New and Open start afresh.
  e.Dispatch(kCmdAddItem);
  EXPECT_FALSE(e.CommandEnabled(kCmdRedo));
  e.Dispatch(kCmdNew);
  EXPECT_FALSE(e.CommandEnabled(kCmdUndo));
}

TEST_F(Undo, AThousandPastedItemsComeAndGoAndTheHistoryKeepsAHundredSteps) {
  Add("top");
  NodeId top = m().tree.Selected();
  for (int i = 1; i < 1000; ++i) {
    e.Dispatch(kCmdAddItem);
    e.SelectItem(top);
  }
  e.Dispatch(kCmdCopy);
  e.SelectItem(m().Root());
  std::string before = State();
  e.Dispatch(kCmdPasteCopy);
  EXPECT_EQ(m().LiveItemCount(), 2001);
  EXPECT_FALSE(m().RootSelected());
  e.Dispatch(kCmdUndo);
  EXPECT_TRUE(State() == before);
  EXPECT_TRUE(m().RootSelected()) << "the item selected before the step";
  EXPECT_TRUE(e.CommandEnabled(kCmdPasteCopy)) << "the copy buffer is as it was";
  e.Dispatch(kCmdRedo);
  EXPECT_EQ(m().LiveItemCount(), 2001);
  EXPECT_EQ(e.GetHistory().Steps(), History::kMaxSteps);
  // Kept states share what the steps left alone: far below a copy each.
  EXPECT_LT(e.GetHistory().MemoryEstimate(e.Capture()), 100u * 2001 * 40);
}

}  // namespace
}  // namespace pomeli2::testing

namespace pomeli2::testing {
namespace {

using Buffers = Undo;

TEST_F(Buffers, UndoNeitherRevivesOldCopyMarksNorForgetsTheCopy) {
  for (const char* name : {"A", "B", "C", "D"}) {
    e.SelectItem(m().Root());
    Add(name);
  }
  Select("A");
  Add("A1");
  e.SetTreeFocus(true);
  Select("A");
  e.Dispatch(kCmdCopy);
  Select("B");
  e.Dispatch(kCmdDelete);
  e.Dispatch(kCmdUndo);
  EXPECT_FALSE(e.CommandEnabled(kCmdPasteCopy)) << "the delete emptied it, and undo leaves it so";
  Select("C");
  e.Dispatch(kCmdCut);
  Select("D");
  e.Dispatch(kCmdCopy);
  Select("B");
  e.Dispatch(kCmdPasteCopy);
  EXPECT_EQ(Outline(), "A(A1),B(D),D") << "only what was copied last";
}

TEST_F(Buffers, MovesKeepTheCopyBufferAndACopyIsNoEdit) {
  Add("A");
  Add("A1");
  e.SelectItem(m().Root());
  Add("B");
  host.files = {dir / "p.pml"};
  e.Dispatch(kCmdSave);
  const size_t steps = e.GetHistory().Steps();
  e.SetTreeFocus(true);
  Select("A");
  e.Dispatch(kCmdCopy);
  EXPECT_EQ(e.ModifiedFlag(), 0) << "nothing that is saved changed";
  EXPECT_EQ(e.GetHistory().Steps(), steps) << "and it is no step";
  EXPECT_TRUE(e.CloseRequested(0, 0, 800, 600));
  EXPECT_TRUE(host.messages.empty()) << "no question at the close";

  e.Dispatch(kCmdMoveDown);  // A, now below B, is still the one copied
  ASSERT_EQ(Outline(), "B,A(A1)");
  EXPECT_TRUE(e.CommandEnabled(kCmdPasteCopy));
  Select("B");
  e.Dispatch(kCmdPasteCopy);
  EXPECT_EQ(Outline(), "B(A(A1)),A(A1)");
  Select("B");
  e.Dispatch(kCmdMoveDown);
  EXPECT_EQ(Outline(), "A(A1),B(A(A1))");
  Select("ホームページ");
  e.Dispatch(kCmdPasteCopy);
  EXPECT_EQ(Outline(), "A(A1),B(A(A1)),A(A1)");
}

// Ids need not name the same item in two states: a move exchanges two
// items' cells, a drop or an indent re-creates the subtree under new ids.
TEST_F(Buffers, UndoAndRedoOfMovesKeepTheCopiedItem) {
  struct Case {
    const char* name;
    const char* copied;
    std::function<void()> move;
    const char* moved;
  };
  const Case cases[] = {
      {"move down", "A", [&] { e.Dispatch(kCmdMoveDown); }, "B,A"},
      {"drop", "A", [&] { e.Drop(Find("A"), m().Root(), kNoNode); }, "B,A"},
      {"indent", "B", [&] { e.Dispatch(kCmdIndent); }, "A(B)"},
  };
  for (const Case& c : cases) {
    host.answers = {MessageAnswer::kYes};
    e.Dispatch(kCmdNew);
    Add("A");
    e.SelectItem(m().Root());
    Add("B");
    e.SetTreeFocus(true);
    Select(c.copied);
    e.Dispatch(kCmdCopy);
    c.move();
    ASSERT_EQ(Outline(), c.moved) << c.name;
    e.Dispatch(kCmdUndo);
    ASSERT_EQ(Outline(), "A,B") << c.name;
    e.Dispatch(kCmdRedo);
    ASSERT_EQ(Outline(), c.moved) << c.name;
    e.SelectItem(m().Root());
    e.Dispatch(kCmdPasteCopy);
    EXPECT_EQ(Outline(), std::string(c.moved) + "," + c.copied) << c.name << ", redone";
    e.Dispatch(kCmdUndo);  // the paste
    e.Dispatch(kCmdUndo);  // the move
    ASSERT_EQ(Outline(), "A,B") << c.name;
    e.SelectItem(m().Root());
    e.Dispatch(kCmdPasteCopy);
    EXPECT_EQ(Outline(), std::string("A,B,") + c.copied) << c.name << ", undone";
  }
}

// The copied item is the one copied, whatever it or another item holds
// after a step is undone.
TEST_F(Buffers, UndoOfAnEditKeepsTheCopiedItemAndNoLookalikeTakesItsPlace) {
  Add("A");
  Add("A1");
  e.SelectItem(m().Root());
  Add("N");
  e.SetTreeFocus(true);
  Select("N");
  e.Dispatch(kCmdCopy);
  Type(kCtlLink, "n.html");
  e.Dispatch(kCmdUndo);
  EXPECT_TRUE(e.CommandEnabled(kCmdPasteCopy)) << "N is still in the tree";
  ASSERT_TRUE(e.EndLabelEdit(S("A")));  // N now looks like A
  e.Dispatch(kCmdUndo);
  ASSERT_EQ(Outline(), "A(A1),N");
  e.SelectItem(m().Root());
  e.SetTreeFocus(true);
  e.Dispatch(kCmdPasteCopy);
  EXPECT_EQ(Outline(), "A(A1),N,N") << "what was copied is N";
}

TEST_F(Buffers, NewItemDefaultsAreStepsOfTheirOwnButNoEdits) {
  Add("X");
  host.files = {dir / "p.pml"};
  e.Dispatch(kCmdSave);
  ASSERT_TRUE(e.FieldChanged(kCtlNewStyle, "Bold"));
  EXPECT_EQ(e.ModifiedFlag(), 0);
  e.Dispatch(kCmdUndo);
  EXPECT_EQ(e.Settings().NewStyle, "None") << "the undo takes the style back, not the add";
  EXPECT_EQ(Outline(), "X");
  EXPECT_EQ(e.ModifiedFlag(), 0);
  e.Dispatch(kCmdRedo);
  EXPECT_EQ(e.Settings().NewStyle, "Bold");
  EXPECT_EQ(e.ModifiedFlag(), 0) << "the project is the saved one";
  for (int i = 0; i < 3; ++i) e.Dispatch(kCmdUndo);  // the style, the name, the add
  EXPECT_EQ(Outline(), "");
  EXPECT_EQ(e.ModifiedFlag(), 1);
  // A new step after undoing only the style keeps the saved point.
  for (int i = 0; i < 3; ++i) e.Dispatch(kCmdRedo);
  e.Dispatch(kCmdUndo);
  ASSERT_TRUE(e.FieldChanged(kCtlNewSize, "12pt"));
  EXPECT_EQ(e.ModifiedFlag(), 0);
}

TEST_F(Buffers, ACommandThatChangesNothingIsNoStepAndNoEdit) {
  Add("A");
  Type(kCtlItemSize, "12pt");
  Add("B");
  host.files = {dir / "p.pml"};
  e.Dispatch(kCmdSave);
  const std::string undo_name = e.CommandTooltipText(kCmdUndo);
  const size_t steps = e.GetHistory().Steps();

  // Each of these says it edits, but leaves every value as it was.
  host.bulk = [](BulkChangeDialog& d) {
    d.value = "None";  // every item's style already
    return true;
  };
  e.Dispatch(kCmdBulkStyle);
  ASSERT_TRUE(e.EndLabelEdit(S("B")));
  Type(kCtlItemTarget, "Frame2");
  EXPECT_EQ(e.GetHistory().Steps(), steps);
  EXPECT_EQ(e.CommandTooltipText(kCmdUndo), undo_name);
  EXPECT_EQ(e.ModifiedFlag(), 0) << "nothing to save, nothing to ask at close";

  // The field is not held open by the typing that changed nothing: the next
  // change in it is a step of its own, and undo takes back only that.
  Type(kCtlItemTarget, "_top");
  EXPECT_EQ(e.GetHistory().Steps(), steps + 1);
  EXPECT_EQ(e.ModifiedFlag(), 1);
  e.Dispatch(kCmdUndo);
  EXPECT_EQ(e.Form().FieldText(kCtlItemTarget), "Frame2");
  EXPECT_EQ(Outline(), "A(B)");
  EXPECT_EQ(e.ModifiedFlag(), 0);
}

TEST_F(Buffers, RedoShowsTheItemItChangedAndBringsBackTheCopiedItem) {
  Add("A");
  Type(kCtlLink, "a.html");
  e.SelectItem(m().Root());
  Add("B");
  Type(kCtlLink, "b.html");
  e.Dispatch(kCmdMoveUp);  // B before A
  Select("A");
  e.Dispatch(kCmdUndo);
  EXPECT_EQ(Outline(), "A,B");
  EXPECT_EQ(m().tree.Label(m().Selected()), "B") << "undo shows the item the step changed";
  Select("A");
  e.Dispatch(kCmdRedo);
  EXPECT_EQ(Outline(), "B,A");
  EXPECT_EQ(m().tree.Label(m().Selected()), "B") << "and so does redo, whatever was selected since";
  EXPECT_EQ(e.Form().FieldText(kCtlLink), "b.html") << "with its fields";

  // A copied item that an undo takes away comes back with the redo, and
  // the buffer with it.
  e.SelectItem(m().Root());
  Add("N");
  e.Dispatch(kCmdCopy);
  e.Dispatch(kCmdUndo);  // the name
  e.Dispatch(kCmdUndo);  // the add
  EXPECT_FALSE(e.CommandEnabled(kCmdPasteCopy));
  e.Dispatch(kCmdRedo);
  e.Dispatch(kCmdRedo);
  ASSERT_TRUE(e.CommandEnabled(kCmdPasteCopy));
  Select("A");
  e.Dispatch(kCmdPasteCopy);
  EXPECT_EQ(Outline(), "B,A(N),N");
  // Once a new step has cut off the redo, the copied item's id may go to
  // a new item, which must not become the copy.
  e.Dispatch(kCmdUndo);
  e.Dispatch(kCmdUndo);
  e.Dispatch(kCmdUndo);
  e.SelectItem(m().Root());
  e.Dispatch(kCmdAddItem);
  e.Dispatch(kCmdMoveUp);  // a move takes the copied subtree anew
  EXPECT_FALSE(e.CommandEnabled(kCmdPasteCopy));
}

}  // namespace
}  // namespace pomeli2::testing
