#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
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

  // Titles of the subtree in pre-order, with one "-" per level below `n`.
  std::string Outline(NodeId n) {
    std::string out;
    int base = m.tree.Level(n);
    m.tree.ForEachPreOrder(n, [&](NodeId x) {
      out += std::string(static_cast<size_t>(m.tree.Level(x) - base), '-') + m.tree.Label(x) + " ";
    });
    return out;
  }
  static std::string Titles(const Clip& clip) {
    std::string out;
    for (const ClipItem& c : clip) out += std::to_string(c.depth) + c.item.title + " ";
    return out;
  }

  MenuModel m;
};

TEST_F(MenuModelTest, AResetGivesTheRootItsValuesAfterShowingTheRootThatGoes) {
  NodeId a = AddItem(m, m.Root(), "A");
  m.tree.MutableItem(m.Root()).target = "Right";
  m.root_title = "Page";
  m.Copy(a);
  m.Cut(a);
  // The form loads the selected item on every selection change; during a
  // reset it sees the values of the root that goes.
  std::string target_seen;
  m.SetSelectionHandler([&] { target_seen = m.tree.Item(m.Selected()).target; });
  m.ResetMenu();
  EXPECT_EQ(target_seen, "Right");
  EXPECT_EQ(m.tree.Item(m.Root()), RootItem());
  EXPECT_EQ(m.root_title, sj("ホームページ"));
  EXPECT_EQ(m.tree.Count(), 1);
  EXPECT_TRUE(m.RootSelected());
  EXPECT_FALSE(m.CutBufferFull());
  EXPECT_FALSE(m.CopyBufferFull());
  EXPECT_FALSE(m.HasCreatedItems());
}

TEST_F(MenuModelTest, IdsStayWithTheirItemsThroughMovesDeletesAndRestores) {
  NodeId a = AddItem(m, m.Root(), "A");
  NodeId b = AddItem(m, m.Root(), "B");
  NodeId b1 = AddItem(m, b, "B1");
  std::vector<std::pair<MenuTree::Change, NodeId>> told;
  m.tree.SetChangeHook([&](MenuTree::Change c, NodeId n) { told.push_back({c, n}); });
  const MenuModel::Snapshot before = m.Share();

  m.tree.MoveTo(b, m.Root(), a);  // before A
  EXPECT_EQ(Outline(m.Root()), sj("ホームページ") + " -B --B1 -A ");
  m.tree.MoveTo(a, b1, kNoNode);  // under B1, last
  EXPECT_EQ(Outline(m.Root()), sj("ホームページ") + " -B --B1 ---A ");
  m.tree.MoveTo(b, b1, kNoNode);  // into its own subtree: refused
  m.tree.MoveTo(a, m.Root(), b1);  // before an item of another parent: refused
  EXPECT_EQ(Outline(m.Root()), sj("ホームページ") + " -B --B1 ---A ");
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[1], std::make_pair(MenuTree::Change::kMoved, a));

  m.tree.DeleteSubtree(a);
  NodeId c = AddItem(m, m.Root(), "C");
  EXPECT_NE(c, a) << "a removed item's id is not given again";
  EXPECT_EQ(m.tree.IdsGiven(), 5);

  // Back to the state before: the same ids name the same items, and the
  // comparison names the items that moved or went.
  const MenuTree::Snapshot now = m.tree.Share();
  m.Restore(before);
  EXPECT_EQ(m.tree.Label(a), "A");
  EXPECT_EQ(m.tree.Parent(b1), b);
  MenuTree::Changes changes = m.tree.ChangesSince(now);
  EXPECT_EQ(changes.removed, std::vector<NodeId>{c});
  EXPECT_NE(std::find(changes.changed.begin(), changes.changed.end(), a), changes.changed.end());
}

TEST_F(MenuModelTest, DeletingSelectsNextThenPreviousThenParent) {
  NodeId a = AddItem(m, m.Root(), "A");
  NodeId b = AddItem(m, m.Root(), "B");
  NodeId c = AddItem(m, m.Root(), "C");
  NodeId b1 = AddItem(m, b, "B1");
  m.tree.Select(b1);
  m.tree.DeleteSubtree(b);  // selection inside the subtree -> next sibling
  EXPECT_EQ(m.tree.Selected(), c);
  m.tree.DeleteSubtree(c);  // no next -> previous
  EXPECT_EQ(m.tree.Selected(), a);
  m.tree.DeleteSubtree(a);  // neither -> parent
  EXPECT_EQ(m.tree.Selected(), m.Root());
  EXPECT_EQ(m.tree.Count(), 1);
  EXPECT_TRUE(m.HasCreatedItems());
}

TEST_F(MenuModelTest, APasteClimbsByDepthAndSelectsEachItemBeforeItsValuesAreIn) {
  Clip clip;
  const char* titles[] = {"top", "a", "b", "c", "d", "e"};
  const int depths[] = {0, 1, 2, 3, 3, 1};
  for (int i = 0; i < 6; ++i) clip.push_back({depths[i], ItemCells(titles[i], std::string(titles[i]) + ".html")});
  NodeId target = AddItem(m, m.Root(), "target");
  std::vector<std::string> links_seen;
  m.SetSelectionHandler([&] { links_seen.push_back(m.tree.Item(m.Selected()).link); });
  std::optional<MenuItem> last = m.Paste(clip);
  ASSERT_TRUE(last);
  EXPECT_EQ(last->title, "e");
  // d (depth 3 after depth 3) shares c's parent; e (depth 1 after 3) climbs
  // three times and becomes the top item's child.
  EXPECT_EQ(Outline(target), "target -top --a ---b ----c ----d --e ");
  EXPECT_EQ(m.tree.Label(m.Selected()), "e");
  EXPECT_EQ(m.tree.Item(m.Selected()).link, "e.html");
  // New items show empty values when selected; the climb shows the
  // ancestors as they are.
  EXPECT_EQ(links_seen, (std::vector<std::string>{"", "", "", "", "b.html", "", "b.html", "a.html", "top.html", ""}));
  EXPECT_FALSE(m.Paste({}));
}

TEST_F(MenuModelTest, AClipWhoseTopIsNotShallowestNeverClimbsAboveTheRoot) {
  m.tree.SetTitle(m.Root(), "");
  m.Paste({{5, ItemCells("x")}, {1, ItemCells("y")}});
  EXPECT_EQ(m.tree.NextSibling(m.Root()), kNoNode);
  EXPECT_EQ(Outline(m.Root()), " -x -y ");
}

TEST_F(MenuModelTest, TheCutBufferIsDetachedAndTheCopyBufferReadsTheItemsAtPasteTime) {
  NodeId a = AddItem(m, m.Root(), ItemCells("A", "a.html", "1"));
  NodeId a1 = AddItem(m, a, ItemCells("A1", "a1.html"));
  AddItem(m, a, ItemCells("A2", "a2.html", "2"));
  NodeId b = AddItem(m, m.Root(), "B");

  m.Copy(b);
  m.Cut(a);
  EXPECT_FALSE(m.CopyBufferFull()) << "a cut empties the copy buffer";
  EXPECT_EQ(Titles(m.CutItems()), "0A 1A1 1A2 ");
  for (int i = 0; i < 2; ++i) {
    m.tree.Select(b);
    ASSERT_TRUE(m.Paste(m.CutItems()));
  }
  EXPECT_EQ(Outline(b), "B -A --A1 --A2 -A --A1 --A2 ");
  NodeId pasted = m.tree.FirstChild(b);
  m.tree.MutableItem(pasted).link = "changed.html";
  EXPECT_EQ(m.CutItems().front().item.link, "a.html") << "the pasted items are new ones";
  EXPECT_EQ(m.tree.Item(m.tree.LastChild(pasted)).other_window, OtherWindow::kLeaveFrames);

  // The copy buffer: the copied items' values as they are at the paste, in
  // the shape they had at the copy.
  m.Copy(pasted);
  m.tree.SetTitle(m.tree.FirstChild(pasted), "renamed");
  AddItem(m, pasted, "later");
  EXPECT_EQ(Titles(m.CopiedItems()), "0A 1renamed 1A2 ");
  EXPECT_EQ(m.CopiedItems().front().item.link, "changed.html");
  // A paste into the copied subtree itself ends.
  m.tree.Select(m.tree.FirstChild(pasted));
  m.Paste(m.CopiedItems());
  EXPECT_EQ(Outline(pasted), "A -renamed --A ---renamed ---A2 -A2 -later ");
  // A move or an undo takes the subtree anew.
  m.KeepCopyBuffer(m.CopiedItem());
  EXPECT_EQ(Titles(m.CopiedItems()), "0A 1renamed 2A 3renamed 3A2 1A2 1later ");
  m.KeepCopyBuffer(a1);  // gone with the cut
  EXPECT_FALSE(m.CopyBufferFull());
}

TEST_F(MenuModelTest, BulkChangesReachTheCutBufferAndLeaveUnchangedItemsShared) {
  NodeId a = AddItem(m, m.Root(), "A");
  AddItem(m, a, "A1");
  NodeId b = AddItem(m, m.Root(), "B");
  m.Cut(a);
  m.root_title = "";  // the stored title, not the label, says whether the root has one
  const MenuModel::Snapshot before = m.Share();
  m.ForEachStoredItem([](MenuItem& item, const std::string& title) {
    if (!title.empty() && item.title != "B") item.bg_color = "#000000";
  });
  EXPECT_EQ(m.tree.Item(m.Root()).bg_color, "#8080FF");
  EXPECT_EQ(m.tree.Item(b).bg_color, "#8080FF");
  EXPECT_EQ(m.CutItems()[1].item.bg_color, "#000000");
  EXPECT_EQ(before.cut->at(1).item.bg_color, "#8080FF") << "a snapshot keeps the buffer as it was";
  size_t shared = 0;
  m.tree.Share().nodes.ForEachDifferent(before.tree.nodes, [&](size_t) { ++shared; });
  EXPECT_EQ(shared, 0u) << "no item changed, so every one is still shared";
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
