#include "model/item_table.h"

#include <algorithm>

#include "model/counters.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {

const std::array<ColumnInfo, kColumnCount> kColumns = {{
    {"No.", 20},
    {"Seq", 45},
    {"Depth", 45},
    {"Child", 45},
    {"Title", 140},
    {"TextBgColor", 90},
    {"Style", 40},
    {"Font", 40},
    {"FontSize", 40},
    {"Link", 100},
    {"OtherWindow", 40},
    {"Target", 40},
    {"Icon", 40},
    {"Open", 20},
}};

std::string NormaliseOtherWindow(std::string_view text) {
  if (text == "0") return "0";
  if (text == "1") return "1";
  return "2";
}

const std::string& ItemTable::Cell(int row, Col col) const {
  static const std::string kEmpty;
  return HasRow(row) ? rows_[row]->cells[col] : kEmpty;
}

int ItemTable::CellInt(int row, Col col) const { return LenientInt(Cell(row, col)); }

void ItemTable::SetCell(int row, Col col, std::string value) {
  if (HasRow(row)) MutableRow(row).cells[col] = std::move(value);
}

ItemRow& ItemTable::MutableRow(int row) {
  std::shared_ptr<ItemRow>& r = rows_.Mutable(static_cast<size_t>(row));
  if (r.use_count() > 1) r = std::make_shared<ItemRow>(*r);
  return *r;
}

void ItemTable::SetCellInt(int row, Col col, long long value) { SetCell(row, col, ToText(value)); }

ItemRow MakeRootRow() {
  ItemRow r;
  r[kNo] = "0";
  r[kSeq] = "0";
  r[kDepth] = "0";
  r[kChild] = "0";
  r[kTitle] = sj("ホームページ");
  r[kTextBgColor] = "#8080FF";
  r[kStyle] = "None";
  r[kFont] = "1";
  r[kFontSize] = "10pt";
  r[kOtherWindow] = "0";
  r[kTarget] = "Frame2";
  return r;
}

void ItemTable::ResetItemTable() {
  rows_.clear();
  Append(MakeRootRow());
}

void ItemTable::AppendItemRow(int selected_row, const ItemRow& source) {
  ItemRow r;
  r[kNo] = ToText(selected_row);
  r[kSeq] = "0";
  r[kDepth] = "0";
  r[kChild] = "0";
  for (Col c : {kTitle, kTextBgColor, kStyle, kFontSize, kLink, kTarget, kIcon, kOpen}) r[c] = source[c];
  r[kFont] = "1";
  r[kOtherWindow] = NormaliseOtherWindow(source[kOtherWindow]);
  Append(std::move(r));
}

std::vector<int> ItemTable::RowsBySeq(int first_seq, int last_seq, int first_row) const {
  std::vector<int> rows(last_seq >= first_seq ? static_cast<size_t>(last_seq - first_seq) + 1 : 0, -1);
  for (int r = std::max(first_row, 0); r < RowCount(); ++r) {
    int seq = LenientSignedInt((*rows_[r])[kSeq]);
    if (seq < first_seq || seq > last_seq) continue;
    int& slot = rows[static_cast<size_t>(seq - first_seq)];
    if (slot < 0) slot = r;
  }
  return rows;
}

void ItemTable::ClearCopyMarks() {
  for (int r = 0; r < RowCount(); ++r)
    if (LenientInt(Row(r)[kChild]) > kCopyBase) SetCell(r, kChild, "0");
}

}  // namespace pomeli2
