// Cut, copy and paste of whole subtrees. The buffers are marked rows of the
// item table itself; the system clipboard is not used.
#include "editor/command_groups.h"
#include "editor/editor.h"
#include "text/sjis.h"

namespace pomeli2::clipboard_commands {

void Cut(Editor& e) {
  MenuModel& m = e.Model();
  if (m.TreeHasFocus != 1) return;
  if (m.SelectedRow == 0) {
    e.Notify().Message(sj("ホームページ・ルートは切り取りできません。"), sj("切り取り確認"), MessageIcon::kWarning);
    e.Notify().FocusTree();
    return;
  }
  if (e.Notify().Message(sj("選択されたアイテム以下がすべて切り取られます。よろしいですか？"), sj("切り取り確認"),
                         MessageIcon::kWarning, MessageButtons::kYesNo) != MessageAnswer::kYes)
    return;
  int mark = m.NextCutMark();
  m.ClearCopyMarks();
  NodeId node = m.tree.Selected();
  m.MarkBatch(node, mark);
  m.tree.DeleteSubtree(node);
  e.Notify().FocusTree();
  e.Doc().MarkModified(1);
}

void Copy(Editor& e) {
  MenuModel& m = e.Model();
  if (m.TreeHasFocus != 1) return;
  if (m.SelectedRow == 0) {
    e.Notify().Message(sj("ホームページ・ルートはコピーできません。"), sj("コピー確認"), MessageIcon::kWarning);
    return;
  }
  // The copy buffer is no part of the project: a copy is no edit and no
  // step of the history.
  m.MarkCopyBatch(m.tree.Selected());
  e.Notify().FocusTree();
}

void Paste(Editor& e, bool cut_buffer) {
  MenuModel& m = e.Model();
  if (m.TreeHasFocus != 1) return;
  const BatchCounters& c = m.counters;
  if (cut_buffer ? !c.CutBufferFull() : !c.CopyBufferFull()) return;
  BatchRule rule = cut_buffer ? BatchRule::PasteCut(c) : BatchRule::PasteCopy(c);
  if (!tree_commands::RoomForItems(e, m.BatchSize(rule))) return;
  std::optional<int> last = m.ReinsertBatch(rule);
  m.SuppressSelectionRefresh = false;
  if (last) {
    const ItemTable& t = m.table;
    ItemFields& item = e.Item();
    item.bg_color = t.Cell(*last, kTextBgColor);
    item.style = t.Cell(*last, kStyle);
    item.other_button = OtherButtonText(t.Cell(*last, kOtherWindow));
    item.size = t.Cell(*last, kFontSize);
    item.link = t.Cell(*last, kLink);
    item.target = t.Cell(*last, kTarget);
    item.icon = t.Cell(*last, kIcon);
    e.Notify().FormChanged();
  }
  e.Doc().MarkModified(1);
}

namespace {

bool CutBufferFull(const CommandState& s) { return s.doc.model.counters.CutBufferFull(); }
bool CopyBufferFull(const CommandState& s) { return s.doc.model.counters.CopyBufferFull(); }

}  // namespace

std::vector<CommandDescriptor> Descriptors() {
  return {
      {.id = kCmdCut, .text = "ツリーアイテムを切り取り(&X)", .key = "Alt+X", .tooltip = "切り取り", .icon = "cut",
       .undo = UndoKind::kStep, .enabled = AlwaysEnabled, .run = Cut},
      {.id = kCmdCopy, .text = "ツリーアイテムをコピー(&C)", .key = "Alt+C", .tooltip = "コピー", .icon = "copy",
       .undo = UndoKind::kStep, .enabled = AlwaysEnabled, .run = Copy},
      {.id = kCmdPasteCut, .text = "切り取ったツリーアイテムを貼り付け(&V)", .key = "Alt+V", .tooltip = "貼り付け",
       .icon = "paste", .undo = UndoKind::kStep, .enabled = CutBufferFull,
       .run = [](Editor& e) { Paste(e, true); }},
      {.id = kCmdPasteCopy, .text = "コピーしたツリーアイテムを貼り付け(&P)", .key = "Alt+P", .tooltip = "貼り付け",
       .icon = "paste", .undo = UndoKind::kStep, .enabled = CopyBufferFull,
       .run = [](Editor& e) { Paste(e, false); }},
  };
}

}  // namespace pomeli2::clipboard_commands
