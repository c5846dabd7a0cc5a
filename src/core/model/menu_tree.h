// The menu tree: the items with their values, their order and the
// selection. Nodes are kept in a pool and linked like a tree control's
// items, so that parent, siblings, first and last child are all found in
// constant time. An item's id never changes, and a removed item's id is not
// given again; a state restored by undo takes the id count back with it, so
// an id comes again only once the states that held it have left the
// history. What refers to an item (the copy buffer, the window's rows) can
// keep its id across moves, undo and redo.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/menu_item.h"
#include "model/persistent_vector.h"

namespace pomeli2 {

using NodeId = std::int32_t;
constexpr NodeId kNoNode = -1;

class MenuTree {
 public:
  // Called synchronously whenever the selection changes to another item,
  // before the call that changed it returns.
  using SelectionHook = std::function<void(NodeId)>;
  void SetSelectionHook(SelectionHook hook) { hook_ = std::move(hook); }
  // Told of every change of the shape or the labels, as it happens: an item
  // inserted, an item removed with its subtree (after the removal), a label
  // changed, or every item gone (kNoNode).
  enum class Change { kInserted, kRemoved, kLabelChanged, kCleared, kMoved };
  using ChangeHook = std::function<void(Change, NodeId)>;
  void SetChangeHook(ChangeHook hook) { change_hook_ = std::move(hook); }

  // Inserts as the last child of `parent` (kNoNode: last top-level item).
  NodeId InsertLast(NodeId parent, MenuItem item);

  // Deletes `node` and its whole subtree. When the selection was inside it,
  // the next sibling is selected, else the previous sibling, else the parent.
  void DeleteSubtree(NodeId node);
  void DeleteChildren(NodeId node);
  // Puts `node` under `parent`, just before `before` (a child of `parent`)
  // or last when `before` is kNoNode (kMoved); the subtree goes with it.
  // The caller makes sure that `parent` is not inside the subtree.
  void MoveTo(NodeId node, NodeId parent, NodeId before);
  // Deletes every item; the selection becomes empty without notification.
  void Clear();
  // Takes `other`'s items with their ids and its selection in place of its
  // own, as one change: kCleared. The selection hook is not told: whoever
  // shows the new tree shows its selection with it. The hooks stay.
  void Replace(MenuTree&& other);

  void Select(NodeId node);
  NodeId Selected() const { return selected_; }

  bool Valid(NodeId n) const { return n >= 0 && n < static_cast<NodeId>(nodes_.size()) && N(n).alive; }
  NodeId Parent(NodeId n) const { return N(n).parent; }
  NodeId FirstChild(NodeId n) const { return N(n).first_child; }
  NodeId LastChild(NodeId n) const { return N(n).last_child; }
  NodeId NextSibling(NodeId n) const { return N(n).next; }
  NodeId PrevSibling(NodeId n) const { return N(n).prev; }
  bool HasChildren(NodeId n) const { return N(n).first_child != kNoNode; }
  NodeId FirstTop() const { return first_top_; }
  const MenuItem& Item(NodeId n) const { return N(n).item; }
  // An item's values to change; the title goes through SetTitle.
  MenuItem& MutableItem(NodeId n) { return W(n).item; }
  const std::string& Label(NodeId n) const { return N(n).item.title; }
  void SetTitle(NodeId n, std::string title) {
    W(n).item.title = std::move(title);
    if (change_hook_) change_hook_(Change::kLabelChanged, n);
  }
  // Whether `n` is `root` or lies below it.
  bool IsInSubtree(NodeId n, NodeId root) const;

  int Count() const { return count_; }
  // How many ids were ever given out since the tree was last cleared.
  int IdsGiven() const { return static_cast<int>(nodes_.size()); }
  // Nesting level: 0 for a top-level item.
  int Level(NodeId n) const;

  // Pre-order list of the items below and including `n` (iterative, so that
  // any depth is safe).
  template <typename F>
  void ForEachPreOrder(NodeId n, F&& visit) const {
    if (n == kNoNode) return;
    NodeId cur = n;
    for (;;) {
      visit(cur);
      if (N(cur).first_child != kNoNode) {
        cur = N(cur).first_child;
        continue;
      }
      while (cur != n && N(cur).next == kNoNode) cur = N(cur).parent;
      if (cur == n) return;
      cur = N(cur).next;
    }
  }

  // Every item, in no particular order: cheaper than a walk of the tree
  // when the order does not matter.
  template <typename F>
  void ForEachItem(F&& visit) const {
    nodes_.ForEach([&visit](const std::shared_ptr<const Node>& node) {
      if (node->alive) visit(node->item);
    });
  }

  struct Node;
  // The whole tree as it is now, sharing its items with the tree: an item is
  // copied only when it is changed afterwards. Restoring it tells no hook;
  // the caller shows the tree anew.
  struct Snapshot {
    PersistentVector<std::shared_ptr<const Node>> nodes;
    NodeId first_top, last_top, selected;
    int count;
  };
  Snapshot Share() const { return {nodes_, first_top_, last_top_, selected_, count_}; }
  void Restore(Snapshot s);

  // What differs between the tree now and `before`, an earlier or later
  // state of it: the items gone, and the items new or changed in any way
  // (label, parent, place among their siblings, children), the latter in
  // the tree's pre-order. Items that both share are not looked into.
  struct Changes {
    std::vector<NodeId> removed, changed;
  };
  Changes ChangesSince(const Snapshot& before) const;

  struct Node {
    MenuItem item;
    NodeId parent = kNoNode, first_child = kNoNode, last_child = kNoNode, prev = kNoNode, next = kNoNode;
    bool alive = false;
  };
  // An item with its links, found once for a walk that reads several of them.
  const Node& NodeAt(NodeId n) const { return N(n); }

 private:
  const Node& N(NodeId n) const { return *nodes_[static_cast<size_t>(n)]; }
  // An item to change (its own copy when a snapshot shares it).
  Node& W(NodeId n) {
    std::shared_ptr<const Node>& node = nodes_.Mutable(static_cast<size_t>(n));
    if (node.use_count() > 1) node = std::make_shared<Node>(*node);
    return const_cast<Node&>(*node);  // this tree is its only owner
  }
  void Unlink(NodeId n);
  void Link(NodeId n, NodeId parent, NodeId before);

  PersistentVector<std::shared_ptr<const Node>> nodes_;
  NodeId first_top_ = kNoNode, last_top_ = kNoNode;
  NodeId selected_ = kNoNode;
  int count_ = 0;
  SelectionHook hook_;
  ChangeHook change_hook_;
};

}  // namespace pomeli2
