#include "model/menu_model.h"

#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {

MenuModel::MenuModel() {
  tree.SetSelectionHook([this](NodeId node) {
    SelectedRow = tree.Row(node);
    if (on_selection_) on_selection_();
  });
}

void MenuModel::InsertRootItem() {
  NodeId root = tree.InsertLast(kNoNode, sj("ホームページ"), 0);
  tree.Select(root);
  TreeHasFocus = 1;
}

void MenuModel::ResetMenu() {
  tree.Clear();
  InsertRootItem();
  table.ResetItemTable();
  counters.Reset();
  ClearCopyMarks();
}

int MenuModel::RenumberItems(NodeId start) {
  if (!tree.Valid(start)) return 0;
  auto write_position = [&](NodeId n, int seq, int level) {
    table.SetCellInt(tree.Row(n), kSeq, seq);
    table.SetCellInt(tree.Row(n), kDepth, level);
  };
  int seq = 0;
  int level = 0;
  NodeId cur = start;
  for (;;) {
    if (tree.HasChildren(cur)) {
      cur = tree.FirstChild(cur);
      write_position(cur, ++seq, ++level);
      continue;
    }
    table.SetCellInt(tree.Row(cur), kChild, seq);
    while (tree.NextSibling(cur) == kNoNode) {
      if (level == 0) return seq;
      cur = tree.Parent(cur);
      --level;
      table.SetCellInt(tree.Row(cur), kChild, seq);
    }
    cur = tree.NextSibling(cur);
    write_position(cur, ++seq, level);
  }
}

void MenuModel::MarkDescendants(NodeId item, int counter) {
  int relative = 0;
  tree.ForEachPreOrder(item, [&](NodeId n) {
    if (n == item) return;
    ++relative;
    int row = tree.Row(n);
    if (counter > kCopyBase) {
      copy_marks_ = true;
      table.SetCellInt(row, kChild, counter);
      table.SetCellInt(row, kSeq, relative);
    } else {
      table.SetCellInt(row, kSeq, counter);
      table.SetCellInt(row, kChild, relative);
    }
  });
}

void MenuModel::SetRelativeDepths(NodeId item) {
  if (!tree.Valid(item)) return;
  // Levels grow by one per step down a pre-order walk, so track them with
  // the parent's level rather than climbing to `item` for every node.
  std::vector<std::pair<NodeId, int>> stack{{item, 0}};
  while (!stack.empty()) {
    auto [node, level] = stack.back();
    stack.pop_back();
    if (node != item) table.SetCellInt(tree.Row(node), kDepth, level);
    for (NodeId c = tree.LastChild(node); c != kNoNode; c = tree.PrevSibling(c)) stack.push_back({c, level + 1});
  }
}

void MenuModel::ClearCopyMarks() {
  counters.CopyCounter = kCopyBase;
  if (!copy_marks_) return;
  table.ClearCopyMarks();
  copy_marks_ = false;
}

void MenuModel::MarkBatch(NodeId item, int mark) {
  int row = tree.Row(item);
  SetRelativeDepths(item);
  MarkDescendants(item, mark);
  table.SetCellInt(row, kSeq, mark);
  table.SetCell(row, kDepth, "0");
  table.SetCell(row, kChild, "0");
}

void MenuModel::MarkCopyBatch(NodeId item) {
  int mark = ++counters.CopyCounter;
  copy_marks_ = true;
  SetRelativeDepths(item);
  MarkDescendants(item, mark);
  int row = tree.Row(item);
  table.SetCell(row, kSeq, "0");
  table.SetCell(row, kDepth, "0");
  table.SetCellInt(row, kChild, mark);
}

NodeId MenuModel::CopiedItem() const {
  if (!counters.CopyBufferFull()) return kNoNode;
  NodeId found = kNoNode;
  tree.ForEachPreOrder(Root(), [&](NodeId n) {
    int row = tree.Row(n);
    if (found == kNoNode && table.CellInt(row, kChild) == counters.CopyCounter && table.Cell(row, kSeq) == "0")
      found = n;
  });
  return found;
}

void MenuModel::KeepCopyBuffer(NodeId copied) {
  copy_marks_ = true;
  ClearCopyMarks();
  if (tree.Valid(copied)) MarkCopyBatch(copied);
}

std::vector<std::vector<int>> MenuModel::CollectBatch(const BatchRule& rule) const {
  // Pass p takes the batch rows whose order value is p, in row order, for as
  // long as p does not exceed the row count. Rows appended while a batch is
  // re-inserted never belong to it (their Seq, Depth and Child are "0"), so
  // one scan that buckets the batch by order value gives the same rows in
  // the same order.
  const int rows = table.RowCount();
  std::vector<std::vector<int>> passes;
  for (int i = 0; i < rows; ++i) {
    if (table.CellInt(i, rule.mark_column) != rule.mark) continue;
    if (rule.skip_depth_zero && table.CellInt(i, kDepth) == 0) continue;
    int order = table.CellInt(i, rule.order_column);
    if (order > rows + rows) continue;  // beyond any reachable pass
    if (static_cast<size_t>(order) >= passes.size()) passes.resize(static_cast<size_t>(order) + 1);
    passes[static_cast<size_t>(order)].push_back(i);
  }
  return passes;
}

int MenuModel::BatchSize(const BatchRule& rule) const {
  std::vector<std::vector<int>> passes = CollectBatch(rule);
  int size = 0;
  int rows = table.RowCount();
  for (size_t p = 0; p < passes.size() && static_cast<int>(p) <= rows; ++p) {
    size += static_cast<int>(passes[p].size());
    rows += static_cast<int>(passes[p].size());
  }
  return size;
}

int MenuModel::NextMark(int& counter, int base, int end) {
  if (counter + 1 < end) return ++counter;
  for (int i = 0; i < table.RowCount(); ++i) {
    int seq = table.CellInt(i, kSeq);
    if (seq > base && seq < end) table.SetCellInt(i, kSeq, base);
  }
  counter = base + 1;
  return counter;
}

std::optional<int> MenuModel::ReinsertBatch(const BatchRule& rule) {
  std::vector<std::vector<int>> passes = CollectBatch(rule);
  std::optional<int> last_source;
  int previous_depth = -1;
  for (size_t p = 0; p < passes.size() && static_cast<int>(p) <= table.RowCount(); ++p) {
    for (int i : passes[p]) {
      int depth = table.CellInt(i, kDepth);
      NodeId parent = tree.Selected();
      if (depth <= previous_depth) {
        // Climb to the parent (previous_depth - depth + 1) times; the climb
        // stops at the root so that the menu keeps a single top-level item.
        for (long long k = static_cast<long long>(previous_depth) - depth + 1; k > 0; --k) {
          NodeId up = tree.Parent(tree.Selected());
          if (up == kNoNode) break;
          tree.Select(up);
        }
        parent = tree.Selected();
      }
      if (parent == kNoNode) parent = Root();
      previous_depth = depth;
      NodeId node = tree.InsertLast(parent, table.Cell(i, kTitle), table.RowCounter());
      tree.Select(node);
      table.AppendItemRow(SelectedRow, table.Row(i));
      last_source = i;
    }
  }
  return last_source;
}

}  // namespace pomeli2
