// The main form's state and commands, without any widget: the menu model,
// the page settings, the selected-item fields, the TARGET list and the
// modified mark. Every user action is a method; everything that needs a
// person goes through the Host.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "editor/controls.h"
#include "editor/host.h"
#include "model/menu_model.h"
#include "model/page_settings.h"
#include "project/settings_file.h"

namespace pomeli2 {

// The selected item's fields as the form shows them.
struct ItemFields {
  std::string bg_color, style, size, link, other_button, target, icon;
  int open = 0;
  // The link with every "/" turned into "\", for the relative-path functions.
  std::string link_backslashed;
};

// "0" -> "ボタンなし", "1" -> "別ウインドウ", anything else -> "フレーム解除".
const std::string& OtherButtonText(std::string_view code);
// The inverse: "0", "1", or "2" for any other text.
std::string OtherButtonCode(std::string_view text);

class Editor {
 public:
  explicit Editor(Host& host);
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // The view's first update: root item and row, counters, start values.
  void Start();

  MenuModel& Model() { return model_; }
  const MenuModel& Model() const { return model_; }
  PageSettings& Settings() { return settings_; }
  const PageSettings& Settings() const { return settings_; }
  ItemFields& Item() { return item_; }
  const ItemFields& Item() const { return item_; }
  const std::vector<std::string>& TargetList() const { return target_list_; }
  Host& GetHost() { return host_; }

  // The enabling rule of a control, by the form's state.
  bool Enabled(int control) const;
  void SetEnabled(int control, bool enabled);
  // What the screen shows: the rule, and only for controls whose action is
  // built (colour dialogs, file browsing, adding and moving come later).
  bool ControlEnabled(int control) const;

  int ModifiedFlag() const { return modified_flag_; }
  // Sets the modified mark and rewrites the settings file, once attached.
  // The mark follows the edits even when the file cannot be written.
  void MarkModified(int value);

  // The tree reports a new selected item.
  void OnSelectionChanged();
  // Writes the selected-item fields into the row SelectedRow.
  void StoreSelectedItem();
  // The page-settings part of File New (the question about unsaved changes
  // comes before it, from the command).
  void ResetForNew();

  // Replaces the menu and the settings found in the file. On any failure the
  // message is shown and nothing of the editor changes.
  bool ReadProjectFile(const std::string& path);
  // Writes the settings and the rows numbered up to last_seq to ProjectPath.
  // False, after the message, when nothing was written.
  bool WriteProjectFile(int last_seq);

  // Ends a label edit of the selected item: the label and the row's Title
  // take the text. False, after a message, when the text cannot be kept.
  bool RenameSelected(const std::string& title);

  // --- Menu page, frame sets, standard images.

  enum class PageWrite { kWritten, kNoItems, kRefused, kWriteFailed };
  // The first steps of both HTML save commands: select the root (so the
  // form stores the item edited last), refuse a menu without items, forget
  // a pending copy. False after the message when there is nothing to write.
  bool BeginHtmlSave();
  // Numbers the items and writes the menu page to Path.
  PageWrite WriteMenuPage();
  // Path becomes `sjis_path`, HtmlFileName its last component.
  void SetMenuPagePath(const std::string& sjis_path);

  int FrameResizable() const { return frame_resizable_; }
  void SetFrameResizable(int value) { frame_resizable_ = value; }
  enum class FrameSetWrite { kWritten, kReservedName, kDeclined, kWriteFailed };
  // Writes a frame set page at `sjis_path` (after the file dialog) with its
  // placeholder pages beside it; asks before replacing an existing page.
  FrameSetWrite CreateFrameSet(const std::string& sjis_path, int panes);

  // Copies the five standard images from `program_folder` (a system path
  // with its trailing "/") beside the menu page, after asking.
  bool CopyStandardImages(const std::string& program_folder);

  // --- The form (the screen shows and forwards; texts are CP932).

  // The text a field shows; its byte limit (0 for a list).
  std::string FieldText(int control) const;
  static size_t FieldLimit(int control);
  // The user changed a field's text or list selection. False, after the
  // message, when the text cannot be kept: the field shows its old text.
  bool FieldChanged(int control, const std::string& text);
  // A check box's value, and the user's click on it.
  int CheckBoxValue(int control) const;
  void CheckBoxClicked(int control, bool checked);
  // The colour a colour field's swatch shows: its text when that is exactly
  // 7 bytes of the form #RRGGBB, as 0xRRGGBB.
  std::optional<unsigned> SampleColour(int control) const;
  // Typed text held a character that code page 932 cannot hold.
  void RefuseUnrepresentableText();

  // --- Commands.
  bool CommandEnabled(int command) const;
  bool CommandChecked(int command) const;
  const std::string& LastProjectPath() const { return last_project_path_; }
  // The recent entry of the file menu: the last project's path, a
  // generic text when the path is long, "なし" when there is none.
  std::string RecentEntryText() const;

  // --- The settings file and the close of the window.
  // From now on every MarkModified rewrites this file; Start reads the
  // last project from it.
  void AttachSettingsFile(const SettingsFile* file) { settings_file_ = file; }
  // The close request: asks about unsaved changes and writes the close-time
  // line. False when the user chose to keep the program running.
  bool CloseRequested(int left, int top, int client_width, int client_height);

  // Checks a text typed into a field with a byte limit; shows the message
  // and returns false when it cannot be kept.
  bool CheckEnteredText(const std::string& text, size_t limit);

 private:
  void ShowError(const std::string& text, const std::string& title);
  // Path without its last len(HtmlFileName) bytes: the menu page's folder.
  std::string MenuPageFolder() const;
  void LoadItemFieldsFromRow(int row, bool with_other_button = true);
  void ApplySelectionEnabling();
  void NumericCheck();
  std::string* TextField(int control);
  const std::string* TextField(int control) const;

  Host& host_;
  MenuModel model_;
  PageSettings settings_;
  ItemFields item_;
  std::vector<std::string> target_list_;
  std::map<int, bool> enabled_;
  int frame_resizable_ = 0;
  const SettingsFile* settings_file_ = nullptr;
  std::string last_project_path_;
  int modified_flag_ = 0;
};

}  // namespace pomeli2
