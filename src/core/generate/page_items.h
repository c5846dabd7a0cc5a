// The items of a numbered menu as the menu page and its script see them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/menu_tree.h"
#include "model/page_settings.h"

namespace pomeli2 {

struct PageItem {
  const MenuItem* item;
  int depth;       // levels below the root: 1 for a top-level item
  int number;      // place in the pre-order walk from the root, which is 0
  int end;         // the number of the last item of its subtree
  bool top_level;  // depth 1
  bool leaf;       // no children: its subtree ends with itself

  // The numbers as the page and its script spell them.
  std::string N() const { return std::to_string(number); }
  std::string End() const { return std::to_string(end); }
  bool OpenOnLoad() const { return top_level && !leaf && item->open == "1"; }
};

// Every item below the root, numbered in pre-order from 1.
std::vector<PageItem> CollectPageItems(const MenuTree& tree);

// The numbers spliced into the page and its script.
struct PageNumbers {
  int start, left, row, indent, speed;
};
PageNumbers ReadPageNumbers(const PageSettings& s);

// Right frame name for scripts and frame sets: RightFrame, or "Frame2" for none.
std::string RightFrameName(const PageSettings& s);

// Where an item's link opens: RightFrame, else its own Target.
std::string EffectiveTarget(const PageSettings& s, const MenuItem& r);

// The tree button: Plus for a branch; for a leaf the common link image, else
// the item's own icon, else "linkto.gif".
std::string_view ButtonImage(const PageSettings& s, const PageItem& item);

}  // namespace pomeli2
