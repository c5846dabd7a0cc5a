// The editing commands on menus of 1,000 and 10,000 items, through the
// editor's dispatch as a user runs them. The menu has ten top-level
// branches of n/10 items each; the commands act on the first branch, so
// that deleted, moved, copied and pasted subtrees grow with the menu.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "editor/editor.h"
#include "editor/editor_access.h"
#include "document/print_job.h"

using namespace pomeli2;

namespace {

class Host : public pomeli2::Host {
 public:
  std::string project, page;
  MessageAnswer MessageBox(const std::string&, const std::string&, MessageIcon, MessageButtons b, std::optional<MessageAnswer>) override {
    return b == MessageButtons::kYesNo ? MessageAnswer::kYes : MessageAnswer::kOk;
  }
  std::optional<std::string> FileDialog(const FileDialogRequest& r) override {
    return r.default_extension == "pml" ? project : page;
  }
};

std::string BranchesProject(int n) {
  std::string file = "[Title]\tBench\r\n0\troot\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n";
  const int branch = n / 10;
  for (int i = 1; i < n; ++i) {
    int in_branch = (i - 1) % branch;
    int depth = in_branch == 0 ? 1 : in_branch % 10 == 1 ? 2 : 3;
    file += std::to_string(depth) + "\titem number " + std::to_string(i) + "\t#FFFFFF\tBold\t1\t12pt\tpages/p" +
            std::to_string(i) + ".html\t0\tRight\tlinkto.gif\t0\r\n";
  }
  return file;
}

struct Menu {
  char folder[32] = "/tmp/pomeli2-bench-XXXXXX";
  Host host;
  std::unique_ptr<Editor> editor;
  std::string source;
  explicit Menu(int n) {
    mkdtemp(folder);
    source = std::string(folder) + "/source.pml";
    host.project = std::string(folder) + "/menu.pml";
    host.page = std::string(folder) + "/menu.html";
    std::string bytes = BranchesProject(n);
    FILE* f = fopen(source.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    Reload();
  }
  ~Menu() { (void)!system((std::string("rm -rf ") + folder).c_str()); }
  void Reload() {
    editor = std::make_unique<Editor>(host, std::string(folder) + "/");
    editor->Start();
    if (!editor->ReadProjectFile(source)) std::abort();
  }
  NodeId Branch() { return editor->Model().tree.FirstChild(editor->Model().Root()); }
};

void PerItem(benchmark::State& state) {
  state.counters["ns_per_item"] = benchmark::Counter(static_cast<double>(state.range(0)),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}

void BM_AddItem(benchmark::State& state) {
  Menu menu(static_cast<int>(state.range(0)));
  int added = 0;
  for (auto _ : state) {
    menu.editor->Dispatch(kCmdAddItem);
    if (++added == 1000) {
      state.PauseTiming();
      menu.Reload();
      added = 0;
      state.ResumeTiming();
    }
  }
}

// Runs `command` on the first branch of a freshly loaded menu each time.
template <typename Prepare>
void OnFreshMenu(benchmark::State& state, CommandId command, Prepare prepare) {
  Menu menu(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    menu.Reload();
    prepare(menu);
    state.ResumeTiming();
    menu.editor->Dispatch(command);
  }
  PerItem(state);
}

void BM_DeleteBranch(benchmark::State& state) {
  OnFreshMenu(state, kCmdDelete, [](Menu& m) { m.editor->SelectItem(m.Branch()); });
}

void BM_MoveBranch(benchmark::State& state) {
  OnFreshMenu(state, kCmdMoveDown, [](Menu& m) { m.editor->SelectItem(m.Branch()); });
}

void BM_PasteBranch(benchmark::State& state) {
  OnFreshMenu(state, kCmdPasteCopy, [](Menu& m) {
    m.editor->SelectItem(m.Branch());
    m.editor->Dispatch(kCmdCopy);
    m.editor->SelectItem(m.editor->Model().Root());
  });
}

// Save, Open and HTML save of the whole menu, each writing or reading a file.
void BM_Save(benchmark::State& state) {
  Menu menu(static_cast<int>(state.range(0)));
  menu.editor->Dispatch(kCmdSaveAs);
  for (auto _ : state) menu.editor->Dispatch(kCmdSave);
  PerItem(state);
}

void BM_Open(benchmark::State& state) {
  Menu menu(static_cast<int>(state.range(0)));
  for (auto _ : state) menu.editor->OpenProject(menu.source);
  PerItem(state);
}

void BM_HtmlSave(benchmark::State& state) {
  Menu menu(static_cast<int>(state.range(0)));
  menu.editor->Dispatch(kCmdHtmlSaveAs);
  for (auto _ : state) menu.editor->Dispatch(kCmdHtmlSave);
  PerItem(state);
}

// The whole outline printout: the job and every page, on a painter that
// only counts.
void BM_PrintOutline(benchmark::State& state) {
  struct Counter : PrintPainter {
    long n = 0;
    void Text(long, long, const std::string&) override { ++n; }
    void Line(long, long, long, long) override { ++n; }
  } painter;
  Menu menu(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    PrintJob job(menu.editor->Doc(), {4960, 7016, 120, 4200});
    for (int page = 1; page <= job.LastPage(); ++page) job.PrintPage(page, painter);
  }
  benchmark::DoNotOptimize(painter.n);
  PerItem(state);
}

// A drag of the first branch (a tenth of the menu) onto the last one.
void BM_DragBranch(benchmark::State& state) {
  Menu menu(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    menu.Reload();
    MenuModel& m = EditorAccess::Model(*menu.editor);
    NodeId branch = menu.Branch();
    NodeId last = m.tree.LastChild(m.Root());
    state.ResumeTiming();
    menu.editor->Drop(branch, last, kNoNode);
  }
  PerItem(state);
}

// Undo and redo of a paste of the first branch (a tenth of the menu).
void BM_UndoRedoPaste(benchmark::State& state) {
  Menu menu(static_cast<int>(state.range(0)));
  Editor& e = *menu.editor;
  e.SelectItem(menu.Branch());
  e.Dispatch(kCmdCopy);
  e.SelectItem(e.Model().Root());
  e.Dispatch(kCmdPasteCopy);
  for (auto _ : state) {
    e.Dispatch(kCmdUndo);
    e.Dispatch(kCmdRedo);
  }
  PerItem(state);
}

// A hundred steps of typing into the link field of items all over the menu,
// then the memory the history keeps beyond the menu itself.
void BM_HistoryMemory(benchmark::State& state) {
  for (auto _ : state) {
    Menu menu(static_cast<int>(state.range(0)));
    Editor& e = *menu.editor;
    MenuModel& m = EditorAccess::Model(e);
    NodeId node = m.Root();
    for (int step = 0; step < 100; ++step) {
      for (int k = 0; k < static_cast<int>(state.range(0)) / 100 && node != kNoNode; ++k)
        node = m.tree.HasChildren(node) ? m.tree.FirstChild(node) : m.tree.NextSibling(node);
      if (node == kNoNode) node = m.tree.FirstChild(m.Root());
      e.SelectItem(node);
      e.FieldChanged(kCtlLink, "page" + std::to_string(step) + ".html");
    }
    state.counters["steps"] = static_cast<double>(e.GetHistory().Steps());
    state.counters["history_MiB"] = static_cast<double>(e.GetHistory().MemoryEstimate(e.Capture())) / (1 << 20);
  }
}

// One keystroke in the find bar: the text typed so far, letter by letter,
// each finding and selecting its first match.
void BM_FindKeystroke(benchmark::State& state) {
  Menu menu(static_cast<int>(state.range(0)));
  const std::string typed = "number 77";
  size_t letters = 0;
  for (auto _ : state) {
    letters = letters % typed.size() + 1;
    benchmark::DoNotOptimize(menu.editor->FindText(typed.substr(0, letters)).count);
  }
}

// The first keystroke after an edit, which folds the texts of the changed
// tree anew.
void BM_FindAfterAnEdit(benchmark::State& state) {
  Menu menu(static_cast<int>(state.range(0)));
  bool flip = false;
  for (auto _ : state) {
    state.PauseTiming();
    menu.editor->SelectItem(menu.Branch());
    menu.editor->FieldChanged(kCtlLink, (flip = !flip) ? "a.html" : "b.html");
    menu.editor->FieldEditEnded(kCtlLink);
    state.ResumeTiming();
    benchmark::DoNotOptimize(menu.editor->FindText("number 77").count);
  }
}

}  // namespace

BENCHMARK(BM_FindKeystroke)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindAfterAnEdit)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragBranch)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedoPaste)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HistoryMemory)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PrintOutline)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddItem)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteBranch)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveBranch)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PasteBranch)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Open)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HtmlSave)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
