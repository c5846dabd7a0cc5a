// The main form's fields: what each shows, and what each change does.
#include <cstdio>

#include "editor/commands.h"
#include "editor/editor.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

struct FieldDef {
  int control;
  std::string PageSettings::*page;  // or
  std::string ItemFields::*item;
  size_t limit;  // bytes; 0 for a list
};

const FieldDef kFields[] = {
    {kCtlTitle, &PageSettings::Title, nullptr, 256},
    {kCtlBackPicture, &PageSettings::BackPicture, nullptr, 256},
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
    {kCtlLink, nullptr, &ItemFields::link, 256},
    {kCtlItemSize, nullptr, &ItemFields::size, 4},
    {kCtlIcon, nullptr, &ItemFields::icon, 256},
};

const FieldDef* FindField(int control) {
  for (const FieldDef& f : kFields)
    if (f.control == control) return &f;
  return nullptr;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

}  // namespace

std::string* Editor::TextField(int control) {
  const FieldDef* f = FindField(control);
  if (!f) return nullptr;
  return f->page ? &(settings_.*(f->page)) : &(item_.*(f->item));
}

const std::string* Editor::TextField(int control) const { return const_cast<Editor*>(this)->TextField(control); }

std::string Editor::FieldText(int control) const {
  const std::string* field = TextField(control);
  return field ? *field : std::string();
}

size_t Editor::FieldLimit(int control) {
  const FieldDef* f = FindField(control);
  return f ? f->limit : 0;
}

int Editor::CheckBoxValue(int control) const {
  switch (control) {
    case kCtlTextBackOn: return settings_.TextBackOn;
    case kCtlParentLink: return settings_.ParentLink;
    case kCtlOpen: return item_.open;
    default: return 0;
  }
}

std::optional<unsigned> Editor::SampleColour(int control) const {
  const std::string* text = TextField(control);
  if (!text || text->size() != 7 || (*text)[0] != '#') return std::nullopt;
  for (size_t i = 1; i < 7; ++i)
    if (!IsHexDigit((*text)[i])) return std::nullopt;
  return static_cast<unsigned>(std::stoul(text->substr(1), nullptr, 16));
}

void Editor::RefuseUnrepresentableText() {
  host_.MessageBox(sj("シフトJISで表せない文字は入力できません。"), sj("入力エラー"), MessageIcon::kWarning,
                   MessageButtons::kOk);
}

// Start, Row, Indent and Left take digits only. After a failed check the
// four return to values with which the page works.
void Editor::NumericCheck() {
  for (const std::string* value : {&settings_.Start, &settings_.Row, &settings_.Indent, &settings_.Left}) {
    for (char c : *value) {
      unsigned char b = static_cast<unsigned char>(c);
      if ((b >= '0' && b <= '9') || b < 0x20 || b == 0x7F) continue;
      host_.MessageBox(sj("数字のみ入力可能です。"), sj("入力エラー"), MessageIcon::kWarning, MessageButtons::kOk);
      settings_.Start = "10";
      settings_.Row = "20";
      settings_.Indent = "10";
      settings_.Left = "10";
      host_.RefreshForm();
      return;
    }
  }
}

bool Editor::FieldChanged(int control, const std::string& text) {
  std::string* field = TextField(control);
  if (!field) return false;
  size_t limit = FieldLimit(control);
  if (!CheckEnteredText(text, limit ? limit : 256)) return false;
  *field = text;
  switch (control) {
    case kCtlNewBgColor:
      return true;  // a default for new items: no modified mark
    case kCtlItemBgColor:
    case kCtlItemSize:
    case kCtlItemStyle:
    case kCtlOtherButton:
      StoreSelectedItem();
      break;
    case kCtlItemTarget:
      if (item_.target.empty()) {
        item_.target = "Frame2";
        host_.RefreshForm();
      }
      StoreSelectedItem();
      break;
    case kCtlStart:
    case kCtlRow:
    case kCtlIndent:
    case kCtlLeft:
      NumericCheck();
      break;
    case kCtlLink:
    case kCtlIcon:
      StoreSelectedItem();
      MarkModified(1);
      if (field->size() >= 256)
        host_.MessageBox(control == kCtlLink ? sj("リンクが長すぎます。256バイト以下にしてください。")
                                             : sj("アイコンのパスが長すぎます。256バイト以下にしてください。"),
                         sj("エラー"), MessageIcon::kError, MessageButtons::kOk);
      return true;
    case kCtlNewStyle:
    case kCtlNewOtherButton:
    case kCtlNewSize:
    case kCtlNewTarget: {
      static const std::pair<int, const char*> defaults[] = {
          {kCtlNewStyle, "None"}, {kCtlNewOtherButton, "ボタンなし"}, {kCtlNewSize, "10pt"}, {kCtlNewTarget, "Frame2"}};
      for (const auto& [id, value] : defaults)
        if (id == control && field->empty()) *field = sj(value);
      host_.RefreshForm();
      return true;  // defaults for new items: no modified mark
    }
    default:
      break;
  }
  MarkModified(1);
  return true;
}

void Editor::CheckBoxClicked(int control, bool checked) {
  switch (control) {
    case kCtlTextBackOn:
      settings_.TextBackOn = checked ? 1 : 0;
      break;
    case kCtlParentLink:
      settings_.ParentLink = checked ? 1 : 0;
      // The link and target of the selected item follow at once, by the
      // same rules as a selection change.
      ApplySelectionEnabling();
      host_.ControlStatesChanged();
      host_.RefreshForm();
      break;
    case kCtlOpen:
      item_.open = checked ? 1 : 0;
      if (checked && settings_.CloseTree == 1)
        host_.MessageBox(sj("ツリーを畳む場合は、最初のツリーのみ「ツリーを開いた状態で表示する」\nが有効になります。"),
                         sj("確認"), MessageIcon::kInformation, MessageButtons::kOk);
      StoreSelectedItem();
      break;
    default:
      return;
  }
  MarkModified(1);
}

bool Editor::ControlEnabled(int control) const {
  switch (control) {
    case 1052: case 1053: case 1054: case 1055: case 1056: case 1057: case 1058: case 1063: case 1067:  // colour
    case kCtlBackPictureBrowse: case kCtlLinkBrowse: case kCtlIconBrowse:
      return false;
    case kCtlAddItem: return CommandEnabled(kCmdAddItem);
    case kCtlMoveUp: case kCtlMoveDown: return CommandEnabled(control) && Enabled(control);
    default: return Enabled(control);
  }
}

bool Editor::CommandEnabled(int command) const {
  switch (command) {
    // Built so far.
    case kCmdExit:
    case kCmdToolbar:
    case kCmdHelp:
    case kCmdAbout:
    case kCmdRename:
      return true;
    case kCmdIconCopy:
      return settings_.HtmlFileName != UntitledHtml();
    default:
      return false;  // commands still to come
  }
}

bool Editor::CommandChecked(int command) const {
  switch (command) {
    case kCmdItemTargets: return settings_.ItemTargetsEnabled();
    case kCmdItemIcons: return settings_.ItemIconsEnabled();
    case kCmdFrameResizable: return frame_resizable_ == 1;
    default: return false;
  }
}

std::string Editor::RecentEntryText() const {
  if (last_project_path_.empty()) return sj("なし");
  if (last_project_path_.size() <= 70) return last_project_path_;
  return sj("前回使ったファイルを開く");
}

bool Editor::CloseRequested(int left, int top, int client_width, int client_height) {
  std::string last = settings_.ProjectPath != UntitledProject() ? settings_.ProjectPath : last_project_path_;
  bool modified = modified_flag_ == 1;
  if (settings_file_) {
    if (auto fields = settings_file_->Read()) {
      last = fields->last_project;
      // Either says so: an edit whose mark could not be written still counts.
      modified = modified || (!fields->modified.empty() && fields->modified[0] == '1');
    }
  }
  if (modified && host_.MessageBox(sj("変更が保存されていません。このまま終了しますか？"), sj("保存確認"),
                                   MessageIcon::kWarning, MessageButtons::kYesNo) != MessageAnswer::kYes)
    return false;
  if (settings_file_ && !settings_file_->WriteCloseLine(left, top, client_width, client_height, last))
    ShowError(sj("「Pomeli2.ini」を書き込めません。"), sj("ファイルエラー"));
  return true;
}

}  // namespace pomeli2
