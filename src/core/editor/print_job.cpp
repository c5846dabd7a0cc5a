#include "editor/print_job.h"

#include <algorithm>

#include "text/catalogue.h"

namespace pomeli2 {

const char kPrintRuler[] =
    "---------1---------2---------3---------4---------5---------6---------7---------8---------9-";

PrintJob::PrintJob(Document& doc, const PrintMetrics& metrics) : m_(metrics) {
  MenuModel& model = doc.model;
  model.ClearCopyMarks();
  print_count_ = model.RenumberItems(model.Root());
  m_.line_height = std::max(1L, m_.line_height);
  // At least one item line per page, however small the page or large the
  // font: the count can then neither divide by zero nor wrap around.
  lines_per_page_ = std::max(1L, (m_.height - 7 * m_.line_height) / m_.line_height);
  last_page_ = static_cast<int>(std::max(1L, (print_count_ + lines_per_page_ - 1) / lines_per_page_));
  left_margin_ = (m_.width - m_.ruler_width) / 2;

  // One walk over the table collects the line of every numbered row, in
  // the order the pages print them.
  lines_.resize(static_cast<size_t>(print_count_));
  const ItemTable& table = model.table;
  for (int row = 1; row < table.RowCount(); ++row) {
    int seq = table.CellInt(row, kSeq);
    if (seq < 1 || seq > print_count_) continue;
    std::string text(static_cast<size_t>(std::max(0, table.CellInt(row, kDepth))), ' ');
    lines_[static_cast<size_t>(seq - 1)].push_back(text + "+ " + table.Cell(row, kTitle));
  }
}

std::string PrintJob::Header(int page) {
  const std::string product = kProductVersion;
  const std::string page_text = "Page " + std::to_string(page);
  size_t used = product.size() + page_text.size();
  return product + std::string(used < 91 ? 91 - used : 0, ' ') + page_text;
}

void PrintJob::PrintPage(int page, PrintPainter& painter) const {
  const long lh = m_.line_height;
  painter.Text(left_margin_, 2 * lh, Header(page));
  long rule = 2 * lh + (3 * lh) / 2;
  painter.Line(left_margin_, rule, left_margin_ + m_.ruler_width, rule);
  if (print_count_ == 0) return;
  long first = lines_per_page_ * (page - 1);
  long last = std::min<long>(print_count_ - 1, lines_per_page_ * page - 1);
  for (long k = first; k <= last; ++k)
    for (const std::string& text : lines_[static_cast<size_t>(k)])
      painter.Text(left_margin_, lh * (k - first + 5), text);
}

}  // namespace pomeli2
