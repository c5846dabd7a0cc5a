// Runs random editing sessions: every byte picks a command (add, delete,
// rename, move, cut, copy, paste, undo, redo, outline moves, select, save,
// open, New, a field edit, a drop).
// After each step the tree must be whole, every saved
// project must read back to the same tree, and every HTML5 page must nest
// its lists as the tree nests its items. Files are kept in memory: a save
// costs no disk, and nothing is left behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/editor.h"
#include "editor/editor_access.h"
#include "io/file_faults.h"
#include "io/file_io.h"
#include "project/project_file.h"

using namespace pomeli2;

namespace {

class FuzzHost : public Host {
 public:
  const uint8_t* data = nullptr;
  size_t size = 0, pos = 0;
  std::string file;
  uint8_t Next() { return pos < size ? data[pos++] : 0; }
  MessageAnswer MessageBox(const std::string&, const std::string&, MessageIcon, MessageButtons buttons,
                           std::optional<MessageAnswer>) override {
    bool yes = Next() % 4 != 0;
    if (buttons == MessageButtons::kYesNo) return yes ? MessageAnswer::kYes : MessageAnswer::kNo;
    if (buttons == MessageButtons::kOkCancel) return yes ? MessageAnswer::kOk : MessageAnswer::kCancel;
    return MessageAnswer::kOk;
  }
  std::optional<std::string> FileDialog(const FileDialogRequest& request) override {
    if (Next() % 8 == 0) return std::nullopt;
    return request.default_extension == "pml" ? file : file + ".html";
  }
};

const std::string kFolder = "/pomeli2-fuzz/";

// The harness's own walks and checks are left out of the coverage: their
// branches tell nothing of the core, and would only turn the menu's size
// into features.
#define NOT_FUZZED __attribute__((no_sanitize("coverage")))

// Pastes double the menu, so a few bytes could make it huge and one input
// run for seconds. No add or paste takes the menu past this size; undo and
// redo go back only to menus the session had. Every check and save costs in
// proportion to the menu, and 64 items leave room for all it can be: deep
// nesting, long runs of siblings, pastes of pastes, ids past the item
// store's first level.
constexpr int kMaxFuzzItems = 64;

// Writing a page costs as much as a dozen edits, and a project file a few:
// an input writes at most two pages (a page, then one with its name known)
// and three project files, opens included, and passes over the rest, so
// that the time goes to many sessions rather than to saves again.
constexpr int kMaxPages = 2;
constexpr int kMaxProjectFiles = 3;

NOT_FUZZED bool WouldOutgrow(const MenuModel& m, CommandId command) {
  size_t added = 0;
  if (command == kCmdAddItem) added = 1;
  if (command == kCmdPasteCut && m.CutBufferFull()) added = m.CutItems().size();
  if (command == kCmdPasteCopy && m.CopyBufferFull()) added = m.CopiedItems().size();
  return m.LiveItemCount() + added > kMaxFuzzItems;
}

void Check(bool ok) {
  if (!ok) abort();
}

// One root; every item's links agree with its parent's and siblings'; the
// count holds; the copy buffer names live items only. The items are taken
// once into a plain array, and the walk follows their links there.
NOT_FUZZED void CheckTree(const MenuModel& m, const MenuModel::Snapshot& s) {
  std::vector<const MenuTree::Node*> nodes;
  nodes.reserve(s.tree.nodes.size());
  s.tree.nodes.ForEach([&](const auto& node) { nodes.push_back(node.get()); });
  auto node = [&](NodeId n) -> const MenuTree::Node& { return *nodes[static_cast<size_t>(n)]; };
  auto valid = [&](NodeId n) { return n >= 0 && static_cast<size_t>(n) < nodes.size() && node(n).alive; };
  const NodeId root = m.Root();
  Check(s.tree.first_top == root && valid(root) && node(root).parent == kNoNode && node(root).next == kNoNode);
  int count = 0;
  for (NodeId n = root;;) {  // pre-order
    Check(valid(n) && ++count <= m.LiveItemCount());
    const MenuTree::Node& at = node(n);
    if (at.parent != kNoNode) Check(valid(at.parent));
    Check(at.prev == kNoNode ? (at.parent == kNoNode || node(at.parent).first_child == n)
                             : valid(at.prev) && node(at.prev).next == n);
    Check(at.next == kNoNode ? (at.parent == kNoNode || node(at.parent).last_child == n)
                             : valid(at.next) && node(at.next).prev == n);
    if (at.first_child != kNoNode) {
      n = at.first_child;
      continue;
    }
    while (n != root && node(n).next == kNoNode) n = node(n).parent;
    if (n == root) break;
    n = node(n).next;
  }
  Check(count == m.LiveItemCount() && count <= kMaxFuzzItems);
  Check(!m.CopyBufferFull() || valid(m.CopiedItem()));
}

// Most steps (a selection, a refused command) leave the menu as it was;
// its items are compared only where the states do not share them, so such
// a step costs no walk of the whole tree. The same goes for a project saved
// again as it was.
class Checks {
 public:
  NOT_FUZZED void Tree(const MenuModel& m) {
    MenuModel::Snapshot now = m.Share();
    const std::pair<bool, NodeId> copied{m.CopyBufferFull(), m.CopiedItem()};
    if (tree_checked_ && MenuModel::SameMenu(*tree_checked_, now) && copied == copied_) return;
    CheckTree(m, now);
    tree_checked_ = std::move(now);
    copied_ = copied;
  }

  // The saved file holds the tree: the same items in pre-order, each under
  // the same parent.
  NOT_FUZZED void SavedFile(const MenuModel& m, const std::string& path) {
    auto bytes = ReadWholeFile(path);
    Check(bytes.has_value());
    MenuModel::Snapshot now = m.Share();
    if (file_checked_ && *bytes == file_bytes_ && MenuModel::SameMenu(*file_checked_, now)) return;
    ParsedProject parsed = ParseProject(*bytes, PageSettings::Initial(), {});
    Check(parsed.failure == ReadFailure::kNone);
    std::vector<NodeId> order;
    m.tree.ForEachPreOrder(m.Root(), [&](NodeId n) { order.push_back(n); });
    // The file's ids follow its order: id i is the i-th item in pre-order.
    Check(parsed.tree.Count() == static_cast<int>(order.size()));
    for (size_t i = 1; i < order.size(); ++i) {
      const NodeId parent = parsed.tree.Parent(static_cast<NodeId>(i));
      Check(parent != kNoNode && order[static_cast<size_t>(parent)] == m.tree.Parent(order[i]));
      Check(parsed.tree.Label(static_cast<NodeId>(i)) == m.tree.Label(order[i]));
    }
    file_checked_ = std::move(now);
    file_bytes_ = std::move(*bytes);
  }

 private:
  std::optional<MenuModel::Snapshot> tree_checked_, file_checked_;
  std::pair<bool, NodeId> copied_;
  std::string file_bytes_;
};

NOT_FUZZED size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// One list item per item and one group per branch. Titles are at most five
// bytes and hold no line breaks, so they cannot fake these patterns.
NOT_FUZZED void CheckHtml5Page(const MenuModel& m, const std::string& path) {
  auto page = ReadWholeFile(path);
  Check(page.has_value());
  size_t items = 0, branches = 0;
  m.tree.ForEachPreOrder(m.Root(), [&](NodeId n) {
    if (n == m.Root()) return;
    ++items;
    if (m.tree.FirstChild(n) != kNoNode) ++branches;
  });
  Check(Count(*page, "<li><a class=\"f") == items);
  Check(Count(*page, "\r\n<ul>\r\n") == branches + 1);  // and the top list
  Check(Count(*page, "</ul></li>\r\n") == branches);
}

NOT_FUZZED NodeId NthItem(const MenuModel& m, int n) {
  NodeId found = m.Root();
  int i = 0;
  m.tree.ForEachPreOrder(m.Root(), [&](NodeId node) {
    if (i++ == n) found = node;
  });
  return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFiles files;
  ScopedFileStore in_memory(files);
  FuzzHost host;
  host.data = data;
  host.size = size;
  host.file = kFolder + "session.pml";
  Editor e(host, kFolder);
  e.Start();
  Checks checks;
  static const CommandId kCommands[] = {kCmdAddItem,  kCmdDelete,    kCmdMoveUp, kCmdMoveDown, kCmdCut,    kCmdCopy,
                                        kCmdPasteCut, kCmdPasteCopy, kCmdSave,   kCmdSaveAs,   kCmdOpen,   kCmdNew,
                                        kCmdHtmlSave, kCmdRename,    kCmdUndo,   kCmdRedo,     kCmdIndent, kCmdOutdent};
  constexpr int kCommandCount = sizeof(kCommands) / sizeof(kCommands[0]);
  int pages = 0, project_files = 0;
  while (host.pos < host.size) {
    uint8_t op = host.Next();
    if (op < 2 * kCommandCount) {
      CommandId command = kCommands[op % kCommandCount];
      if (WouldOutgrow(e.Model(), command)) continue;
      if (command == kCmdHtmlSave && ++pages > kMaxPages) continue;
      if ((command == kCmdSave || command == kCmdSaveAs || command == kCmdOpen) && ++project_files > kMaxProjectFiles)
        continue;
      const std::string page = host.file + ".html";
      if (command == kCmdHtmlSave) {
        EditorAccess::Settings(e).Browser.mode = host.Next() % 2 ? PageMode::kHtml5 : PageMode::kAllBrowsers;
        files.files.erase(page);
      }
      e.Dispatch(command);
      if (command == kCmdHtmlSave && e.Settings().Browser.mode == PageMode::kHtml5 && files.Exists(page))
        CheckHtml5Page(e.Model(), page);
      if (command == kCmdSave || command == kCmdSaveAs) {
        if (e.ModifiedFlag() == 0 && e.Settings().ProjectPath == host.file) checks.SavedFile(e.Model(), host.file);
      }
    } else if (op >= 0xB8 && op < 0xC0) {
      // A drop of one item onto or before another, refused or not.
      NodeId item = NthItem(e.Model(), host.Next() % 64);
      NodeId target = NthItem(e.Model(), host.Next() % 64);
      NodeId before = op % 2 ? e.Model().tree.FirstChild(target) : kNoNode;
      e.Drop(item, target, before);
    } else if (op < 0xC0) {
      e.SelectItem(NthItem(e.Model(), host.Next() % 64));
    } else if (op < 0xD0) {
      e.SetTreeFocus(op % 2 == 0);
    } else if (op < 0xE0) {
      // A title of a few bytes, any of them.
      std::string title;
      for (int n = host.Next() % 6; n > 0; --n) title += static_cast<char>(host.Next());
      e.EndLabelEdit(title);
    } else {
      std::string text;
      for (int n = host.Next() % 4; n > 0; --n) text += static_cast<char>('a' + host.Next() % 26);
      e.FieldChanged(op % 2 ? kCtlLink : kCtlItemStyle, text);
    }
    checks.Tree(e.Model());
  }
  return 0;
}
