#include "editor/history.h"

#include <algorithm>
#include <unordered_set>

namespace pomeli2 {

void History::Done(std::string name, EditorState before, bool edits_project,
                   std::vector<std::pair<NodeId, NodeId>> moved) {
  // The steps undone since the save are dropped: the saved project is gone
  // with them unless none of them edited it.
  const long now = static_cast<long>(undo_.size());
  if (saved_ > now) saved_ = AtSaved() ? now : -1;
  redo_.clear();
  undo_.push_back({std::move(name), std::move(before), edits_project, std::move(moved)});
  if (undo_.size() > kMaxSteps) {
    undo_.erase(undo_.begin());
    if (saved_ >= 0) --saved_;
  }
}

namespace {

// One lookup, not a chain: an exchange maps a to b and b to a.
NodeId Follow(const std::vector<std::pair<NodeId, NodeId>>& moved, NodeId id, bool back) {
  for (const auto& [before, after] : moved)
    if ((back ? after : before) == id) return back ? before : after;
  return id;
}

}  // namespace

EditorState History::Undo(EditorState now, NodeId& id) {
  Step step = std::move(undo_.back());
  undo_.pop_back();
  id = Follow(step.moved, id, /*back=*/true);
  redo_.push_back({step.name, std::move(now), step.edits_project, std::move(step.moved)});
  return std::move(step.state);
}

EditorState History::Redo(EditorState now, NodeId& id) {
  Step step = std::move(redo_.back());
  redo_.pop_back();
  id = Follow(step.moved, id, /*back=*/false);
  undo_.push_back({step.name, std::move(now), step.edits_project, std::move(step.moved)});
  return std::move(step.state);
}

bool History::AtSaved() const {
  if (saved_ < 0) return false;
  const long now = static_cast<long>(undo_.size());
  for (long k = std::min(now, saved_); k < std::max(now, saved_); ++k) {
    // Step k (the k-th from the start) is in the undo list below now, and
    // in the redo list, from its back, above now.
    const Step& step = k < now ? undo_[static_cast<size_t>(k)] : redo_[redo_.size() - 1 - static_cast<size_t>(k - now)];
    if (step.edits_project) return false;
  }
  return true;
}

void History::Clear() {
  undo_.clear();
  redo_.clear();
  saved_ = 0;
}

size_t History::MemoryEstimate(const EditorState& now) const {
  std::unordered_set<const void*> seen;
  now.rows.ForEach([&](const auto& row) { seen.insert(row.get()); });
  now.tree.nodes.ForEach([&](const auto& node) { seen.insert(node.get()); });
  auto string_bytes = [](const std::string& text) { return text.capacity() > 15 ? text.capacity() + 1 : 0; };
  size_t bytes = 0;
  auto count = [&](const EditorState& s) {
    bytes += sizeof(Step) + (s.rows.size() + s.tree.nodes.size()) * sizeof(std::shared_ptr<int>) +
             s.tree.free.size() * sizeof(NodeId);
    s.rows.ForEach([&](const auto& row) {
      if (!seen.insert(row.get()).second) return;
      bytes += sizeof(ItemRow) + 16;
      for (const std::string& cell : row->cells) bytes += string_bytes(cell);
    });
    s.tree.nodes.ForEach([&](const auto& node) {
      if (seen.insert(node.get()).second) bytes += sizeof(MenuTree::Node) + 16 + string_bytes(node->label);
    });
  };
  for (const Step& s : undo_) count(s.state);
  for (const Step& s : redo_) count(s.state);
  return bytes;
}

}  // namespace pomeli2
