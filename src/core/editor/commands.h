// The commands of the main window: ids, menu texts, shortcuts, the menu and
// toolbar layouts and the context menus. Texts are UTF-8 here; they are the
// program's own constants and the screen shows them as they are.
#pragma once

#include <string>
#include <vector>

namespace pomeli2 {

enum CommandId : int {
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
  kCmdOutlineUp = 32903, kCmdOutlineDown = 32904, kCmdIndent = 32905, kCmdOutdent = 32906,
  kCmdDrop = 32907,  // no menu entry: the name of a drop's step
  kCmdSelectImage = 32788, kCmdMoveUp = 1104, kCmdMoveDown = 1105,
};

struct MenuEntry {
  int command;           // 0 for a separator
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

// Toolbar 128, in order; 0 stands for a separator.
const std::vector<int>& ToolbarCommands();

// The tooltip of a command (the text after "\n" of its command string) and
// its status text (the part before); empty when it has none.
const char* CommandTooltip(int command);

// Shortcuts beyond the menu's own: Ctrl+Shift+Z redoes, too.
struct ExtraAccelerator {
  const char* keys;
  int command;
};
const std::vector<ExtraAccelerator>& ExtraAccelerators();
// Keys that act only while the menu tree has the focus (elsewhere they
// keep their meaning in the field, such as selecting words).
bool AcceleratorNeedsTree(int command);

// What undo and redo call a step of this command (its menu text without
// the mnemonic, UTF-8); the form's own edits have names of their own.
std::string StepName(int command);

// The context menu chosen by the state of the two buffers.
struct ContextMenu {
  int id;  // 140, 139, 141 or 138
  std::vector<MenuEntry> entries;
};
ContextMenu ContextMenuFor(bool cut_buffer_full, bool copy_buffer_full);

}  // namespace pomeli2
