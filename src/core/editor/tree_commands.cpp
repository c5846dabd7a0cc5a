// Add, delete, rename and move: the commands that change the menu's shape.
#include "editor/command_groups.h"
#include "editor/editor.h"
#include "project/project_file.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2::tree_commands {
namespace {

// Titles share the page title's limit, which keeps every item line well
// within what the project file reader takes.
constexpr size_t kTitleLimit = kTextLimit;

void RefuseRoot(Editor& e, const char* text, const char* title) {
  e.Notify().Message(sj(text), sj(title), MessageIcon::kWarning);
  e.Notify().FocusTree();
}

// The item at pre-order position `index` of the subtree of `top`.
NodeId NthInSubtree(const MenuTree& tree, NodeId top, int index) {
  NodeId found = kNoNode;
  int i = 0;
  tree.ForEachPreOrder(top, [&](NodeId n) {
    if (i++ == index) found = n;
  });
  return found;
}

// The items of the subtree of `top`, in pre-order.
std::vector<NodeId> SubtreeOf(const MenuTree& tree, NodeId top) {
  std::vector<NodeId> items;
  tree.ForEachPreOrder(top, [&](NodeId n) { items.push_back(n); });
  return items;
}

// The pre-order position of `node` in the subtree of `top`, or -1.
int IndexInSubtree(const MenuTree& tree, NodeId top, NodeId node) {
  if (node == kNoNode || !tree.IsInSubtree(node, top)) return -1;
  int index = -1, i = 0;
  tree.ForEachPreOrder(top, [&](NodeId n) {
    if (n == node) index = i;
    ++i;
  });
  return index;
}

}  // namespace

// The live-item limit of the project file reader, which add and paste keep
// to: the message, and false, when `adding` more items would pass it.
bool RoomForItems(Editor& e, int adding) {
  if (e.Model().LiveItemCount() + adding <= kMaxItems) return true;
  e.Notify().Message(sj(kTooManyItemsMessage), sj(kErrorTitle), MessageIcon::kError);
  return false;
}

void AddItem(Editor& e) {
  MenuModel& m = e.Model();
  const PageSettings& s = e.Settings();
  if (!RoomForItems(e, 1)) return;
  NodeId parent = m.tree.Selected();
  const std::string& label = sj("新しいアイテム");
  NodeId node = m.tree.InsertLast(parent, label, m.table.RowCounter());
  m.tree.Select(node);
  m.TreeHasFocus = 1;
  e.Notify().FocusTree();

  ItemFields& item = e.Item();
  item.bg_color = s.NewBgColor;
  item.style = s.NewStyle;
  item.other_button = s.NewOtherButton;
  item.size = s.NewFontSize;
  item.target = s.NewTarget;
  item.link.clear();
  item.icon = kLinktoImage;
  e.Notify().FormChanged();

  ItemRow row;
  row[kTitle] = label;
  row[kTextBgColor] = item.bg_color;
  row[kStyle] = item.style;
  row[kFontSize] = item.size;
  row[kOtherWindow] = OtherButtonCode(item.other_button);
  row[kTarget] = item.target;
  row[kIcon] = item.icon;
  row[kOpen] = "0";
  m.table.AppendItemRow(m.SelectedRow, row);
  e.Doc().MarkModified(1);
  e.Notify().StartLabelEdit(node);
  e.Form().SetEnabled(kCtlOpen, m.tree.Parent(node) == m.Root());
}

void DeleteItem(Editor& e) {
  MenuModel& m = e.Model();
  if (m.TreeHasFocus != 1) return;
  if (m.SelectedRow == 0) return RefuseRoot(e, "ホームページ・ルートは削除できません。", "削除確認");
  if (e.Notify().Message(sj("選択されたアイテム以下がすべて削除されます。元に戻せなくなります。よろしいですか？"),
                         sj("削除確認"), MessageIcon::kWarning, MessageButtons::kYesNo) != MessageAnswer::kYes)
    return;
  int mark = m.NextDeleteMark();
  m.ClearCopyMarks();
  NodeId node = m.tree.Selected();
  m.MarkDescendants(node, mark);
  m.table.SetCellInt(m.SelectedRow, kSeq, mark);
  m.table.SetCell(m.SelectedRow, kChild, "0");
  m.tree.DeleteSubtree(node);
  e.Notify().FocusTree();
  e.Doc().MarkModified(1);
}

void StartRename(Editor& e) {
  NodeId node = e.Model().tree.Selected();
  if (node != kNoNode) e.Notify().StartLabelEdit(node);
}

bool Rename(Editor& e, const std::string& title) {
  MenuModel& m = e.Model();
  if (IsBlank(title)) {
    // A blank title gives an invisible item and a nameless link.
    e.Notify().Message(sj("アイテムの名前を入力してください。"), sj(kInputErrorTitle), MessageIcon::kWarning);
    return false;
  }
  if (!e.Form().CheckEnteredText(title, kTitleLimit)) return false;
  ItemRow row = m.table.Row(m.SelectedRow);
  row[kTitle] = title;
  if (ItemLineLength(row) > kMaxProjectLine) {
    // Only values loaded from a file can make the rest of the line this long.
    e.Notify().Message(sj(kItemTooLongMessage), sj(kInputErrorTitle),
                       MessageIcon::kWarning);
    return false;
  }
  m.tree.SetLabel(m.tree.Selected(), title);
  m.table.SetCell(m.SelectedRow, kTitle, title);
  e.Doc().MarkModified(1);
  return true;
}

// Exchanges the selected item and its neighbour with their subtrees: the two
// rows swap their cells, and each one's former children are re-created
// below the other.
void Move(Editor& e, bool up) {
  MenuModel& m = e.Model();
  MenuTree& tree = m.tree;
  NodeId a = tree.Selected();
  if (a == kNoNode) return;
  NodeId b = up ? tree.PrevSibling(a) : tree.NextSibling(a);
  if (b == kNoNode) return;
  // The copy buffer keeps its item, wherever the exchange takes it: a's
  // cells and subtree go to b's place and b's to a's.
  NodeId copied = m.CopiedItem();
  const int in_a = IndexInSubtree(tree, a, copied), in_b = IndexInSubtree(tree, b, copied);
  const std::vector<NodeId> items_a = SubtreeOf(tree, a), items_b = SubtreeOf(tree, b);
  auto set_aside = [&](NodeId item, int mark) {
    m.MarkBatch(item, mark);
    tree.DeleteChildren(item);
  };
  set_aside(a, m.NextMoveSourceMark());
  set_aside(b, m.NextMoveNeighbourMark());

  ItemRow& row_a = m.table.MutableRow(tree.Row(a));
  ItemRow& row_b = m.table.MutableRow(tree.Row(b));
  for (int c = kSeq; c < kColumnCount; ++c) std::swap(row_a.cells[c], row_b.cells[c]);
  tree.SetLabel(a, row_a[kTitle]);
  tree.SetLabel(b, row_b[kTitle]);

  m.ReinsertBatch(BatchRule::MoveNeighbour(m.counters));
  tree.Select(b);
  m.ReinsertBatch(BatchRule::MoveSource(m.counters));
  if (in_a >= 0) copied = NthInSubtree(tree, b, in_a);
  if (in_b >= 0) copied = NthInSubtree(tree, a, in_b);
  e.NoteMovedItems(items_a, SubtreeOf(tree, b));
  e.NoteMovedItems(items_b, SubtreeOf(tree, a));
  if (tree.Valid(copied)) m.MarkCopyBatch(copied);
  tree.Select(b);
  m.TreeHasFocus = 1;
  e.Notify().FocusTree();
  e.Doc().MarkModified(1);
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


// The subtree is set aside under a move mark and re-created in its new
// place, as move and paste do it, so that every attribute goes along. The
// cut buffer is not touched; the copy buffer keeps its item where it went.
void MoveTo(Editor& e, NodeId item, NodeId parent, NodeId before) {
  MenuModel& m = e.Model();
  MenuTree& tree = m.tree;
  if (!CanMoveTo(m, item, parent, before)) return;
  NodeId copied = m.CopiedItem();
  const int copied_index = IndexInSubtree(tree, item, copied);
  const std::vector<NodeId> items = SubtreeOf(tree, item);
  const int mark = m.NextMoveSourceMark();
  m.MarkBatch(item, mark);
  tree.Select(parent);
  m.ReinsertBatch({kSeq, mark, kChild, false});
  NodeId moved = tree.LastChild(parent);
  tree.DeleteSubtree(item);
  if (before != kNoNode) tree.MoveBefore(moved, before);
  if (copied_index >= 0) copied = NthInSubtree(tree, moved, copied_index);
  if (copied != kNoNode && tree.Valid(copied)) m.MarkCopyBatch(copied);
  e.NoteMovedItems(items, SubtreeOf(tree, moved));
  tree.Select(moved);
  // It may have been selected already, before it took its place.
  e.Form().OnSelectionChanged();
  m.TreeHasFocus = 1;
  e.Notify().FocusTree();
  e.Doc().MarkModified(1);
}

void Indent(Editor& e, bool deeper) {
  MenuModel& m = e.Model();
  MenuTree& tree = m.tree;
  NodeId item = tree.Selected();
  if (m.TreeHasFocus != 1 || item == kNoNode || item == m.Root()) return;
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
void MoveInTree(Editor& e, bool up) {
  if (e.Model().TreeHasFocus == 1) Move(e, up);
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
       .enabled = MoveUpEnabled, .run = [](Editor& e) { Move(e, true); }},
      {.id = kCmdMoveDown, .text = "下へ移動", .button = kCtlMoveDown, .undo = UndoKind::kStep,
       .enabled = MoveDownEnabled, .run = [](Editor& e) { Move(e, false); }},
      {.id = kCmdOutlineUp, .text = "アイテムを上へ移動(&K)", .key = "Ctrl+Shift+Up", .needs_tree_focus = true,
       .undo = UndoKind::kStep, .enabled = MoveUpEnabled, .run = [](Editor& e) { MoveInTree(e, true); }},
      {.id = kCmdOutlineDown, .text = "アイテムを下へ移動(&J)", .key = "Ctrl+Shift+Down", .needs_tree_focus = true,
       .undo = UndoKind::kStep, .enabled = MoveDownEnabled, .run = [](Editor& e) { MoveInTree(e, false); }},
      {.id = kCmdIndent, .text = "一つ下の階層へ移動(&L)", .key = "Ctrl+Shift+Right", .needs_tree_focus = true,
       .undo = UndoKind::kStep, .enabled = IndentEnabled, .run = [](Editor& e) { Indent(e, true); }},
      {.id = kCmdOutdent, .text = "一つ上の階層へ移動(&H)", .key = "Ctrl+Shift+Left", .needs_tree_focus = true,
       .undo = UndoKind::kStep, .enabled = OutdentEnabled, .run = [](Editor& e) { Indent(e, false); }},
  };
}

}  // namespace pomeli2::tree_commands
