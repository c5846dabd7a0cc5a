#include <gtest/gtest.h>

#include <random>
#include <set>

#include "model/menu_model.h"
#include "model/persistent_vector.h"
#include "support/menu_builder.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

using testing::AddItem;
using testing::ItemCells;

class MenuModelTest : public ::testing::Test {
 protected:
  void SetUp() override { m.ResetMenu(); }

  std::string Cell(NodeId n, Col c) { return m.table.Cell(m.tree.Row(n), c); }
  // Titles of the subtree in pre-order, with one "-" per level below `n`.
  std::string Outline(NodeId n) {
    std::string out;
    int base = m.tree.Level(n);
    m.tree.ForEachPreOrder(n, [&](NodeId x) {
      out += std::string(static_cast<size_t>(m.tree.Level(x) - base), '-') + m.tree.Label(x) + " ";
    });
    return out;
  }

  MenuModel m;
};

TEST_F(MenuModelTest, ResetGivesRootRowWithItsValues) {
  ASSERT_EQ(m.table.RowCount(), 1);
  const ItemRow& r = m.table.Row(0);
  EXPECT_EQ(r[kNo], "0");
  EXPECT_EQ(r[kSeq], "0");
  EXPECT_EQ(r[kTitle], sj("ホームページ"));
  EXPECT_EQ(r[kTextBgColor], "#8080FF");
  EXPECT_EQ(r[kTarget], "Frame2");
  EXPECT_EQ(r[kIcon], "");
  EXPECT_EQ(r[kOpen], "");
  EXPECT_EQ(m.tree.Count(), 1);
  EXPECT_EQ(m.SelectedRow, 0);
  EXPECT_EQ(m.tree.Label(m.Root()), sj("ホームページ"));
}

TEST_F(MenuModelTest, RenumberRootOnly) {
  m.table.SetCell(0, kChild, "7");
  EXPECT_EQ(m.RenumberItems(m.Root()), 0);
  EXPECT_EQ(m.table.Cell(0, kChild), "0");
}

TEST_F(MenuModelTest, RenumberGivesPreOrderDepthAndLastDescendant) {
  NodeId a = AddItem(m, m.Root(), "A");
  NodeId a1 = AddItem(m, a, "A1");
  NodeId a2 = AddItem(m, a, "A2");
  NodeId b = AddItem(m, m.Root(), "B");
  EXPECT_EQ(m.RenumberItems(m.Root()), 4);
  NodeId nodes[] = {m.Root(), a, a1, a2, b};
  const char* seq[] = {"0", "1", "2", "3", "4"};
  const char* depth[] = {"0", "1", "2", "2", "1"};
  const char* child[] = {"4", "3", "2", "3", "4"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Cell(nodes[i], kSeq), seq[i]) << i;
    EXPECT_EQ(Cell(nodes[i], kDepth), depth[i]) << i;
    EXPECT_EQ(Cell(nodes[i], kChild), child[i]) << i;
  }
}

TEST_F(MenuModelTest, RenumberHandlesVeryDeepMenus) {
  NodeId n = m.Root();
  for (int i = 0; i < 5000; ++i) n = AddItem(m, n, "x");
  EXPECT_EQ(m.RenumberItems(m.Root()), 5000);
  EXPECT_EQ(Cell(n, kDepth), "5000");
  EXPECT_EQ(m.table.Cell(0, kChild), "5000");
}

TEST_F(MenuModelTest, AppendItemRowNormalises) {
  ItemRow src = ItemCells("T", "l", "7");
  src[kFont] = "9";
  src[kSeq] = "12";
  m.table.AppendItemRow(5, src);
  const ItemRow& r = m.table.Row(1);
  EXPECT_EQ(r[kNo], "5");
  EXPECT_EQ(r[kSeq], "0");
  EXPECT_EQ(r[kFont], "1");
  EXPECT_EQ(r[kOtherWindow], "2");
  m.table.AppendItemRow(6, ItemCells("T", "", "1"));
  EXPECT_EQ(m.table.Row(2)[kOtherWindow], "1");
}

TEST_F(MenuModelTest, MarksAndRelativeDepths) {
  NodeId a = AddItem(m, m.Root(), "A");
  NodeId a1 = AddItem(m, a, "A1");
  NodeId a11 = AddItem(m, a1, "A11");
  NodeId a2 = AddItem(m, a, "A2");
  m.SetRelativeDepths(a);
  EXPECT_EQ(Cell(a1, kDepth), "1");
  EXPECT_EQ(Cell(a11, kDepth), "2");
  EXPECT_EQ(Cell(a2, kDepth), "1");

  m.MarkDescendants(a, 20001);  // cut-style mark goes into Seq
  EXPECT_EQ(Cell(a1, kSeq), "20001");
  EXPECT_EQ(Cell(a1, kChild), "1");
  EXPECT_EQ(Cell(a11, kChild), "2");
  EXPECT_EQ(Cell(a2, kChild), "3");
  EXPECT_EQ(Cell(a, kSeq), "0");  // the item itself is the caller's

  m.MarkDescendants(a, 30001);  // copy marks go into Child
  EXPECT_EQ(Cell(a2, kChild), "30001");
  EXPECT_EQ(Cell(a2, kSeq), "3");
  m.counters.CopyCounter = 30001;
  m.ClearCopyMarks();
  EXPECT_EQ(m.counters.CopyCounter, kCopyBase);
  for (int r = 0; r < m.table.RowCount(); ++r) EXPECT_LE(m.table.CellInt(r, kChild), 30000);
}

TEST_F(MenuModelTest, DeletingSelectsNextThenPreviousThenParent) {
  NodeId a = AddItem(m, m.Root(), "A");
  NodeId b = AddItem(m, m.Root(), "B");
  NodeId c = AddItem(m, m.Root(), "C");
  NodeId b1 = AddItem(m, b, "B1");
  m.tree.Select(b1);
  m.tree.DeleteSubtree(b);  // selection inside the subtree -> next sibling
  EXPECT_EQ(m.tree.Selected(), c);
  EXPECT_EQ(m.SelectedRow, m.tree.Row(c));
  m.tree.DeleteSubtree(c);  // no next -> previous
  EXPECT_EQ(m.tree.Selected(), a);
  m.tree.DeleteSubtree(a);  // neither -> parent
  EXPECT_EQ(m.tree.Selected(), m.Root());
  EXPECT_EQ(m.tree.Count(), 1);
}

// Cut-style batch: Seq holds the mark, Child the pre-order number, Depth the
// level below the batch's top item.
void MarkRow(MenuModel& m, int row, int depth, int order) {
  m.table.SetCellInt(row, kSeq, 20001);
  m.table.SetCellInt(row, kDepth, depth);
  m.table.SetCellInt(row, kChild, order);
}

TEST_F(MenuModelTest, ReinsertBatchClimbsByDepthDifference) {
  const char* titles[] = {"top", "a", "b", "c", "d", "e"};
  int depths[] = {0, 1, 2, 3, 3, 1};
  // Rows stored out of order: the order column decides the pre-order.
  int orders[] = {0, 1, 2, 3, 4, 5};
  int row_order[] = {5, 3, 0, 4, 1, 2};
  for (int i : row_order) {
    m.table.Append(ItemCells(titles[i]));
    MarkRow(m, m.table.RowCount() - 1, depths[i], orders[i]);
  }
  m.counters.CutCounter = 20001;
  NodeId target = AddItem(m, m.Root(), "target");
  auto last = m.ReinsertBatch(BatchRule::PasteCut(m.counters));
  ASSERT_TRUE(last);
  EXPECT_EQ(m.table.Cell(*last, kTitle), "e");
  // d (depth 3 after depth 3) shares c's parent; e (depth 1 after 3) climbs
  // three times and becomes the top item's child.
  EXPECT_EQ(Outline(target), "target -top --a ---b ----c ----d --e ");
  EXPECT_EQ(m.table.Cell(m.SelectedRow, kTitle), "e");
  EXPECT_EQ(m.table.RowCount(), 1 + 6 + 1 + 6);
}

TEST_F(MenuModelTest, CutAndPasteTwiceRecreatesSubtreeWithAttributes) {
  NodeId a = AddItem(m, m.Root(), ItemCells("A", "a.html", "1"));
  AddItem(m, a, ItemCells("A1", "a1.html"));
  AddItem(m, a, ItemCells("A2", "a2.html", "2"));
  NodeId b = AddItem(m, m.Root(), "B");

  m.counters.CutCounter++;
  m.SetRelativeDepths(a);
  m.MarkDescendants(a, m.counters.CutCounter);
  int a_row = m.tree.Row(a);
  m.table.SetCellInt(a_row, kSeq, m.counters.CutCounter);
  m.table.SetCell(a_row, kDepth, "0");
  m.table.SetCell(a_row, kChild, "0");
  m.tree.DeleteSubtree(a);

  for (int i = 0; i < 2; ++i) {
    m.tree.Select(b);
    ASSERT_TRUE(m.ReinsertBatch(BatchRule::PasteCut(m.counters)));
  }
  EXPECT_EQ(Outline(b), "B -A --A1 --A2 -A --A1 --A2 ");
  // Retired rows stay, marked; every pasted item got a new row.
  EXPECT_EQ(m.table.RowCount(), 5 + 6);
  EXPECT_EQ(m.table.Cell(a_row, kSeq), "20001");
  EXPECT_EQ(m.RenumberItems(m.Root()), 7);
  NodeId pasted = m.tree.FirstChild(b);
  EXPECT_EQ(Cell(pasted, kLink), "a.html");
  EXPECT_EQ(Cell(pasted, kOtherWindow), "1");
  EXPECT_EQ(Cell(m.tree.LastChild(pasted), kOtherWindow), "2");
}

TEST_F(MenuModelTest, ReinsertBatchScansPastRootWithEmptyTitle) {
  m.table.SetCell(0, kTitle, "");  // page title cleared
  m.tree.SetLabel(m.Root(), "");
  NodeId a = AddItem(m, m.Root(), "A");
  AddItem(m, a, "A1");
  m.MarkCopyBatch(a);
  m.tree.Select(m.Root());
  ASSERT_TRUE(m.ReinsertBatch(BatchRule::PasteCopy(m.counters)));
  EXPECT_EQ(Outline(m.Root()), " -A --A1 -A --A1 ");
}

TEST_F(MenuModelTest, OverwrittenCopyBatchInsertsNothing) {
  NodeId a = AddItem(m, m.Root(), "A");
  m.MarkCopyBatch(a);
  EXPECT_EQ(m.table.Cell(m.tree.Row(a), kChild), "30001");
  m.ClearCopyMarks();  // e.g. a save renumbered the tree
  EXPECT_EQ(m.table.Cell(m.tree.Row(a), kChild), "0");
  m.counters.CopyCounter = 30001;
  EXPECT_FALSE(m.ReinsertBatch(BatchRule::PasteCopy(m.counters)));
  EXPECT_EQ(m.tree.Count(), 2);
}

TEST_F(MenuModelTest, InconsistentBatchNeverClimbsAboveRoot) {
  // A batch whose top row lost its mark: the climb stops at the root, so the
  // menu keeps one top-level item.
  m.tree.SetLabel(m.Root(), "");
  m.table.Append(ItemCells("x"));
  MarkRow(m, 1, 5, 1);
  m.table.Append(ItemCells("y"));
  MarkRow(m, 2, 1, 2);
  m.counters.CutCounter = 20001;
  m.ReinsertBatch(BatchRule::PasteCut(m.counters));
  EXPECT_EQ(m.tree.NextSibling(m.Root()), kNoNode);
  EXPECT_EQ(Outline(m.Root()), " -x -y ");
}

TEST_F(MenuModelTest, MoveBatchesSkipDepthZeroRows) {
  m.tree.SetLabel(m.Root(), "");
  m.table.Append(ItemCells("moved-top"));
  m.table.SetCell(1, kSeq, "18001");
  m.table.Append(ItemCells("child"));
  m.table.SetCell(2, kSeq, "18001");
  m.table.SetCell(2, kDepth, "1");
  m.table.SetCell(2, kChild, "1");
  m.counters.MoveSourceCounter = 18001;
  m.ReinsertBatch(BatchRule::MoveSource(m.counters));
  EXPECT_EQ(Outline(m.Root()), " -child ");
}

}  // namespace
}  // namespace pomeli2

namespace pomeli2 {
namespace {

// Random appends and changes on copies that share storage, checked against
// plain vectors: every copy keeps its own values, and the comparison of two
// copies names every index that differs.
TEST(PersistentVector, CopiesShareStorageAndKeepTheirOwnValues) {
  std::mt19937 random(7);
  std::vector<PersistentVector<int>> copies(1);
  std::vector<std::vector<int>> plain(1);
  for (int round = 0; round < 40000; ++round) {
    const size_t k = random() % copies.size();
    switch (random() % 8) {
      case 0:  // keep a copy, as an undo step does
        if (copies.size() < 12) {
          copies.push_back(copies[k]);
          plain.push_back(plain[k]);
        }
        break;
      case 1:
      case 2:
        if (!plain[k].empty()) {
          const size_t i = random() % plain[k].size();
          copies[k].Mutable(i) = plain[k][i] = round;
        }
        break;
      default:
        copies[k].push_back(round);
        plain[k].push_back(round);
        break;
    }
  }
  for (size_t k = 0; k < copies.size(); ++k) {
    ASSERT_EQ(copies[k].size(), plain[k].size());
    for (size_t i = 0; i < plain[k].size(); ++i) ASSERT_EQ(copies[k][i], plain[k][i]) << k << " " << i;
  }
  ASSERT_GT(plain[0].size(), 1024u) << "past two levels of growth";
  for (size_t a = 0; a < copies.size(); ++a)
    for (size_t b = 0; b < copies.size(); ++b) {
      std::set<size_t> named;
      copies[a].ForEachDifferent(copies[b], [&](size_t i) { named.insert(i); });
      for (size_t i = 0; i < std::max(plain[a].size(), plain[b].size()); ++i) {
        const bool differs = i >= plain[a].size() || i >= plain[b].size() || plain[a][i] != plain[b][i];
        if (differs) {
          EXPECT_TRUE(named.count(i)) << a << " " << b << " " << i;
        }
      }
    }
  // A copy changed in one place is compared by looking at one leaf.
  PersistentVector<int> changed = copies[0];
  changed.Mutable(5) = -1;
  size_t looked_at = 0;
  changed.ForEachDifferent(copies[0], [&](size_t) { ++looked_at; });
  EXPECT_EQ(looked_at, 1u);
  // An element one copy has and the other lacks differs, whatever it holds.
  PersistentVector<int> zeros;
  for (int i = 0; i < 10; ++i) zeros.push_back(0);
  PersistentVector<int> longer = zeros;
  longer.push_back(0);
  std::vector<size_t> named;
  longer.ForEachDifferent(zeros, [&](size_t i) { named.push_back(i); });
  EXPECT_EQ(named, std::vector<size_t>{10});
}

}  // namespace
}  // namespace pomeli2
