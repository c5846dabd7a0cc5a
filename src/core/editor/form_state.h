// The main form's state: the selected item's fields, the TARGET list, the
// enabled state of every control, what each field shows and what each
// change of a field does.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "editor/controls.h"
#include "editor/document.h"

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

class FormState {
 public:
  explicit FormState(Document& doc);
  FormState(const FormState&) = delete;
  FormState& operator=(const FormState&) = delete;

  ItemFields item;
  std::vector<std::string> target_list;

  // The enabling rule of a control, by the form's state.
  bool Enabled(int control) const;
  void SetEnabled(int control, bool enabled);
  // What the screen shows: the rule, for the controls whose action is built.
  bool ControlEnabled(int control) const;

  // The tree reports a new selected item (SelectedRow is set already).
  void OnSelectionChanged();
  // After a project was read: the form shows the last item read.
  void ShowLoadedItem();
  // Writes the selected-item fields into the row SelectedRow.
  void StoreSelectedItem();
  // Loads the selected-item fields from a row, as a selection does.
  void LoadItemFieldsFromRow(int row, bool with_other_button = true);
  // The enabling that depends on the selected item.
  void ApplySelectionEnabling();
  // The form's part of File New.
  void ResetForNew();
  // The first update: the root is selected, its group disabled.
  void Start();

  // --- Fields (texts are CP932).
  std::string FieldText(int control) const;
  // The byte limit of a text field; 0 for a list whose entries are fixed.
  static size_t FieldLimit(int control);
  // The entries a list offers, in the order shown.
  std::vector<std::string> ListEntries(int control) const;
  // False, after the message, when the text cannot be kept.
  bool FieldChanged(int control, const std::string& text);
  int CheckBoxValue(int control) const;
  void CheckBoxClicked(int control, bool checked);
  // The colour a colour field's swatch shows: its text when that is exactly
  // 7 bytes of the form #RRGGBB, as 0xRRGGBB.
  std::optional<unsigned> SampleColour(int control) const;
  // The colour field shown on a colour button, or 0.
  static int ColourFieldOfButton(int button);
  // Typed text held a character that code page 932 cannot hold.
  void RefuseUnrepresentableText();
  // Checks a text typed into a field with a byte limit; shows the message
  // and returns false when it cannot be kept.
  bool CheckEnteredText(const std::string& text, size_t limit);

 private:
  void NumericCheck();
  std::string* TextField(int control);
  const std::string* TextField(int control) const;
  MenuModel& model() { return doc_.model; }
  const MenuModel& model() const { return doc_.model; }

  Document& doc_;
  std::map<int, bool> enabled_;
};

}  // namespace pomeli2
