// The outline printout on a Qt paint device: printer, preview or PDF.
#pragma once

#include <QPagedPaintDevice>

#include "document/print_job.h"

namespace pomeli2 {

struct PrintResult {
  int pages = 0;  // pages drawn
  long lines_per_page = 0, line_height = 0;
};

// Prints the pages `from` to `to` of the document's outline (0 and 0: all)
// with the font "ＭＳ 明朝" 10 pt, or an installed Japanese serif font.
PrintResult PrintOutline(QPagedPaintDevice& device, const Document& doc, int from = 0, int to = 0);

}  // namespace pomeli2
