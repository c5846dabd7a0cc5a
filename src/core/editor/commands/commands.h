// The commands of the main window: their ids, and where they stand in the
// menus, the toolbar and the context menus. What each command is and does
// is its descriptor (command_registry.h), kept in its group's file; these
// layouts take every text and key from there.
#pragma once

#include <string>
#include <vector>

namespace pomeli2 {

// A command's number, apart from the form's control ids (controls.h): a
// command and a control may share a number (1004 adds an item either way),
// but neither type converts to the other, so one cannot be passed for the
// other. kCmdNone stands for a separator, or for no command.
enum CommandId : int {
  kCmdNone = 0,
  kCmdNew = 57600, kCmdOpen = 57601, kCmdSave = 57603, kCmdSaveAs = 57604,
  kCmdHtmlSave = 32771, kCmdHtmlSaveAs = 32772, kCmdFrame2 = 32779, kCmdFrame3 = 32781,
  kCmdPrint = 57607, kCmdPrintPreview = 57609, kCmdPrintSetup = 57606, kCmdRecent = 57616, kCmdExit = 57665,
  kCmdRename = 32797, kCmdAddItem = 1004, kCmdCut = 32773, kCmdCopy = 32775, kCmdDelete = 1005,
  kCmdPasteCut = 32774, kCmdPasteCopy = 32776,
  kCmdToolbar = 59392, kCmdTreeBgColor = 32789, kCmdTreeItemColor = 32790,
  kCmdAddTarget = 32799, kCmdBulkSize = 32786, kCmdBulkStyle = 32787, kCmdBulkOther = 32793, kCmdBulkBg = 32794,
  kCmdTreeImages = 32795, kCmdScriptOptions = 32796, kCmdBodyInsert = 32804,
  kCmdItemTargets = 32802, kCmdItemIcons = 32803, kCmdFrameResizable = 32800,
  kCmdHelp = 32792, kCmdAbout = 57664,
  kCmdIconCopy = 32798, kCmdPreview = 32900, kCmdUndo = 32901, kCmdRedo = 32902,
  kCmdOutlineUp = 32903, kCmdOutlineDown = 32904, kCmdIndent = 32905, kCmdOutdent = 32906, kCmdFind = 32907, kCmdCheckLinks = 32908,
  kCmdSelectImage = 32788, kCmdMoveUp = 1104, kCmdMoveDown = 1105,
  kCmdImport = 32910, kCmdExport = 32911, kCmdFindNext = 32912, kCmdFindPrevious = 32913, kCmdSite = 32914,
};

// A drop in the tree is no command (it has an item and a place), but it is
// a step of the history with this name.
inline constexpr char kDropStepName[] = "ドラッグ＆ドロップ";

struct MenuEntry {
  CommandId command;     // kCmdNone for a separator
  const char* text;      // with its & mnemonic
  const char* shortcut;  // shown after the text; "" for none
  bool bound;            // whether the shortcut is an accelerator
};

struct Menu {
  const char* title;
  std::vector<MenuEntry> entries;
};

// Menu 128, in order.
const std::vector<Menu>& MainMenu();

// Toolbar 128, in order; kCmdNone stands for a separator.
const std::vector<CommandId>& ToolbarCommands();

// Whether a command has a place in the main menu, on the toolbar or in a
// context menu.
bool PlacedInMenus(CommandId command);

// What undo and redo call a step of this command (its menu text without
// the mnemonic, UTF-8); the form's own edits have names of their own.
std::string StepName(CommandId command);

// The context menu chosen by the state of the two buffers.
struct ContextMenu {
  int id;  // 140, 139, 141 or 138
  std::vector<MenuEntry> entries;
};
ContextMenu ContextMenuFor(bool cut_buffer_full, bool copy_buffer_full);

}  // namespace pomeli2
