// Commands as registered descriptors. Each group of commands lists its own
// in its file (tree_commands.cpp, document_commands.cpp, ...), one
// descriptor each; Commands() collects the groups once, on first use, and
// checks them. The menus, the toolbar, the context menus, the dispatch, the
// enabling, the tooltips and the names of the history's steps all read it.
#pragma once

#include <concepts>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "editor/commands/commands.h"
#include "editor/form/controls.h"

namespace pomeli2 {

class Document;
class FormState;
class History;
class Host;
class Notifier;
class Services;

// How undo treats a command.
enum class UndoKind {
  kStep,           // what it changes is one step of the history
  kNoStep,         // changes nothing the history keeps: files, the shell, the window
  kClearsHistory,  // replaces the document; no step, and the steps before it go
};

// What the enabled, checked and text rules read; nothing they could change.
struct CommandState {
  const Document& doc;
  const FormState& form;
  const History& history;
};

// What a command works on: the document, the form, the host through the
// notifier (which also tells the view what changed), and the services that
// outlive a document. The history is not among them: a command says what
// became of the document, and the dispatch keeps the history.
struct CommandContext {
  Document& doc;
  FormState& form;
  Notifier& notify;
  Services& services;
  Host& host() const;
};

// What the dispatch does once a command has run.
struct CommandOutcome {
  enum class Kind {
    kNothing,
    kSaved,     // the project file now holds the document: the history marks the place
    kReplaced,  // another document (New, Open): the history starts anew
    kUndo,      // the history's own steps, back and forth
    kRedo,
    kCheck,     // the check before publishing, kept for the window that lists it
    kImport,    // `path` is imported under the selected item, as a step of its own
    kKeptSetting,  // the site's folder changed outside the steps: every kept state takes it
  };
  CommandOutcome(Kind k = Kind::kNothing, std::string p = {}) : kind(k), path(std::move(p)) {}
  Kind kind;
  std::string path;
};

// A descriptor field without a default: a descriptor that leaves it out
// does not compile, and neither does one that gives it nullptr.
template <typename T>
class Required {
 public:
  template <typename U>
    requires std::convertible_to<U, T> && (!std::is_null_pointer_v<U>)
  constexpr Required(U value) : value_(value) {}
  constexpr const T& operator*() const { return value_; }

 private:
  T value_;
};

using EnabledRule = bool (*)(const CommandState&);
using CheckedRule = bool (*)(const CommandState&);
using TextRule = std::string (*)(const CommandState&);
using DetailRule = std::optional<std::string> (*)(const CommandState&);

// The rule of a command that is always enabled, said as such.
inline bool AlwaysEnabled(const CommandState&) { return true; }

// What a command does, given its context: most commands only change the
// document; those that save it, replace it or hand work to the dispatch say
// so in their outcome. There is no empty run.
class CommandRun {
 public:
  using Plain = void (*)(CommandContext&);
  using WithOutcome = CommandOutcome (*)(CommandContext&);
  template <typename F>
    requires std::convertible_to<F, Plain> && (!std::is_null_pointer_v<F>)
  constexpr CommandRun(F f) : plain_(f) {}
  template <typename F>
    requires std::convertible_to<F, WithOutcome> && (!std::convertible_to<F, Plain>) && (!std::is_null_pointer_v<F>)
  constexpr CommandRun(F f) : with_outcome_(f) {}

  CommandOutcome operator()(CommandContext& context) const {
    if (with_outcome_) return with_outcome_(context);
    plain_(context);
    return {};
  }

 private:
  Plain plain_ = nullptr;
  WithOutcome with_outcome_ = nullptr;
};

// One command. Fields in this order, as designated initializers; the
// Required ones and the run cannot be left out.
struct CommandDescriptor {
  Required<CommandId> id;
  // The menu text with its & mnemonic (UTF-8); for a command that only a
  // button of the form runs, what it does. Without the mnemonic and "...",
  // the name of its step in the history.
  Required<const char*> text;
  // Shown after the text, as Qt writes keys ("Ctrl+A"); whether it is an
  // accelerator or only shown.
  const char* key = "";
  bool key_bound = true;
  // One more accelerator, not shown in the menu.
  const char* hidden_key = "";
  // The status bar's note while the entry is highlighted.
  const char* prompt = "";
  const char* tooltip = "";
  // The toolbar's icon: res/toolbar/<size>/<icon>.png.
  const char* icon = "";
  // The button of the form that runs it, if any.
  ControlId button = ControlId{};
  // Its keys act only while the menu tree has the focus (elsewhere they
  // keep their meaning in the field, such as selecting words).
  bool needs_tree_focus = false;
  // Its keys act only while the find bar has the keyboard.
  bool needs_find_bar = false;
  Required<UndoKind> undo;
  Required<EnabledRule> enabled;
  // A check mark: the rule that sets it, or none when the window keeps the
  // mark itself (the toolbar's own visibility).
  bool checkable = false;
  CheckedRule checked = nullptr;
  // A menu text that follows the state, shown in place of `text`.
  TextRule live_text = nullptr;
  // Added to the tooltip after ": " when there is something to add (CP932).
  DetailRule tooltip_detail = nullptr;
  CommandRun run;
};

// Every registered command, group by group. The first call checks them all
// and stops the program with the reason when one is faulty: no text, no
// place (menu, toolbar, context menu, key or button), a check rule on a
// command that is not checkable, an id or a key given twice.
const std::vector<CommandDescriptor>& Commands();
// The descriptor of `id`, or nullptr.
const CommandDescriptor* FindCommand(CommandId id);
// The command the form's button `control` runs, or kCmdNone.
CommandId CommandOfButton(int control);
// Where the keyboard is when a key is pressed.
struct KeyFocus {
  // The find bar's box is a text box too.
  enum class Place { kTree, kTextBox, kFindBar, kOther };
  Place place = Place::kOther;
  // A text box's own history of its text.
  bool box_can_undo = false, box_can_redo = false;
};
// What a key ("Ctrl+A", as Qt writes keys) does there: a command of the
// program, the text box's own undo or redo, or nothing of the program's
// (the control keeps the key). While a text box has the keyboard, the keys
// that edit text act on its text; its undo and redo keys reach the menu's
// history once the box has nothing left to undo or redo. The outline keys
// act only in the tree; every other key runs its command from anywhere.
struct KeyUse {
  enum class Box { kNone, kUndo, kRedo };
  CommandId command = kCmdNone;
  Box box = Box::kNone;
};
KeyUse UseOfKey(std::string_view keys, const KeyFocus& focus);
// Why `d` could not be registered among `all`; empty when it can.
std::string DescriptorFault(const CommandDescriptor& d, const std::vector<CommandDescriptor>& all);

}  // namespace pomeli2
