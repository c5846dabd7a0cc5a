// The command groups behind the dispatch, one file each: tree editing,
// the item clipboard, the document commands, HTML and frame sets.
#pragma once

#include <optional>
#include <string>

namespace pomeli2 {

class Editor;

namespace tree_commands {
// False, after the message, when `adding` more items would pass the
// live-item limit that the project file reader enforces.
bool RoomForItems(Editor& e, int adding);
void AddItem(Editor& e);
void DeleteItem(Editor& e);
void StartRename(Editor& e);
bool Rename(Editor& e, const std::string& title);
void Move(Editor& e, bool up);
}  // namespace tree_commands

namespace clipboard_commands {
void Cut(Editor& e);
void Copy(Editor& e);
void Paste(Editor& e, bool cut_buffer);
}  // namespace clipboard_commands

namespace document_commands {
void New(Editor& e);
// With `preset`, that file is opened without the dialog.
void Open(Editor& e, const std::optional<std::string>& preset);
void Save(Editor& e);
void SaveAs(Editor& e);
}  // namespace document_commands

namespace html_commands {
void SaveHtml(Editor& e, bool choose_name);
void CopyIcons(Editor& e);
void CreateFrameSet(Editor& e, int panes);
}  // namespace html_commands

}  // namespace pomeli2
