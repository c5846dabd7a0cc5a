#include "printing.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include "text_border.h"

namespace pomeli2 {
namespace {

class QtPrintPainter : public PrintPainter {
 public:
  QtPrintPainter(QPainter& painter, const QFontMetrics& metrics) : painter_(painter), ascent_(metrics.ascent()) {}
  void Text(long x, long y, const std::string& sjis) override {
    // The layout gives the top left corner; Qt draws on the baseline.
    painter_.drawText(QPoint(static_cast<int>(x), static_cast<int>(y) + ascent_), ToQt(sjis));
  }
  void Line(long x1, long y1, long x2, long y2) override {
    painter_.drawLine(static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2), static_cast<int>(y2));
  }

 private:
  QPainter& painter_;
  int ascent_;
};

}  // namespace

PrintResult PrintOutline(QPagedPaintDevice& device, const Document& doc, int from, int to) {
  QFont font;
  font.setFamilies({QString::fromUtf8("ＭＳ 明朝"), "IPAMincho", QString::fromUtf8("IPA明朝"), "Noto Serif CJK JP",
                    "serif"});
  font.setPointSize(10);
  QPainter painter(&device);
  painter.setFont(font);
  QFontMetrics fm(font, &device);
  PrintMetrics m;
  m.width = device.width();
  m.height = device.height();
  m.line_height = fm.height() + fm.leading();
  m.ruler_width = fm.horizontalAdvance(QString::fromLatin1(kPrintRuler));
  PrintJob job(doc, m);
  QtPrintPainter out(painter, fm);
  int first = from > 0 ? from : 1;
  int last = to > 0 ? std::min(to, job.LastPage()) : job.LastPage();
  PrintResult result{0, job.LinesPerPage(), m.line_height};
  for (int page = first; page <= last; ++page) {
    if (page > first) device.newPage();
    job.PrintPage(page, out);
    ++result.pages;
  }
  return result;
}

}  // namespace pomeli2
