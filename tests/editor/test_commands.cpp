// The command registry: a faulty descriptor is refused, the dispatch follows each
// command's undo kind, and command ids cannot pass for control ids.

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

class CommandDispatch : public Session {
 protected:
  // What undo would take back: the project as it would be saved (its file
  // names aside, which saving sets and undo leaves), the new-item fields
  // and the selected item's fields.
  std::string UndoableState() {
    PageSettings s = e.Settings();
    s.ProjectPath = s.Path = s.HtmlFileName = "";
    std::string out = Outline() + "\n" + SerializeProject(s, m()).bytes;
    for (const std::string* f : {&s.NewBgColor, &s.NewStyle, &s.NewFontSize, &s.NewTarget}) out += *f + "|";
    out += CodeOf(s.NewOtherButton);
    for (const FormField& f : FormFields())
      if (f.group == FieldGroup::kItem) out += e.Form().FieldText(f.control) + "|";
    return out;
  }
};

// A command that is no step must change nothing that undo would take back:
// otherwise a later undo would silently revert it.
TEST_F(CommandDispatch, TheUndoKindDecidesTheStep) {
  Add("A");
  Type(kCtlLink, "a.html");
  Add("A1");
  const History& history = e.GetHistory();
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
