// Add, delete, rename and move: the commands that change the menu's shape.
#include "editor/commands/command_groups.h"
#include "editor/form/form_state.h"
#include "editor/session/services.h"
#include "project/project_file.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2::tree_commands {
namespace {

// Titles share the page title's limit, which keeps every item line well
// within what the project file reader takes.
constexpr size_t kTitleLimit = kTextLimit;

void RefuseRoot(CommandContext& e, const char* text, const char* title) {
  e.notify.Message(sj(text), sj(title), MessageIcon::kWarning);
  e.notify.FocusTree();
}

}  // namespace

// The live-item limit of the project file reader, which add and paste keep
// to: the message, and false, when `adding` more items would pass it.
bool RoomForItems(CommandContext& e, int adding) {
  if (ItemsFit(e.doc.model.LiveItemCount(), adding)) return true;
  e.notify.Message(TooManyItemsMessage(), sj(kErrorTitle), MessageIcon::kError);
  return false;
}

void AddItem(CommandContext& e) {
  MenuModel& m = e.doc.model;
  const PageSettings& s = e.doc.settings;
  if (!RoomForItems(e, 1)) return;
  MenuItem added = NewItemValues(s);
  added.title = sj("新しいアイテム");
  // Selected before its values are in, as a paste does it.
  MenuItem empty;
  empty.title = added.title;
  NodeId node = m.tree.InsertLast(m.Selected(), std::move(empty));
  m.tree.Select(node);
  m.tree.MutableItem(node) = std::move(added);
  e.notify.FocusTree();
  e.notify.FormChanged();
  e.notify.Report(e.doc.MarkModified(1));
  e.notify.StartLabelEdit(node);
  e.form.SetEnabled(kCtlOpen, m.tree.Parent(node) == m.Root());
}

void DeleteItem(CommandContext& e) {
  MenuModel& m = e.doc.model;
  if (!e.notify.TreeHasFocus()) return;
  if (m.RootSelected()) return RefuseRoot(e, "ホームページ・ルートは削除できません。", "削除確認");
  if (e.notify.Message(sj("選択されたアイテム以下がすべて削除されます。元に戻せなくなります。よろしいですか？"),
                         sj("削除確認"), MessageIcon::kWarning, MessageButtons::kYesNo) != MessageAnswer::kYes)
    return;
  m.ClearCopyBuffer();
  m.tree.DeleteSubtree(m.Selected());
  e.notify.FocusTree();
  e.notify.Report(e.doc.MarkModified(1));
}

void StartRename(CommandContext& e) {
  NodeId node = e.doc.model.tree.Selected();
  if (node != kNoNode) e.notify.StartLabelEdit(node);
}

bool SetSelectedTitle(CommandContext& e, const std::string& title) {
  MenuModel& m = e.doc.model;
  const NodeId node = m.Selected();
  if (!m.tree.Valid(node)) return false;
  MenuItem item = m.tree.Item(node);
  item.title = title;
  if (ItemLineLength(item, m.tree.Level(node)) > kMaxProjectLine) {
    // Only values loaded from a file can make the rest of the line this long.
    e.notify.Message(sj(kItemTooLongMessage), sj(kInputErrorTitle), MessageIcon::kWarning);
    return false;
  }
  m.tree.SetTitle(node, title);
  if (node == m.Root()) m.root_title = title;
  e.notify.Report(e.doc.MarkModified(1));
  return true;
}

bool Rename(CommandContext& e, const std::string& title) {
  if (IsBlank(title)) {
    // A blank title gives an invisible item and a nameless link.
    e.notify.Message(sj("アイテムの名前を入力してください。"), sj(kInputErrorTitle), MessageIcon::kWarning);
    return false;
  }
  if (!e.form.CheckEnteredText(title, kTitleLimit)) return false;
  return SetSelectedTitle(e, title);
}

namespace {

// After a move the selected item shows its new neighbours, and the copy
// buffer takes its item's subtree anew, wherever that went.
void Moved(CommandContext& e, NodeId item) {
  MenuModel& m = e.doc.model;
  m.KeepCopyBuffer(m.CopiedItem());
  m.tree.Select(item);
  // It may have been selected already.
  e.form.OnSelectionChanged();
  e.notify.FocusTree();
  e.notify.Report(e.doc.MarkModified(1));
}

}  // namespace

// Exchanges the selected item and its neighbour, each with its subtree.
void Move(CommandContext& e, bool up) {
  MenuTree& tree = e.doc.model.tree;
  NodeId a = tree.Selected();
  if (a == kNoNode) return;
  NodeId b = up ? tree.PrevSibling(a) : tree.NextSibling(a);
  if (b == kNoNode) return;
  if (up) tree.MoveTo(a, tree.Parent(a), b);
  else tree.MoveTo(b, tree.Parent(b), a);
  Moved(e, a);
}

bool CanMoveTo(const MenuModel& m, NodeId item, NodeId parent, NodeId before) {
  const MenuTree& tree = m.tree;
  if (!tree.Valid(item) || item == m.Root() || !tree.Valid(parent)) return false;
  if (tree.IsInSubtree(parent, item)) return false;  // into its own subtree
  if (before != kNoNode && (!tree.Valid(before) || tree.Parent(before) != parent)) return false;
  // Where it stands already: nothing to do.
  if (tree.Parent(item) == parent && (before == item || tree.NextSibling(item) == before)) return false;
  return true;
}

// The item goes with its subtree and every value; the cut buffer is not
// touched.
void MoveTo(CommandContext& e, NodeId item, NodeId parent, NodeId before) {
  if (!CanMoveTo(e.doc.model, item, parent, before)) return;
  e.doc.model.tree.MoveTo(item, parent, before);
  Moved(e, item);
}

void Indent(CommandContext& e, bool deeper) {
  MenuModel& m = e.doc.model;
  MenuTree& tree = m.tree;
  NodeId item = tree.Selected();
  if (!e.notify.TreeHasFocus() || item == kNoNode || item == m.Root()) return;
  if (deeper) {
    NodeId prev = tree.PrevSibling(item);
    if (prev != kNoNode) MoveTo(e, item, prev, kNoNode);
  } else {
    NodeId parent = tree.Parent(item);
    if (parent != m.Root()) MoveTo(e, item, tree.Parent(parent), tree.NextSibling(parent));
  }
}

namespace {

bool MoveUpEnabled(const CommandState& s) { return s.form.Enabled(kCtlMoveUp); }
bool MoveDownEnabled(const CommandState& s) { return s.form.Enabled(kCtlMoveDown); }

// An item other than the root, with a previous sibling to go under, or a
// parent other than the root to come out of.
bool IndentEnabled(const CommandState& s) {
  const MenuModel& m = s.doc.model;
  NodeId n = m.tree.Selected();
  return n != kNoNode && n != m.Root() && m.tree.PrevSibling(n) != kNoNode;
}
bool OutdentEnabled(const CommandState& s) {
  const MenuModel& m = s.doc.model;
  NodeId n = m.tree.Selected();
  return n != kNoNode && n != m.Root() && m.tree.Parent(n) != m.Root();
}

// The outline keys move only while the tree has the focus.
void MoveInTree(CommandContext& e, bool up) {
  if (e.notify.TreeHasFocus()) Move(e, up);
}

}  // namespace

std::vector<CommandDescriptor> Descriptors() {
  return {
      {.id = kCmdRename, .text = "アイテムの名前を変更(&N)", .tooltip = "アイテムの名前を変更",
       // The label edit it starts is the step.
       .undo = UndoKind::kNoStep, .enabled = AlwaysEnabled, .run = StartRename},
      {.id = kCmdAddItem, .text = "アイテムを追加(&A)", .key = "Ctrl+A", .tooltip = "追加", .button = kCtlAddItem,
       .undo = UndoKind::kStep, .enabled = AlwaysEnabled, .run = AddItem},
      {.id = kCmdDelete, .text = "ツリーアイテムを削除(&D)", .key = "Ctrl+D", .tooltip = "削除",
       .undo = UndoKind::kStep, .enabled = AlwaysEnabled, .run = DeleteItem},
      {.id = kCmdMoveUp, .text = "上へ移動", .button = kCtlMoveUp, .undo = UndoKind::kStep,
       .enabled = MoveUpEnabled, .run = [](CommandContext& e) { Move(e, true); }},
      {.id = kCmdMoveDown, .text = "下へ移動", .button = kCtlMoveDown, .undo = UndoKind::kStep,
       .enabled = MoveDownEnabled, .run = [](CommandContext& e) { Move(e, false); }},
      {.id = kCmdOutlineUp, .text = "アイテムを上へ移動(&K)", .key = "Ctrl+Shift+Up", .needs_tree_focus = true,
       .undo = UndoKind::kStep, .enabled = MoveUpEnabled, .run = [](CommandContext& e) { MoveInTree(e, true); }},
      {.id = kCmdOutlineDown, .text = "アイテムを下へ移動(&J)", .key = "Ctrl+Shift+Down", .needs_tree_focus = true,
       .undo = UndoKind::kStep, .enabled = MoveDownEnabled, .run = [](CommandContext& e) { MoveInTree(e, false); }},
      {.id = kCmdIndent, .text = "一つ下の階層へ移動(&L)", .key = "Ctrl+Shift+Right", .needs_tree_focus = true,
       .undo = UndoKind::kStep, .enabled = IndentEnabled, .run = [](CommandContext& e) { Indent(e, true); }},
      {.id = kCmdOutdent, .text = "一つ上の階層へ移動(&H)", .key = "Ctrl+Shift+Left", .needs_tree_focus = true,
       .undo = UndoKind::kStep, .enabled = OutdentEnabled, .run = [](CommandContext& e) { Indent(e, false); }},
  };
}

}  // namespace pomeli2::tree_commands
