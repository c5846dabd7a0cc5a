// The main form's state: the table of its fields, which read the page
// settings and the selected item, the TARGET list, the enabled state of
// every control, and what each change of a field does.
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

// Where a field of the form sits: its group, what it holds, and the store a
// change of it takes.
enum class FieldGroup { kPage, kItem, kNewItem };
enum class FieldKind { kText, kDigits, kColour, kList, kCheckBox };

// A field's value as the form shows it, read from and written to the page
// settings or the selected item. Each field reaches its member through one
// accessor; a member's type has its text conversions beside the table.
struct FieldAccess {
  std::string (*read)(const PageSettings&, const MenuItem&);
  void (*write)(PageSettings&, MenuItem&, const std::string&);
  // The setting's member in `s`, or nullptr for an item's value.
  const void* (*member)(const PageSettings& s);
};

// One field of the main form.
struct FormField {
  int control;
  FieldGroup group;
  FieldKind kind;
  const char* label;  // the text beside it (UTF-8); nullptr for none shown
  size_t limit;  // bytes; 0 for a list whose entries are fixed or a check box
  // What an emptied field takes at once, or nullptr.
  const char* fallback;
  int colour_button;  // the button that picks its colour, or 0
  int browse_button;  // the button that picks its file, or 0
  FieldAccess access;
};

// An other-window kind as the form's lists and the bulk change name it
// (CP932), and the kind a text names: any text but the first two names
// the frames' leaving.
const std::string& OtherButtonText(OtherWindow kind);
OtherWindow OtherButtonKind(std::string_view text);

// Every field, the selected item's among them.
const std::vector<FormField>& FormFields();
// A field by its control id, or nullptr.
const FormField* FindFormField(int control);

class FormState {
 public:
  FormState(Document& doc, Notifier& notify);
  FormState(const FormState&) = delete;
  FormState& operator=(const FormState&) = delete;

  std::vector<std::string> target_list;
  // The paths three browse commands offer next: the file each chose last.
  // The link's browse offers the selected item's link.
  // Names added with the TARGET name dialog: offered for the selected item
  // only, until the program ends.
  std::vector<std::string> added_targets;
  std::string back_picture_browse_path, image_browse_path = kPlusImage, icon_browse_path;

  // The enabling rule of a control, by the form's state.
  bool Enabled(int control) const;
  void SetEnabled(int control, bool enabled);
  // A field with its colour and browse buttons.
  void SetFieldEnabled(int control, bool enabled);
  // The controls of a group: its fields and their buttons.
  static std::vector<int> ControlsOf(FieldGroup group);

  // The tree reports a new selected item.
  void OnSelectionChanged();
  // After a project was read or items imported: the form shows the
  // selected item.
  void ShowLoadedItem();
  // The store of the selected item that every change of its fields ends
  // with: an empty style or size takes the new-item one, the open flag
  // becomes "0" or "1", and the root's row takes the page title.
  void StoreSelectedItem();
  // Writes a field's text into the settings or the selected item, as it
  // is: no check, no store.
  void WriteField(int control, const std::string& text);
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
  // The check of the fields whose text has kColourLength bytes, as the
  // form runs it whenever it shows other values (a selection, a load, an
  // undo); what the check repairs is what the field then holds.
  void CheckCompleteColours(std::initializer_list<int> controls);
  void CheckAllCompleteColours();
  // Every colour field that now holds a complete colour shows it on its
  // swatch, silently: values put there by Add, paste, File New, undo or a
  // load as much as typed ones.
  void RememberCompleteColours();
  // The colour field shown on a colour button, or 0.
  static int ColourFieldOfButton(int button);
  // The colour fields, in the order of the form.
  static std::vector<int> ColourFields();
  // The form's field of a page setting, or 0 when a dialog holds it.
  static int ControlOfSetting(const SettingField& setting);
  // Typed text held a character that code page 932 cannot hold.
  void RefuseUnrepresentableText();
  // Checks a text typed into a field with a byte limit; shows the message
  // and returns false when it cannot be kept.
  bool CheckEnteredText(const std::string& text, size_t limit);

 private:
  // False, after the message, when `text` holds a byte that is no digit.
  bool NumericCheck(int control, const std::string& text);
  MenuModel& model() { return doc_.model; }
  const MenuModel& model() const { return doc_.model; }

  Document& doc_;
  Notifier& notify_;
  std::map<int, bool> enabled_;
  std::map<int, unsigned> swatches_;
};

}  // namespace pomeli2
