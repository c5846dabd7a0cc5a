#include "generate/page_items.h"

#include "text/catalogue.h"
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

std::string EffectiveTarget(const PageSettings& s, const ItemRow& r) {
  return s.RightFrame == NoFrame() ? r[kTarget] : s.RightFrame;
}

std::string ButtonImage(const PageSettings& s, const PageItem& item) {
  if (!item.leaf) return s.Plus;
  if (!s.Linkto.empty()) return s.Linkto;
  if (!(*item.row)[kIcon].empty()) return (*item.row)[kIcon];
  return kLinktoImage;
}

std::optional<ImageTitle> SplitImageTitle(const std::string& title) {
  if (title.size() <= 5 || title.compare(0, 5, "file:") != 0) return std::nullopt;
  size_t colon = title.find(':', 5);
  if (colon == std::string::npos) return ImageTitle{title.substr(5), ""};
  return ImageTitle{title.substr(5, colon - 5), title.substr(colon + 1)};
}

}  // namespace pomeli2
