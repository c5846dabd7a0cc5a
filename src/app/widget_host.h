// The editor's host on the screen: message boxes, file dialogs, and the
// notifications that keep the window in step with the core.
#pragma once

#include <functional>
#include <memory>

#include <QProgressDialog>
#include <QString>

#include "editor/view/host.h"

namespace pomeli2 {

class MainWindow;

class WidgetHost : public Host {
 public:
  using MessageFn = std::function<MessageAnswer(const std::string& text, const std::string& title, MessageIcon,
                                                MessageButtons)>;
  using FileDialogFn = std::function<std::optional<std::string>(const FileDialogRequest&)>;
  explicit WidgetHost(MainWindow& window) : window_(window) {}
  // Tests answer the messages and the file dialogs themselves.
  void SetMessageFunction(MessageFn fn) { message_fn_ = std::move(fn); }
  void SetFileDialogFunction(FileDialogFn fn) { file_dialog_fn_ = std::move(fn); }
  using ColourFn = std::function<std::optional<unsigned>(unsigned)>;
  void SetColourDialogFunction(ColourFn fn) { colour_fn_ = std::move(fn); }

  MessageAnswer MessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                           MessageButtons buttons, std::optional<MessageAnswer> default_answer) override;
  std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> FolderDialog(const std::string& title, const std::string& initial) override;
  using FolderDialogFn = std::function<std::optional<std::string>(const std::string& initial)>;
  void SetFolderDialogFunction(FolderDialogFn fn) { folder_dialog_fn_ = std::move(fn); }
  bool Progress(const std::string& text, size_t done, size_t total) override;
  void EndProgress() override;
  void ShowSiteReport(const std::string& summary, const std::vector<SiteRow>& rows) override;
  void Beep() override;
  void RefreshForm() override;
  void ControlStatesChanged() override;
  void TreeRebuilt() override;
  void TreeRestored(const MenuTree::Changes& changes) override;
  void ItemInserted(NodeId node) override;
  void ItemRemoved(NodeId node) override;
  void ItemLabelChanged(NodeId node) override;
  void ItemMoved(NodeId node) override;
  void SelectionChanged(NodeId node) override;
  void TreeColoursChanged() override;
  void StartLabelEdit(NodeId node) override;
  void FinishLabelEdit() override;
  void FocusTree() override;
  void ShowStatus(const std::string& text) override;
  std::optional<unsigned> ColourDialog(unsigned initial, CustomColours& custom) override;
  bool RunDialog(BulkChangeDialog& dialog) override;
  bool RunDialog(ScriptOptionsDialog& dialog) override;
  bool RunDialog(TreeImagesDialog& dialog) override;
  bool RunDialog(BodyInsertDialog& dialog) override;
  bool RunDialog(TargetNameDialog& dialog) override;
  bool Print(PrintKind kind) override;
  void OpenUrl(const std::string& url) override;
  // Tests see the URL instead of a browser.
  void SetOpenUrlFunction(std::function<void(const std::string&)> fn) { open_url_fn_ = std::move(fn); }
  void ShowHelp() override;
  void ShowFindBar() override;
  void FindAgain(bool forward) override;
  void ShowCheckResults(const std::vector<CheckProblem>& problems) override;
  void CheckChanged() override;
  void FocusControl(int control) override;
  void ShowAbout() override;
  void RequestClose() override;
  void ToggleToolbar() override;

 private:
  MainWindow& window_;
  MessageFn message_fn_;
  FileDialogFn file_dialog_fn_;
  FolderDialogFn folder_dialog_fn_;
  std::unique_ptr<QProgressDialog> progress_;
  ColourFn colour_fn_;
  std::function<void(const std::string&)> open_url_fn_;
};

}  // namespace pomeli2
