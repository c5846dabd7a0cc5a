#include "editor/commands/command_registry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "editor/commands/command_groups.h"
#include "editor/view/notifier.h"

namespace pomeli2 {
namespace {

// Every group, one line each. Collected on first use from this function,
// so that no group's table depends on the order of static initialisation.
std::vector<CommandDescriptor> Collect() {
  using Group = std::vector<CommandDescriptor> (*)();
  static constexpr Group kGroups[] = {
      document_commands::Descriptors, html_commands::Descriptors, html_commands::PreviewDescriptors,
      tree_commands::Descriptors,     clipboard_commands::Descriptors, colour_commands::Descriptors,
      bulk_commands::Descriptors,     option_commands::Descriptors,    path_commands::Descriptors,
      shell_commands::Descriptors,    exchange_commands::Descriptors,
  };
  std::vector<CommandDescriptor> all;
  for (Group group : kGroups)
    for (CommandDescriptor& d : group()) {
      if (std::string fault = DescriptorFault(d, all); !fault.empty()) {
        std::fprintf(stderr, "command %d cannot be registered: %s\n", static_cast<int>(*d.id), fault.c_str());
        std::abort();
      }
      all.push_back(std::move(d));
    }
  return all;
}

struct Registry {
  std::vector<CommandDescriptor> commands = Collect();
  std::map<int, const CommandDescriptor*> by_id = [this] {
    std::map<int, const CommandDescriptor*> index;
    for (const CommandDescriptor& d : commands) index[*d.id] = &d;
    return index;
  }();
};

const Registry& TheRegistry() {
  static const Registry registry;
  return registry;
}

bool SameKey(const char* a, const char* b) { return *a && std::strcmp(a, b) == 0; }

}  // namespace

Host& CommandContext::host() const { return notify.host(); }

const std::vector<CommandDescriptor>& Commands() { return TheRegistry().commands; }

const CommandDescriptor* FindCommand(CommandId id) {
  const auto& index = TheRegistry().by_id;
  auto it = index.find(id);
  return it == index.end() ? nullptr : it->second;
}

CommandId CommandOfButton(int control) {
  if (control == 0) return kCmdNone;
  for (const CommandDescriptor& d : Commands())
    if (d.button == control) return *d.id;
  return kCmdNone;
}

KeyUse UseOfKey(std::string_view keys, const KeyFocus& focus) {
  const CommandDescriptor* found = nullptr;
  for (const CommandDescriptor& d : Commands())
    if ((d.key_bound && keys == d.key) || keys == d.hidden_key) found = &d;
  if (!found || keys.empty()) return {};
  if (found->needs_tree_focus && focus.place != KeyFocus::Place::kTree) return {};
  if (found->needs_find_bar && focus.place != KeyFocus::Place::kFindBar) return {};
  if (focus.place == KeyFocus::Place::kTextBox || focus.place == KeyFocus::Place::kFindBar) {
    for (std::string_view text_key : {"Ctrl+A", "Ctrl+C", "Ctrl+X", "Ctrl+V"})
      if (keys == text_key) return {};
    if (keys == "Ctrl+Z" && focus.box_can_undo) return {kCmdNone, KeyUse::Box::kUndo};
    if ((keys == "Ctrl+Y" || keys == "Ctrl+Shift+Z") && focus.box_can_redo) return {kCmdNone, KeyUse::Box::kRedo};
  }
  return {*found->id, KeyUse::Box::kNone};
}

std::string DescriptorFault(const CommandDescriptor& d, const std::vector<CommandDescriptor>& all) {
  if (*d.id == kCmdNone) return "no id";
  if (!**d.text) return "no text";
  if (!PlacedInMenus(*d.id) && !*d.key && !*d.hidden_key && d.button == ControlId{})
    return "no place: no menu, toolbar or context menu, no key and no button";
  if (d.checked && !d.checkable) return "a check rule on a command that is not checkable";
  for (const CommandDescriptor& other : all) {
    if (*other.id == *d.id) return "its id is registered already";
    for (const char* key : {d.key, d.hidden_key})
      if (SameKey(key, other.key) || SameKey(key, other.hidden_key)) return std::string("key ") + key + " is taken";
    if (d.button != ControlId{} && d.button == other.button) return "its button runs another command";
  }
  if (SameKey(d.key, d.hidden_key)) return "the same key twice";
  return "";
}

}  // namespace pomeli2
