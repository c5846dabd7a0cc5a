#include "model/menu_model.h"

namespace pomeli2 {

MenuModel::MenuModel() {
  tree.SetSelectionHook([this](NodeId) {
    if (on_selection_) on_selection_();
  });
}

void MenuModel::ResetMenu() {
  // The new root is selected while it still holds the values of the root
  // that goes: the form shows them, and the fields that a reset leaves
  // alone keep them for the new root.
  MenuItem going = Root() != kNoNode ? tree.Item(Root()) : MenuItem{};
  going.title = RootItem().title;
  tree.Clear();
  ClearBuffers();
  NodeId root = tree.InsertLast(kNoNode, std::move(going));
  tree.Select(root);
  tree.MutableItem(root) = RootItem();
  root_title = tree.Label(root);
}

Clip MenuModel::SubtreeClip(NodeId top) const {
  Clip clip;
  // Levels grow by one per step down a pre-order walk: the parent's level
  // is at hand, so no item climbs to the top.
  std::vector<std::pair<NodeId, int>> stack{{top, 0}};
  while (!stack.empty()) {
    auto [node, depth] = stack.back();
    stack.pop_back();
    clip.push_back({depth, tree.Item(node)});
    for (NodeId c = tree.LastChild(node); c != kNoNode; c = tree.PrevSibling(c)) stack.push_back({c, depth + 1});
  }
  return clip;
}

const Clip& MenuModel::CutItems() const {
  static const Clip kNone;
  return cut_ ? *cut_ : kNone;
}

void MenuModel::Cut(NodeId item) {
  if (!tree.Valid(item)) return;
  ClearCopyBuffer();
  cut_ = std::make_shared<const Clip>(SubtreeClip(item));
  tree.DeleteSubtree(item);
}

void MenuModel::Copy(NodeId item) { KeepCopyBuffer(item); }

void MenuModel::KeepCopyBuffer(NodeId copied) {
  copied_.clear();
  waiting_copy_ = tree.Valid(copied) ? kNoNode : copied;
  if (!tree.Valid(copied)) return;
  std::vector<std::pair<NodeId, int>> stack{{copied, 0}};
  while (!stack.empty()) {
    auto top = stack.back();
    stack.pop_back();
    copied_.push_back(top);
    for (NodeId c = tree.LastChild(top.first); c != kNoNode; c = tree.PrevSibling(c))
      stack.push_back({c, top.second + 1});
  }
}

Clip MenuModel::CopiedItems() const {
  Clip clip;
  clip.reserve(copied_.size());
  for (auto [node, depth] : copied_)
    if (tree.Valid(node)) clip.push_back({depth, tree.Item(node)});
  return clip;
}

std::optional<MenuItem> MenuModel::Paste(const Clip& clip) {
  int previous_depth = -1;
  for (const ClipItem& c : clip) {
    NodeId parent = tree.Selected();
    if (c.depth <= previous_depth) {
      // Back up to the parent of this item's level, one selection at a
      // time; never above the root, so that the menu keeps one top item.
      for (long long k = static_cast<long long>(previous_depth) - c.depth + 1; k > 0; --k) {
        NodeId up = tree.Parent(tree.Selected());
        if (up == kNoNode) break;
        tree.Select(up);
      }
      parent = tree.Selected();
    }
    if (parent == kNoNode) parent = Root();
    previous_depth = c.depth;
    // Selected before its values are in, the new item shows empty fields:
    // the form keeps its open box clear, and the paste fills the rest.
    MenuItem empty;
    empty.title = c.item.title;
    NodeId node = tree.InsertLast(parent, std::move(empty));
    tree.Select(node);
    tree.MutableItem(node) = c.item;
  }
  if (clip.empty()) return std::nullopt;
  return clip.back().item;
}

void MenuModel::ForEachStoredItem(const std::function<void(MenuItem&, const std::string&)>& visit) {
  tree.ForEachPreOrder(Root(), [&](NodeId n) {
    // Only the items that change stop sharing with the undo states.
    MenuItem item = tree.Item(n);
    visit(item, n == Root() ? root_title : item.title);
    if (!(item == tree.Item(n))) tree.MutableItem(n) = std::move(item);
  });
  if (!cut_) return;
  auto cut = std::make_shared<Clip>(*cut_);
  for (ClipItem& c : *cut) visit(c.item, c.item.title);
  cut_ = std::move(cut);
}

bool MenuModel::SameMenu(const Snapshot& a, const Snapshot& b) {
  if (a.root_title != b.root_title || a.tree.first_top != b.tree.first_top || a.tree.last_top != b.tree.last_top ||
      a.tree.count != b.tree.count || a.tree.nodes.size() != b.tree.nodes.size())
    return false;
  bool same = true;
  a.tree.nodes.ForEachDifferent(b.tree.nodes, [&](size_t i) {
    const MenuTree::Node& x = *a.tree.nodes[i];
    const MenuTree::Node& y = *b.tree.nodes[i];
    same = same && x.alive == y.alive && x.item == y.item && x.parent == y.parent && x.first_child == y.first_child &&
           x.last_child == y.last_child && x.prev == y.prev && x.next == y.next;
  });
  if (!same) return false;
  if (a.cut == b.cut) return true;
  if (!a.cut || !b.cut || a.cut->size() != b.cut->size()) return false;
  for (size_t i = 0; i < a.cut->size(); ++i)
    if ((*a.cut)[i].depth != (*b.cut)[i].depth || !((*a.cut)[i].item == (*b.cut)[i].item)) return false;
  return true;
}

void MenuModel::Restore(Snapshot s) {
  tree.Restore(std::move(s.tree));
  cut_ = std::move(s.cut);
  root_title = std::move(s.root_title);
}

}  // namespace pomeli2
