// HTML save and save as, the copy of the standard images, the 2- and
// 3-pane frame sets, and the menu put into a site's pages.
#include "editor/command_groups.h"
#include "editor/editor.h"
#include "editor/file_dialogs.h"
#include "generate/site.h"
#include "io/file_io.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2::html_commands {
namespace {

// Writes the page; a folder that lacks a standard image the page uses gets
// a copy, so that a new page does not show broken images.
void WritePage(Editor& e) {
  std::string page;
  if (e.Doc().WriteMenuPage(&page) != Document::PageWrite::kWritten) return;
  std::vector<std::string> copied = e.Doc().CopyMissingImages(e.ProgramFolder(), page);
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
  if (!doc.HasItemsToWrite()) return;
  FileDialogRequest dialog;
  dialog.filter = sj(kPageFilter);
  dialog.default_extension = "html";
  dialog.initial_name = s.Path;
  m.ClearCopyBuffer();
  if (!choose_name && s.HtmlFileName != UntitledHtml()) return WritePage(e);
  // Settings with which the menu cannot work are refused before a name is
  // asked for.
  if (doc.RefuseUnworkableSettings() || doc.RefuseMissingBodyFiles()) return;
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
  if (e.Doc().CopyStandardImages(e.ProgramFolder()))
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
  if (e.Doc().FrameSetNameRefused(*chosen)) return;
  if (document_commands::KeepExistingFile(e, *chosen)) return;
  e.Doc().WriteFrameSet(*chosen, panes);
}

namespace {

std::string RefusalText(const PageRefusal& refusal) {
  switch (refusal.kind) {
    case PageRefusal::kUtf16: return sj("UTF-16のページには組み込めません。");
    case PageRefusal::kEncoding: return FillIn("文字コード「%1」には対応していません（UTF-8かShift_JIS）。", {refusal.encoding});
    case PageRefusal::kUndeclared: return sj("文字コードの宣言がなく、UTF-8としても読めません。");
  }
  return {};
}

}  // namespace

void PutIntoSite(Editor& e) {
  Document& doc = e.Doc();
  const PageSettings& s = e.Settings();
  Notifier& n = e.Notify();
  if (!doc.HasItemsToWrite() || doc.RefuseUnworkableSettings()) return;
  auto chosen = n.host().FolderDialog(sj("サイトのフォルダの選択"), s.Site.empty() ? doc.MenuPageFolder() : s.Site);
  if (!chosen || chosen->empty()) return;
  if (*chosen != s.Site) e.SetSiteFolder(*chosen);
  const std::string site = SiteFolderOf(s);
  const auto survey = SurveySite(site);
  if (!survey) {
    n.Message(FillIn("フォルダ「%1」を読めません。", {*chosen}), sj(kErrorTitle), MessageIcon::kError);
    return;
  }
  if (survey->marked == 0) {
    n.Message(FillIn("フォルダ「%1」には、idが「pomeli2-menu」の要素を持つページがありません。\n"
                     "メニューを置く場所に<nav id=\"pomeli2-menu\"></nav>を書いてください。",
                     {*chosen}),
              sj(kConfirmTitle), MessageIcon::kInformation);
    return;
  }
  if (n.Message(FillIn("フォルダ「%1」の%2個のページのうち、メニューの場所を持つ%3個のページにメニューを組み込みます。\n"
                       "よろしいですか？",
                       {*chosen, std::to_string(survey->pages), std::to_string(survey->marked)}),
                sj(kConfirmTitle), MessageIcon::kQuestion, MessageButtons::kOkCancel) != MessageAnswer::kOk)
    return;
  SiteOptions options{site, SystemPath(s.Path).value_or(SjisToUtf8Lossy(s.Path)), "", {}};
  const std::string preparing = sj("ページを用意しています...");
  options.progress = [&](size_t done, size_t total) { return n.host().Progress(preparing, done, total); };
  auto result = PutMenuIntoSite(s, e.Model().tree, options);
  n.host().EndProgress();
  if (const auto* refused = std::get_if<std::string>(&result)) {
    n.Message(FillIn("フォルダ「%1」にメニューを組み込めません。\n%2", {*chosen, *refused}), sj(kErrorTitle),
              MessageIcon::kError);
    return;
  }
  const SiteReport& report = std::get<SiteReport>(result);
  if (report.cancelled) {
    n.host().ShowStatus(sj("サイトへの組み込みを中止しました。ページは書き換えていません。"));
    return;
  }
  std::vector<Host::SiteRow> rows;
  auto add = [&](const std::string& page, std::string what) {
    rows.push_back({Utf8ToSjis(page).value_or(page), std::move(what)});
  };
  for (const std::string& page : report.failed) add(page, sj("書き込めません。元のままです。"));
  for (const auto& [page, why] : report.refused) add(page, sj("元のままです：") + RefusalText(why));
  for (const std::string& page : report.written) add(page, sj("メニューを組み込みました。"));
  for (const std::string& page : report.unchanged) add(page, sj("変更はありません。"));
  n.host().ShowSiteReport(
      FillIn("書き込み%1、変更なし%2、組み込めないページ%3、書き込めないファイル%4。",
             {std::to_string(report.written.size()), std::to_string(report.unchanged.size()),
              std::to_string(report.refused.size()), std::to_string(report.failed.size())}),
      rows);
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
      {.id = kCmdSite, .text = "サイトに組み込む(&W)...", .tooltip = "サイトのページにメニューを組み込む",
       .undo = UndoKind::kNoStep, .enabled = PageSaved, .run = PutIntoSite},
      {.id = kCmdIconCopy, .text = "アイコン画像のコピー(&G)", .tooltip = "アイコン画像のコピー", .icon = "images",
       .undo = UndoKind::kNoStep, .enabled = PageSaved, .run = CopyIcons},
  };
}

}  // namespace pomeli2::html_commands
