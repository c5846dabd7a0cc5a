// Undo and redo. Every change of the document passes through the editor's
// dispatch; there the state before it is kept, sharing the rows and items
// that the change leaves alone, so that a step costs two pointers an item.
#pragma once

#include <string>
#include <vector>

#include "editor/form_state.h"
#include "model/menu_model.h"
#include "model/page_settings.h"

namespace pomeli2 {

// Everything a step can change: the tree, every row (retired ones and the
// buffers' marks included), the counters, the settings and the form.
struct EditorState {
  ItemTable::Snapshot rows;
  MenuTree::Snapshot tree;
  BatchCounters counters;
  PageSettings settings;
  ItemFields item;
  int selected_row = 0;
};

class History {
 public:
  static constexpr size_t kMaxSteps = 100;

  struct Step {
    std::string name;  // CP932, as the menu names the command
    EditorState state;  // before the step (undo) or after it (redo)
    bool edits_project = true;  // false for the new-item fields alone
    // Items the step re-created or exchanged: their id before the step and
    // after it, so that what follows an item (the copy buffer) can follow it
    // back and forth.
    std::vector<std::pair<NodeId, NodeId>> moved;
  };

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  const std::string& UndoName() const { return undo_.back().name; }
  const std::string& RedoName() const { return redo_.back().name; }

  // A step was done from `before`; the steps that could be redone are gone.
  void Done(std::string name, EditorState before, bool edits_project = true,
            std::vector<std::pair<NodeId, NodeId>> moved = {});
  // Takes the last step: its state before, and the state now to redo it.
  // `id` (an item of the state now, or kNoNode) becomes the same item's id
  // in the state returned.
  EditorState Undo(EditorState now, NodeId& id);
  EditorState Redo(EditorState now, NodeId& id);
  void Clear();

  // Where the saved project stands in the history; whether the state now
  // is the saved one.
  void MarkSaved() { saved_ = static_cast<long>(undo_.size()); }
  // Whether the project as it would be saved now is the saved one: no step
  // that edits the project lies between the saved point and now.
  bool AtSaved() const;

  size_t Steps() const { return undo_.size() + redo_.size(); }
  // The bytes the kept states hold beyond the state `now`: their pointers,
  // and the rows and items that they alone keep.
  size_t MemoryEstimate(const EditorState& now) const;

 private:
  std::vector<Step> undo_, redo_;
  long saved_ = 0;  // -1: the saved state is no longer in the history
};

}  // namespace pomeli2
