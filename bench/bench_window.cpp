// The editor's window as the user meets it: shown on a real display with a
// window manager, every branch open, and each measure running from the input
// (a key given to the window as the platform gives it, or the check's menu
// command) to the window painted and the display synced.
// Menus of three shapes at 1,000 and 10,000 items:
//   flat  - two items under the root, each with a long list of children;
//   wide  - every item with up to 30 children (30 x 30 and more);
//   deep  - a spine of 23 levels with the items spread along it.
// Every menu starts with a branch of a tenth of its items: the one pasted.
//
// Needs a display (DISPLAY, the xcb platform); scripts/bench.sh starts Xvfb
// and openbox for it. BENCH_WINDOW_ITERATIONS sets the measures per run.
#include <benchmark/benchmark.h>

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <functional>
#include <utility>

#include "editor/commands/commands.h"
#include "find_bar.h"
#include "form_widget.h"
#include "main_window.h"
#include "menu_tree_view.h"

using namespace pomeli2;

namespace {

enum Shape { kFlat, kWide, kDeep };
const char* const kShapeNames[] = {"flat", "wide", "deep"};
constexpr int kFanOut = 30, kDepth = 23;

// Appends `count` items whose first stands at `level`, the rest under it.
void AddBranch(Shape shape, int count, int level, std::vector<int>& levels) {
  switch (shape) {
    case kFlat:
      levels.push_back(level);
      levels.insert(levels.end(), static_cast<size_t>(count - 1), level + 1);
      break;
    case kWide: {
      // Item i's children are i*30+1 .. i*30+30, written in pre-order.
      std::function<void(int, int)> add = [&](int i, int at) {
        levels.push_back(at);
        for (int c = i * kFanOut + 1; c <= i * kFanOut + kFanOut && c < count; ++c) add(c, at + 1);
      };
      add(0, level);
      break;
    }
    case kDeep: {
      // A spine down to the last level; each spine item has its share of
      // leaves before the spine goes on.
      const int spine = std::min(count, kDepth - level);
      const int leaves = count - spine;
      for (int s = 0; s < spine; ++s) {
        levels.push_back(level + s);
        const int share = leaves / spine + (s < leaves % spine ? 1 : 0);
        levels.insert(levels.end(), static_cast<size_t>(share), level + s + 1);
      }
      break;
    }
  }
}

QString WriteProject(const QTemporaryDir& dir, Shape shape, int items) {
  std::vector<int> levels{0};
  AddBranch(shape, items / 10, 1, levels);
  AddBranch(shape, items - 1 - items / 10, 1, levels);
  QString pml = "[Title]\tBench\r\n";
  for (size_t i = 0; i < levels.size(); ++i)
    pml += QString("%1\titem %2\t#FFFFFF\tNone\t1\t10pt\tp%2.html\t0\tFrame2\tlinkto.gif\t0\r\n")
               .arg(levels[i])
               .arg(i);
  QString path = dir.filePath(QString("%1-%2.pml").arg(kShapeNames[shape]).arg(items));
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(pml.toLatin1());
  return path;
}

// Lets the window take in what happened and paint it, and waits for the
// display to have it.
void Settle() {
  QAbstractEventDispatcher* events = QAbstractEventDispatcher::instance();
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 1000 && events->processEvents(QEventLoop::AllEvents); ++i) {
    }
    QApplication::sync();
  }
}

struct Window {
  QTemporaryDir dir;
  MainWindow window{dir.path().toStdString() + "/"};
  Editor& e = window.GetEditor();
  MenuTreeView* tree = window.Form().Tree();
  std::vector<NodeId> order;  // the items in pre-order

  Window(Shape shape, int items) {
    window.GetHost().SetMessageFunction([](auto&&...) { return MessageAnswer::kYes; });
    window.resize(1000, 800);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) qWarning("the window did not become active");
    e.ReadProjectFile(WriteProject(dir, shape, items).toStdString());
    const MenuTree& t = e.Model().tree;
    t.ForEachPreOrder(t.FirstTop(), [&](NodeId n) { order.push_back(n); });
    // Opened as the user opens them: "*" on the root.
    Select(order.front());
    Key(Qt::Key_Asterisk);
    Settle();
    // Assistive tools listening make every change of the tree cost more.
    static bool told = false;
    if (!std::exchange(told, true)) fprintf(stderr, "accessibility %s\n", QAccessible::isActive() ? "active" : "inactive");
  }
  // The head of the branch of a tenth, and an item well inside the rest.
  NodeId Tenth() const { return order[1]; }
  NodeId Middle() const { return order[order.size() / 2 + 1]; }
  void Select(NodeId node) {
    e.SelectItem(node);
    tree->setFocus();
    Settle();
  }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(window.windowHandle(), static_cast<Qt::Key>(key), mods);
  }
  // Items the view holds, and the ones it shows open.
  int ViewItems() const {
    int n = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) ++n;
    return n;
  }
  QTreeWidgetItem* Item(NodeId node) const {
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
      if ((*it)->data(0, Qt::UserRole).value<NodeId>() == node) return *it;
    return nullptr;
  }
  bool AllOpen() const {
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
      if ((*it)->childCount() && !(*it)->isExpanded()) return false;
    return true;
  }
  int Count() const { return e.Model().tree.Count(); }
  bool InStep(int items) const { return Count() == items && ViewItems() == items; }
  NodeId Selected() const { return e.Model().tree.Selected(); }
  void Type(char c) { QTest::keyClick(window.windowHandle(), c); }
};

using Clock = std::chrono::steady_clock;

// Times `input` until the window shows its result; `shown` (not timed)
// says whether it did, and `after` brings the menu back for the next measure.
void Measure(benchmark::State& state, const std::function<void()>& input, const std::function<bool()>& shown,
             const std::function<void()>& after = [] {}) {
  auto start = Clock::now();
  input();
  Settle();
  state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  if (!shown()) state.SkipWithError("the window did not show the change");
  after();
  Settle();
}

using Op = void (*)(benchmark::State&, Window&);

void Undo(Window& w) { w.Key(Qt::Key_Z, Qt::ControlModifier); }
void Redo(Window& w) { w.Key(Qt::Key_Y, Qt::ControlModifier); }

void Add(benchmark::State& s, Window& w) {
  const int n = w.Count();
  for (auto _ : s) {
    w.Select(w.Middle());
    Measure(s, [&] { w.Key(Qt::Key_A, Qt::ControlModifier); }, [&] { return w.InStep(n + 1); }, [&] { Undo(w); });
  }
}

void Delete(benchmark::State& s, Window& w) {
  const int n = w.Count();
  for (auto _ : s) {
    w.Select(w.Middle());
    Measure(s, [&] { w.Key(Qt::Key_D, Qt::ControlModifier); }, [&] { return w.InStep(n - 1); }, [&] { Undo(w); });
  }
}

// Ctrl+Shift with `there`, then with `back`, each a measure, on an item in
// the middle; `where` tells whether the item went where the key sends it.
void Alternate(benchmark::State& s, Window& w, Qt::Key there, Qt::Key back, NodeId (MenuTree::*where)(NodeId) const) {
  const NodeId item = w.Middle();
  const MenuTree& tree = w.e.Model().tree;
  w.Select(item);
  bool forth = true;
  for (auto _ : s) {
    const NodeId was = (tree.*where)(item);
    Measure(s, [&] { w.Key(forth ? there : back, Qt::ControlModifier | Qt::ShiftModifier); },
            [&] { return (tree.*where)(item) != was && w.tree->currentItem() == w.Item(item); });
    forth = !forth;
  }
}
// The item moved up and down again.
void Move(benchmark::State& s, Window& w) { Alternate(s, w, Qt::Key_Up, Qt::Key_Down, &MenuTree::PrevSibling); }
// One level down (under its previous sibling) and back.
void Indent(benchmark::State& s, Window& w) { Alternate(s, w, Qt::Key_Right, Qt::Key_Left, &MenuTree::Parent); }

// The selection moved by the arrow keys.
void Arrows(benchmark::State& s, Window& w) {
  w.Select(w.Middle());
  bool down = true;
  for (auto _ : s) {
    const NodeId was = w.Selected();
    Measure(s, [&] { w.Key(down ? Qt::Key_Down : Qt::Key_Up); }, [&] { return w.Selected() != was; });
    down = !down;
  }
}

// Copies the branch of a tenth; `paste` then pastes it at the middle.
int CopyTenth(Window& w) {
  int size = 0;
  w.e.Model().tree.ForEachPreOrder(w.Tenth(), [&](NodeId) { ++size; });
  w.Select(w.Tenth());
  w.Key(Qt::Key_C, Qt::AltModifier);
  return size;
}
void PasteKey(Window& w) {
  w.Select(w.Middle());
  w.Key(Qt::Key_P, Qt::AltModifier);
}

void Paste(benchmark::State& s, Window& w) {
  const int n = w.Count(), tenth = CopyTenth(w);
  for (auto _ : s) {
    w.Select(w.Middle());
    Measure(s, [&] { w.Key(Qt::Key_P, Qt::AltModifier); }, [&] { return w.InStep(n + tenth); }, [&] { Undo(w); });
  }
}

// Undo and redo of that paste.
void UndoPaste(benchmark::State& s, Window& w) {
  const int n = w.Count();
  CopyTenth(w);
  PasteKey(w);
  Settle();
  for (auto _ : s) Measure(s, [&] { Undo(w); }, [&] { return w.InStep(n); }, [&] { Redo(w); });
}
void RedoPaste(benchmark::State& s, Window& w) {
  const int n = w.Count(), tenth = CopyTenth(w);
  PasteKey(w);
  Settle();
  for (auto _ : s) {
    Undo(w);
    Settle();
    Measure(s, [&] { Redo(w); }, [&] { return w.InStep(n + tenth); });
  }
}

// "*" on the root of a closed menu opens every branch.
void ExpandAll(benchmark::State& s, Window& w) {
  for (auto _ : s) {
    w.tree->collapseAll();
    w.Select(w.order.front());
    Measure(s, [&] { w.Key(Qt::Key_Asterisk); }, [&] { return w.AllOpen(); });
  }
}

// The root closed: the whole open menu goes.
void CollapseAll(benchmark::State& s, Window& w) {
  QTreeWidgetItem* root = w.Item(w.order.front());
  for (auto _ : s) {
    w.Select(w.order.front());
    Measure(s, [&] { w.Key(Qt::Key_Left); }, [&] { return !root->isExpanded(); }, [&] { w.Key(Qt::Key_Asterisk); });
  }
}

// A key typed in the find bar: the match changes, is selected and shown.
void Find(benchmark::State& s, Window& w) {
  w.Select(w.order.front());
  w.Key(Qt::Key_F, Qt::ControlModifier);
  Settle();
  for (char c : QByteArray("item 5")) w.Type(c);
  bool type = true;
  for (auto _ : s) {
    const NodeId was = w.Selected();
    Measure(s, [&] { w.Key(type ? Qt::Key_0 : Qt::Key_Backspace); }, [&] { return w.Selected() != was; });
    type = !type;
  }
}

// The link check, which finds every item's link missing and marks them all,
// again: its window is open already.
void Marks(benchmark::State& s, Window& w) {
  w.window.RunCommand(kCmdCheckLinks);
  Settle();
  for (auto _ : s)
    Measure(s, [&] { w.window.RunCommand(kCmdCheckLinks); }, [&] { return w.tree->Marked(w.order.back()); });
}

int Iterations() {
  bool ok = false;
  int n = qEnvironmentVariableIntValue("BENCH_WINDOW_ITERATIONS", &ok);
  return ok && n > 0 ? n : 5;
}

void Register(const char* name, Op op) {
  for (int shape : {kFlat, kWide, kDeep})
    for (int items : {1000, 10000}) {
      std::string full = std::string("Window/") + name + "/" + kShapeNames[shape] + "/" + std::to_string(items);
      benchmark::RegisterBenchmark(full.c_str(), [op, shape, items](benchmark::State& s) {
        Window w(static_cast<Shape>(shape), items);
        op(s, w);
      })->UseManualTime()->Iterations(Iterations())->Unit(benchmark::kMillisecond);
    }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (QGuiApplication::platformName() != "xcb") {
    fprintf(stderr, "bench_window needs an X display (platform %s)\n", qPrintable(QGuiApplication::platformName()));
    return 77;
  }
  Register("add", Add);
  Register("delete", Delete);
  Register("move", Move);
  Register("indent", Indent);
  Register("arrows", Arrows);
  Register("paste_tenth", Paste);
  Register("undo", UndoPaste);
  Register("redo", RedoPaste);
  Register("expand_all", ExpandAll);
  Register("collapse_all", CollapseAll);
  Register("find", Find);
  Register("check_marks", Marks);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
