#include "editor/commands/commands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "editor/commands/command_registry.h"

namespace pomeli2 {
namespace {

constexpr CommandId kSeparator = kCmdNone;

struct MenuLayout {
  const char* title;
  std::vector<CommandId> commands;  // kSeparator between groups
};

// Menu 128: where each command stands; its text and key are its descriptor's.
const std::vector<MenuLayout>& MenuLayouts() {
  static const std::vector<MenuLayout> layouts = {
      {"ファイル(&F)",
       {kCmdNew, kCmdOpen, kCmdSave, kCmdSaveAs, kSeparator, kCmdHtmlSave, kCmdHtmlSaveAs, kCmdPreview, kSeparator,
        kCmdImport, kCmdExport, kSeparator, kCmdFrame2, kCmdFrame3, kCmdSite, kSeparator, kCmdIconCopy, kSeparator, kCmdPrint, kCmdPrintPreview, kCmdPrintSetup,
        kSeparator, kCmdRecent, kSeparator, kCmdExit}},
      {"編集(&E)",
       {kCmdUndo, kCmdRedo, kSeparator, kCmdRename, kSeparator, kCmdAddItem, kCmdCut, kCmdCopy, kCmdDelete,
        kSeparator, kCmdPasteCut, kCmdPasteCopy, kSeparator, kCmdOutlineUp, kCmdOutlineDown, kCmdIndent,
        kCmdOutdent, kSeparator, kCmdFind}},
      {"表示(&V)", {kCmdToolbar, kSeparator, kCmdTreeBgColor, kCmdTreeItemColor}},
      {"ツール(&T)",
       {kCmdAddTarget, kSeparator, kCmdBulkSize, kCmdBulkStyle, kCmdBulkOther, kCmdBulkBg, kSeparator,
        kCmdTreeImages, kSeparator, kCmdScriptOptions, kSeparator, kCmdBodyInsert, kSeparator, kCmdCheckLinks}},
      {"設定(&S)", {kCmdItemTargets, kCmdItemIcons, kCmdFrameResizable}},
      {"ヘルプ(&H)", {kCmdHelp, kCmdAbout}},
  };
  return layouts;
}

// The context menus: these first, then the pastes the buffers offer, then
// the outline moves.
constexpr CommandId kContextHead[] = {kCmdRename, kSeparator, kCmdSelectImage, kSeparator,
                                      kCmdAddItem, kCmdCut,   kCmdCopy,        kCmdDelete};
constexpr CommandId kContextPastes[] = {kCmdPasteCut, kCmdPasteCopy};
constexpr CommandId kContextTail[] = {kSeparator, kCmdOutlineUp, kCmdOutlineDown, kCmdIndent, kCmdOutdent};
// With both pastes shown, cut takes another mnemonic.
constexpr char kCutTextBesidePastes[] = "ツリーアイテムを切り取り(&T)";

MenuEntry EntryOf(CommandId command, bool with_key) {
  if (command == kSeparator) return {kSeparator, "", "", false};
  const CommandDescriptor* d = FindCommand(command);
  if (!d) {
    // A layout that names a command no group registers: stop at the start.
    std::fprintf(stderr, "command %d has a place but no descriptor\n", static_cast<int>(command));
    std::abort();
  }
  if (!with_key) return {command, *d->text, "", false};
  return {command, *d->text, d->key, *d->key && d->key_bound};
}

}  // namespace

const std::vector<Menu>& MainMenu() {
  static const std::vector<Menu> menu = [] {
    std::vector<Menu> menus;
    for (const MenuLayout& layout : MenuLayouts()) {
      Menu& m = menus.emplace_back(Menu{layout.title, {}});
      for (CommandId command : layout.commands) m.entries.push_back(EntryOf(command, true));
    }
    return menus;
  }();
  return menu;
}

const std::vector<CommandId>& ToolbarCommands() {
  static const std::vector<CommandId> bar = {
      kCmdNew, kCmdOpen,     kCmdSave,      kCmdHtmlSave, kCmdFrame2, kCmdFrame3, kCmdIconCopy,
      kSeparator, kCmdCut,   kCmdPasteCut,  kCmdCopy,     kCmdPasteCopy, kSeparator, kCmdHelp,
      kCmdAbout, kSeparator, kCmdPreview,   kSeparator,   kCmdUndo,   kCmdRedo};
  return bar;
}

bool PlacedInMenus(CommandId command) {
  if (command == kSeparator) return false;
  auto in = [command](const auto& ids) { return std::find(std::begin(ids), std::end(ids), command) != std::end(ids); };
  for (const MenuLayout& layout : MenuLayouts())
    if (in(layout.commands)) return true;
  return in(ToolbarCommands()) || in(kContextHead) || in(kContextPastes) || in(kContextTail);
}

std::string StepName(CommandId command) {
  const CommandDescriptor* d = FindCommand(command);
  if (!d) return "";
  std::string text = *d->text;
  if (auto paren = text.find("(&"); paren != std::string::npos) text.erase(paren, 4);
  if (auto dots = text.find("..."); dots != std::string::npos) text.erase(dots);
  return text;
}

ContextMenu ContextMenuFor(bool cut_full, bool copy_full) {
  ContextMenu menu;
  for (CommandId command : kContextHead) menu.entries.push_back(EntryOf(command, false));
  if (cut_full && copy_full)
    for (MenuEntry& entry : menu.entries)
      if (entry.command == kCmdCut) entry.text = kCutTextBesidePastes;
  if (cut_full || copy_full) menu.entries.push_back(EntryOf(kSeparator, false));
  const bool offered[] = {cut_full, copy_full};
  for (int i = 0; i < 2; ++i)
    if (offered[i]) menu.entries.push_back(EntryOf(kContextPastes[i], false));
  for (CommandId command : kContextTail) menu.entries.push_back(EntryOf(command, false));
  menu.id = cut_full && copy_full ? 138 : cut_full ? 141 : copy_full ? 139 : 140;
  return menu;
}

}  // namespace pomeli2
