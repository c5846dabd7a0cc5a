#include "widget_host.h"

#include <algorithm>
#include <climits>

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QUrl>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>

#include "menu_tree_view.h"

#include "editor/session/file_dialogs.h"
#include "form_widget.h"
#include "main_window.h"
#include "option_dialogs.h"
#include "text/catalogue.h"
#include "text/sjis.h"
#include "text_border.h"

namespace pomeli2 {
namespace {

// "label|patterns|label|patterns||" as Qt's "label (pattern pattern);;…".
QStringList NameFilters(const QString& filter) {
  QStringList parts = filter.split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    for (QString& p : patterns) p = p.trimmed();
    filters << parts[i] + " (" + patterns.join(' ') + ")";
  }
  return filters;
}

}  // namespace

MessageAnswer WidgetHost::MessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                                     MessageButtons buttons, std::optional<MessageAnswer> default_answer) {
  if (message_fn_) return message_fn_(text, title, icon, buttons);
  QMessageBox box(&window_);
  box.setWindowTitle(ToQt(title));
  box.setText(ToQt(text));
  switch (icon) {
    case MessageIcon::kInformation: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::kWarning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::kError: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::kQuestion: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::kNone: break;
  }
  switch (buttons) {
    case MessageButtons::kOk: box.setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::kOkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MessageButtons::kYesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
  }
  if (default_answer) {
    switch (*default_answer) {
      case MessageAnswer::kOk: box.setDefaultButton(QMessageBox::Ok); break;
      case MessageAnswer::kCancel: box.setDefaultButton(QMessageBox::Cancel); break;
      case MessageAnswer::kYes: box.setDefaultButton(QMessageBox::Yes); break;
      case MessageAnswer::kNo: box.setDefaultButton(QMessageBox::No); break;
    }
  }
  switch (box.exec()) {
    case QMessageBox::Yes: return MessageAnswer::kYes;
    case QMessageBox::No: return MessageAnswer::kNo;
    case QMessageBox::Cancel: return MessageAnswer::kCancel;
    default: return buttons == MessageButtons::kYesNo ? MessageAnswer::kNo : MessageAnswer::kOk;
  }
}

std::optional<std::string> WidgetHost::FileDialog(const FileDialogRequest& request) {
  if (file_dialog_fn_) return file_dialog_fn_(request);
  const bool open = request.kind == FileDialogRequest::Kind::kOpen;
  QFileDialog dialog(&window_);
  dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(request.must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // The commands ask about replacing a file themselves.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  const QStringList filters = NameFilters(ToQt(request.filter));
  dialog.setNameFilters(filters);
  // The editor adds the extension: the dialog's own default suffix is left
  // out when a folder of the name stands in the program's working folder.
  QFileInfo initial(ToQt(request.initial_name));
  if (ToQt(request.initial_name).contains('/')) dialog.setDirectory(initial.absolutePath());
  if (!initial.fileName().contains('*')) dialog.selectFile(initial.fileName());
  for (;;) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    if (auto path = FromQt(dialog.selectedFiles().first()))
      return WithDialogExtension(request, *path, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    MessageBox(sj("シフトJISで表せない文字を含むファイル名は使えません。"), sj(kFileErrorTitle), MessageIcon::kWarning,
               MessageButtons::kOk, std::nullopt);
  }
}

std::optional<std::string> WidgetHost::FolderDialog(const std::string& title, const std::string& initial) {
  if (folder_dialog_fn_) return folder_dialog_fn_(initial);
  for (;;) {
    const QString chosen = QFileDialog::getExistingDirectory(&window_, ToQt(title), ToQt(initial));
    if (chosen.isEmpty()) return std::nullopt;
    if (auto path = FromQt(chosen)) return path;
    MessageBox(sj("シフトJISで表せない文字を含むファイル名は使えません。"), sj(kFileErrorTitle), MessageIcon::kWarning,
               MessageButtons::kOk, std::nullopt);
  }
}

bool WidgetHost::Progress(const std::string& text, size_t done, size_t total) {
  if (!progress_) {
    progress_ = std::make_unique<QProgressDialog>(&window_);
    progress_->setObjectName("progress");
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setCancelButtonText(Ui("中止"));
    progress_->setMinimumDuration(300);
    progress_->setAutoReset(false);
  }
  progress_->setLabelText(ToQt(text));
  progress_->setMaximum(static_cast<int>(std::min<size_t>(total, INT_MAX)));
  // A modal progress takes the window's events as its value moves.
  progress_->setValue(static_cast<int>(std::min<size_t>(done, INT_MAX)));
  if (done >= total) {
    // What follows cannot be stopped and may take long on a busy disk; the
    // window takes no events until it ends, so it is painted now.
    progress_->setCancelButton(nullptr);
    progress_->show();
    progress_->repaint();
  }
  return !progress_->wasCanceled();
}

void WidgetHost::EndProgress() { progress_.reset(); }

void WidgetHost::ShowSiteReport(const std::string& summary, const std::vector<SiteRow>& rows) {
  window_.ShowSiteReport(summary, rows);
}

std::optional<unsigned> WidgetHost::ColourDialog(unsigned initial, CustomColours& custom) {
  if (colour_fn_) return colour_fn_(initial);
  for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, QColor::fromRgb(custom.rgb[i]));
  QColor chosen = QColorDialog::getColor(QColor::fromRgb(initial), &window_);
  for (int i = 0; i < 16; ++i) custom.rgb[i] = QColorDialog::customColor(i).rgb() & 0xFFFFFFu;
  if (!chosen.isValid()) return std::nullopt;
  return chosen.rgb() & 0xFFFFFFu;
}

bool WidgetHost::RunDialog(BulkChangeDialog& d) { return BulkDialog(d, &window_).exec() == QDialog::Accepted; }
bool WidgetHost::RunDialog(ScriptOptionsDialog& d) {
  return ScriptOptionsWindow(d, &window_).exec() == QDialog::Accepted;
}
bool WidgetHost::RunDialog(TreeImagesDialog& d) { return TreeImagesWindow(d, &window_).exec() == QDialog::Accepted; }
bool WidgetHost::RunDialog(BodyInsertDialog& d) { return BodyInsertWindow(d, &window_).exec() == QDialog::Accepted; }
bool WidgetHost::RunDialog(TargetNameDialog& d) { return TargetNameWindow(d, &window_).exec() == QDialog::Accepted; }

void WidgetHost::Beep() { QApplication::beep(); }
void WidgetHost::RefreshForm() { window_.Form().Refresh(); }
void WidgetHost::ControlStatesChanged() {
  window_.Form().ApplyEnabled();
  window_.UpdateCommands();
  window_.Form().RefreshFindBar();
}
void WidgetHost::TreeRebuilt() { window_.Form().Tree()->RebuildTree(); }
void WidgetHost::TreeRestored(const MenuTree::Changes& changes) { window_.Form().Tree()->ApplyTreeChanges(changes); }
void WidgetHost::ItemInserted(NodeId node) { window_.Form().Tree()->InsertItem(node); }
void WidgetHost::ItemRemoved(NodeId node) { window_.Form().Tree()->RemoveItem(node); }
void WidgetHost::ItemLabelChanged(NodeId node) { window_.Form().Tree()->ShowLabel(node); }
void WidgetHost::ItemMoved(NodeId node) { window_.Form().Tree()->MoveItem(node); }
void WidgetHost::SelectionChanged(NodeId node) { window_.Form().Tree()->ShowSelection(node); }
void WidgetHost::TreeColoursChanged() { window_.Form().ApplyTreeColours(); }
void WidgetHost::StartLabelEdit(NodeId node) { window_.Form().Tree()->EditLabel(node); }
void WidgetHost::FinishLabelEdit() { window_.Form().Tree()->FinishLabelEdit(); }
void WidgetHost::FocusTree() { window_.Form().FocusTree(); }
void WidgetHost::ShowStatus(const std::string& text) { window_.statusBar()->showMessage(ToQt(text), 15000); }
bool WidgetHost::Print(PrintKind kind) { return window_.Print(kind); }
void WidgetHost::OpenUrl(const std::string& url) {
  if (open_url_fn_) return open_url_fn_(url);
  QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}
void WidgetHost::ShowHelp() { window_.ShowHelp(); }
void WidgetHost::ShowFindBar() { window_.Form().ShowFindBar(); }
void WidgetHost::FindAgain(bool forward) { window_.Form().FindAgain(forward); }
void WidgetHost::ShowCheckResults(const std::vector<CheckProblem>&) { window_.ShowCheckResults(true); }

void WidgetHost::CheckChanged() { window_.ShowCheckResults(false); }
void WidgetHost::FocusControl(int control) {
  if (QWidget* w = window_.Form().Control(control)) w->setFocus(Qt::OtherFocusReason);
}
void WidgetHost::ToggleToolbar() { window_.ToggleToolbar(); }
void WidgetHost::ShowAbout() { window_.ShowAbout(); }
// Closed once the command that asked has returned.
void WidgetHost::RequestClose() { QTimer::singleShot(0, &window_, &QWidget::close); }

}  // namespace pomeli2
