#include "generate/page_items.h"

#include "text/numbers.h"

namespace pomeli2 {

std::vector<PageItem> CollectPageItems(const ItemTable& table, int last_item) {
  std::vector<PageItem> items;
  for (int r : table.RowsBySeq(1, last_item, 1)) {
    if (r < 0) continue;
    const ItemRow& row = table.Row(r);
    items.push_back({&row, row[kDepth] == "1", row[kSeq] == row[kChild]});
  }
  return items;
}

PageNumbers ReadPageNumbers(const PageSettings& s) {
  return {LenientSignedInt(s.Start), LenientSignedInt(s.Left), LenientSignedInt(s.Row), LenientSignedInt(s.Indent),
          LenientSignedInt(s.Speed)};
}

std::string RightFrameName(const PageSettings& s) { return s.RightFrame == NoFrame() ? "Frame2" : s.RightFrame; }

}  // namespace pomeli2
