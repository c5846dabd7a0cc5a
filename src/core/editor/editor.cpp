#include "editor/editor.h"

#include <cstdio>

#include "generate/frame_set.h"
#include "generate/menu_page.h"
#include "io/file_io.h"
#include "io/program_folder.h"
#include "project/project_file.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {

namespace {
// Titles share the page title's limit, which keeps every item line well
// within what the project file reader takes.
constexpr size_t kTitleLimit = 256;
}  // namespace

const std::string& OtherButtonText(std::string_view code) {
  if (code == "0") return sj("ボタンなし");
  if (code == "1") return sj("別ウインドウ");
  return sj("フレーム解除");
}

std::string OtherButtonCode(std::string_view text) {
  if (text == sj("ボタンなし")) return "0";
  if (text == sj("別ウインドウ")) return "1";
  return "2";
}

Editor::Editor(Host& host) : host_(host), settings_(PageSettings::Initial()) {
  model_.SetSelectionHandler([this] { OnSelectionChanged(); });
  target_list_ = {"Frame2", "Right", "OtherW", "_blank", "_top", "top", "_parent"};
}

bool Editor::Enabled(int control) const {
  auto it = enabled_.find(control);
  return it == enabled_.end() || it->second;
}

void Editor::SetEnabled(int control, bool enabled) { enabled_[control] = enabled; }

void Editor::MarkModified(int value) {
  modified_flag_ = value;
  if (!settings_file_) return;
  const std::string& last =
      settings_.ProjectPath != UntitledProject() ? settings_.ProjectPath : last_project_path_;
  if (!settings_file_->WriteEditLine(value, last))
    ShowError(sj("「Pomeli2.ini」を書き込めません。"), sj("ファイルエラー"));
}

void Editor::ShowError(const std::string& text, const std::string& title) {
  host_.MessageBox(text, title, MessageIcon::kError, MessageButtons::kOk);
}

void Editor::Start() {
  model_.ResetMenu();
  settings_ = PageSettings::Initial();
  if (settings_file_) {
    auto fields = settings_file_->Read();
    last_project_path_ = fields ? fields->last_project : std::string();
  }
  // The form starts with the root row's own values, so the first store
  // writes them back unchanged (apart from the page title).
  LoadItemFieldsFromRow(0);
  StoreSelectedItem();
  for (int id : kSelectedItemControls) SetEnabled(id, false);
  SetEnabled(kCtlMoveUp, false);
  SetEnabled(kCtlMoveDown, false);
  MarkModified(0);
  model_.TreeHasFocus = 1;
  host_.TreeRebuilt();
  host_.TreeColoursChanged();
  host_.ControlStatesChanged();
  host_.RefreshForm();
}

void Editor::LoadItemFieldsFromRow(int row, bool with_other_button) {
  const ItemTable& t = model_.table;
  item_.link = t.Cell(row, kLink);
  item_.bg_color = t.Cell(row, kTextBgColor);
  item_.style = t.Cell(row, kStyle);
  item_.size = t.Cell(row, kFontSize);
  item_.target = t.Cell(row, kTarget);
  item_.icon = t.Cell(row, kIcon);
  item_.open = t.Cell(row, kOpen) == "1" ? 1 : 0;
  if (with_other_button) item_.other_button = OtherButtonText(t.Cell(row, kOtherWindow));
}

void Editor::OnSelectionChanged() {
  const int row = model_.SelectedRow;
  for (int id : kSelectedItemControls) SetEnabled(id, row != 0);
  // While a project loads, only the row's values are taken; the rest of the
  // form is settled once the load ends.
  LoadItemFieldsFromRow(row, /*with_other_button=*/!model_.SuppressSelectionRefresh);
  if (model_.SuppressSelectionRefresh) return;

  ApplySelectionEnabling();
  item_.link_backslashed = item_.link;
  for (char& c : item_.link_backslashed)
    if (c == '/') c = '\\';
  host_.ControlStatesChanged();
  host_.RefreshForm();
}

// The enabling that depends on the selected item: the arrows, and the link,
// target, icon and open controls by the item's kind.
void Editor::ApplySelectionEnabling() {
  const MenuTree& tree = model_.tree;
  const int row = model_.SelectedRow;
  NodeId node = tree.Selected();
  SetEnabled(kCtlMoveDown, node != kNoNode && tree.NextSibling(node) != kNoNode);
  SetEnabled(kCtlMoveUp, node != kNoNode && tree.PrevSibling(node) != kNoNode);
  if (row <= 0 || node == kNoNode) {
    SetEnabled(kCtlLink, false);
    SetEnabled(kCtlLinkBrowse, false);
  } else if (!tree.HasChildren(node)) {
    SetEnabled(kCtlLink, true);
    SetEnabled(kCtlLinkBrowse, true);
    SetEnabled(kCtlOpen, false);
    SetEnabled(kCtlItemTarget, settings_.ItemTargetsEnabled());
    SetEnabled(kCtlIcon, settings_.ItemIconsEnabled());
    SetEnabled(kCtlIconBrowse, settings_.ItemIconsEnabled());
  } else {
    bool parent_link = settings_.ParentLink == 1;
    SetEnabled(kCtlLink, parent_link);
    SetEnabled(kCtlLinkBrowse, parent_link);
    SetEnabled(kCtlItemTarget, parent_link && settings_.ItemTargetsEnabled());
    SetEnabled(kCtlIcon, false);
    SetEnabled(kCtlIconBrowse, false);
    SetEnabled(kCtlOpen, tree.Parent(node) == model_.Root());
  }
}

void Editor::StoreSelectedItem() {
  ItemTable& t = model_.table;
  const int row = model_.SelectedRow;
  t.SetCell(row, kTextBgColor, item_.bg_color);
  bool refresh = false;
  if (item_.style.empty()) {
    item_.style = settings_.NewStyle;
    refresh = true;
  }
  t.SetCell(row, kStyle, item_.style);
  t.SetCell(row, kFont, "1");
  if (item_.size.empty()) {
    item_.size = settings_.NewFontSize;
    refresh = true;
  }
  t.SetCell(row, kFontSize, item_.size);
  t.SetCell(row, kLink, item_.link);
  t.SetCell(row, kOtherWindow, OtherButtonCode(item_.other_button));
  t.SetCell(row, kTarget, item_.target);
  t.SetCell(row, kIcon, item_.icon);
  t.SetCell(row, kOpen, item_.open ? "1" : "0");
  if (row == 0) t.SetCell(row, kTitle, settings_.Title);
  if (refresh) host_.RefreshForm();
}

void Editor::ResetForNew() {
  model_.ResetMenu();
  settings_.Title = sj("ホームページ");
  item_.link.clear();
  settings_.BgColor = "#FFFFFF";
  item_.style = "None";
  item_.bg_color = "#FFFFFF";
  settings_.NewBgColor = "#FFFFFF";
  settings_.NewStyle = "None";
  settings_.NewFontSize = "10pt";
  item_.size = "10pt";
  model_.SelectedRow = 0;
  SetEnabled(kCtlLink, false);
  model_.table.ResetItemTable();
  StoreSelectedItem();
  settings_.ProjectPath = UntitledProject();
  settings_.HtmlFileName = UntitledHtml();
  settings_.Path = "pomeli2.html";
  settings_.BackPicture.clear();
  host_.TreeRebuilt();
  host_.ControlStatesChanged();
  host_.RefreshForm();
  host_.MessageBox(sj("ページ設定及びツール内の設定は、現在の設定がそのまま活かされます。\n"
                      "設定値を完全にリセットするときは一度アプリケーションを終了してください。"),
                   sj("ページ確認"), MessageIcon::kInformation, MessageButtons::kOk);
}

bool Editor::ReadProjectFile(const std::string& path) {
  const std::string cannot_open = sj("ファイル「") + path + sj("」をオープンできませんでした。");
  auto system_path = SystemPath(path);
  std::FILE* file = system_path ? std::fopen(system_path->c_str(), "rb") : nullptr;
  if (!file) {
    ShowError(cannot_open, sj("エラー"));
    return false;
  }
  ByteSource source = [file](char* buffer, size_t size) { return std::fread(buffer, 1, size, file); };
  ParsedProject parsed = ParseProject(source, settings_, target_list_);
  bool read_error = std::ferror(file) != 0;
  std::fclose(file);

  // Everything is checked before anything is replaced, so a rejected file
  // leaves the menu, the settings and the project name as they were.
  if (read_error) {
    ShowError(cannot_open, sj("エラー"));
    return false;
  }
  switch (parsed.failure) {
    case ReadFailure::kNone: break;
    case ReadFailure::kBadNumber:
      ShowError(sj("数字フィールドに文字が含まれているか、または空です。\nページ情報が正しくロードできません。"), sj("エラー"));
      return false;
    case ReadFailure::kBadStructure:
      host_.Beep();
      ShowError(sj("ファイル構造が正しくありません。"), sj("エラー"));
      return false;
    case ReadFailure::kTooManyItems:
      ShowError(sj("アイテムの数が多すぎます。\n1つのメニューに入れられるアイテムは17999個までです。"), sj("エラー"));
      return false;
  }

  settings_ = std::move(parsed.settings);
  settings_.ProjectPath = path;
  for (auto& t : parsed.new_targets) target_list_.push_back(std::move(t));

  model_.counters.Reset();
  model_.SuppressSelectionRefresh = true;
  model_.tree.Select(RebuildMenu(model_, parsed.items));
  model_.SuppressSelectionRefresh = false;
  // The last item read is selected; the form shows its values and the
  // enabling of that item.
  LoadItemFieldsFromRow(model_.SelectedRow);
  ApplySelectionEnabling();
  host_.TreeRebuilt();
  host_.TreeColoursChanged();
  host_.ControlStatesChanged();
  host_.RefreshForm();
  return true;
}

bool Editor::WriteProjectFile(int last_seq) {
  SerializedProject out = SerializeProject(settings_, model_.table, last_seq);
  if (out.too_long_key) {
    ShowError(sj("「") + *out.too_long_key + sj("」の値が長すぎるため、プロジェクトファイルに保存できません。\n値を短くしてから保存してください。"),
              sj("ファイルエラー"));
    return false;
  }
  if (out.too_long_item_title) {
    ShowError(sj("アイテム「") + *out.too_long_item_title +
                  sj("」の情報が長すぎるため、プロジェクトファイルに保存できません。\nリンクなどを短くしてから保存してください。"),
              sj("ファイルエラー"));
    return false;
  }
  auto system_path = SystemPath(settings_.ProjectPath);
  if (!system_path || !WriteFileAtomically(*system_path, out.bytes)) {
    ShowError(sj("「") + settings_.ProjectPath + sj("」を書き込めません。"), sj("ファイルエラー"));
    return false;
  }
  return true;
}

bool Editor::RenameSelected(const std::string& title) {
  if (!CheckEnteredText(title, kTitleLimit)) return false;
  ItemRow row = model_.table.Row(model_.SelectedRow);
  row[kTitle] = title;
  if (ItemLineLength(row) > kMaxProjectLine) {
    // Only values loaded from a file can make the rest of the line this long.
    host_.MessageBox(sj("アイテムの情報が長すぎます。タイトルかリンクを短くしてください。"), sj("入力エラー"),
                     MessageIcon::kWarning, MessageButtons::kOk);
    return false;
  }
  model_.tree.SetLabel(model_.tree.Selected(), title);
  model_.table.SetCell(model_.SelectedRow, kTitle, title);
  MarkModified(1);
  return true;
}

bool Editor::BeginHtmlSave() {
  model_.tree.Select(model_.Root());
  if (model_.table.RowCounter() == 1) {
    host_.MessageBox(sj("書き出すアイテムがありません。"), sj("アイテム確認"), MessageIcon::kWarning, MessageButtons::kOk);
    return false;
  }
  model_.ClearCopyMarks();
  return true;
}

void Editor::SetMenuPagePath(const std::string& sjis_path) {
  settings_.Path = sjis_path;
  auto slash = sjis_path.rfind('/');
  settings_.HtmlFileName = slash == std::string::npos ? sjis_path : sjis_path.substr(slash + 1);
}

std::string Editor::MenuPageFolder() const {
  const std::string& path = settings_.Path;
  size_t name = settings_.HtmlFileName.size();
  return name <= path.size() ? path.substr(0, path.size() - name) : std::string();
}

Editor::PageWrite Editor::WriteMenuPage() {
  if (auto bad = FindUnworkableSetting(settings_)) {
    ShowError(sj("「") + bad->label + sj("」の値ではメニューが動かないため、HTMLを書き出せません。\n") + bad->expected,
              sj("入力エラー"));
    return PageWrite::kRefused;
  }
  int last_item = model_.RenumberItems(model_.Root());
  auto system_path = SystemPath(settings_.Path);
  if (!system_path) {
    ShowError(sj("「") + settings_.HtmlFileName + sj("」を書き込めません。"), sj("ファイルエラー"));
    return PageWrite::kWriteFailed;
  }
  // The BODY files are read before the page is composed; their messages come
  // after a successful write, as they would while writing it.
  std::optional<std::string> header, footer;
  bool header_missing = false, footer_missing = false;
  auto read_quietly = [](const std::string& sjis_path, bool& missing) -> std::optional<std::string> {
    auto p = SystemPath(sjis_path);
    auto bytes = p ? ReadWholeFile(*p) : std::nullopt;
    missing = !bytes;
    return bytes;
  };
  if (!settings_.BodyHeader.empty()) header = read_quietly(settings_.BodyHeader, header_missing);
  if (!settings_.BodyFooter.empty()) footer = read_quietly(settings_.BodyFooter, footer_missing);
  std::string page = BuildMenuPage(settings_, model_.table, last_item, header ? &*header : nullptr,
                                   footer ? &*footer : nullptr);
  if (!WriteFileAtomically(*system_path, page)) {
    ShowError(sj("「") + settings_.HtmlFileName + sj("」を書き込めません。"), sj("ファイルエラー"));
    return PageWrite::kWriteFailed;
  }
  if (header_missing)
    ShowError(sj("BODY用のヘッダーファイルが存在しません。\nツールの「BODYタグ内の先頭と後尾の設定」で確認してください。"),
              sj("ファイルエラー"));
  if (footer_missing)
    ShowError(sj("BODY用のフッターファイルが存在しません。\nツールの「BODYタグ内の先頭と後尾の設定」で確認してください。"),
              sj("ファイルエラー"));
  return PageWrite::kWritten;
}

Editor::FrameSetWrite Editor::CreateFrameSet(const std::string& sjis_path, int panes) {
  auto slash = sjis_path.rfind('/');
  std::string name = slash == std::string::npos ? sjis_path : sjis_path.substr(slash + 1);
  host_.RefreshForm();
  if (IsReservedFrameSetName(name, settings_.HtmlFileName)) {
    host_.MessageBox(sj("frameright.html、frametop.html、") + settings_.HtmlFileName +
                         sj("は使えません。\n他のファイル名を使ってください。"),
                     sj("ファイルエラー"), MessageIcon::kWarning, MessageButtons::kOk);
    return FrameSetWrite::kReservedName;
  }
  auto system_path = SystemPath(sjis_path);
  if (system_path && FileExists(*system_path) &&
      host_.MessageBox(sj("同名ファイルが存在します。上書きしますか？"), sj("上書確認"), MessageIcon::kWarning,
                       MessageButtons::kYesNo) != MessageAnswer::kYes)
    return FrameSetWrite::kDeclined;

  FrameSetPages pages = BuildFrameSet(settings_, panes, frame_resizable_ == 1);
  std::string folder = sjis_path.substr(0, sjis_path.size() - name.size());
  if (!system_path || !WriteFileAtomically(*system_path, pages.frame_set)) {
    ShowError(sj("「") + sjis_path + sj("」を書き込めません。"), sj("ファイルエラー"));
    return FrameSetWrite::kWriteFailed;
  }
  auto right = SystemPath(folder + "frameright.html");
  if (!right || !WriteFileAtomically(*right, pages.right)) {
    ShowError(sj("「frameright.html」を書き込めません。"), sj("ファイルエラー"));
    return FrameSetWrite::kWriteFailed;
  }
  if (panes != 2) {
    auto top = SystemPath(folder + "frametop.html");
    if (!top || !WriteFileAtomically(*top, pages.top)) {
      ShowError(sj("「frametop.html」を書き込めません。"), sj("ファイルエラー"));
      return FrameSetWrite::kWriteFailed;
    }
  }
  return FrameSetWrite::kWritten;
}

bool Editor::CopyStandardImages(const std::string& program_folder) {
  std::string question = sj(
      "Pomeli Pomeli標準のアイコンファイルを\r\nHTMLの保存フォルダに5個コピーします。\r\nよろしいですか？\r\n\r\n"
      "plus.gif\r\nminus.gif\r\nlinkto.gif\r\notherw.gif\r\nscroll.gif\r\n");
  if (host_.MessageBox(question, sj("確認"), MessageIcon::kInformation, MessageButtons::kOkCancel) !=
      MessageAnswer::kOk)
    return false;
  std::string folder = MenuPageFolder();
  for (const char* name : {"otherw.gif", "scroll.gif", "plus.gif", "minus.gif", "linkto.gif"}) {
    auto bytes = ReadWholeFile(program_folder + name);
    if (!bytes) {
      ShowError(sj("ファイルが存在しません。コピーに失敗しました。"), sj("ファイルエラー"));
      return false;
    }
    auto target = SystemPath(folder + name);
    if (!target || !WriteFileAtomically(*target, *bytes)) {
      ShowError(sj("ファイルが書き込めません。コピーに失敗しました。"), sj("ファイルエラー"));
      return false;
    }
  }
  host_.MessageBox(sj("コピーが終了しました。"), sj("確認"), MessageIcon::kInformation, MessageButtons::kOk);
  return true;
}

bool Editor::CheckEnteredText(const std::string& text, size_t limit) {
  if (text.find_first_of("\t\r\n") != std::string::npos) {
    host_.MessageBox(sj("タブや改行は入力できません。"), sj("入力エラー"), MessageIcon::kWarning, MessageButtons::kOk);
    return false;
  }
  if (text.size() > limit) {
    host_.MessageBox(ToText(static_cast<long long>(limit)) + sj(" 文字以内で入力してください。"), sj("入力エラー"),
                     MessageIcon::kWarning, MessageButtons::kOk);
    return false;
  }
  return true;
}

}  // namespace pomeli2
