// The command registry: every registered command is complete and has a
// place, a faulty descriptor is refused, the dispatch follows each
// command's undo kind, and command ids cannot pass for control ids.
#include <set>

#include "editor/commands/command_registry.h"
#include "editor/session/history.h"
#include "project/project_file.h"
#include "support/session.h"

namespace pomeli2::testing {
namespace {

void DoNothing(CommandContext&) {}

// A descriptor that leaves out its enable rule does not compile; with the
// rule, the same descriptor does.
template <typename D>
concept DescribedWithoutEnableRule =
    requires { D{.id = kCmdNew, .text = "x", .undo = UndoKind::kStep, .run = DoNothing}; };
template <typename D>
concept DescribedWithEnableRule = requires {
  D{.id = kCmdNew, .text = "x", .undo = UndoKind::kStep, .enabled = AlwaysEnabled, .run = DoNothing};
};
static_assert(DescribedWithEnableRule<CommandDescriptor>);
static_assert(!DescribedWithoutEnableRule<CommandDescriptor>);
static_assert(!std::is_constructible_v<Required<EnabledRule>, std::nullptr_t>, "no rule is no rule either");
static_assert(!std::is_constructible_v<CommandRun, std::nullptr_t>);

// Command ids and control ids do not convert into each other, nor do plain
// numbers into command ids.
template <typename Id>
concept Dispatchable = requires(Editor& e, Id id) { e.Dispatch(id); };
template <typename Id>
concept AsksForCommand = requires(const Editor& e, Id id) { e.CommandEnabled(id); };
template <typename Id>
concept AsksForControl = requires(const Editor& e, Id id) { e.ControlEnabled(id); };
static_assert(Dispatchable<CommandId> && !Dispatchable<ControlId> && !Dispatchable<int>);
static_assert(AsksForCommand<CommandId> && !AsksForCommand<ControlId> && !AsksForCommand<int>);
static_assert(AsksForControl<ControlId> && AsksForControl<int> && !AsksForControl<CommandId>);

TEST(CommandRegistry, EveryCommandIsCompleteAndHasAPlace) {
  std::set<int> ids;
  for (const CommandDescriptor& d : Commands()) {
    SCOPED_TRACE(*d.id);
    EXPECT_TRUE(ids.insert(*d.id).second);
    EXPECT_EQ(FindCommand(*d.id), &d);
    EXPECT_NE(*d.enabled, nullptr);
    EXPECT_FALSE(StepName(*d.id).empty());
    EXPECT_TRUE(PlacedInMenus(*d.id) || *d.key || *d.hidden_key || d.button != ControlId{});
    if (d.checked) {
      EXPECT_TRUE(d.checkable);
    }
  }
  // Every place names a registered command: no group is left out.
  std::vector<MenuEntry> placed;
  for (const Menu& m : MainMenu()) placed.insert(placed.end(), m.entries.begin(), m.entries.end());
  for (CommandId id : ToolbarCommands()) placed.push_back({id, "", "", false});
  for (const MenuEntry& e : ContextMenuFor(true, true).entries) placed.push_back(e);
  for (const MenuEntry& entry : placed) {
    if (entry.command != kCmdNone) {
      EXPECT_NE(FindCommand(entry.command), nullptr) << entry.command;
    }
  }
  for (int button : {kCtlAddItem, kCtlMoveUp, kCtlMoveDown}) EXPECT_NE(FindCommand(CommandOfButton(button)), nullptr);
}

TEST(CommandRegistry, FaultyDescriptorsAreRefused) {
  const std::vector<CommandDescriptor>& all = Commands();
  const auto unused = static_cast<CommandId>(40000);
  auto with_key = [](CommandId id, const char* key) {
    return CommandDescriptor{.id = id, .text = "x(&X)", .key = key, .undo = UndoKind::kStep,
                             .enabled = AlwaysEnabled, .run = DoNothing};
  };
  EXPECT_EQ(DescriptorFault(with_key(unused, "Ctrl+Q"), all), "");
  EXPECT_NE(DescriptorFault(with_key(kCmdNone, "Ctrl+Q"), all), "");
  EXPECT_NE(DescriptorFault(with_key(kCmdNew, "Ctrl+Q"), all), "") << "an id given twice";
  EXPECT_NE(DescriptorFault(with_key(unused, "Ctrl+A"), all), "") << "a key given twice";
  EXPECT_NE(DescriptorFault(with_key(unused, "Ctrl+Shift+Z"), all), "") << "a hidden key given again";
  EXPECT_NE(DescriptorFault(with_key(unused, ""), all), "") << "no place to be chosen from";
  CommandDescriptor no_text = with_key(unused, "Ctrl+Q");
  no_text.text = "";
  EXPECT_NE(DescriptorFault(no_text, all), "");
  CommandDescriptor mark = with_key(unused, "Ctrl+Q");
  mark.checked = [](const CommandState&) { return true; };
  EXPECT_NE(DescriptorFault(mark, all), "") << "a check mark on a command that has none";
  CommandDescriptor button = with_key(unused, "");
  button.button = kCtlAddItem;
  EXPECT_NE(DescriptorFault(button, all), "") << "a button that runs another command";
  button.button = kCtlLinkBrowse;
  EXPECT_EQ(DescriptorFault(button, all), "") << "a button is a place";
}

TEST(CommandRegistry, ButtonsNameTheirCommands) {
  EXPECT_EQ(CommandOfButton(kCtlAddItem), kCmdAddItem);
  EXPECT_EQ(CommandOfButton(kCtlMoveUp), kCmdMoveUp);
  EXPECT_EQ(CommandOfButton(kCtlMoveDown), kCmdMoveDown);
  EXPECT_EQ(CommandOfButton(kCtlLinkBrowse), kCmdNone) << "a browse button runs no command";
  EXPECT_EQ(CommandOfButton(1005), kCmdNone) << "the delete command's number, and no button's";
}

class CommandDispatch : public Session {
 protected:
  // What undo would take back: the project as it would be saved (its file
  // names aside, which saving sets and undo leaves), the new-item fields
  // and the selected item's fields.
  std::string UndoableState() {
    PageSettings s = e.Settings();
    s.ProjectPath = s.Path = s.HtmlFileName = "";
    std::string out = Outline() + "\n" + SerializeProject(s, m()).bytes;
    for (const std::string* f : {&s.NewBgColor, &s.NewStyle, &s.NewOtherButton, &s.NewFontSize, &s.NewTarget})
      out += *f + "|";
    const ItemFields& i = e.Item();
    for (const std::string* f : {&i.bg_color, &i.style, &i.size, &i.link, &i.other_button, &i.target, &i.icon})
      out += *f + "|";
    return out;
  }
};

// A command that is no step must change nothing that undo would take back:
// otherwise a later undo would silently revert it.
TEST_F(CommandDispatch, TheUndoKindDecidesTheStep) {
  Add("A");
  Type(kCtlLink, "a.html");
  Add("A1");
  History& history = e.GetHistory();
  ASSERT_EQ(history.Steps(), 5u) << "the adds, the typed titles and the link";
  int no_steps = 0;
  for (const CommandDescriptor& d : Commands()) {
    // Undo and redo are the history's own moves.
    if (*d.undo != UndoKind::kNoStep || *d.id == kCmdUndo || *d.id == kCmdRedo) continue;
    SCOPED_TRACE(*d.id);
    ++no_steps;
    // The scripted host cancels every dialog and answers questions Yes;
    // the save commands write to a file of the temporary folder.
    host.files = {dir / "p.pml"};
    const std::string before = UndoableState();
    e.Dispatch(*d.id);
    EXPECT_EQ(UndoableState(), before);
    EXPECT_EQ(history.Steps(), 5u);
  }
  EXPECT_GT(no_steps, 10);
  EXPECT_EQ(e.Doc().frame_resizable, 1) << "not kept in the project, so no step";

  e.Dispatch(kCmdAddItem);
  EXPECT_EQ(history.Steps(), 6u);
  e.Dispatch(kCmdNew);  // the question is answered Yes
  EXPECT_EQ(history.Steps(), 0u);
  EXPECT_EQ(Outline(), "");
}

TEST_F(CommandDispatch, AnUnregisteredIdDoesNothing) {
  const int controls_before = host.control_updates;
  e.Dispatch(static_cast<CommandId>(40000));
  EXPECT_FALSE(e.CommandEnabled(static_cast<CommandId>(40000)));
  EXPECT_EQ(host.control_updates, controls_before);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace pomeli2::testing
