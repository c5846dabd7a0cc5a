#include "generate/page_items.h"

#include "text/catalogue.h"
#include "text/numbers.h"

namespace pomeli2 {

std::vector<PageItem> CollectPageItems(const MenuTree& tree) {
  std::vector<PageItem> items;
  const NodeId root = tree.FirstTop();
  if (root == kNoNode) return items;
  items.reserve(static_cast<size_t>(tree.Count() - 1));
  // The branches whose subtree the walk is still in, by their place in
  // `items`: a branch ends where an item not deeper than it comes.
  std::vector<size_t> open;
  std::vector<std::pair<NodeId, int>> stack;
  for (NodeId c = tree.LastChild(root); c != kNoNode; c = tree.PrevSibling(c)) stack.push_back({c, 1});
  while (!stack.empty()) {
    auto [node, depth] = stack.back();
    stack.pop_back();
    while (!open.empty() && items[open.back()].depth >= depth) {
      items[open.back()].end = static_cast<int>(items.size());
      open.pop_back();
    }
    const bool leaf = !tree.HasChildren(node);
    const int number = static_cast<int>(items.size()) + 1;
    items.push_back({&tree.Item(node), depth, number, number, depth == 1, leaf});
    if (!leaf) open.push_back(items.size() - 1);
    for (NodeId c = tree.LastChild(node); c != kNoNode; c = tree.PrevSibling(c)) stack.push_back({c, depth + 1});
  }
  for (size_t i : open) items[i].end = static_cast<int>(items.size());
  return items;
}

PageNumbers ReadPageNumbers(const PageSettings& s) {
  return {LenientSignedInt(s.Start), LenientSignedInt(s.Left), LenientSignedInt(s.Row), LenientSignedInt(s.Indent),
          LenientSignedInt(s.Speed)};
}

std::string RightFrameName(const PageSettings& s) { return s.RightFrame == NoFrame() ? "Frame2" : s.RightFrame; }

std::string EffectiveTarget(const PageSettings& s, const MenuItem& r) {
  return s.RightFrame == NoFrame() ? r.target : s.RightFrame;
}

std::string ButtonImage(const PageSettings& s, const PageItem& item) {
  if (!item.leaf) return s.Plus;
  if (!s.Linkto.empty()) return s.Linkto;
  if (!item.item->icon.empty()) return item.item->icon;
  return kLinktoImage;
}

std::optional<ImageTitle> SplitImageTitle(const std::string& title) {
  if (title.size() <= 5 || title.compare(0, 5, "file:") != 0) return std::nullopt;
  size_t colon = title.find(':', 5);
  if (colon == std::string::npos) return ImageTitle{title.substr(5), ""};
  return ImageTitle{title.substr(5, colon - 5), title.substr(colon + 1)};
}

std::string TitleText(const std::string& title) {
  auto image = SplitImageTitle(title);
  const std::string& html = image ? image->text : title;
  std::string text;
  bool in_tag = false;
  for (char c : html) {
    if (c == '<') in_tag = true;
    else if (c == '>' && in_tag) in_tag = false;
    else if (!in_tag) text += c;
  }
  return text;
}

}  // namespace pomeli2
