// The items of a numbered menu as the menu page and its script see them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/item_table.h"
#include "model/page_settings.h"

namespace pomeli2 {

struct PageItem {
  const ItemRow* row;
  bool top_level;  // Depth is exactly "1"
  bool leaf;       // Seq and Child are the same text

  const std::string& N() const { return (*row)[kSeq]; }
  const std::string& End() const { return (*row)[kChild]; }
  bool OpenOnLoad() const { return top_level && !leaf && (*row)[kOpen] == "1"; }
};

// Items 1 to last_item in Seq order: for each number the first row, the
// root's excepted, that carries it. Numbers no row carries are skipped.
std::vector<PageItem> CollectPageItems(const ItemTable& table, int last_item);

// The numbers spliced into the page and its script.
struct PageNumbers {
  int start, left, row, indent, speed;
};
PageNumbers ReadPageNumbers(const PageSettings& s);

// Right frame name for scripts and frame sets: RightFrame, or "Frame2" for "なし".
std::string RightFrameName(const PageSettings& s);

// Where an item's link opens: its own Target when RightFrame is "なし",
// else RightFrame.
std::string EffectiveTarget(const PageSettings& s, const ItemRow& r);

// The tree button: Plus for a branch; for a leaf the common link image, else
// the item's own icon, else "linkto.gif".
std::string ButtonImage(const PageSettings& s, const PageItem& item);

// An image title, "file:" + path [+ ":" + text], split; nullopt for any
// other title (and for "file:" alone).
struct ImageTitle {
  std::string path, text;
};
std::optional<ImageTitle> SplitImageTitle(const std::string& title);

}  // namespace pomeli2
