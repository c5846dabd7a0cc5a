// HTML save and save as, the copy of the standard images, and the 2- and
// 3-pane frame sets.
#include "editor/commands/command_groups.h"
#include "editor/form/form_state.h"
#include "editor/session/services.h"
#include "editor/session/file_dialogs.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2::html_commands {
namespace {

// Writes the page; a folder that lacks a standard image the page uses gets
// a copy, so that a new page does not show broken images.
void WritePage(CommandContext& e) {
  std::string page;
  if (e.notify.Report(e.doc.WriteMenuPage(&page).problems)) return;
  Document::ImagesCopied images = e.doc.CopyMissingImages(e.services.ProgramFolder(), page);
  e.notify.Report(images.problem);
  const std::vector<std::string>& copied = images.names;
  std::string status = FillIn(kPageSavedStatus, {e.doc.settings.Path});
  std::string names;
  for (const std::string& name : copied) names += (names.empty() ? "" : sj("、")) + name;
  if (!copied.empty()) status += sj("ページが使う標準の画像がなかったのでコピーしました：") + names;
  e.notify.host().ShowStatus(status);
}

}  // namespace

void SaveHtml(CommandContext& e, bool choose_name) {
  MenuModel& m = e.doc.model;
  PageSettings& s = e.doc.settings;
  Document& doc = e.doc;
  if (e.notify.Report(doc.NoItemsToWrite())) return;
  FileDialogRequest dialog;
  dialog.filter = sj(kPageFilter);
  dialog.default_extension = "html";
  dialog.initial_name = s.Path;
  m.ClearCopyBuffer();
  if (!choose_name && s.HtmlFileName != UntitledHtml()) return WritePage(e);
  // Settings with which the menu cannot work are refused before a name is
  // asked for.
  if (e.notify.Report(doc.UnworkableSettings()) || e.notify.Report(doc.MissingBodyFiles())) return;
  auto chosen = AskForFile(e, FileKind::kPage, dialog);
  if (!chosen) return;
  doc.SetMenuPagePath(*chosen);
  e.notify.FormChanged();
  if (document_commands::KeepExistingFile(e, s.Path)) {
    s.HtmlFileName = UntitledHtml();
    return;
  }
  WritePage(e);
}

void CopyIcons(CommandContext& e) {
  std::string question = sj(
      "Pomeli Pomeli標準のアイコンファイルを\r\nHTMLの保存フォルダに5個コピーします。\r\nよろしいですか？\r\n\r\n");
  for (const char* image : kStandardImages) question += std::string(image) + "\r\n";
  if (e.notify.Message(question, sj(kConfirmTitle), MessageIcon::kInformation, MessageButtons::kOkCancel) !=
      MessageAnswer::kOk)
    return;
  if (!e.notify.Report(e.doc.CopyStandardImages(e.services.ProgramFolder())))
    e.notify.Message(sj("コピーが終了しました。"), sj(kConfirmTitle), MessageIcon::kInformation);
}

void CreateFrameSet(CommandContext& e, int panes) {
  FileDialogRequest dialog;
  dialog.filter = sj(kPageFilter);
  dialog.default_extension = "html";
  dialog.initial_name = "mainframe.html";
  auto chosen = AskForFile(e, FileKind::kFrameSet, dialog);
  if (!chosen) return;
  e.notify.FormChanged();
  if (e.notify.Report(e.doc.FrameSetNameRefused(*chosen))) return;
  if (document_commands::KeepExistingFile(e, *chosen)) return;
  e.notify.Report(e.doc.WriteFrameSet(*chosen, panes));
}

namespace {

// Frame sets and the images go beside a menu page that has its name.
bool PageSaved(const CommandState& s) { return s.doc.settings.HtmlFileName != UntitledHtml(); }

}  // namespace

std::vector<CommandDescriptor> Descriptors() {
  return {
      {.id = kCmdHtmlSave, .text = "HTMLを上書き保存(&H)", .key = "Ctrl+H", .tooltip = "HTMLの保存", .icon = "html",
       .undo = UndoKind::kNoStep, .enabled = AlwaysEnabled, .run = [](CommandContext& e) { SaveHtml(e, false); }},
      {.id = kCmdHtmlSaveAs, .text = "HTMLを名前を付けて保存(&T)", .key = "Ctrl+T", .tooltip = "名前をつけてHTMLを保存",
       .undo = UndoKind::kNoStep, .enabled = AlwaysEnabled, .run = [](CommandContext& e) { SaveHtml(e, true); }},
      {.id = kCmdFrame2, .text = "2画面フレームの作成(&I)", .key = "Ctrl+I", .tooltip = "2画面フレームの作成",
       .icon = "frame2", .undo = UndoKind::kNoStep, .enabled = PageSaved,
       .run = [](CommandContext& e) { CreateFrameSet(e, 2); }},
      {.id = kCmdFrame3, .text = "3画面フレームの作成(&J)", .key = "Ctrl+J", .tooltip = "3画面フレームの作成",
       .icon = "frame3", .undo = UndoKind::kNoStep, .enabled = PageSaved,
       .run = [](CommandContext& e) { CreateFrameSet(e, 3); }},
      {.id = kCmdIconCopy, .text = "アイコン画像のコピー(&G)", .tooltip = "アイコン画像のコピー", .icon = "images",
       .undo = UndoKind::kNoStep, .enabled = PageSaved, .run = CopyIcons},
  };
}

}  // namespace pomeli2::html_commands
