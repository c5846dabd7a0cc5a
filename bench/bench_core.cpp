// Costs of the walks over menus of growing size; the time per item should
// stay flat from 1,000 to 10,000 items.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "editor/editor.h"
#include "editor/editor_access.h"
#include "generate/menu_page.h"
#include "project/project_file.h"

using namespace pomeli2;

namespace {

class SilentHost : public Host {
 public:
  MessageAnswer MessageBox(const std::string&, const std::string&, MessageIcon, MessageButtons, std::optional<MessageAnswer>) override {
    return MessageAnswer::kOk;
  }
};

// A project of n items: branches of ten, each with children and grandchildren.
std::string ProjectBytes(int n) {
  std::string file = "[Title]\tBench\r\n0\troot\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n";
  for (int i = 1; i < n; ++i) {
    int depth = i % 10 == 1 ? 1 : i % 10 < 5 ? 2 : 3;
    file += std::to_string(depth) + "\titem number " + std::to_string(i) + "\t#FFFFFF\tBold\t1\t12pt\tpages/p" +
            std::to_string(i) + ".html\t0\tRight\tlinkto.gif\t0\r\n";
  }
  return file;
}

std::string WriteTemp(const std::string& bytes) {
  char name[] = "/tmp/pomeli2-bench-XXXXXX";
  int fd = mkstemp(name);
  if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::abort();
  close(fd);
  return name;
}

struct Loaded {
  SilentHost host;
  Editor editor{host};
  explicit Loaded(const std::string& path) {
    editor.Start();
    if (!editor.ReadProjectFile(path)) std::abort();
  }
  // A freshly loaded menu of n items.
  static std::unique_ptr<Loaded> Menu(int64_t n) {
    std::string path = WriteTemp(ProjectBytes(static_cast<int>(n)));
    auto loaded = std::make_unique<Loaded>(path);
    unlink(path.c_str());
    return loaded;
  }
};

void SetPerItem(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["ns_per_item"] = benchmark::Counter(static_cast<double>(state.range(0)),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}

void BM_Load(benchmark::State& state) {
  std::string path = WriteTemp(ProjectBytes(static_cast<int>(state.range(0))));
  SilentHost host;
  Editor editor(host);
  editor.Start();
  for (auto _ : state) {
    if (!editor.ReadProjectFile(path)) state.SkipWithError("load failed");
  }
  unlink(path.c_str());
  SetPerItem(state);
}

// The pages' own numbering walk.
void BM_PageItems(benchmark::State& state) {
  auto l = Loaded::Menu(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(CollectPageItems(l->editor.Model().tree).data());
  SetPerItem(state);
}

void BM_Write(benchmark::State& state) {
  auto l = Loaded::Menu(state.range(0));
  for (auto _ : state) {
    SerializedProject out = SerializeProject(l->editor.Settings(), l->editor.Model());
    benchmark::DoNotOptimize(out.bytes.data());
  }
  SetPerItem(state);
}

// Pastes a cut subtree of 1,000 items into a menu of n.
void BM_Paste1000(benchmark::State& state) {
  std::string path = WriteTemp(ProjectBytes(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    state.PauseTiming();
    auto l = std::make_unique<Loaded>(path);
    MenuModel& m = EditorAccess::Model(l->editor);
    NodeId top = m.tree.FirstChild(m.Root());
    for (int i = 0; i < 1000; ++i) m.tree.InsertLast(top, m.tree.Item(top));
    m.Cut(top);
    m.tree.Select(m.Root());
    state.ResumeTiming();
    benchmark::DoNotOptimize(m.Paste(m.CutItems()));
    state.PauseTiming();
    l.reset();
    state.ResumeTiming();
  }
  unlink(path.c_str());
  SetPerItem(state);
}

// The second argument 1 writes the page in the HTML5 mode.
void BM_MenuPage(benchmark::State& state) {
  auto l = Loaded::Menu(state.range(0));
  if (state.range(1) == 1) EditorAccess::Settings(l->editor).Browser.mode = PageMode::kHtml5;
  for (auto _ : state) {
    std::string page = BuildMenuPage(l->editor.Settings(), l->editor.Model().tree, nullptr, nullptr);
    benchmark::DoNotOptimize(page.data());
  }
  SetPerItem(state);
}

}  // namespace

BENCHMARK(BM_MenuPage)->ArgsProduct({{100, 1000, 10000}, {0, 1}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Load)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageItems)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Write)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paste1000)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
