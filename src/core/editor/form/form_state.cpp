// The main form's fields: what each shows, and what each change does.
#include "editor/form/form_state.h"

#include <algorithm>
#include <variant>

#include "editor/form/colours.h"
#include "text/ascii.h"
#include "text/catalogue.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

// The text a member shows in the form, and the member a text makes.
const std::string& FieldTextOf(const std::string& value) { return value; }
void TakeFieldText(const std::string& text, std::string& value) { value = text; }
std::string FieldTextOf(int value) { return std::to_string(value); }
void TakeFieldText(const std::string& text, int& value) { value = text == "1" ? 1 : 0; }
const std::string& FieldTextOf(const NumberText& value) { return value.text(); }
void TakeFieldText(const std::string& text, NumberText& value) { value = NumberText(text); }
std::string FieldTextOf(OtherWindow kind) { return OtherButtonText(kind); }
void TakeFieldText(const std::string& text, OtherWindow& kind) { kind = OtherButtonKind(text); }

template <auto Member>
constexpr FieldAccess Setting() {
  return {[](const PageSettings& s, const MenuItem&) -> std::string { return FieldTextOf(s.*Member); },
          [](PageSettings& s, MenuItem&, const std::string& text) { TakeFieldText(text, s.*Member); },
          [](const PageSettings& s) -> const void* { return &(s.*Member); }};
}

template <auto Member>
constexpr FieldAccess ItemValue() {
  return {[](const PageSettings&, const MenuItem& item) -> std::string { return FieldTextOf(item.*Member); },
          [](PageSettings&, MenuItem& item, const std::string& text) { TakeFieldText(text, item.*Member); },
          [](const PageSettings&) -> const void* { return nullptr; }};
}

using G = FieldGroup;
using K = FieldKind;

}  // namespace

const std::vector<FormField>& FormFields() {
  static const std::vector<FormField> fields = {
      {kCtlTitle, G::kPage, K::kText, "タイトル", kTextLimit, nullptr, 0, 0, Setting<&PageSettings::Title>()},
      {kCtlBackPicture, G::kPage, K::kText, kBackPictureLabel, kTextLimit, nullptr, 0, kCtlBackPictureBrowse,
       Setting<&PageSettings::BackPicture>()},
      {kCtlBgColor, G::kPage, K::kColour, kBgColorLabel, kColourLength, nullptr, kCtlBgColorButton, 0,
       Setting<&PageSettings::BgColor>()},
      {kCtlBodyText, G::kPage, K::kColour, kBodyTextLabel, kColourLength, nullptr, kCtlBodyTextButton, 0,
       Setting<&PageSettings::BodyText>()},
      {kCtlBodyLink, G::kPage, K::kColour, kBodyLinkLabel, kColourLength, nullptr, kCtlBodyLinkButton, 0,
       Setting<&PageSettings::BodyLink>()},
      {kCtlBodyVlink, G::kPage, K::kColour, kBodyVlinkLabel, kColourLength, nullptr, kCtlBodyVlinkButton, 0,
       Setting<&PageSettings::BodyVlink>()},
      {kCtlBodyAlink, G::kPage, K::kColour, kBodyAlinkLabel, kColourLength, nullptr, kCtlBodyAlinkButton, 0,
       Setting<&PageSettings::BodyAlink>()},
      {kCtlStart, G::kPage, K::kDigits, "開始位置", 3, nullptr, 0, 0, Setting<&PageSettings::Start>()},
      {kCtlLeft, G::kPage, K::kDigits, kLeftLabel, 3, nullptr, 0, 0, Setting<&PageSettings::Left>()},
      {kCtlIndent, G::kPage, K::kDigits, kIndentLabel, 3, nullptr, 0, 0, Setting<&PageSettings::Indent>()},
      {kCtlRow, G::kPage, K::kDigits, kRowLabel, 3, nullptr, 0, 0, Setting<&PageSettings::Row>()},
      {kCtlBodyHover, G::kPage, K::kColour, kBodyHoverLabel, kColourLength, nullptr, kCtlBodyHoverButton, 0,
       Setting<&PageSettings::BodyHover>()},
      {kCtlBodyHoverBack, G::kPage, K::kColour, kHoverBackLabel, kColourLength, nullptr, kCtlBodyHoverBackButton, 0,
       Setting<&PageSettings::BodyHoverBack>()},
      {kCtlTextBackOn, G::kPage, K::kCheckBox, "各アイテムの背景色を優先", 0, nullptr, 0, 0,
       Setting<&PageSettings::TextBackOn>()},
      {kCtlParentLink, G::kPage, K::kCheckBox, "親LINK有効", 0, nullptr, 0, 0, Setting<&PageSettings::ParentLink>()},
      {kCtlProjectPath, G::kPage, K::kText, nullptr, 0, nullptr, 0, 0, Setting<&PageSettings::ProjectPath>()},
      {kCtlHtmlFileName, G::kPage, K::kText, nullptr, 0, nullptr, 0, 0, Setting<&PageSettings::HtmlFileName>()},
      {kCtlPath, G::kPage, K::kText, nullptr, 0, nullptr, 0, 0, Setting<&PageSettings::Path>()},
      {kCtlItemBgColor, G::kItem, K::kColour, kBgColorLabel, kColourLength, nullptr, kCtlItemBgColorButton, 0,
       ItemValue<&MenuItem::bg_color>()},
      {kCtlOtherButton, G::kItem, K::kList, "別ボタン", 0, nullptr, 0, 0, ItemValue<&MenuItem::other_window>()},
      {kCtlItemStyle, G::kItem, K::kList, "スタイル", 0, nullptr, 0, 0, ItemValue<&MenuItem::style>()},
      {kCtlItemTarget, G::kItem, K::kList, "TARGET", 10, kNewItemTarget, 0, 0, ItemValue<&MenuItem::target>()},
      {kCtlLink, G::kItem, K::kText, "リンク", kTextLimit, nullptr, 0, kCtlLinkBrowse, ItemValue<&MenuItem::link>()},
      {kCtlItemSize, G::kItem, K::kList, "サイズ", 4, nullptr, 0, 0, ItemValue<&MenuItem::font_size>()},
      {kCtlOpen, G::kItem, K::kCheckBox, "ツリーを開いた状態で表示する", 0, nullptr, 0, 0, ItemValue<&MenuItem::open>()},
      {kCtlIcon, G::kItem, K::kText, "リンク・アイコン", kTextLimit, nullptr, 0, kCtlIconBrowse, ItemValue<&MenuItem::icon>()},
      {kCtlNewBgColor, G::kNewItem, K::kColour, kBgColorLabel, kColourLength, nullptr, kCtlNewBgColorButton, 0,
       Setting<&PageSettings::NewBgColor>()},
      {kCtlNewOtherButton, G::kNewItem, K::kList, "別ボタン", 0, kOtherButtonNames[0], 0, 0,
       Setting<&PageSettings::NewOtherButton>()},
      {kCtlNewStyle, G::kNewItem, K::kList, "スタイル", 0, kNewItemStyle, 0, 0, Setting<&PageSettings::NewStyle>()},
      {kCtlNewTarget, G::kNewItem, K::kList, "TARGET", 10, kNewItemTarget, 0, 0, Setting<&PageSettings::NewTarget>()},
      {kCtlNewSize, G::kNewItem, K::kList, "サイズ", 4, kNewItemFontSize, 0, 0, Setting<&PageSettings::NewFontSize>()},
  };
  return fields;
}

const std::string& OtherButtonText(OtherWindow kind) {
  static const std::string names[] = {sj(kOtherButtonNames[0]), sj(kOtherButtonNames[1]), sj(kOtherButtonNames[2])};
  return names[static_cast<size_t>(kind)];
}

OtherWindow OtherButtonKind(std::string_view text) {
  if (text == OtherButtonText(OtherWindow::kNone)) return OtherWindow::kNone;
  if (text == OtherButtonText(OtherWindow::kNewWindow)) return OtherWindow::kNewWindow;
  return OtherWindow::kLeaveFrames;
}

const FormField* FindFormField(int control) {
  for (const FormField& f : FormFields())
    if (f.control == control) return &f;
  return nullptr;
}

FormState::FormState(Document& doc, Notifier& notify) : doc_(doc), notify_(notify) {
  target_list = {"Frame2", "Right", "OtherW", "_blank", "_top", "top", "_parent"};
}

bool FormState::Enabled(int control) const {
  auto it = enabled_.find(control);
  return it == enabled_.end() || it->second;
}

void FormState::SetEnabled(int control, bool enabled) {
  bool& state = enabled_.try_emplace(control, true).first->second;
  if (state == enabled) return;
  state = enabled;
  notify_.ControlsChanged();
}

void FormState::SetFieldEnabled(int control, bool enabled) {
  SetEnabled(control, enabled);
  if (const FormField* f = FindFormField(control))
    for (int button : {f->colour_button, f->browse_button})
      if (button != 0) SetEnabled(button, enabled);
}

std::vector<int> FormState::ControlsOf(FieldGroup group) {
  std::vector<int> controls;
  for (const FormField& f : FormFields()) {
    if (f.group != group) continue;
    for (int id : {f.control, f.colour_button, f.browse_button})
      if (id != 0) controls.push_back(id);
  }
  return controls;
}

void FormState::Start() {
  // The form starts with the root row's own values, so the first store
  // writes them back unchanged (apart from the page title).
  StoreSelectedItem();
  for (int id : ControlsOf(FieldGroup::kItem)) SetEnabled(id, false);
  SetEnabled(kCtlMoveUp, false);
  SetEnabled(kCtlMoveDown, false);
  CheckAllCompleteColours();
  notify_.ControlsChanged();
  notify_.FormChanged();
}

void FormState::OnSelectionChanged() {
  for (int id : ControlsOf(FieldGroup::kItem)) SetEnabled(id, !model().RootSelected());
  ApplySelectionEnabling();
  CheckCompleteColours({kCtlItemBgColor});
  notify_.SelectionChanged();
  notify_.FormChanged();
}

void FormState::ShowLoadedItem() {
  // A loaded tree comes with its selection, which no selection change told.
  RefreshEnabling();
  CheckAllCompleteColours();
  notify_.ControlsChanged();
  notify_.FormChanged();
}

void FormState::RefreshEnabling() {
  for (int id : ControlsOf(FieldGroup::kItem)) SetEnabled(id, !model().RootSelected());
  ApplySelectionEnabling();
}

void FormState::WarnIfTooLong(int control) {
  if (FieldText(control).size() < kTextLimit) return;
  notify_.Message(control == kCtlLink ? LinkTooLongMessage() : IconTooLongMessage(), sj(kErrorTitle),
                        MessageIcon::kError);
}

void FormState::ApplySelectionEnabling() {
  const MenuTree& tree = model().tree;
  const PageSettings& s = doc_.settings;
  NodeId node = tree.Selected();
  SetEnabled(kCtlMoveDown, node != kNoNode && tree.NextSibling(node) != kNoNode);
  SetEnabled(kCtlMoveUp, node != kNoNode && tree.PrevSibling(node) != kNoNode);
  if (node == kNoNode || model().RootSelected()) {
    SetFieldEnabled(kCtlLink, false);
  } else if (!tree.HasChildren(node)) {
    SetFieldEnabled(kCtlLink, true);
    SetFieldEnabled(kCtlOpen, false);
    SetFieldEnabled(kCtlItemTarget, s.ItemTargetsEnabled());
    SetFieldEnabled(kCtlIcon, s.ItemIconsEnabled());
  } else {
    bool parent_link = s.ParentLink == 1;
    SetFieldEnabled(kCtlLink, parent_link);
    SetFieldEnabled(kCtlItemTarget, parent_link && s.ItemTargetsEnabled());
    SetFieldEnabled(kCtlIcon, false);
    SetFieldEnabled(kCtlOpen, tree.Parent(node) == model().Root());
  }
}

void FormState::StoreSelectedItem() {
  MenuModel& m = model();
  const NodeId node = m.Selected();
  if (!m.tree.Valid(node)) return;
  MenuItem stored = m.tree.Item(node);
  for (auto [value, fallback] : {std::pair{&stored.style, &doc_.settings.NewStyle},
                                 std::pair{&stored.font_size, &doc_.settings.NewFontSize}}) {
    if (!value->empty()) continue;
    *value = *fallback;
    notify_.FormChanged();
  }
  stored.open = stored.open == "1" ? "1" : "0";
  // Only a change makes the item stop sharing with the undo states.
  if (!(stored == m.tree.Item(node))) m.tree.MutableItem(node) = std::move(stored);
  if (m.RootSelected()) m.root_title = doc_.settings.Title;
}

void FormState::ResetForNew() {
  PageSettings& s = doc_.settings;
  // The new root keeps what the reset leaves alone of the root that goes.
  const NodeId going = model().Root();
  const MenuItem kept = model().tree.Valid(going) ? model().tree.Item(going) : MenuItem{};
  model().ResetMenu();
  // The new root has the keyboard, as at the start.
  notify_.FocusTree();
  s.ResetForNew();
  MenuItem& root = model().tree.MutableItem(model().Root());
  root.other_window = kept.other_window;
  root.target = kept.target;
  root.icon = kept.icon;
  root.open = kept.open;
  root.link.clear();
  // and the new-item values of the reset.
  root.style = s.NewStyle;
  root.bg_color = s.NewBgColor;
  root.font_size = s.NewFontSize;
  SetEnabled(kCtlLink, false);
  StoreSelectedItem();
  notify_.ControlsChanged();
  notify_.FormChanged();
  notify_.Message(sj("ページ設定及びツール内の設定は、現在の設定がそのまま活かされます。\n"
                           "設定値を完全にリセットするときは一度アプリケーションを終了してください。"),
                        sj("ページ確認"), MessageIcon::kInformation);
}

void FormState::WriteField(int control, const std::string& text) {
  const FormField* f = FindFormField(control);
  if (!f) return;
  MenuModel& m = model();
  if (f->group != FieldGroup::kItem) {
    MenuItem unused;
    f->access.write(doc_.settings, unused, text);
    return;
  }
  const NodeId node = m.Selected();
  if (!m.tree.Valid(node)) return;
  MenuItem item = m.tree.Item(node);
  f->access.write(doc_.settings, item, text);
  if (!(item == m.tree.Item(node))) m.tree.MutableItem(node) = std::move(item);
}

std::string FormState::FieldText(int control) const {
  const FormField* f = FindFormField(control);
  // A check box shows no text.
  if (!f || f->kind == FieldKind::kCheckBox) return {};
  static const MenuItem kNoItem;
  const MenuTree& tree = model().tree;
  const NodeId node = tree.Selected();
  return f->access.read(doc_.settings, tree.Valid(node) ? tree.Item(node) : kNoItem);
}

size_t FormState::FieldLimit(int control) {
  const FormField* f = FindFormField(control);
  return f ? f->limit : 0;
}

std::vector<std::string> FormState::ListEntries(int control) const {
  switch (control) {
    case kCtlOtherButton:
    case kCtlNewOtherButton:
      return {OtherButtonText(OtherWindow::kNone), OtherButtonText(OtherWindow::kNewWindow),
              OtherButtonText(OtherWindow::kLeaveFrames)};
    case kCtlItemStyle:
    case kCtlNewStyle: {
      std::vector<std::string> names;
      for (const FontStyle& f : kFontStyles) names.push_back(f.name);
      return names;
    }
    case kCtlItemSize:
    case kCtlNewSize: {
      std::vector<std::string> sizes;
      for (int i = 5; i <= 25; ++i) sizes.push_back(std::to_string(i) + "pt");
      std::sort(sizes.begin(), sizes.end());  // as text: "10pt" … "25pt", then "5pt" … "9pt"
      return sizes;
    }
    case kCtlItemTarget:
    case kCtlNewTarget: {
      std::vector<std::string> names = target_list;
      if (control == kCtlItemTarget) names.insert(names.end(), added_targets.begin(), added_targets.end());
      std::stable_sort(names.begin(), names.end(), LessIgnoringAsciiCase);
      return names;
    }
    default:
      return {};
  }
}

int FormState::CheckBoxValue(int control) const {
  switch (control) {
    case kCtlTextBackOn: return doc_.settings.TextBackOn;
    case kCtlParentLink: return doc_.settings.ParentLink;
    case kCtlOpen: {
      const NodeId node = model().Selected();
      return model().tree.Valid(node) && model().tree.Item(node).open == "1" ? 1 : 0;
    }
    default: return 0;
  }
}

std::optional<unsigned> FormState::SampleColour(int control) const {
  if (auto rgb = CompleteColour(FieldText(control))) return rgb;
  auto it = swatches_.find(control);
  if (it == swatches_.end()) return std::nullopt;
  return it->second;
}

bool FormState::IsColourField(int control) {
  const FormField* f = FindFormField(control);
  return f && f->kind == FieldKind::kColour;
}

std::vector<int> FormState::ColourFields() {
  std::vector<int> fields;
  for (const FormField& f : FormFields())
    if (f.kind == FieldKind::kColour) fields.push_back(f.control);
  return fields;
}

void FormState::SetColourField(int control, const std::string& text) {
  WriteField(control, text);
  std::string value = text;
  ColourCheck check = CheckColour(value, /*dialog_variant=*/false, notify_);
  if (value != text) WriteField(control, value);
  if (check.complete) swatches_[control] = *check.complete;
  notify_.FormChanged();
  if (control == kCtlNewBgColor) {  // a default for new items: no modified mark
    doc_.Touch();
    return;
  }
  if (control == kCtlItemBgColor) StoreSelectedItem();
  notify_.Report(doc_.MarkModified(1));
}

void FormState::CheckCompleteColours(std::initializer_list<int> controls) {
  for (int control : controls) {
    std::string value = FieldText(control);
    if (value.size() != kColourLength) continue;
    ColourCheck check = CheckColour(value, /*dialog_variant=*/false, notify_);
    // The check may have repaired it.
    if (value != FieldText(control)) WriteField(control, value);
    if (check.complete) swatches_[control] = *check.complete;
  }
}

void FormState::CheckAllCompleteColours() {
  for (int control : ColourFields()) CheckCompleteColours({control});
}

void FormState::RememberCompleteColours() {
  for (int control : ColourFields())
    if (auto rgb = CompleteColour(FieldText(control))) swatches_[control] = *rgb;
}

int FormState::ControlOfSetting(const SettingField& setting) {
  static const PageSettings probe;
  const void* member = std::visit([](auto field) -> const void* { return &(probe.*field); }, setting);
  for (const FormField& f : FormFields())
    if (f.access.member(probe) == member) return f.control;
  return 0;
}

int FormState::ColourFieldOfButton(int button) {
  for (const FormField& f : FormFields())
    if (button != 0 && f.colour_button == button) return f.control;
  return 0;
}

void FormState::RefuseUnrepresentableText() {
  notify_.Message(sj(kUnrepresentableMessage), sj(kInputErrorTitle), MessageIcon::kWarning);
}

bool FormState::CheckEnteredText(const std::string& text, size_t limit) {
  // A control byte would end or split a project line, or (NUL) end its
  // fields when read back; CP932 trail bytes never fall below 0x40.
  if (std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
    notify_.Message(sj("タブや改行などの制御文字は入力できません。"), sj(kInputErrorTitle), MessageIcon::kWarning);
    return false;
  }
  if (text.size() > limit) {
    notify_.Message(ToText(static_cast<long long>(limit)) + sj(" 文字以内で入力してください。"), sj(kInputErrorTitle),
                          MessageIcon::kWarning);
    return false;
  }
  return true;
}

// Start, Row, Indent and Left take digits only. A wrong byte sends back only
// the field it was typed into, to its last value; the other three keep
// what the user gave them.
bool FormState::NumericCheck(int control, const std::string& text) {
  if (NumberText::TypableDigits(text)) return true;
  notify_.Message(sj("数字のみ入力可能です。"), sj(kInputErrorTitle), MessageIcon::kWarning);
  if (!NumberText::TypableDigits(FieldText(control))) WriteField(control, control == kCtlRow ? "20" : "10");
  notify_.FormChanged();
  return false;
}

bool FormState::FieldChanged(int control, const std::string& text) {
  const FormField* f = FindFormField(control);
  if (!f || f->kind == FieldKind::kCheckBox) return false;
  if (!CheckEnteredText(text, f->limit ? f->limit : kTextLimit)) return false;
  if (f->kind == FieldKind::kColour) {
    SetColourField(control, text);
    return true;
  }
  if (f->kind == FieldKind::kDigits && !NumericCheck(control, text)) return false;
  WriteField(control, text);
  if (f->fallback && text.empty()) {
    WriteField(control, sj(f->fallback));
    notify_.FormChanged();
  }
  switch (f->group) {
    case FieldGroup::kPage:
      break;
    case FieldGroup::kItem:
      StoreSelectedItem();
      if (control == kCtlLink || control == kCtlIcon) {
        notify_.Report(doc_.MarkModified(1));
        WarnIfTooLong(control);
        return true;
      }
      break;
    case FieldGroup::kNewItem:
      notify_.FormChanged();
      doc_.Touch();
      return true;  // defaults for new items: no modified mark
  }
  notify_.Report(doc_.MarkModified(1));
  return true;
}

void FormState::CheckBoxClicked(int control, bool checked) {
  switch (control) {
    case kCtlTextBackOn:
      doc_.settings.TextBackOn = checked ? 1 : 0;
      break;
    case kCtlParentLink:
      doc_.settings.ParentLink = checked ? 1 : 0;
      // The link and target of the selected item follow at once, by the
      // same rules as a selection change.
      ApplySelectionEnabling();
      notify_.FormChanged();
      break;
    case kCtlOpen:
      WriteField(kCtlOpen, checked ? "1" : "0");
      if (checked && doc_.settings.CloseTree == 1)
        notify_.Message(
            sj("ツリーを畳む場合は、最初のツリーのみ「ツリーを開いた状態で表示する」\nが有効になります。"), sj(kConfirmTitle),
            MessageIcon::kInformation);
      StoreSelectedItem();
      break;
    default:
      return;
  }
  notify_.Report(doc_.MarkModified(1));
}

}  // namespace pomeli2
