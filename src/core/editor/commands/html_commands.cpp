// HTML save and save as, the copy of the standard images, the 2- and
// 3-pane frame sets, and the menu put into a site's pages.
#include "editor/commands/command_groups.h"
#include "editor/form/form_state.h"
#include "editor/session/services.h"
#include "editor/session/file_dialogs.h"
#include "generate/site.h"
#include "io/file_io.h"
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

std::string RefusalText(const PageRefusal& refusal) {
  switch (refusal.kind) {
    case PageRefusal::kUtf16: return sj("UTF-16のページには組み込めません。");
    case PageRefusal::kEncoding: return FillIn("文字コード「%1」には対応していません（UTF-8かShift_JIS）。", {refusal.encoding});
    case PageRefusal::kUndeclared: return sj("文字コードの宣言がなく、UTF-8としても読めません。");
  }
  return {};
}

}  // namespace

namespace {

// After the site's folder is chosen (and kept).
void WriteIntoSite(CommandContext& e, const std::string& chosen) {
  const PageSettings& s = e.doc.settings;
  Notifier& n = e.notify;
  const std::string site = SiteFolderOf(s);
  auto survey = SurveySite(site);
  if (!survey) {
    n.Message(FillIn("フォルダ「%1」を読めません。", {chosen}), sj(kErrorTitle), MessageIcon::kError);
    return;
  }
  if (survey->marked == 0) {
    n.Message(FillIn("フォルダ「%1」には、idが「pomeli2-menu」の要素を持つページがありません。\n"
                     "メニューを置く場所に<nav id=\"pomeli2-menu\"></nav>を書いてください。",
                     {chosen}),
              sj(kConfirmTitle), MessageIcon::kInformation);
    return;
  }
  if (n.Message(FillIn("フォルダ「%1」の%2個のページのうち、メニューの場所を持つ%3個のページにメニューを組み込みます。\n"
                       "よろしいですか？",
                       {chosen, std::to_string(survey->pages), std::to_string(survey->marked)}),
                sj(kConfirmTitle), MessageIcon::kQuestion, MessageButtons::kOkCancel) != MessageAnswer::kOk)
    return;
  SiteOptions options{site, SystemPath(s.Path).value_or(SjisToUtf8Lossy(s.Path)), "", {}};
  const std::string preparing = sj("ページを用意しています..."), writing = sj("ページを書き込んでいます...");
  options.progress = [&](size_t done, size_t total) {
    return n.host().Progress(done < total ? preparing : writing, done, total);
  };
  auto result = PutMenuIntoSite(s, e.doc.model.tree, options, &*survey);
  n.host().EndProgress();
  if (const auto* refused = std::get_if<std::string>(&result)) {
    n.Message(FillIn("フォルダ「%1」にメニューを組み込めません。\n%2", {chosen, *refused}), sj(kErrorTitle),
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

}  // namespace

CommandOutcome PutIntoSite(CommandContext& e) {
  PageSettings& s = e.doc.settings;
  if (e.notify.Report(e.doc.NoItemsToWrite()) || e.notify.Report(e.doc.UnworkableSettings())) return {};
  auto chosen = e.notify.host().FolderDialog(sj("サイトのフォルダの選択"), s.Site.empty() ? e.doc.MenuPageFolder() : s.Site);
  if (!chosen || chosen->empty()) return {};
  const bool changed = *chosen != s.Site;
  if (changed) {
    s.Site = *chosen;
    e.notify.Report(e.doc.MarkModified(1));
  }
  WriteIntoSite(e, *chosen);
  // The folder is the project's, though no step: undo and redo leave it.
  return changed ? CommandOutcome{CommandOutcome::Kind::kKeptSetting} : CommandOutcome{};
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
      {.id = kCmdSite, .text = "サイトに組み込む(&W)...", .tooltip = "サイトのページにメニューを組み込む",
       .undo = UndoKind::kNoStep, .enabled = PageSaved, .run = PutIntoSite},
      {.id = kCmdIconCopy, .text = "アイコン画像のコピー(&G)", .tooltip = "アイコン画像のコピー", .icon = "images",
       .undo = UndoKind::kNoStep, .enabled = PageSaved, .run = CopyIcons},
  };
}

}  // namespace pomeli2::html_commands
