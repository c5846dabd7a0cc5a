// A host that records every message and answers from a prepared list, so a
// user session can be replayed without a display.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include <functional>

#include "editor/dialogs/dialogs.h"
#include "editor/view/host.h"
#include "text/sjis.h"

namespace pomeli2::testing {

struct Message {
  std::string text, title;  // as UTF-8, for readable assertions
  MessageIcon icon;
  MessageButtons buttons;
  std::optional<MessageAnswer> default_answer;
};

class ScriptedHost : public Host {
 public:
  std::vector<Message> messages;
  std::deque<MessageAnswer> answers;
  // Answers of the file dialogs, in order; nothing (cancel) when empty.
  std::deque<std::optional<std::string>> files;
  std::vector<FileDialogRequest> dialogs;
  // Answers of the colour dialogs (0xRRGGBB), in order; cancel when empty.
  std::deque<std::optional<unsigned>> colours;
  // What the user does in each kind of dialog; true for OK. Cancel when unset.
  std::function<bool(BulkChangeDialog&)> bulk;
  std::function<bool(ScriptOptionsDialog&)> script_options;
  std::function<bool(TreeImagesDialog&)> tree_images;
  std::function<bool(BodyInsertDialog&)> body_insert;
  std::function<bool(TargetNameDialog&)> target_name;
  int beeps = 0;
  int refreshes = 0;
  int tree_rebuilds = 0;
  int inserted = 0, removed = 0, relabelled = 0, selections = 0, control_updates = 0;
  std::vector<NodeId> label_edits;
  std::vector<std::string> opened;  // URLs the editor opened
  std::vector<std::vector<CheckProblem>> checks;  // what each check showed
  std::vector<int> focused_controls;
  std::vector<std::string> statuses;  // status-bar notes, as UTF-8
  // What the user does while a message is up (the box took the keyboard).
  std::function<void(const Message&)> on_message;
  // A rename box still open: ends it with what was typed there.
  std::function<void()> open_label_edit;

  MessageAnswer MessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                           MessageButtons buttons, std::optional<MessageAnswer> default_answer) override {
    messages.push_back({SjisToUtf8Lossy(text), SjisToUtf8Lossy(title), icon, buttons, default_answer});
    if (on_message) on_message(messages.back());
    if (answers.empty()) return buttons == MessageButtons::kYesNo ? MessageAnswer::kYes : MessageAnswer::kOk;
    MessageAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  void ShowStatus(const std::string& text) override { statuses.push_back(SjisToUtf8Lossy(text)); }
  std::optional<std::string> FileDialog(const FileDialogRequest& request) override {
    dialogs.push_back(request);
    if (files.empty()) return std::nullopt;
    std::optional<std::string> chosen = files.front();
    files.pop_front();
    return chosen;
  }
  std::optional<unsigned> ColourDialog(unsigned, CustomColours& custom) override {
    custom.rgb[0] = 0x123456;  // the user keeps a custom colour
    if (colours.empty()) return std::nullopt;
    std::optional<unsigned> chosen = colours.front();
    colours.pop_front();
    return chosen;
  }
  bool RunDialog(BulkChangeDialog& d) override { return bulk && bulk(d); }
  bool RunDialog(ScriptOptionsDialog& d) override { return script_options && script_options(d); }
  bool RunDialog(TreeImagesDialog& d) override { return tree_images && tree_images(d); }
  bool RunDialog(BodyInsertDialog& d) override { return body_insert && body_insert(d); }
  bool RunDialog(TargetNameDialog& d) override { return target_name && target_name(d); }
  void OpenUrl(const std::string& url) override { opened.push_back(url); }
  // Whether the print dialog is left with OK, so that pages are drawn.
  bool print_accepted = false;
  bool Print(PrintKind kind) override { return kind != PrintKind::kSetup && print_accepted; }
  void ShowCheckResults(const std::vector<CheckProblem>& problems) override { checks.push_back(problems); }
  // The folder dialogs' answers, in order (cancel when empty); the folder
  // each started at.
  std::deque<std::string> folders;
  std::vector<std::string> folder_starts;
  std::optional<std::string> FolderDialog(const std::string&, const std::string& initial) override {
    folder_starts.push_back(initial);
    if (folders.empty()) return std::nullopt;
    std::string chosen = folders.front();
    folders.pop_front();
    return chosen;
  }
  // The progress steps shown; the user stops at `stop_at` steps.
  std::vector<std::pair<size_t, size_t>> progress;
  size_t stop_at = SIZE_MAX;
  bool Progress(const std::string&, size_t done, size_t total) override {
    progress.emplace_back(done, total);
    return progress.size() < stop_at;
  }
  std::string site_summary;  // UTF-8
  std::vector<SiteRow> site_rows;
  void ShowSiteReport(const std::string& summary, const std::vector<SiteRow>& rows) override {
    site_summary = SjisToUtf8Lossy(summary);
    site_rows = rows;
  }
  void FocusControl(int control) override { focused_controls.push_back(control); }
  void Beep() override { ++beeps; }
  void RefreshForm() override { ++refreshes; }
  void TreeRebuilt() override { ++tree_rebuilds; }
  void ItemInserted(NodeId) override { ++inserted; }
  void ItemRemoved(NodeId) override { ++removed; }
  void ItemLabelChanged(NodeId) override { ++relabelled; }
  void SelectionChanged(NodeId) override { ++selections; }
  void ControlStatesChanged() override { ++control_updates; }
  void StartLabelEdit(NodeId node) override { label_edits.push_back(node); }
  void FinishLabelEdit() override {
    if (auto box = std::exchange(open_label_edit, nullptr)) box();
  }
};

}  // namespace pomeli2::testing
