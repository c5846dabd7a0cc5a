// Import of each format at 1,000 and 10,000 items, and a browser's bookmark
// export of 10,470 items and about 52 MB (most of it the favicons that
// browsers write into every link), which should import in under a second.
#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

#include "exchange/exchange.h"
#include "model/menu_item.h"

using namespace pomeli2;

namespace {

// The levels of n items: branches of ten, each with children and grandchildren.
std::vector<int> Levels(int n) {
  std::vector<int> levels;
  for (int i = 1; i <= n; ++i) levels.push_back(i % 10 == 1 ? 0 : i % 10 < 5 ? 1 : 2);
  return levels;
}

// Writes an outline: `item(i, level, branch)` for each item, `close(level)`
// after the last item of each branch at that level.
void Walk(int n, const std::function<void(int, int, bool)>& item, const std::function<void(int)>& close) {
  std::vector<int> levels = Levels(n);
  for (size_t i = 0; i < levels.size(); ++i) {
    int next = i + 1 < levels.size() ? levels[i + 1] : 0;
    item(static_cast<int>(i), levels[i], next > levels[i]);
    for (int l = levels[i] - 1; l >= next; --l) close(l);
  }
}

std::string Indent(int level) { return std::string(static_cast<size_t>(2 * level + 2), ' '); }
std::string Title(int i) { return "Item <b>" + std::to_string(i) + "</b> &amp; 日本"; }
std::string Link(int i) { return "https://example.com/pages/p" + std::to_string(i) + ".html?a=1&amp;b=2"; }

std::string Markdown(int n) {
  std::string out = "# Bench\n\n";
  Walk(n, [&](int i, int level, bool) { out += std::string(static_cast<size_t>(2 * level), ' ') + "- [Item **" + std::to_string(i) + "** & 日本](https://example.com/pages/p" + std::to_string(i) + ".html?a=1&b=2)\n"; },
       [](int) {});
  return out;
}

std::string Opml(int n) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<opml version=\"2.0\">\n<head><title>Bench</title></head>\n<body>\n";
  Walk(n, [&](int i, int level, bool branch) {
        out += Indent(level) + "<outline text=\"Item " + std::to_string(i) + " &amp; 日本\" type=\"link\" url=\"" + Link(i) + "\"" + (branch ? ">\n" : "/>\n");
      },
      [&](int level) { out += Indent(level) + "</outline>\n"; });
  return out + "</body>\n</opml>\n";
}

// As browsers write it; `icon` bytes of favicon in every link.
std::string Bookmarks(int n, size_t icon) {
  const std::string favicon = " ICON=\"data:image/png;base64," + std::string(icon, 'Q') + "\"";
  std::string out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                    "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n";
  Walk(n, [&](int i, int level, bool branch) {
        if (branch)
          out += Indent(level) + "<DT><H3 ADD_DATE=\"1600000000\" LAST_MODIFIED=\"1600000001\">" + Title(i) + "</H3>\n" + Indent(level) + "<DL><p>\n";
        else
          out += Indent(level) + "<DT><A HREF=\"" + Link(i) + "\" ADD_DATE=\"1600000000\"" + favicon + ">" + Title(i) + "</A>\n";
      },
      [&](int level) { out += Indent(level) + "</DL><p>\n"; });
  return out + "</DL><p>\n";
}

std::string WebPage(int n) {
  std::string out = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Bench</title></head><body>\n<nav>\n<ul>\n";
  Walk(n, [&](int i, int level, bool branch) {
        out += Indent(level) + "<li><a href=\"" + Link(i) + "\">" + Title(i) + "</a>" + (branch ? "\n" + Indent(level) + "<ul>\n" : "</li>\n");
      },
      [&](int level) { out += Indent(level) + "</ul></li>\n"; });
  return out + "</ul>\n</nav>\n</body></html>\n";
}

std::string Json(int n) {
  std::string out = "{\n  \"format\": \"pomeli2-menu\",\n  \"version\": 1,\n  \"settings\": {\"Title\": \"Bench\"},\n  \"menu\": {\"title\": \"root\", \"children\": [\n";
  bool first = true;
  Walk(n, [&](int i, int level, bool branch) {
        if (!first && out.back() != '[' && out.back() != '\n') out += ",\n";
        first = false;
        out += Indent(level) + "{\"title\": \"Item <b>" + std::to_string(i) + "</b> &amp; 日本\", \"bg_color\": \"#FFFFFF\", \"style\": \"Bold\", "
               "\"font_size\": \"12pt\", \"link\": \"pages/p" + std::to_string(i) + ".html\", \"other_window\": 0, \"target\": \"Right\", "
               "\"icon\": \"linkto.gif\", \"open\": \"0\"" + (branch ? ", \"children\": [\n" : "}");
      },
      [&](int) { out += "]}"; });
  return out + "\n  ]}\n}\n";
}

void Import(benchmark::State& state, const std::string& source) {
  MenuItem defaults;
  size_t items = 0;
  for (auto _ : state) {
    ImportedMenu menu = ImportMenu(source, defaults, 0);
    if (menu.problem) state.SkipWithError("the source was refused");
    items = menu.items.size();
    benchmark::DoNotOptimize(menu.items.data());
  }
  state.counters["items"] = static_cast<double>(items);
  state.counters["MB"] = static_cast<double>(source.size()) / 1e6;
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(items));
}

void BM_ImportMarkdown(benchmark::State& state) { Import(state, Markdown(static_cast<int>(state.range(0)))); }
void BM_ImportOpml(benchmark::State& state) { Import(state, Opml(static_cast<int>(state.range(0)))); }
void BM_ImportBookmarks(benchmark::State& state) { Import(state, Bookmarks(static_cast<int>(state.range(0)), 0)); }
void BM_ImportWebPage(benchmark::State& state) { Import(state, WebPage(static_cast<int>(state.range(0)))); }
void BM_ImportJson(benchmark::State& state) { Import(state, Json(static_cast<int>(state.range(0)))); }
// 10,470 items in about 51.8 MB.
void BM_ImportBrowserBookmarks(benchmark::State& state) { Import(state, Bookmarks(10470, 6000)); }

}  // namespace

BENCHMARK(BM_ImportMarkdown)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportOpml)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportBookmarks)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportWebPage)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportJson)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportBrowserBookmarks)->Unit(benchmark::kMillisecond)->Iterations(3);
