#include "model/menu_tree.h"

#include <algorithm>

namespace pomeli2 {

namespace {

// Every removed item's slot shares this one: a removed id stays given.
const std::shared_ptr<const MenuTree::Node>& Removed() {
  static const std::shared_ptr<const MenuTree::Node> removed = std::make_shared<MenuTree::Node>();
  return removed;
}

}  // namespace

NodeId MenuTree::InsertLast(NodeId parent, MenuItem item) {
  const NodeId id = static_cast<NodeId>(nodes_.size());
  // Linked as Link() does, with the new node's side set before it is shared:
  // a large menu is read by this alone.
  NodeId& last = parent == kNoNode ? last_top_ : W(parent).last_child;
  auto node = std::make_shared<Node>();
  node->item = std::move(item);
  node->parent = parent;
  node->prev = last;
  node->alive = true;
  nodes_.push_back(std::move(node));
  if (last != kNoNode) W(last).next = id;
  else if (parent == kNoNode) first_top_ = id;
  else W(parent).first_child = id;
  last = id;
  ++count_;
  if (change_hook_) change_hook_(Change::kInserted, id);
  return id;
}

void MenuTree::Link(NodeId id, NodeId parent, NodeId before) {
  NodeId& first = parent == kNoNode ? first_top_ : W(parent).first_child;
  NodeId& last = parent == kNoNode ? last_top_ : W(parent).last_child;
  const NodeId prev = before == kNoNode ? last : N(before).prev;
  Node& n = W(id);
  n.parent = parent;
  n.prev = prev;
  n.next = before;
  if (prev != kNoNode) W(prev).next = id;
  else first = id;
  if (before != kNoNode) W(before).prev = id;
  else last = id;
}

void MenuTree::Unlink(NodeId id) {
  const Node& n = N(id);
  NodeId& first = n.parent == kNoNode ? first_top_ : W(n.parent).first_child;
  NodeId& last = n.parent == kNoNode ? last_top_ : W(n.parent).last_child;
  if (n.prev != kNoNode) W(n.prev).next = n.next;
  else first = n.next;
  if (n.next != kNoNode) W(n.next).prev = n.prev;
  else last = n.prev;
}

void MenuTree::MoveTo(NodeId id, NodeId parent, NodeId before) {
  if (!Valid(id) || id == before || (before != kNoNode && (!Valid(before) || N(before).parent != parent))) return;
  if (parent != kNoNode && (!Valid(parent) || IsInSubtree(parent, id))) return;
  Unlink(id);
  Link(id, parent, before);
  if (change_hook_) change_hook_(Change::kMoved, id);
}

void MenuTree::Restore(Snapshot s) {
  nodes_ = std::move(s.nodes);
  first_top_ = s.first_top;
  last_top_ = s.last_top;
  selected_ = s.selected;
  count_ = s.count;
}

MenuTree::Changes MenuTree::ChangesSince(const Snapshot& before) const {
  Changes changes;
  std::vector<bool> changed(nodes_.size());
  bool any = false;
  // Only the items under nodes the two states do not share are looked at.
  nodes_.ForEachDifferent(before.nodes, [&](size_t id) {
    const Node* was = id < before.nodes.size() ? before.nodes[id].get() : nullptr;
    const Node* now = id < nodes_.size() ? nodes_[id].get() : nullptr;
    if (was == now) return;
    if (now && now->alive) {
      changed[id] = any = true;
    } else if (was && was->alive) {
      changes.removed.push_back(static_cast<NodeId>(id));
    }
  });
  if (!any) return changes;
  for (NodeId top = first_top_; top != kNoNode; top = N(top).next)
    ForEachPreOrder(top, [&](NodeId id) {
      if (changed[static_cast<size_t>(id)]) changes.changed.push_back(id);
    });
  return changes;
}

bool MenuTree::IsInSubtree(NodeId n, NodeId root) const {
  for (; n != kNoNode; n = N(n).parent)
    if (n == root) return true;
  return false;
}

int MenuTree::Level(NodeId n) const {
  int level = -1;
  for (; n != kNoNode; n = N(n).parent) ++level;
  return level;
}

void MenuTree::DeleteSubtree(NodeId node) {
  if (!Valid(node)) return;
  NodeId successor = kNoNode;
  bool selection_lost = selected_ != kNoNode && IsInSubtree(selected_, node);
  if (selection_lost) {
    const Node& n = N(node);
    successor = n.next != kNoNode ? n.next : n.prev != kNoNode ? n.prev : n.parent;
  }
  std::vector<NodeId> doomed;
  ForEachPreOrder(node, [&](NodeId id) { doomed.push_back(id); });
  Unlink(node);
  for (NodeId id : doomed) {
    // A snapshot keeps the item as it was.
    nodes_.Mutable(static_cast<size_t>(id)) = Removed();
  }
  count_ -= static_cast<int>(doomed.size());
  if (change_hook_) change_hook_(Change::kRemoved, node);
  if (selection_lost) {
    selected_ = kNoNode;
    Select(successor);
  }
}

void MenuTree::DeleteChildren(NodeId node) {
  while (Valid(node) && N(node).first_child != kNoNode) DeleteSubtree(N(node).first_child);
}

void MenuTree::Clear() {
  nodes_.clear();
  first_top_ = last_top_ = selected_ = kNoNode;
  count_ = 0;
  if (change_hook_) change_hook_(Change::kCleared, kNoNode);
}

void MenuTree::Replace(MenuTree&& other) {
  nodes_ = std::move(other.nodes_);
  first_top_ = other.first_top_;
  last_top_ = other.last_top_;
  count_ = other.count_;
  selected_ = other.selected_;
  other.nodes_.clear();
  other.first_top_ = other.last_top_ = other.selected_ = kNoNode;
  other.count_ = 0;
  if (change_hook_) change_hook_(Change::kCleared, kNoNode);
}

void MenuTree::Select(NodeId node) {
  if (node != kNoNode && !Valid(node)) return;
  if (node == selected_) return;
  selected_ = node;
  if (hook_ && node != kNoNode) hook_(node);
}

}  // namespace pomeli2
