// HTML save and save as, the copy of the standard images, and the 2- and
// 3-pane frame sets.
#include "editor/command_groups.h"
#include "editor/editor.h"
#include "editor/file_dialogs.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2::html_commands {
namespace {

// Writes the page; a folder that lacks a standard image the page uses gets
// a copy, so that a new page does not show broken images.
void WritePage(Editor& e) {
  std::string page;
  if (e.Notify().Report(e.Doc().WriteMenuPage(&page).problems)) return;
  Document::ImagesCopied images = e.Doc().CopyMissingImages(e.ProgramFolder(), page);
  e.Notify().Report(images.problem);
  const std::vector<std::string>& copied = images.names;
  std::string status = FillIn(kPageSavedStatus, {e.Settings().Path});
  std::string names;
  for (const std::string& name : copied) names += (names.empty() ? "" : sj("、")) + name;
  if (!copied.empty()) status += sj("ページが使う標準の画像がなかったのでコピーしました：") + names;
  e.Notify().host().ShowStatus(status);
}

}  // namespace

void SaveHtml(Editor& e, bool choose_name) {
  MenuModel& m = e.Model();
  PageSettings& s = e.Settings();
  Document& doc = e.Doc();
  if (e.Notify().Report(doc.NoItemsToWrite())) return;
  FileDialogRequest dialog;
  dialog.filter = sj(kPageFilter);
  dialog.default_extension = "html";
  dialog.initial_name = s.Path;
  m.ClearCopyBuffer();
  if (!choose_name && s.HtmlFileName != UntitledHtml()) return WritePage(e);
  // Settings with which the menu cannot work are refused before a name is
  // asked for.
  if (e.Notify().Report(doc.UnworkableSettings()) || e.Notify().Report(doc.MissingBodyFiles())) return;
  auto chosen = AskForFile(e, FileKind::kPage, dialog);
  if (!chosen) return;
  doc.SetMenuPagePath(*chosen);
  e.Notify().FormChanged();
  if (document_commands::KeepExistingFile(e, s.Path)) {
    s.HtmlFileName = UntitledHtml();
    return;
  }
  WritePage(e);
}

void CopyIcons(Editor& e) {
  std::string question = sj(
      "Pomeli Pomeli標準のアイコンファイルを\r\nHTMLの保存フォルダに5個コピーします。\r\nよろしいですか？\r\n\r\n");
  for (const char* image : kStandardImages) question += std::string(image) + "\r\n";
  if (e.Notify().Message(question, sj(kConfirmTitle), MessageIcon::kInformation, MessageButtons::kOkCancel) !=
      MessageAnswer::kOk)
    return;
  if (!e.Notify().Report(e.Doc().CopyStandardImages(e.ProgramFolder())))
    e.Notify().Message(sj("コピーが終了しました。"), sj(kConfirmTitle), MessageIcon::kInformation);
}

void CreateFrameSet(Editor& e, int panes) {
  FileDialogRequest dialog;
  dialog.filter = sj(kPageFilter);
  dialog.default_extension = "html";
  dialog.initial_name = "mainframe.html";
  auto chosen = AskForFile(e, FileKind::kFrameSet, dialog);
  if (!chosen) return;
  e.Notify().FormChanged();
  if (e.Notify().Report(e.Doc().FrameSetNameRefused(*chosen))) return;
  if (document_commands::KeepExistingFile(e, *chosen)) return;
  e.Notify().Report(e.Doc().WriteFrameSet(*chosen, panes));
}

namespace {

// Frame sets and the images go beside a menu page that has its name.
bool PageSaved(const CommandState& s) { return s.doc.settings.HtmlFileName != UntitledHtml(); }

}  // namespace

std::vector<CommandDescriptor> Descriptors() {
  return {
      {.id = kCmdHtmlSave, .text = "HTMLを上書き保存(&H)", .key = "Ctrl+H", .tooltip = "HTMLの保存", .icon = "html",
       .undo = UndoKind::kNoStep, .enabled = AlwaysEnabled, .run = [](Editor& e) { SaveHtml(e, false); }},
      {.id = kCmdHtmlSaveAs, .text = "HTMLを名前を付けて保存(&T)", .key = "Ctrl+T", .tooltip = "名前をつけてHTMLを保存",
       .undo = UndoKind::kNoStep, .enabled = AlwaysEnabled, .run = [](Editor& e) { SaveHtml(e, true); }},
      {.id = kCmdFrame2, .text = "2画面フレームの作成(&I)", .key = "Ctrl+I", .tooltip = "2画面フレームの作成",
       .icon = "frame2", .undo = UndoKind::kNoStep, .enabled = PageSaved,
       .run = [](Editor& e) { CreateFrameSet(e, 2); }},
      {.id = kCmdFrame3, .text = "3画面フレームの作成(&J)", .key = "Ctrl+J", .tooltip = "3画面フレームの作成",
       .icon = "frame3", .undo = UndoKind::kNoStep, .enabled = PageSaved,
       .run = [](Editor& e) { CreateFrameSet(e, 3); }},
      {.id = kCmdIconCopy, .text = "アイコン画像のコピー(&G)", .tooltip = "アイコン画像のコピー", .icon = "images",
       .undo = UndoKind::kNoStep, .enabled = PageSaved, .run = CopyIcons},
  };
}

}  // namespace pomeli2::html_commands
