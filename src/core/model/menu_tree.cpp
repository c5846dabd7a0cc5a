#include "model/menu_tree.h"

namespace pomeli2 {

NodeId MenuTree::InsertLast(NodeId parent, std::string label, int row) {
  NodeId id;
  if (!free_.empty()) {
    id = free_.back();
    free_.pop_back();
  } else {
    id = static_cast<NodeId>(nodes_.size());
    nodes_.emplace_back();
  }
  Node& n = nodes_[id];
  n = Node{};
  n.label = std::move(label);
  n.row = row;
  n.parent = parent;
  n.alive = true;
  NodeId& first = parent == kNoNode ? first_top_ : nodes_[parent].first_child;
  NodeId& last = parent == kNoNode ? last_top_ : nodes_[parent].last_child;
  n.prev = last;
  if (last != kNoNode) nodes_[last].next = id;
  else first = id;
  last = id;
  ++count_;
  if (change_hook_) change_hook_(Change::kInserted, id);
  return id;
}

void MenuTree::Unlink(NodeId id) {
  Node& n = nodes_[id];
  NodeId& first = n.parent == kNoNode ? first_top_ : nodes_[n.parent].first_child;
  NodeId& last = n.parent == kNoNode ? last_top_ : nodes_[n.parent].last_child;
  if (n.prev != kNoNode) nodes_[n.prev].next = n.next;
  else first = n.next;
  if (n.next != kNoNode) nodes_[n.next].prev = n.prev;
  else last = n.prev;
}

bool MenuTree::IsInSubtree(NodeId n, NodeId root) const {
  for (; n != kNoNode; n = nodes_[n].parent)
    if (n == root) return true;
  return false;
}

int MenuTree::Level(NodeId n) const {
  int level = -1;
  for (; n != kNoNode; n = nodes_[n].parent) ++level;
  return level;
}

void MenuTree::DeleteSubtree(NodeId node) {
  if (!Valid(node)) return;
  NodeId successor = kNoNode;
  bool selection_lost = selected_ != kNoNode && IsInSubtree(selected_, node);
  if (selection_lost) {
    const Node& n = nodes_[node];
    successor = n.next != kNoNode ? n.next : n.prev != kNoNode ? n.prev : n.parent;
  }
  std::vector<NodeId> doomed;
  ForEachPreOrder(node, [&](NodeId id) { doomed.push_back(id); });
  Unlink(node);
  for (NodeId id : doomed) {
    nodes_[id].alive = false;
    nodes_[id].label.clear();
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
  while (Valid(node) && nodes_[node].first_child != kNoNode) DeleteSubtree(nodes_[node].first_child);
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
