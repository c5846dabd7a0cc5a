// Undo and redo. Every change of the document passes through the editor's
// dispatch; there the state before it is kept, sharing the rows and items
// that the change leaves alone, so that a step costs two pointers an item.
#pragma once

#include <deque>
#include <string>

#include "model/menu_model.h"
#include "model/page_settings.h"

namespace pomeli2 {

// Everything a step can change: the menu with its cut buffer and the
// selection, and the settings. The form shows them.
struct EditorState {
  MenuModel::Snapshot menu;
  PageSettings settings;
};

// Whether two states are the same but for the selection.
bool SameContent(const EditorState& a, const EditorState& b);

class History {
 public:
  static constexpr size_t kMaxSteps = 100;

  // What the window showed just before and just after the step: undo
  // gives back the one, redo the other, whatever was selected since.
  struct View {
    NodeId selected = kNoNode;
  };
  struct Step {
    std::string name;  // CP932, as the menu names the command
    EditorState state;  // before the step (undo) or after it (redo)
    bool edits_project = true;  // false for the new-item fields alone
    View before, after;
  };

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  const std::string& UndoName() const { return undo_.back().name; }
  const std::string& RedoName() const { return redo_.back().name; }

  // A step was done from `before`; the steps that could be redone are gone.
  void Done(std::string name, EditorState before, const EditorState& after, bool edits_project = true);
  // The step done last goes on (typing in a field) and has come to `now`:
  // redo shows where it ended. Typing that came back to where it began is
  // no step any more: false.
  bool Continued(const EditorState& now);
  // Takes the last step: its state before, and the state now to redo it.
  EditorState Undo(EditorState now);
  EditorState Redo(EditorState now);
  void Clear();
  // A setting kept outside the steps (the site's folder): every kept state
  // takes its value, so that undo and redo leave it, and the saved point is
  // forgotten, since the saved file holds another.
  void KeepSetting(std::string PageSettings::*setting, const std::string& value);

  // Where the saved project stands in the history; whether the state now
  // is the saved one.
  void MarkSaved() { saved_ = static_cast<long>(undo_.size()); }
  // Whether the project as it would be saved now is the saved one: no step
  // that edits the project lies between the saved point and now.
  bool AtSaved() const;

  size_t Steps() const { return undo_.size() + redo_.size(); }
  // The bytes the kept states hold beyond the state `now`: their pointers,
  // and the items that they alone keep. Each state counts a whole array of
  // pointers, though the states share most of it: an upper bound.
  size_t MemoryEstimate(const EditorState& now) const;

 private:
  // A full history drops its oldest step on every new one: a deque does so
  // without moving the other steps.
  std::deque<Step> undo_, redo_;
  // Moves the last step of `from` to `to` with the state `now`; the state
  // the step held comes back.
  static EditorState TakeLast(std::deque<Step>& from, std::deque<Step>& to, EditorState now, bool undo);
  long saved_ = 0;  // -1: the saved state is no longer in the history
};

}  // namespace pomeli2
