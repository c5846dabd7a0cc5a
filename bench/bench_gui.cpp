// The desktop editor at menu sizes of 100 to 10,000 items: from loading a
// project to the first paint of the window, a selection change, and add,
// delete, paste, undo and redo as the window shows them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "editor/commands/commands.h"
#include "editor/editor_access.h"
#include "form_widget.h"
#include "menu_tree_view.h"
#include "main_window.h"

using namespace pomeli2;

namespace {

// Top-level items every `branch` items, with children and grandchildren.
QString WriteProject(const QTemporaryDir& dir, int items, int branch = 10) {
  QString pml = "[Title]\tBench\r\n0\troot\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n";
  for (int i = 1; i < items; ++i)
    pml += QString("%1\titem %2\t#FFFFFF\tNone\t1\t10pt\tp.html\t0\tFrame2\tlinkto.gif\t0\r\n")
               .arg((i - 1) % branch == 0 ? 1 : i % 10 < 5 ? 2 : 3)
               .arg(i);
  QString path = dir.filePath("menu.pml");
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(pml.toLatin1());
  return path;
}

struct Window {
  QTemporaryDir dir;
  MainWindow window{dir.path().toStdString() + "/"};
  Window() {
    window.GetHost().SetMessageFunction([](auto&&...) { return MessageAnswer::kOk; });
    window.show();
  }
};

void BM_LoadToFirstPaint(benchmark::State& state) {
  Window w;
  std::string path = WriteProject(w.dir, static_cast<int>(state.range(0))).toStdString();
  for (auto _ : state) {
    if (!w.window.GetEditor().ReadProjectFile(path)) state.SkipWithError("load failed");
    QImage shot = w.window.grab().toImage();  // paints the whole window once
    benchmark::DoNotOptimize(shot.bits());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SelectionChange(benchmark::State& state) {
  Window w;
  std::string path = WriteProject(w.dir, static_cast<int>(state.range(0))).toStdString();
  w.window.GetEditor().ReadProjectFile(path);
  QTreeWidget* tree = w.window.Form().Tree();
  QTreeWidgetItem* a = tree->topLevelItem(0)->child(0);
  QTreeWidgetItem* b = tree->topLevelItem(0)->child(tree->topLevelItem(0)->childCount() - 1);
  bool flip = false;
  for (auto _ : state) {
    tree->setCurrentItem((flip = !flip) ? a : b);
    QApplication::processEvents();
  }
}

// Pastes the first top-level branch (a tenth of the menu) under the root
// of a window that shows the whole menu.
void BM_PasteIntoWindow(benchmark::State& state) {
  Window w;
  const int n = static_cast<int>(state.range(0));
  std::string path = WriteProject(w.dir, n, n / 10).toStdString();
  Editor& e = w.window.GetEditor();
  for (auto _ : state) {
    state.PauseTiming();
    e.ReadProjectFile(path);
    MenuModel& m = EditorAccess::Model(e);
    e.SelectItem(m.tree.FirstChild(m.Root()));
    e.SetTreeFocus(true);
    state.ResumeTiming();
    e.Dispatch(kCmdCopy);
    e.SelectItem(m.Root());
    e.Dispatch(kCmdPasteCopy);
    QApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Undo and redo of that paste, the window showing the whole menu again.
void BM_UndoRedoInWindow(benchmark::State& state) {
  Window w;
  const int n = static_cast<int>(state.range(0));
  std::string path = WriteProject(w.dir, n, n / 10).toStdString();
  Editor& e = w.window.GetEditor();
  e.ReadProjectFile(path);
  MenuModel& m = EditorAccess::Model(e);
  e.SelectItem(m.tree.FirstChild(m.Root()));
  e.SetTreeFocus(true);
  e.Dispatch(kCmdCopy);
  e.SelectItem(m.Root());
  e.Dispatch(kCmdPasteCopy);
  for (auto _ : state) {
    e.Dispatch(kCmdUndo);
    QApplication::processEvents();
    e.Dispatch(kCmdRedo);
    QApplication::processEvents();
  }
}

// An item added under the root, the window showing the whole menu; every
// thousand adds the menu is loaded anew.
void BM_AddItemInWindow(benchmark::State& state) {
  Window w;
  const int n = static_cast<int>(state.range(0));
  std::string path = WriteProject(w.dir, n, n / 10).toStdString();
  Editor& e = w.window.GetEditor();
  e.ReadProjectFile(path);
  int added = 0;
  for (auto _ : state) {
    e.SelectItem(e.Model().Root());
    e.Dispatch(kCmdAddItem);
    QApplication::processEvents();
    if (++added == 1000) {
      state.PauseTiming();
      e.ReadProjectFile(path);
      added = 0;
      state.ResumeTiming();
    }
  }
}

// The first top-level branch (a tenth of the menu) deleted, confirmed.
void BM_DeleteBranchInWindow(benchmark::State& state) {
  Window w;
  w.window.GetHost().SetMessageFunction([](auto&&...) { return MessageAnswer::kYes; });
  const int n = static_cast<int>(state.range(0));
  std::string path = WriteProject(w.dir, n, n / 10).toStdString();
  Editor& e = w.window.GetEditor();
  for (auto _ : state) {
    state.PauseTiming();
    e.ReadProjectFile(path);
    e.SelectItem(e.Model().tree.FirstChild(e.Model().Root()));
    e.SetTreeFocus(true);
    QApplication::processEvents();
    state.ResumeTiming();
    e.Dispatch(kCmdDelete);
    QApplication::processEvents();
  }
  state.counters["ns_per_item"] = benchmark::Counter(static_cast<double>(n / 10),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}

// A keystroke in the find bar: the match selected and shown, its parents
// opened, the window painted.
void BM_FindInWindow(benchmark::State& state) {
  Window w;
  const int n = static_cast<int>(state.range(0));
  std::string path = WriteProject(w.dir, n).toStdString();
  Editor& e = w.window.GetEditor();
  e.ReadProjectFile(path);
  const std::string typed = "item 77";
  size_t letters = 0;
  for (auto _ : state) {
    letters = letters % typed.size() + 1;
    benchmark::DoNotOptimize(e.FindText(typed.substr(0, letters)).count);
    QApplication::processEvents();
  }
}

}  // namespace

BENCHMARK(BM_FindInWindow)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddItemInWindow)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteBranchInWindow)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoInWindow)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteIntoWindow)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadToFirstPaint)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectionChange)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
