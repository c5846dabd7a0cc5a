// The item table: one row of 14 text cells per menu item ever created.
// Rows are only appended; they are removed only when the whole table is
// cleared (File New, loading a project).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/persistent_vector.h"

namespace pomeli2 {

enum Col : int {
  kNo = 0,
  kSeq,
  kDepth,
  kChild,
  kTitle,
  kTextBgColor,
  kStyle,
  kFont,
  kFontSize,
  kLink,
  kOtherWindow,
  kTarget,
  kIcon,
  kOpen,
  kColumnCount
};

struct ColumnInfo {
  const char* name;
  int width;
};
extern const std::array<ColumnInfo, kColumnCount> kColumns;

struct ItemRow {
  std::array<std::string, kColumnCount> cells;
  const std::string& operator[](Col c) const { return cells[c]; }
  std::string& operator[](Col c) { return cells[c]; }
  bool operator==(const ItemRow&) const = default;
};

// "0" stays "0", "1" stays "1", anything else becomes "2".
std::string NormaliseOtherWindow(std::string_view text);

class ItemTable {
 public:
  int RowCount() const { return static_cast<int>(rows_.size()); }
  // The index the next appended row receives.
  int RowCounter() const { return RowCount(); }

  // A cell of a row that does not exist reads as empty text, as a list
  // control answers for a row it does not hold.
  const std::string& Cell(int row, Col col) const;
  int CellInt(int row, Col col) const;
  void SetCell(int row, Col col, std::string value);
  void SetCellInt(int row, Col col, long long value);

  const ItemRow& Row(int row) const { return *rows_[row]; }
  // A row to change in place (its own copy when a snapshot shares it).
  ItemRow& MutableRow(int row);
  bool HasRow(int row) const { return row >= 0 && row < RowCount(); }

  void Clear() { rows_.clear(); }
  void Append(ItemRow row) { rows_.push_back(std::make_shared<ItemRow>(std::move(row))); }

  // Deletes all rows and appends the root row at index 0.
  void ResetItemTable();

  // Appends the row of a tree item that has just been inserted and selected:
  // No. is `selected_row`, Seq/Depth/Child "0", Font "1", OtherWindow
  // normalised, the rest copied from `source`.
  void AppendItemRow(int selected_row, const ItemRow& source);

  // For each number from `first_seq` to `last_seq`, the first row at or
  // after `first_row` whose Seq reads as that number, or -1; one pass.
  std::vector<int> RowsBySeq(int first_seq, int last_seq, int first_row) const;

  // Every row whose Child exceeds 30000 gets Child "0".
  void ClearCopyMarks();

  // The rows as they are now, shared with the table: a snapshot costs a
  // pointer, and a row (with the path of nodes above it) is copied only
  // when it is changed afterwards.
  using Snapshot = PersistentVector<std::shared_ptr<ItemRow>>;
  Snapshot Share() const { return rows_; }
  void Restore(Snapshot rows) { rows_ = std::move(rows); }

 private:
  PersistentVector<std::shared_ptr<ItemRow>> rows_;
};

ItemRow MakeRootRow();

}  // namespace pomeli2
