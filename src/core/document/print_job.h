// The menu printed as an outline: one line per item below the root, in tree
// order, under a header with the product line, the page number and a rule.
// The layout is the core's; the screen's printing draws it through a small
// painter interface, so that it is tested without a printer.
#pragma once

#include <string>
#include <vector>

#include "document/document.h"

namespace pomeli2 {

// What the printer's device tells, in device pixels, for the job's font.
struct PrintMetrics {
  long width = 0, height = 0;  // the printable area
  long line_height = 0;        // character height and external leading
  long ruler_width = 0;        // the width of kPrintRuler
};

// The 91 characters whose width the printed block takes.
extern const char kPrintRuler[];

class PrintPainter {
 public:
  virtual ~PrintPainter() = default;
  // CP932 text whose top left corner is at (x, y).
  virtual void Text(long x, long y, const std::string& sjis) = 0;
  virtual void Line(long x1, long y1, long x2, long y2) = 0;
};

class PrintJob {
 public:
  // Starts a job: the items are numbered. Whoever prints forgets a pending
  // copy, as every numbering does.
  PrintJob(const Document& doc, const PrintMetrics& metrics);

  int LastPage() const { return last_page_; }
  long LinesPerPage() const { return lines_per_page_; }
  long LeftMargin() const { return left_margin_; }
  int PrintCount() const { return print_count_; }
  // Draws page `page` (from 1).
  void PrintPage(int page, PrintPainter& painter) const;

  // "Pomeli Pomeli Version 2.0", spaces, "Page N": 91 characters.
  static std::string Header(int page);

 private:
  PrintMetrics m_;
  int print_count_ = 0;
  long lines_per_page_ = 1;
  long left_margin_ = 0;
  int last_page_ = 1;
  // The texts of the rows numbered k + 1, in row order, for every k.
  std::vector<std::string> lines_;
};

}  // namespace pomeli2
