// The menu tree and the item table kept in step, with the batch counters and
// the walks that number, mark and re-create rows.
#pragma once

#include <functional>
#include <optional>

#include "model/counters.h"
#include "model/item_table.h"
#include "model/menu_tree.h"

namespace pomeli2 {

// Which rows form a batch for ReinsertBatch, and in which order they come.
struct BatchRule {
  Col mark_column;
  int mark;
  Col order_column;
  bool skip_depth_zero;

  static BatchRule PasteCut(const BatchCounters& c) { return {kSeq, c.CutCounter, kChild, false}; }
  static BatchRule PasteCopy(const BatchCounters& c) { return {kChild, c.CopyCounter, kSeq, false}; }
  static BatchRule MoveNeighbour(const BatchCounters& c) { return {kSeq, c.MoveNeighbourCounter, kChild, true}; }
  static BatchRule MoveSource(const BatchCounters& c) { return {kSeq, c.MoveSourceCounter, kChild, true}; }
};

class MenuModel {
 public:
  MenuModel();
  MenuModel(const MenuModel&) = delete;
  MenuModel& operator=(const MenuModel&) = delete;

  MenuTree tree;
  ItemTable table;
  BatchCounters counters;
  int SelectedRow = 0;
  int TreeHasFocus = 0;
  bool SuppressSelectionRefresh = false;

  // Runs after SelectedRow has been set, on every selection change.
  void SetSelectionHandler(std::function<void()> handler) { on_selection_ = std::move(handler); }

  NodeId Root() const { return tree.FirstTop(); }

  // Inserts "ホームページ" as the only top-level item and selects it.
  void InsertRootItem();
  // Empties tree and table, inserts the root item and row, resets counters.
  void ResetMenu();

  // Numbers the tree in pre-order from `root` (Seq, Depth, Child); returns
  // the highest Seq assigned. The start item's own Seq and Depth are kept.
  int RenumberItems(NodeId root);
  void MarkDescendants(NodeId item, int counter);
  void SetRelativeDepths(NodeId item);
  // Forgets a pending copy: the copy counter goes back to its base and no
  // row keeps a copy mark.
  void ClearCopyMarks();
  // Sets `item` and its subtree aside as a batch under `mark` (up to 30000):
  // the descendants get their relative depth and number, the item's own row
  // is the batch's top (Depth and Child "0").
  void MarkBatch(NodeId item, int mark);
  // Makes `item` and its subtree the copy buffer, under the next copy mark.
  void MarkCopyBatch(NodeId item);
  // The live item at the top of the copy buffer, or kNoNode.
  NodeId CopiedItem() const;
  // After rows were replaced as a whole (undo, redo): their copy marks are
  // those of another moment, so all are forgotten, and `copied` (the copied
  // item's id in this state, or kNoNode) is marked again when it is in the
  // tree. The copy buffer is no part of the history.
  void KeepCopyBuffer(NodeId copied);
  // Re-creates a marked batch under the selected item; returns the last
  // source row, or nothing when no row belonged to the batch.
  std::optional<int> ReinsertBatch(const BatchRule& rule);
  // How many items ReinsertBatch would insert for `rule`.
  int BatchSize(const BatchRule& rule) const;

  // The next mark of a batch counter. Each counter keeps to its own range
  // (up to the next counter's base), so that no batch ever takes rows of
  // another: at the end of the range it starts again above its base, and
  // the rows that still carry marks of that range, which no command can
  // reach any more, are retired with the base value.
  int NextMoveSourceMark() { return NextMark(counters.MoveSourceCounter, kMoveSourceBase, kMoveNeighbourBase); }
  int NextMoveNeighbourMark() { return NextMark(counters.MoveNeighbourCounter, kMoveNeighbourBase, kCutBase); }
  int NextCutMark() { return NextMark(counters.CutCounter, kCutBase, kDeleteBase); }
  int NextDeleteMark() { return NextMark(counters.DeleteCounter, kDeleteBase, kCopyBase); }

  // Number of live items (tree items).
  int LiveItemCount() const { return tree.Count(); }

 private:
  int NextMark(int& counter, int base, int end);
  // The batch's rows, bucketed by pass (order value), in row order.
  std::vector<std::vector<int>> CollectBatch(const BatchRule& rule) const;

  std::function<void()> on_selection_;
  // Whether any row may hold a copy mark; only a copy writes one, so the
  // table is scanned only after a copy.
  bool copy_marks_ = true;
};

}  // namespace pomeli2
