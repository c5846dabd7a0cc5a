// The JavaScript options, tree images, BODY insert and TARGET name dialogs,
// and the three toggles of the settings menu.
#include <algorithm>
#include <cctype>

#include "editor/commands/command_groups.h"
#include "editor/dialogs/dialogs.h"
#include "editor/form/form_state.h"
#include "editor/session/services.h"
#include "editor/session/file_dialogs.h"
#include "generate/html5_values.h"
#include "project/project_file.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

void BrowseBodyFile(CommandContext& e, std::string& value, const char* default_name) {
  FileDialogRequest d;
  d.kind = FileDialogRequest::Kind::kOpen;
  d.filter = sj(kBodyFileFilter);
  d.default_extension = "html";
  d.initial_name = value.empty() ? default_name : value;
  d.must_exist = true;
  auto chosen = AskForFile(e, FileKind::kBodyFile, d);
  if (chosen && e.form.CheckEnteredText(*chosen, BodyInsertDialog::kPathLimit)) value = *chosen;
}

// The form's part of a change of RightFrame or Linkto: the item's TARGET
// box and link-icon box follow at once.
void SettingsChanged(CommandContext& c) {
  c.form.RefreshEnabling();
  c.notify.FormChanged();
  c.notify.Report(c.doc.MarkModified(1));
}

bool Confirm(CommandContext& c, const char* text) {
  return c.notify.Message(sj(text), sj(kConfirmTitle), MessageIcon::kInformation, MessageButtons::kOkCancel) ==
         MessageAnswer::kOk;
}

}  // namespace

void BodyInsertDialog::BrowseHeader() { BrowseBodyFile(editor_, header, "header.html"); }
void BodyInsertDialog::BrowseFooter() { BrowseBodyFile(editor_, footer, "Footer.html"); }

namespace option_commands {

// The settings the JavaScript options dialog edits, and its fields.
const std::pair<std::string ScriptOptionsDialog::*, std::string PageSettings::*> kScriptTexts[] = {
    {&ScriptOptionsDialog::otherw_frame, &PageSettings::OtherwFrame},
    {&ScriptOptionsDialog::first_page, &PageSettings::FirstPage},
    {&ScriptOptionsDialog::first_top_page, &PageSettings::FirstTopPage},
    {&ScriptOptionsDialog::lang, &PageSettings::Lang},
    {&ScriptOptionsDialog::dir, &PageSettings::Dir}};
const std::pair<int ScriptOptionsDialog::*, int PageSettings::*> kScriptFlags[] = {
    {&ScriptOptionsDialog::unite, &PageSettings::Unite},
    {&ScriptOptionsDialog::parent_link_on, &PageSettings::ParentLinkOn},
    {&ScriptOptionsDialog::close_items, &PageSettings::CloseItems},
    {&ScriptOptionsDialog::close_tree, &PageSettings::CloseTree},
    {&ScriptOptionsDialog::filter, &PageSettings::Filter},
    {&ScriptOptionsDialog::dark, &PageSettings::Dark}};

void ScriptOptions(CommandContext& c) {
  PageSettings& s = c.doc.settings;
  // The dialog's own rule, on the text as it stands: "0" or nothing is
  // taken as the slow default ("00" is kept).
  if (s.Speed.text() == "0" || s.Speed.text().empty()) s.Speed = "5";
  ScriptOptionsDialog d;
  for (auto [field, setting] : kScriptTexts) d.*field = s.*setting;
  d.speed = s.Speed.text();
  d.browser = PageModeToString(s.Browser);
  d.right_frame = RightFrameToString(s.RightFrame);
  for (auto [field, setting] : kScriptFlags) d.*field = s.*setting;
  d.dir = s.RightToLeft() ? "rtl" : "ltr";
  d.unite = s.Unite == 1 ? 1 : 0;
  d.UniteClicked(d.unite == 1);
  d.CloseItemsClicked(d.close_items == 1);
  if (!c.host().RunDialog(d)) return;
  if (d.right_frame.empty()) {
    c.notify.Message(sj("右フレーム名がブランクだったので、「なし」に置き換えました。"), sj("自動変換"),
                       MessageIcon::kInformation);
    d.right_frame = RightFrameToString(std::nullopt);
  }
  for (auto [field, setting] : kScriptTexts) s.*setting = d.*field;
  s.Speed = d.speed;
  for (auto [field, setting] : kScriptFlags) s.*setting = d.*field;
  s.Browser = PageModeFromString(d.browser);
  s.RightFrame = RightFrameFromString(d.right_frame);
  SettingsChanged(c);
}

// The settings of the tree images' dialog, in its order.
constexpr std::string PageSettings::*kTreeImageSettings[4] = {&PageSettings::Plus, &PageSettings::Minus,
                                                              &PageSettings::Linkto, &PageSettings::Otherw};

void TreeImages(CommandContext& e) {
  PageSettings& s = e.doc.settings;
  TreeImagesDialog d(e);
  std::string* fields[4];
  for (int i = 0; i < 4; ++i) fields[i] = &(s.*kTreeImageSettings[i]);
  for (int i = 0; i < 4; ++i) d.images[i] = *fields[i];
  // The menu page's folder; before the page has one, the dialog's own
  // start folder.
  d.base_path = e.doc.MenuPageFolder();
  if (!e.notify.host().RunDialog(d)) return;
  for (int i = 0; i < 4; ++i) *fields[i] = d.images[i];
  SettingsChanged(e);
}

void BodyInsert(CommandContext& e) {
  PageSettings& s = e.doc.settings;
  BodyInsertDialog d(e);
  d.header = s.BodyHeader;
  d.footer = s.BodyFooter;
  if (!e.notify.host().RunDialog(d)) return;
  s.BodyHeader = d.header;
  s.BodyFooter = d.footer;
  e.notify.FormChanged();
  e.notify.Report(e.doc.MarkModified(1));
}

CommandId DialogOfSetting(const SettingField& setting) {
  if (setting == SettingField{&PageSettings::Speed}) return kCmdScriptOptions;
  for (auto field : kTreeImageSettings)
    if (setting == SettingField{field}) return kCmdTreeImages;
  for (auto field : {&PageSettings::BodyHeader, &PageSettings::BodyFooter})
    if (setting == SettingField{field}) return kCmdBodyInsert;
  return kCmdNone;
}

void AddTargetName(CommandContext& e) {
  TargetNameDialog d(e);
  if (!e.notify.host().RunDialog(d) || !d.Accept()) return;
  // Offered for the selected item only, until the program ends.
  e.form.added_targets.push_back(d.name);
  e.notify.FormChanged();
}

// A setting that switches between being on and off after its question (OK
// and Cancel); the value it takes each way.
struct Toggle {
  const char* to_off;  // the question while the setting is on
  const char* off_value;
  const char* to_on;
  const char* on_value;
};

void Switch(CommandContext& c, std::string& setting, bool on, const Toggle& t) {
  if (!Confirm(c, on ? t.to_off : t.to_on)) return;
  setting = sj(on ? t.off_value : t.on_value);
  SettingsChanged(c);
}

void ToggleItemTargets(CommandContext& c) {
  static const Toggle toggle = {
      "各アイテムのTARGETを無効にする\n\n右フレーム名「なし」の設定を「Frame2」に変更します。\n"
      "(「ツール」の「JavaScriptのオプション」で変更するのと同じことです)",
      "Frame2",
      "各アイテムのTARGETを有効にする\n\n右フレーム名の設定を「なし」に変更します。\n"
      "(「ツール」の「JavaScriptのオプション」で変更するのと同じことです)",
      "なし"};
  const bool on = c.doc.settings.ItemTargetsEnabled();
  if (!Confirm(c, on ? toggle.to_off : toggle.to_on)) return;
  c.doc.settings.RightFrame = RightFrameFromString(sj(on ? toggle.off_value : toggle.on_value));
  SettingsChanged(c);
}

void ToggleItemIcons(CommandContext& c) {
  static const Toggle toggle = {
      "各アイテムのリンク・アイコンを無効にする\n\nツリー画像の「リンクボタン」を「linkto.gif」に変更します。\n"
      "(「ツール」の「ツリー画像の指定」で変更するのと同じことです)",
      kLinktoImage,
      "各アイテムのリンク・アイコンを有効にする\n\nツリー画像の「リンクボタン」をブランクに変更します。\n"
      "(「ツール」の「ツリー画像の指定」でも変更するのと同じことです)",
      ""};
  Switch(c, c.doc.settings.Linkto, c.doc.settings.ItemIconsEnabled(), toggle);
}

void ToggleFrameResizable(CommandContext& c) { c.doc.frame_resizable = c.doc.frame_resizable == 0 ? 1 : 0; }

std::vector<CommandDescriptor> Descriptors() {
  return {
      {.id = kCmdAddTarget, .text = "TARGETリストに名前を追加(&A)", .undo = UndoKind::kStep,
       .enabled = AlwaysEnabled, .run = AddTargetName},
      {.id = kCmdTreeImages, .text = "ツリー画像の指定(&T)", .undo = UndoKind::kStep, .enabled = AlwaysEnabled,
       .run = TreeImages},
      {.id = kCmdScriptOptions, .text = "JavaScriptのオプション(&J)", .undo = UndoKind::kStep,
       .enabled = AlwaysEnabled, .run = ScriptOptions},
      {.id = kCmdBodyInsert, .text = "BODYタグ内の先頭と後尾の設定", .undo = UndoKind::kStep,
       .enabled = AlwaysEnabled, .run = BodyInsert},
      {.id = kCmdItemTargets, .text = "各アイテムのTARGETを有効にする", .undo = UndoKind::kStep,
       .enabled = AlwaysEnabled, .checkable = true,
       .checked = [](const CommandState& s) { return s.doc.settings.ItemTargetsEnabled(); }, .run = ToggleItemTargets},
      {.id = kCmdItemIcons, .text = "各アイテムのリンク・アイコンを有効にする", .undo = UndoKind::kStep,
       .enabled = AlwaysEnabled, .checkable = true,
       .checked = [](const CommandState& s) { return s.doc.settings.ItemIconsEnabled(); }, .run = ToggleItemIcons},
      // Not kept in the project: no step.
      {.id = kCmdFrameResizable, .text = "フレームをリサイズ可能で保存する", .undo = UndoKind::kNoStep,
       .enabled = AlwaysEnabled, .checkable = true,
       .checked = [](const CommandState& s) { return s.doc.frame_resizable == 1; }, .run = ToggleFrameResizable},
  };
}

}  // namespace option_commands
}  // namespace pomeli2
