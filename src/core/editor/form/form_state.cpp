// The main form's fields: what each shows, and what each change does.
#include "editor/form/form_state.h"

#include <algorithm>
#include <cctype>

#include "editor/form/colours.h"
#include "text/catalogue.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

struct FieldDef {
  int control;
  std::string PageSettings::*page;  // or
  std::string ItemFields::*item;
  size_t limit;  // bytes; 0 for a list with fixed entries
};

const FieldDef kFields[] = {
    {kCtlTitle, &PageSettings::Title, nullptr, kTextLimit},
    {kCtlBackPicture, &PageSettings::BackPicture, nullptr, kTextLimit},
    {kCtlBgColor, &PageSettings::BgColor, nullptr, 7},
    {kCtlBodyText, &PageSettings::BodyText, nullptr, 7},
    {kCtlBodyLink, &PageSettings::BodyLink, nullptr, 7},
    {kCtlBodyVlink, &PageSettings::BodyVlink, nullptr, 7},
    {kCtlBodyAlink, &PageSettings::BodyAlink, nullptr, 7},
    {kCtlStart, &PageSettings::Start, nullptr, 3},
    {kCtlLeft, &PageSettings::Left, nullptr, 3},
    {kCtlIndent, &PageSettings::Indent, nullptr, 3},
    {kCtlRow, &PageSettings::Row, nullptr, 3},
    {kCtlBodyHover, &PageSettings::BodyHover, nullptr, 7},
    {kCtlBodyHoverBack, &PageSettings::BodyHoverBack, nullptr, 7},
    {kCtlNewBgColor, &PageSettings::NewBgColor, nullptr, 7},
    {kCtlNewOtherButton, &PageSettings::NewOtherButton, nullptr, 0},
    {kCtlNewStyle, &PageSettings::NewStyle, nullptr, 0},
    {kCtlNewTarget, &PageSettings::NewTarget, nullptr, 10},
    {kCtlNewSize, &PageSettings::NewFontSize, nullptr, 4},
    {kCtlProjectPath, &PageSettings::ProjectPath, nullptr, 0},
    {kCtlHtmlFileName, &PageSettings::HtmlFileName, nullptr, 0},
    {kCtlPath, &PageSettings::Path, nullptr, 0},
    {kCtlItemBgColor, nullptr, &ItemFields::bg_color, 7},
    {kCtlOtherButton, nullptr, &ItemFields::other_button, 0},
    {kCtlItemStyle, nullptr, &ItemFields::style, 0},
    {kCtlItemTarget, nullptr, &ItemFields::target, 10},
    {kCtlLink, nullptr, &ItemFields::link, kTextLimit},
    {kCtlItemSize, nullptr, &ItemFields::size, 4},
    {kCtlIcon, nullptr, &ItemFields::icon, kTextLimit},
};

const FieldDef* FindField(int control) {
  for (const FieldDef& f : kFields)
    if (f.control == control) return &f;
  return nullptr;
}

// Each colour button and the field whose colour it shows.
constexpr std::pair<int, int> kColourButtons[] = {
    {1052, kCtlBgColor},   {1053, kCtlBodyText},  {1054, kCtlBodyLink},     {1055, kCtlBodyVlink},
    {1056, kCtlBodyAlink}, {1063, kCtlBodyHover}, {1067, kCtlBodyHoverBack}, {1057, kCtlItemBgColor},
    {1058, kCtlNewBgColor},
};

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

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

void FormState::Start() {
  // The form starts with the root row's own values, so the first store
  // writes them back unchanged (apart from the page title).
  LoadItemFields(model().Root());
  StoreSelectedItem();
  for (int id : kSelectedItemControls) SetEnabled(id, false);
  SetEnabled(kCtlMoveUp, false);
  SetEnabled(kCtlMoveDown, false);
  CheckAllCompleteColours();
  notify_.ControlsChanged();
  notify_.FormChanged();
}

void FormState::LoadItemFields(NodeId node, bool with_other_button) {
  static const MenuItem kNoItem;
  const MenuItem& m = model().tree.Valid(node) ? model().tree.Item(node) : kNoItem;
  item.link = m.link;
  item.bg_color = m.bg_color;
  item.style = m.style;
  item.size = m.font_size;
  item.target = m.target;
  item.icon = m.icon;
  item.open = m.open == "1" ? 1 : 0;
  if (with_other_button) item.other_button = OtherButtonText(m.other_window);
}

void FormState::OnSelectionChanged() {
  for (int id : kSelectedItemControls) SetEnabled(id, !model().RootSelected());
  // While a project loads, only the item's values are taken; the rest of
  // the form is settled once the load ends.
  LoadItemFields(model().Selected(), /*with_other_button=*/!model().SuppressSelectionRefresh);
  if (model().SuppressSelectionRefresh) return;

  ApplySelectionEnabling();
  // The link browse offers the item's link; paths use "/" on this platform.
  link_browse_path = item.link;
  CheckCompleteColours({kCtlItemBgColor});
  notify_.SelectionChanged();
  notify_.FormChanged();
}

void FormState::ShowLoadedItem() {
  LoadItemFields(model().Selected());
  ApplySelectionEnabling();
  link_browse_path = item.link;
  CheckAllCompleteColours();
  notify_.ControlsChanged();
  notify_.FormChanged();
}

void FormState::RefreshEnabling() {
  for (int id : kSelectedItemControls) SetEnabled(id, !model().RootSelected());
  ApplySelectionEnabling();
}

void FormState::WarnIfTooLong(int control) {
  const std::string& value = control == kCtlLink ? item.link : item.icon;
  if (value.size() < kTextLimit) return;
  notify_.Message(control == kCtlLink ? sj("リンクが長すぎます。256バイト以下にしてください。")
                                            : sj("アイコンのパスが長すぎます。256バイト以下にしてください。"),
                        sj(kErrorTitle), MessageIcon::kError);
}

void FormState::ApplySelectionEnabling() {
  const MenuTree& tree = model().tree;
  const PageSettings& s = doc_.settings;
  NodeId node = tree.Selected();
  SetEnabled(kCtlMoveDown, node != kNoNode && tree.NextSibling(node) != kNoNode);
  SetEnabled(kCtlMoveUp, node != kNoNode && tree.PrevSibling(node) != kNoNode);
  if (node == kNoNode || model().RootSelected()) {
    SetEnabled(kCtlLink, false);
    SetEnabled(kCtlLinkBrowse, false);
  } else if (!tree.HasChildren(node)) {
    SetEnabled(kCtlLink, true);
    SetEnabled(kCtlLinkBrowse, true);
    SetEnabled(kCtlOpen, false);
    SetEnabled(kCtlItemTarget, s.ItemTargetsEnabled());
    SetEnabled(kCtlIcon, s.ItemIconsEnabled());
    SetEnabled(kCtlIconBrowse, s.ItemIconsEnabled());
  } else {
    bool parent_link = s.ParentLink == 1;
    SetEnabled(kCtlLink, parent_link);
    SetEnabled(kCtlLinkBrowse, parent_link);
    SetEnabled(kCtlItemTarget, parent_link && s.ItemTargetsEnabled());
    SetEnabled(kCtlIcon, false);
    SetEnabled(kCtlIconBrowse, false);
    SetEnabled(kCtlOpen, tree.Parent(node) == model().Root());
  }
}

void FormState::StoreSelectedItem() {
  if (item.style.empty()) {
    item.style = doc_.settings.NewStyle;
    notify_.FormChanged();
  }
  if (item.size.empty()) {
    item.size = doc_.settings.NewFontSize;
    notify_.FormChanged();
  }
  MenuModel& m = model();
  const NodeId node = m.Selected();
  if (!m.tree.Valid(node)) return;
  MenuItem stored = m.tree.Item(node);
  stored.bg_color = item.bg_color;
  stored.style = item.style;
  stored.font_size = item.size;
  stored.link = item.link;
  stored.other_window = OtherButtonKind(item.other_button);
  stored.target = item.target;
  stored.icon = item.icon;
  stored.open = item.open ? "1" : "0";
  // Only a change makes the item stop sharing with the undo states.
  if (!(stored == m.tree.Item(node))) m.tree.MutableItem(node) = std::move(stored);
  if (m.RootSelected()) m.root_title = doc_.settings.Title;
}

void FormState::ResetForNew() {
  PageSettings& s = doc_.settings;
  model().ResetMenu();
  s.ResetForNew();
  item.link.clear();
  item.style = "None";
  item.bg_color = "#FFFFFF";
  item.size = "10pt";
  SetEnabled(kCtlLink, false);
  StoreSelectedItem();
  notify_.ControlsChanged();
  notify_.FormChanged();
  notify_.Message(sj("ページ設定及びツール内の設定は、現在の設定がそのまま活かされます。\n"
                           "設定値を完全にリセットするときは一度アプリケーションを終了してください。"),
                        sj("ページ確認"), MessageIcon::kInformation);
}

std::string* FormState::TextField(int control) {
  const FieldDef* f = FindField(control);
  if (!f) return nullptr;
  return f->page ? &(doc_.settings.*(f->page)) : &(item.*(f->item));
}

const std::string* FormState::TextField(int control) const { return const_cast<FormState*>(this)->TextField(control); }

std::string FormState::FieldText(int control) const {
  const std::string* field = TextField(control);
  return field ? *field : std::string();
}

size_t FormState::FieldLimit(int control) {
  const FieldDef* f = FindField(control);
  return f ? f->limit : 0;
}

std::vector<std::string> FormState::ListEntries(int control) const {
  switch (control) {
    case kCtlOtherButton:
    case kCtlNewOtherButton:
      return {sj("ボタンなし"), sj("別ウインドウ"), sj("フレーム解除")};
    case kCtlItemStyle:
    case kCtlNewStyle:
      return {"None", "Bold", "Italic", "Bold&Italic"};
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
      std::stable_sort(names.begin(), names.end(), LessIgnoringCase);
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
    case kCtlOpen: return item.open;
    default: return 0;
  }
}

std::optional<unsigned> FormState::SampleColour(int control) const {
  if (const std::string* field = TextField(control)) {
    if (auto rgb = CompleteColour(*field)) return rgb;
  }
  auto it = swatches_.find(control);
  if (it == swatches_.end()) return std::nullopt;
  return it->second;
}

bool FormState::IsColourField(int control) {
  for (auto [button, field] : kColourButtons)
    if (field == control) return true;
  return false;
}

void FormState::SetColourField(int control, const std::string& text) {
  std::string* field = TextField(control);
  *field = text;
  ColourCheck check = CheckColour(*field, /*dialog_variant=*/false, notify_);
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
    std::string* field = TextField(control);
    if (field->size() != 7) continue;
    ColourCheck check = CheckColour(*field, /*dialog_variant=*/false, notify_);
    if (check.complete) swatches_[control] = *check.complete;
  }
}

void FormState::CheckAllCompleteColours() {
  CheckCompleteColours({kCtlBgColor, kCtlBodyText, kCtlBodyLink, kCtlBodyVlink, kCtlBodyAlink, kCtlBodyHover,
                        kCtlBodyHoverBack, kCtlItemBgColor, kCtlNewBgColor});
}

void FormState::RememberCompleteColours() {
  for (auto [button, control] : kColourButtons) {
    if (auto rgb = CompleteColour(*TextField(control))) swatches_[control] = *rgb;
  }
}

int FormState::ControlOfSetting(std::string PageSettings::*setting) {
  for (const FieldDef& f : kFields)
    if (f.page == setting) return f.control;
  return 0;
}

int FormState::ColourFieldOfButton(int button) {
  for (auto [b, field] : kColourButtons)
    if (b == button) return field;
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

namespace {

bool DigitsOnly(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    unsigned char b = static_cast<unsigned char>(c);
    return (b >= '0' && b <= '9') || b < 0x20 || b == 0x7F;
  });
}

}  // namespace

// Start, Row, Indent and Left take digits only. A wrong byte sends back only
// the field it was typed into, to its last value; the other three keep
// what the user gave them.
bool FormState::NumericCheck(int control, const std::string& text) {
  if (DigitsOnly(text)) return true;
  notify_.Message(sj("数字のみ入力可能です。"), sj(kInputErrorTitle), MessageIcon::kWarning);
  std::string& field = *TextField(control);
  if (!DigitsOnly(field)) field = control == kCtlRow ? "20" : "10";
  notify_.FormChanged();
  return false;
}

bool FormState::FieldChanged(int control, const std::string& text) {
  std::string* field = TextField(control);
  if (!field) return false;
  size_t limit = FieldLimit(control);
  if (!CheckEnteredText(text, limit ? limit : kTextLimit)) return false;
  if (IsColourField(control)) {
    SetColourField(control, text);
    return true;
  }
  const bool numeric = control == kCtlStart || control == kCtlRow || control == kCtlIndent || control == kCtlLeft;
  if (numeric && !NumericCheck(control, text)) return false;
  *field = text;
  switch (control) {
    case kCtlItemSize:
    case kCtlItemStyle:
    case kCtlOtherButton:
      StoreSelectedItem();
      break;
    case kCtlItemTarget:
      if (item.target.empty()) {
        item.target = "Frame2";
        notify_.FormChanged();
      }
      StoreSelectedItem();
      break;
    case kCtlLink:
    case kCtlIcon:
      StoreSelectedItem();
      notify_.Report(doc_.MarkModified(1));
      WarnIfTooLong(control);
      return true;
    case kCtlNewStyle:
    case kCtlNewOtherButton:
    case kCtlNewSize:
    case kCtlNewTarget: {
      static const std::pair<int, const char*> defaults[] = {
          {kCtlNewStyle, "None"}, {kCtlNewOtherButton, "ボタンなし"}, {kCtlNewSize, "10pt"}, {kCtlNewTarget, "Frame2"}};
      for (const auto& [id, value] : defaults)
        if (id == control && field->empty()) *field = sj(value);
      notify_.FormChanged();
      doc_.Touch();
      return true;  // defaults for new items: no modified mark
    }
    default:
      break;
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
      item.open = checked ? 1 : 0;
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
