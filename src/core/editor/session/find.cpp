#include "editor/session/find.h"

#include <algorithm>

#include "exchange/shown_text.h"
#include "text/search_fold.h"

namespace pomeli2 {
void TreeFinder::Index(const MenuTree& tree) {
  const MenuTree::Snapshot now = tree.Share();
  bool same = has_index_ && now.count == indexed_.count && now.first_top == indexed_.first_top &&
              now.nodes.size() == indexed_.nodes.size();
  if (same) now.nodes.ForEachDifferent(indexed_.nodes, [&](size_t) { same = false; });
  if (same) return;
  texts_.clear();
  texts_.reserve(static_cast<size_t>(tree.Count()));
  for (NodeId top = tree.FirstTop(); top != kNoNode; top = tree.NextSibling(top))
    tree.ForEachPreOrder(top, [&](NodeId n) {
      const MenuItem& item = tree.Item(n);
      // The line break keeps a match from running from the title into the
      // link: no typed text holds one.
      const std::string title =
          exchange::ShownText(item.title, exchange::TitleMarkup::kAsWritten, exchange::TitlePicture::kLeftOut);
      texts_.push_back({n, FoldForSearch(title) + "\n" + FoldForSearch(item.link)});
    });
  indexed_ = now;
  has_index_ = true;
}

std::vector<NodeId> TreeFinder::Matches() const {
  std::vector<NodeId> found;
  if (needle_.empty()) return found;
  for (const auto& [node, text] : texts_)
    if (text.find(needle_) != std::string::npos) found.push_back(node);
  return found;
}

FindResult TreeFinder::First(const MenuTree& tree, std::string_view text) {
  needle_ = FoldForSearch(text);
  Index(tree);
  const std::vector<NodeId> found = Matches();
  if (found.empty()) return {};
  return {1, static_cast<int>(found.size()), found.front()};
}

FindResult TreeFinder::Place(const MenuTree& tree, NodeId selected) {
  Index(tree);
  const std::vector<NodeId> found = Matches();
  auto at = std::find(found.begin(), found.end(), selected);
  const int index = at == found.end() ? 0 : static_cast<int>(at - found.begin()) + 1;
  return {index, static_cast<int>(found.size()), at == found.end() ? kNoNode : selected};
}

FindResult TreeFinder::Step(const MenuTree& tree, NodeId from, bool forward) {
  Index(tree);
  const std::vector<NodeId> found = Matches();
  if (found.empty()) return {};
  const int count = static_cast<int>(found.size());
  auto at = std::find(found.begin(), found.end(), from);
  int index;
  if (at == found.end()) index = forward ? 0 : count - 1;
  else index = (static_cast<int>(at - found.begin()) + (forward ? 1 : count - 1)) % count;
  return {index + 1, count, found[static_cast<size_t>(index)]};
}

}  // namespace pomeli2
