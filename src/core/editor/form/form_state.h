// The main form's state: the selected item's fields, the TARGET list, the
// enabled state of every control, what each field shows and what each
// change of a field does.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "editor/form/controls.h"
#include "document/document.h"
#include "editor/view/notifier.h"
#include "text/catalogue.h"

namespace pomeli2 {

// The selected item's fields as the form shows them.
struct ItemFields {
  std::string bg_color, style, size, link, other_button, target, icon;
  int open = 0;
  bool operator==(const ItemFields&) const = default;
};

class FormState {
 public:
  FormState(Document& doc, Notifier& notify);
  FormState(const FormState&) = delete;
  FormState& operator=(const FormState&) = delete;

  ItemFields item;
  std::vector<std::string> target_list;
  // The paths the four browse commands offer next: the file each chose
  // last; the link's follows the selected item.
  // Names added with the TARGET name dialog: offered for the selected item
  // only, until the program ends.
  std::vector<std::string> added_targets;
  std::string back_picture_browse_path, image_browse_path = kPlusImage, link_browse_path, icon_browse_path;

  // The enabling rule of a control, by the form's state.
  bool Enabled(int control) const;
  void SetEnabled(int control, bool enabled);

  // The tree reports a new selected item.
  void OnSelectionChanged();
  // After a project was read: the form shows the last item read.
  void ShowLoadedItem();
  // Writes the selected-item fields into the selected item.
  void StoreSelectedItem();
  // Loads the selected-item fields from an item, as a selection does.
  void LoadItemFields(NodeId node, bool with_other_button = true);
  // The enabling that depends on the selected item.
  void ApplySelectionEnabling();
  // All of the selected item's enabling again, after a setting it depends
  // on (RightFrame, Linkto, ParentLink) changed.
  void RefreshEnabling();
  // A link or link icon of 256 bytes or more draws its warning.
  void WarnIfTooLong(int control);
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
  // The colour a colour field's swatch shows (0xRRGGBB): the last complete
  // colour the field held, or nothing yet.
  std::optional<unsigned> SampleColour(int control) const;
  static bool IsColourField(int control);
  // A colour field takes a new text: the colour check, then the store of
  // the item's row (1019) and the modified mark (all but 1015).
  void SetColourField(int control, const std::string& text);
  // The check of the fields whose text has exactly 7 bytes, as the form
  // runs it whenever it is filled from the model.
  void CheckCompleteColours(std::initializer_list<int> controls);
  void CheckAllCompleteColours();
  // Every colour field that now holds a complete colour shows it on its
  // swatch, silently: values put there by Add, paste, File New, undo or a
  // load as much as typed ones.
  void RememberCompleteColours();
  // The colour field shown on a colour button, or 0.
  static int ColourFieldOfButton(int button);
  // The form's field of a page setting, or 0 when a dialog holds it.
  static int ControlOfSetting(std::string PageSettings::*setting);
  // Typed text held a character that code page 932 cannot hold.
  void RefuseUnrepresentableText();
  // Checks a text typed into a field with a byte limit; shows the message
  // and returns false when it cannot be kept.
  bool CheckEnteredText(const std::string& text, size_t limit);

 private:
  // False, after the message, when `text` holds a byte that is no digit.
  bool NumericCheck(int control, const std::string& text);
  std::string* TextField(int control);
  const std::string* TextField(int control) const;
  MenuModel& model() { return doc_.model; }
  const MenuModel& model() const { return doc_.model; }

  Document& doc_;
  Notifier& notify_;
  std::map<int, bool> enabled_;
  std::map<int, unsigned> swatches_;
};

}  // namespace pomeli2
