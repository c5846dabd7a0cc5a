// The command groups behind the dispatch, one file each: tree editing,
// the item clipboard, the document commands, HTML and frame sets, the
// preview, colours, bulk changes, options, paths and the shell. Each group
// lists its commands' descriptors; command_registry.cpp collects them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editor/commands/command_registry.h"
#include "editor/dialogs/dialogs.h"
#include "model/menu_model.h"

namespace pomeli2 {

namespace tree_commands {
std::vector<CommandDescriptor> Descriptors();
// False, after the message, when `adding` more items would pass the
// live-item limit that the project file reader enforces.
bool RoomForItems(CommandContext& e, int adding);
void AddItem(CommandContext& e);
void DeleteItem(CommandContext& e);
void StartRename(CommandContext& e);
bool Rename(CommandContext& e, const std::string& title);
// Gives the selected item `title`, unless its line would no longer fit the
// project file (a message then says so).
bool SetSelectedTitle(CommandContext& e, const std::string& title);
void Move(CommandContext& e, bool up);
// Whether `item` may go to `parent`, as its last child or before `before`
// (one of parent's children): not the root, not into its own subtree.
bool CanMoveTo(const MenuModel& m, NodeId item, NodeId parent, NodeId before);
// Drag and drop: `item` with its subtree goes there.
void MoveTo(CommandContext& e, NodeId item, NodeId parent, NodeId before);
// Ctrl+Shift+Right: the last child of its previous sibling; Ctrl+Shift+Left:
// the next sibling of its parent.
void Indent(CommandContext& e, bool deeper);
}  // namespace tree_commands

namespace clipboard_commands {
std::vector<CommandDescriptor> Descriptors();
void Cut(CommandContext& e);
void Copy(CommandContext& e);
void Paste(CommandContext& e, bool cut_buffer);
}  // namespace clipboard_commands

namespace document_commands {
std::vector<CommandDescriptor> Descriptors();
// A file exists at `sjis_path` and the user does not want it replaced
// (the overwrite question of every save command).
bool KeepExistingFile(CommandContext& e, const std::string& sjis_path);
CommandOutcome New(CommandContext& e);
// With `preset`, that file is opened without the dialog.
CommandOutcome Open(CommandContext& e, const std::optional<std::string>& preset);
// Reads a project as Open does once it has a file: the tree is shown anew
// and the form shows the last item read. False, after the message, when
// nothing changed.
bool ReadProject(CommandContext& e, const std::string& path);
CommandOutcome Save(CommandContext& e);
CommandOutcome SaveAs(CommandContext& e);
// The recent entry of the file menu: the last project's path, a generic
// text when the path is long, "なし" when there is none.
std::string RecentEntryText(const Document& doc);
}  // namespace document_commands

namespace html_commands {
std::vector<CommandDescriptor> Descriptors();
// The preview's own file.
std::vector<CommandDescriptor> PreviewDescriptors();
void SaveHtml(CommandContext& e, bool choose_name);
void CopyIcons(CommandContext& e);
void CreateFrameSet(CommandContext& e, int panes);
// The menu into the pages of a site's folder, chosen and kept in the
// project: counted and confirmed first, written with a progress that can
// stop it, reported page by page. No step: the pages are not the project.
CommandOutcome PutIntoSite(CommandContext& e);
// The menu page in a private folder, opened in the browser; the project,
// its mark, the copy buffer and Path stay as they are.
void Preview(CommandContext& e);
}  // namespace html_commands

namespace colour_commands {
std::vector<CommandDescriptor> Descriptors();
// A colour button of the form: the colour dialog, then the field's check.
void ChooseFieldColour(CommandContext& e, int button);
void ChooseTreeColour(CommandContext& e, bool background);
}  // namespace colour_commands

namespace bulk_commands {
std::vector<CommandDescriptor> Descriptors();
void Change(CommandContext& e, BulkChangeDialog::Kind kind);
}  // namespace bulk_commands

namespace option_commands {
std::vector<CommandDescriptor> Descriptors();
void ScriptOptions(CommandContext& c);
void TreeImages(CommandContext& e);
void BodyInsert(CommandContext& e);
// The command whose dialog holds a page setting the form has no field for;
// kCmdNone for any other.
CommandId DialogOfSetting(const SettingField& setting);
void AddTargetName(CommandContext& e);
void ToggleItemTargets(CommandContext& c);
void ToggleItemIcons(CommandContext& c);
void ToggleFrameResizable(CommandContext& c);
}  // namespace option_commands

namespace path_commands {
std::vector<CommandDescriptor> Descriptors();
// A browse button of the form (background image, link, link icon).
void Browse(CommandContext& e, int control);
// "画像を選択する": an image in place of the selected item's title.
void SelectImage(CommandContext& e);
}  // namespace path_commands

// Import of outlines, bookmarks and lists under the selected item, and
// export of the menu as JSON, OPML, a bookmark file or Markdown.
namespace exchange_commands {
std::vector<CommandDescriptor> Descriptors();
void Import(CommandContext& e);
// The import of `path` (CP932), chosen already.
void ImportFile(CommandContext& e, const std::string& path);
// The kind of source import reads in `bytes` as the messages name it (CP932),
// or nothing when it reads no menu there.
std::optional<std::string> ImportableKind(std::string_view bytes, std::string_view path);
void Export(CommandContext& e);
}  // namespace exchange_commands

// Printing, help, the window's own commands, undo and redo.
namespace shell_commands {
std::vector<CommandDescriptor> Descriptors();
}  // namespace shell_commands

// A system path as a file URL, every byte but letters, digits and "/-._~"
// percent-encoded.
std::string FileUrl(const std::string& system_path);

// `path` relative to `folder` (both CP932, the folder ending in "/") with
// "/" between folders; its file name alone, and `outside`, when the file
// does not lie in the folder or below it.
std::string RelativeToFolder(const std::string& folder, const std::string& path, bool& outside);

}  // namespace pomeli2
