#include "editor/session/history.h"

#include <algorithm>
#include <unordered_set>

namespace pomeli2 {

bool SameContent(const EditorState& a, const EditorState& b) {
  return a.settings == b.settings && MenuModel::SameMenu(a.menu, b.menu);
}

void History::Done(std::string name, EditorState before, const EditorState& after, bool edits_project) {
  // The steps undone since the save are dropped: the saved project is gone
  // with them unless none of them edited it.
  const long now = static_cast<long>(undo_.size());
  if (saved_ > now) saved_ = AtSaved() ? now : -1;
  redo_.clear();
  View was{before.menu.tree.selected};
  undo_.push_back({std::move(name), std::move(before), edits_project, std::move(was),
                   View{after.menu.tree.selected}});
  if (undo_.size() > kMaxSteps) {
    undo_.pop_front();
    if (saved_ >= 0) --saved_;
  }
}

bool History::Continued(const EditorState& now) {
  if (undo_.empty()) return false;
  if (SameContent(undo_.back().state, now)) {
    undo_.pop_back();
    if (saved_ > static_cast<long>(undo_.size())) saved_ = -1;
    return false;
  }
  undo_.back().after = View{now.menu.tree.selected};
  return true;
}

EditorState History::Undo(EditorState now) { return TakeLast(undo_, redo_, std::move(now), true); }
EditorState History::Redo(EditorState now) { return TakeLast(redo_, undo_, std::move(now), false); }

EditorState History::TakeLast(std::deque<Step>& from, std::deque<Step>& to, EditorState now, bool undo) {
  Step step = std::move(from.back());
  from.pop_back();
  // The state left keeps the selection the window showed on that side of
  // the step, whatever was selected since.
  now.menu.tree.selected = undo ? step.after.selected : step.before.selected;
  to.push_back({step.name, std::move(now), step.edits_project, step.before, step.after});
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

void History::KeepSetting(std::string PageSettings::*setting, const std::string& value) {
  for (std::deque<Step>* steps : {&undo_, &redo_})
    for (Step& step : *steps) step.state.settings.*setting = value;
  saved_ = -1;
}

void History::Clear() {
  undo_.clear();
  redo_.clear();
  saved_ = 0;
}

size_t History::MemoryEstimate(const EditorState& now) const {
  std::unordered_set<const void*> seen;
  now.menu.tree.nodes.ForEach([&](const auto& node) { seen.insert(node.get()); });
  if (now.menu.cut) seen.insert(now.menu.cut.get());
  auto string_bytes = [](const std::string& text) { return text.capacity() > 15 ? text.capacity() + 1 : 0; };
  size_t bytes = 0;
  auto count = [&](const EditorState& s) {
    bytes += sizeof(Step) + s.menu.tree.nodes.size() * sizeof(std::shared_ptr<int>);
    auto item_bytes = [&](const MenuItem& item) {
      size_t n = 0;
      for (const std::string* text : {&item.title, &item.bg_color, &item.style, &item.font_size, &item.link,
                                      &item.target, &item.icon, &item.open})
        n += string_bytes(*text);
      return n;
    };
    s.menu.tree.nodes.ForEach([&](const auto& node) {
      if (seen.insert(node.get()).second) bytes += sizeof(MenuTree::Node) + 16 + item_bytes(node->item);
    });
    if (s.menu.cut && seen.insert(s.menu.cut.get()).second)
      for (const ClipItem& c : *s.menu.cut) bytes += sizeof(ClipItem) + item_bytes(c.item);
  };
  for (const Step& s : undo_) count(s.state);
  for (const Step& s : redo_) count(s.state);
  return bytes;
}

}  // namespace pomeli2
