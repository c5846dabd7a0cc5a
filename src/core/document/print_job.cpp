#include "document/print_job.h"

#include <algorithm>

#include "generate/page_items.h"
#include "text/catalogue.h"

namespace pomeli2 {

const char kPrintRuler[] =
    "---------1---------2---------3---------4---------5---------6---------7---------8---------9-";

PrintJob::PrintJob(const Document& doc, const PrintMetrics& metrics) : m_(metrics) {
  const std::vector<PageItem> items = CollectPageItems(doc.model.tree);
  print_count_ = static_cast<int>(items.size());
  m_.line_height = std::max(1L, m_.line_height);
  // At least one item line per page, however small the page or large the
  // font: the count can then neither divide by zero nor wrap around.
  lines_per_page_ = std::max(1L, (m_.height - 7 * m_.line_height) / m_.line_height);
  last_page_ = static_cast<int>(std::max(1L, (print_count_ + lines_per_page_ - 1) / lines_per_page_));
  left_margin_ = (m_.width - m_.ruler_width) / 2;

  // Every item's line, in the order the pages print them.
  lines_.reserve(items.size());
  for (const PageItem& item : items)
    lines_.push_back(std::string(static_cast<size_t>(item.depth), ' ') + "+ " + item.item->title);
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
    painter.Text(left_margin_, lh * (k - first + 5), lines_[static_cast<size_t>(k)]);
}

}  // namespace pomeli2
