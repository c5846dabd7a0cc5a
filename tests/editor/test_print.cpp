// The outline printout's layout, drawn on a recording painter.
#include "document/print_job.h"
#include "support/session.h"

namespace pomeli2::testing {
namespace {

struct Recorder : PrintPainter {
  std::vector<std::string> texts;  // "y:x:text"
  int lines = 0;
  void Text(long x, long y, const std::string& sjis) override {
    texts.push_back(std::to_string(y) + ":" + std::to_string(x) + ":" + SjisToUtf8Lossy(sjis));
  }
  void Line(long, long, long, long) override { ++lines; }
};

class Printing : public Session {
 public:
  // A page 1,000 high with lines 10 apart: 93 item lines a page.
  PrintMetrics metrics{1000, 1000, 10, 910};
  std::vector<std::string> Page(const PrintJob& job, int page) {
    Recorder r;
    job.PrintPage(page, r);
    EXPECT_EQ(r.lines, 1);
    return r.texts;
  }
  void AddFlat(int n) {
    for (int i = 0; i < n; ++i) {
      e.SelectItem(m().Root());
      e.Dispatch(kCmdAddItem);
    }
  }
};

TEST_F(Printing, HeaderRuleAndOutlineLines) {
  PrintJob empty(e.Doc(), metrics);
  EXPECT_EQ(empty.LastPage(), 1);
  EXPECT_EQ(Page(empty, 1), std::vector<std::string>{"20:45:Pomeli Pomeli Version 2.0" + std::string(60, ' ') + "Page 1"});
  EXPECT_EQ(PrintJob::Header(10).size(), 91u);
  EXPECT_EQ(PrintJob::Header(10), "Pomeli Pomeli Version 2.0" + std::string(59, ' ') + "Page 10");

  Add("A");
  Add("A1");
  Add("A11");
  e.SelectItem(m().Root());
  Add("B");
  Select("A");
  e.Dispatch(kCmdCopy);
  Select("B");
  e.Dispatch(kCmdCut);  // a retired row is never printed
  Select("A1");
  PrintJob job(e.Doc(), metrics);
  EXPECT_EQ(job.PrintCount(), 3);
  std::vector<std::string> page = Page(job, 1);
  EXPECT_EQ(std::vector<std::string>(page.begin() + 1, page.end()),
            (std::vector<std::string>{"50:45: + A", "60:45:  + A1", "70:45:   + A11"}));
}

TEST_F(Printing, PagesDrawnForgetAPendingCopy) {
  Add("A");
  e.Dispatch(kCmdCopy);
  e.Dispatch(kCmdPrint);  // the print dialog cancelled
  e.Dispatch(kCmdPrintSetup);
  EXPECT_TRUE(e.CommandEnabled(kCmdPasteCopy));
  host.print_accepted = true;
  e.Dispatch(kCmdPrint);
  EXPECT_FALSE(e.CommandEnabled(kCmdPasteCopy)) << "the job numbered the items";
}

TEST_F(Printing, PagesFollowTheLinesPerPage) {
  AddFlat(93);
  PrintJob full(e.Doc(), metrics);
  EXPECT_EQ(full.LinesPerPage(), 93);
  EXPECT_EQ(full.LastPage(), 1);
  AddFlat(1);
  PrintJob over(e.Doc(), metrics);
  ASSERT_EQ(over.LastPage(), 2);
  std::vector<std::string> second = Page(over, 2);
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(second[1].substr(0, 6), "50:45:") << "the last item at the top position";

  // A page too small for the header alone still prints one item a page.
  PrintJob tiny(e.Doc(), {200, 30, 10, 910});
  EXPECT_EQ(tiny.LinesPerPage(), 1);
  EXPECT_EQ(tiny.LastPage(), 94);
  EXPECT_EQ(Page(tiny, 94).size(), 2u);
}

}  // namespace
}  // namespace pomeli2::testing
