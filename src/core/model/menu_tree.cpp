#include "model/menu_tree.h"

#include <algorithm>

namespace pomeli2 {

NodeId MenuTree::InsertLast(NodeId parent, std::string label, int row) {
  NodeId id;
  if (!free_.empty()) {
    id = free_.back();
    free_.pop_back();
    nodes_.Mutable(static_cast<size_t>(id)) = std::make_shared<Node>();
  } else {
    id = static_cast<NodeId>(nodes_.size());
    nodes_.push_back(std::make_shared<Node>());
  }
  Node& n = *nodes_[static_cast<size_t>(id)];
  n.label = std::move(label);
  n.row = row;
  n.parent = parent;
  n.alive = true;
  NodeId& first = parent == kNoNode ? first_top_ : W(parent).first_child;
  NodeId& last = parent == kNoNode ? last_top_ : W(parent).last_child;
  n.prev = last;
  if (last != kNoNode) W(last).next = id;
  else first = id;
  last = id;
  ++count_;
  if (change_hook_) change_hook_(Change::kInserted, id);
  return id;
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

void MenuTree::MoveBefore(NodeId id, NodeId before) {
  if (!Valid(id) || !Valid(before) || id == before || N(id).parent != N(before).parent) return;
  Unlink(id);
  NodeId parent = N(before).parent;
  NodeId prev = N(before).prev;
  W(id).prev = prev;
  W(id).next = before;
  W(before).prev = id;
  if (prev != kNoNode) W(prev).next = id;
  else if (parent == kNoNode) first_top_ = id;
  else W(parent).first_child = id;
  if (change_hook_) change_hook_(Change::kMoved, id);
}

void MenuTree::Restore(Snapshot s) {
  nodes_ = std::move(s.nodes);
  free_ = std::move(s.free);
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
    // The pool's slot gets a fresh item when it is used again; a snapshot
    // keeps the item as it was.
    nodes_.Mutable(static_cast<size_t>(id)) = std::make_shared<Node>();
    free_.push_back(id);
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
  free_.clear();
  first_top_ = last_top_ = selected_ = kNoNode;
  count_ = 0;
  if (change_hook_) change_hook_(Change::kCleared, kNoNode);
}

void MenuTree::Select(NodeId node) {
  if (node != kNoNode && !Valid(node)) return;
  if (node == selected_) return;
  selected_ = node;
  if (hook_ && node != kNoNode) hook_(node);
}

}  // namespace pomeli2
