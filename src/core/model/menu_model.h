// The editor's menu: the tree of items, the cut and copy buffers, and the
// title the project file stores for the root.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/menu_tree.h"
#include "text/catalogue.h"

namespace pomeli2 {

// True when a menu of `live` items has room for `adding` more (kMaxItems).
inline bool ItemsFit(long long live, long long adding) { return live + adding <= kMaxItems; }

// An item of a subtree set aside: its values and its level below the
// subtree's top (0 for the top itself). A clip lists them in pre-order.
struct ClipItem {
  int depth;
  MenuItem item;
};
using Clip = std::vector<ClipItem>;

class MenuModel {
 public:
  MenuModel();
  MenuModel(const MenuModel&) = delete;
  MenuModel& operator=(const MenuModel&) = delete;

  MenuTree tree;
  // What the project file stores as the root's title: the page title once
  // the form has stored the root, which the root's label does not follow.
  std::string root_title;

  // Runs on every selection change, before the call that changed it returns.
  void SetSelectionHandler(std::function<void()> handler) { on_selection_ = std::move(handler); }

  NodeId Root() const { return tree.FirstTop(); }
  NodeId Selected() const { return tree.Selected(); }
  bool RootSelected() const { return tree.Selected() != kNoNode && tree.Selected() == Root(); }

  // Empties the tree and both buffers, inserts "ホームページ" as the only
  // top-level item and selects it.
  void ResetMenu();

  // Number of items in the tree, the root included.
  int LiveItemCount() const { return tree.Count(); }
  // Whether any item besides the root was made since the menu was last
  // reset or read, even if it is gone again.
  bool HasCreatedItems() const { return tree.IdsGiven() > 1; }

  // Empties both buffers.
  void ClearBuffers() {
    cut_.reset();
    ClearCopyBuffer();
  }

  // ---- the cut buffer: subtrees set aside, detached from the tree
  bool CutBufferFull() const { return cut_ != nullptr; }
  const Clip& CutItems() const;
  // Sets `item` with its subtree aside as the cut buffer and removes it.
  void Cut(NodeId item);

  // ---- the copy buffer: the copied items themselves, so that a paste
  // takes their values as they are then. Its shape is the subtree's at the
  // copy, or at the last move or undo, which take the subtree anew.
  bool CopyBufferFull() const { return !copied_.empty(); }
  void Copy(NodeId item);
  void ClearCopyBuffer() {
    copied_.clear();
    waiting_copy_ = kNoNode;
  }
  // The copied subtree's top, or the copied item that an undo took out of
  // the tree and a redo may bring back, or kNoNode.
  NodeId CopiedItem() const { return copied_.empty() ? waiting_copy_ : copied_.front().first; }
  // The copy buffer becomes `copied`'s subtree as it is now. When `copied`
  // is not in the tree, the buffer is empty until it comes back.
  void KeepCopyBuffer(NodeId copied);
  // A new step: an item that is not in the tree now never comes back, and
  // its id may be given to another.
  void ForgetWaitingCopy() { waiting_copy_ = kNoNode; }
  Clip CopiedItems() const;

  // Re-creates `clip` under the selected item: its top becomes the last
  // child there, the rest below it in its shape and order, each new item
  // selected in turn. Returns the values of the last one, or nothing for an
  // empty clip.
  std::optional<MenuItem> Paste(const Clip& clip);

  // Every stored item, live or in the cut buffer, with the title that tells
  // whether it has one (for the root, the stored title).
  void ForEachStoredItem(const std::function<void(MenuItem&, const std::string& title)>& visit);

  // What undo keeps of the menu; the copy buffer is no part of it.
  struct Snapshot {
    MenuTree::Snapshot tree;
    std::shared_ptr<const Clip> cut;
    std::string root_title;
  };
  Snapshot Share() const { return {tree.Share(), cut_, root_title}; }
  void Restore(Snapshot s);
  // Whether two states hold the same items in the same places, the same
  // cut buffer and root title; the selection aside. Items that the two
  // share are not looked into.
  static bool SameMenu(const Snapshot& a, const Snapshot& b);

 private:
  Clip SubtreeClip(NodeId top) const;

  std::function<void()> on_selection_;
  std::shared_ptr<const Clip> cut_;
  std::vector<std::pair<NodeId, int>> copied_;  // pre-order, with levels below the top
  NodeId waiting_copy_ = kNoNode;
};

}  // namespace pomeli2
