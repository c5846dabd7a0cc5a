#include "generate/page_items.h"

#include "text/catalogue.h"
#include "text/numbers.h"

namespace pomeli2 {

std::vector<PageItem> CollectPageItems(const MenuTree& tree) {
  std::vector<PageItem> items;
  const NodeId root = tree.FirstTop();
  if (root == kNoNode) return items;
  items.reserve(static_cast<size_t>(tree.Count() - 1));
  // The walk goes down to first children and on to next siblings, reading
  // each item about once and in the order a loaded menu lies in memory.
  // `open` holds the branches it is inside, by their place in `items`; one
  // ends when the walk climbs out of it.
  std::vector<size_t> open;
  NodeId node = tree.FirstChild(root);
  int depth = 1;
  while (node != kNoNode) {
    const MenuTree::Node* n = &tree.NodeAt(node);
    const int number = static_cast<int>(items.size()) + 1;
    items.push_back({&n->item, depth, number, number, depth == 1, n->first_child == kNoNode});
    if (n->first_child != kNoNode) {
      open.push_back(items.size() - 1);
      node = n->first_child;
      ++depth;
      continue;
    }
    while (n->next == kNoNode && depth > 1) {
      n = &tree.NodeAt(n->parent);
      --depth;
      items[open.back()].end = static_cast<int>(items.size());
      open.pop_back();
    }
    node = n->next;
  }
  return items;
}

PageNumbers ReadPageNumbers(const PageSettings& s) {
  return {s.Start.value(), s.Left.value(), s.Row.value(), s.Indent.value(), s.Speed.value()};
}

std::string RightFrameName(const PageSettings& s) { return s.RightFrame.value_or("Frame2"); }

std::string EffectiveTarget(const PageSettings& s, const MenuItem& r) {
  return s.RightFrame.value_or(r.target);
}

std::string_view ButtonImage(const PageSettings& s, const PageItem& item) {
  if (!item.leaf) return s.Plus;
  if (!s.Linkto.empty()) return s.Linkto;
  if (!item.item->icon.empty()) return item.item->icon;
  return kLinktoImage;
}

}  // namespace pomeli2
