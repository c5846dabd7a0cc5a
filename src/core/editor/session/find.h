// Finding items by what their titles show or their links hold, as the find
// bar under the tree asks while the user types.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/menu_tree.h"

namespace pomeli2 {

struct FindResult {
  int index = 0;  // the found item's place among the matches, from 1; 0 for none
  int count = 0;  // how many items match
  NodeId node = kNoNode;
};

class TreeFinder {
 public:
  // The first item in the tree's order whose title's text (tags aside) or
  // link holds `text` (CP932), letter case and width aside.
  FindResult First(const MenuTree& tree, std::string_view text);
  // The match after (or before) `from`, wrapping; the first (or last) when
  // `from` is none of them.
  FindResult Step(const MenuTree& tree, NodeId from, bool forward);
  // The matches as the tree is now, and where `selected` stands among them
  // (index 0 when it is none of them).
  FindResult Place(const MenuTree& tree, NodeId selected);

 private:
  // Folds every item's texts once per state of the tree: a keystroke then
  // only scans them.
  void Index(const MenuTree& tree);
  std::vector<NodeId> Matches() const;

  MenuTree::Snapshot indexed_{};
  bool has_index_ = false;
  std::vector<std::pair<NodeId, std::string>> texts_;  // pre-order; title text, a line break, the link
  std::string needle_;
};

}  // namespace pomeli2
