// Cut, copy and paste of whole subtrees. The buffers are the menu's own
// (MenuModel); the system clipboard is not used.
#include "editor/commands/command_groups.h"
#include "editor/form/form_state.h"
#include "editor/session/services.h"
#include "text/sjis.h"

namespace pomeli2::clipboard_commands {

void Cut(CommandContext& e) {
  MenuModel& m = e.doc.model;
  if (!e.notify.TreeHasFocus()) return;
  if (m.RootSelected()) {
    e.notify.Message(sj("ホームページ・ルートは切り取りできません。"), sj("切り取り確認"), MessageIcon::kWarning);
    e.notify.FocusTree();
    return;
  }
  if (e.notify.Message(sj("選択されたアイテム以下がすべて切り取られます。よろしいですか？"), sj("切り取り確認"),
                         MessageIcon::kWarning, MessageButtons::kYesNo) != MessageAnswer::kYes)
    return;
  m.Cut(m.Selected());
  e.notify.FocusTree();
  e.notify.Report(e.doc.MarkModified(1));
}

void Copy(CommandContext& e) {
  MenuModel& m = e.doc.model;
  if (!e.notify.TreeHasFocus()) return;
  if (m.RootSelected()) {
    e.notify.Message(sj("ホームページ・ルートはコピーできません。"), sj("コピー確認"), MessageIcon::kWarning);
    return;
  }
  // The copy buffer is no part of the project: a copy is no edit and no
  // step of the history.
  m.Copy(m.Selected());
  e.notify.FocusTree();
}

void Paste(CommandContext& e, bool cut_buffer) {
  MenuModel& m = e.doc.model;
  if (!e.notify.TreeHasFocus()) return;
  if (cut_buffer ? !m.CutBufferFull() : !m.CopyBufferFull()) return;
  // The copied items as they are now; the paste may go into their subtree.
  const Clip clip = cut_buffer ? m.CutItems() : m.CopiedItems();
  if (!tree_commands::RoomForItems(e, static_cast<int>(clip.size()))) return;
  // The last item pasted is the selected one: the form shows its values.
  if (m.Paste(clip)) e.notify.FormChanged();
  e.notify.Report(e.doc.MarkModified(1));
}

namespace {

bool CutBufferFull(const CommandState& s) { return s.doc.model.CutBufferFull(); }
bool CopyBufferFull(const CommandState& s) { return s.doc.model.CopyBufferFull(); }

}  // namespace

std::vector<CommandDescriptor> Descriptors() {
  return {
      {.id = kCmdCut, .text = "ツリーアイテムを切り取り(&X)", .key = "Alt+X", .tooltip = "切り取り", .icon = "cut",
       .undo = UndoKind::kStep, .enabled = AlwaysEnabled, .run = Cut},
      {.id = kCmdCopy, .text = "ツリーアイテムをコピー(&C)", .key = "Alt+C", .tooltip = "コピー", .icon = "copy",
       .undo = UndoKind::kStep, .enabled = AlwaysEnabled, .run = Copy},
      {.id = kCmdPasteCut, .text = "切り取ったツリーアイテムを貼り付け(&V)", .key = "Alt+V", .tooltip = "貼り付け",
       .icon = "paste", .undo = UndoKind::kStep, .enabled = CutBufferFull,
       .run = [](CommandContext& e) { Paste(e, true); }},
      {.id = kCmdPasteCopy, .text = "コピーしたツリーアイテムを貼り付け(&P)", .key = "Alt+P", .tooltip = "貼り付け",
       .icon = "paste", .undo = UndoKind::kStep, .enabled = CopyBufferFull,
       .run = [](CommandContext& e) { Paste(e, false); }},
  };
}

}  // namespace pomeli2::clipboard_commands
