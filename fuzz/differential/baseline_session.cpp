// The session on the baseline core: its item table numbered on a copy, and
// its buffers read from their marks as a paste would read them.
#include <filesystem>

#include "editor/editor.h"
#include "generate/menu_page.h"
#include "project/project_file.h"
#include "session.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace {

using namespace pomeli2;

std::string RowText(const ItemTable& t, int row) {
  std::string out = std::to_string(t.CellInt(row, kDepth));
  for (Col c : {kTitle, kTextBgColor, kStyle, kFontSize, kLink}) out += "|" + t.Cell(row, c);
  out += "|" + NormaliseOtherWindow(t.Cell(row, kOtherWindow));
  for (Col c : {kTarget, kIcon, kOpen}) out += "|" + t.Cell(row, c);
  return out + "\n";
}

// The rows a paste re-creates, in its order.
std::string Batch(const ItemTable& t, Col mark_column, int mark, Col order_column) {
  const int rows = t.RowCount();
  std::vector<std::vector<int>> passes;
  for (int i = 0; i < rows; ++i) {
    if (t.CellInt(i, mark_column) != mark) continue;
    int order = t.CellInt(i, order_column);
    if (order > rows + rows) continue;
    if (static_cast<size_t>(order) >= passes.size()) passes.resize(static_cast<size_t>(order) + 1);
    passes[static_cast<size_t>(order)].push_back(i);
  }
  std::string out;
  int limit = rows;
  for (size_t p = 0; p < passes.size() && static_cast<int>(p) <= limit; ++p) {
    for (int i : passes[p]) out += RowText(t, i);
    limit += static_cast<int>(passes[p].size());
  }
  return out;
}

void Observe(Editor& e, std::string& out) {
  MenuModel& m = e.Model();
  ItemTable kept = m.table;
  int last = m.RenumberItems(m.Root());
  SerializedProject project = SerializeProject(e.Settings(), m.table, last);
  out += "project " + (project.too_long_key ? "key " + *project.too_long_key
                       : project.too_long_item_title ? "item " + *project.too_long_item_title
                                                      : project.bytes);
  PageSettings s = e.Settings();
  for (const char* browser : {"IE4-5, NN4, NN6", kHtml5Browser}) {
    s.Browser = browser;
    out += "\npage\n" + BuildMenuPage(s, m.table, last, nullptr, nullptr);
  }
  m.table = std::move(kept);
  const BatchCounters& c = m.counters;
  out += "\ncut\n";
  if (c.CutBufferFull()) out += Batch(m.table, kSeq, c.CutCounter, kChild);
  out += "copy\n";
  if (c.CopyBufferFull()) out += Batch(m.table, kChild, c.CopyCounter, kSeq);
}

#include "driver.inc"

}  // namespace

std::vector<std::string> RunBaselineSession(const std::uint8_t* data, std::size_t size, const std::string& folder) {
  return RunSessionImpl(data, size, folder);
}
