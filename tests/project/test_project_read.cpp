#include <gtest/gtest.h>

#include <algorithm>

#include "editor/editor.h"
#include "editor/editor_access.h"
#include "project/line_reader.h"
#include "project/project_file.h"
#include "support/menu_builder.h"
#include "support/scripted_host.h"

namespace pomeli2 {
using namespace std::string_literals;
namespace {

using testing::AddItem;
using testing::ScriptedHost;
using testing::TempDir;

const std::string kRoot = "0\tHome\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n";

std::string Item(int depth, const std::string& title, const std::string& rest = "#FFFFFF\tNone\t1\t10pt\tl.html\t0\tFrame2\tlinkto.gif\t0") {
  return std::to_string(depth) + "\t" + title + "\t" + rest + "\r\n";
}

constexpr const char* kBadNumberText = "数字フィールドに文字が含まれているか、または空です。\nページ情報が正しくロードできません。";

class ProjectRead : public ::testing::Test {
 protected:
  void SetUp() override { e.Start(); }

  bool Load(const std::string& bytes) {
    testing::WriteFile(dir / "p.pml", bytes);
    host.messages.clear();
    return e.ReadProjectFile(dir / "p.pml");
  }
  std::string Outline() {
    std::string out;
    const MenuTree& t = e.Model().tree;
    for (NodeId top = t.FirstTop(); top != kNoNode; top = t.NextSibling(top))
      t.ForEachPreOrder(top, [&](NodeId x) { out += std::string(static_cast<size_t>(t.Level(x)), '-') + t.Label(x) + " "; });
    return out;
  }
  // The i-th item in file order.
  const MenuItem& ItemAt(int i) {
    NodeId found = kNoNode;
    int k = 0;
    e.Model().tree.ForEachPreOrder(e.Model().Root(), [&](NodeId n) {
      if (k++ == i) found = n;
    });
    return e.Model().tree.Item(found);
  }
  // The number field's message names the file it was read from.
  std::string BadNumber() { return "ファイル「" + (dir / "p.pml") + "」\n" + kBadNumberText; }
  void ExpectRejected(const std::string& text) {
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, text);
    EXPECT_EQ(host.messages[0].title, "エラー");
    EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
  }

  TempDir dir;
  ScriptedHost host;
  Editor e{host};
};

constexpr const char* kBadStructure = "ファイル構造が正しくありません。";

TEST_F(ProjectRead, SettingsKeysAndValues) {
  ASSERT_TRUE(Load("[Title]\tFirst\r\n[Title]\tSecond\r\n[TextBackOn]\t10\r\n[ParentLink]\t01\r\n[Unite]\t\r\n"
                   "[CloseTree]\t1\textra\r\n[TreeBgColor]\t  -12abc\r\n[TreeItemColor]\tx\r\n[title]\tlower\r\n"
                   "[Speed]\r\n[Nope]\tz\r\n" + kRoot));
  const PageSettings& s = e.Settings();
  EXPECT_EQ(s.Title, "Second");
  EXPECT_EQ(s.TextBackOn, 1);
  EXPECT_EQ(s.ParentLink, 0);
  EXPECT_EQ(s.Unite, 0);
  EXPECT_EQ(s.CloseTree, 1);
  EXPECT_EQ(s.TreeBgColor, -12);
  EXPECT_EQ(s.TreeItemColor, 0);
  EXPECT_EQ(s.Speed, "5");  // a key with no value, like a missing key, keeps the old value
  EXPECT_EQ(s.ProjectPath, dir / "p.pml");
}

TEST_F(ProjectRead, MissingKeysKeepValuesButBodyFilesAreCleared) {
  EditorAccess::Settings(e).BodyHeader = "h.txt";
  EditorAccess::Settings(e).BodyFooter = "f.txt";
  EditorAccess::Settings(e).Row = "33";
  ASSERT_TRUE(Load(kRoot));
  EXPECT_EQ(e.Settings().Row, "33");
  EXPECT_EQ(e.Settings().BodyHeader, "");
  EXPECT_EQ(e.Settings().BodyFooter, "");
}

TEST_F(ProjectRead, ItemLinesAndTheirFields) {
  ASSERT_TRUE(Load(kRoot + "1\tEight\t#FFFFFF\tBold\t7\t12pt\te.html\t5\r\n" +
                   Item(1, "Eleven", "#000000\tItalic\t0\t9pt\tx.html\t1\tNewOne\tic.gif\t1")));
  EXPECT_EQ(Outline(), "Home -Eight -Eleven ");
  const MenuItem& eight = ItemAt(1);
  EXPECT_EQ(eight.other_window, OtherWindow::kLeaveFrames);
  EXPECT_EQ(eight.target, "");
  EXPECT_EQ(eight.icon, "");
  EXPECT_EQ(eight.open, "");
  const MenuItem& eleven = ItemAt(2);
  EXPECT_EQ(eleven.other_window, OtherWindow::kNewWindow);
  EXPECT_EQ(eleven.target, "NewOne");
  EXPECT_EQ(eleven.open, "1");
  // New targets join the TARGET list once.
  auto& list = e.Form().target_list;
  EXPECT_EQ(std::count(list.begin(), list.end(), "NewOne"), 1);
}

TEST_F(ProjectRead, TreeRebuildFromDepths) {
  ASSERT_TRUE(Load(kRoot + Item(3, "Jump") + Item(3, "Sib") + Item(5, "Kid") + Item(5, "Kid2") + Item(9, "G")));
  // A jump of more than one level makes a child; later depths climb from it
  // by their difference to the previous line.
  EXPECT_EQ(Outline(), "Home -Jump -Sib --Kid --Kid2 ---G ");
  EXPECT_EQ(e.Model().LiveItemCount(), 6);
}

TEST_F(ProjectRead, FormShowsTheLastItemAfterLoad) {
  EditorAccess::Settings(e).Linkto = "";
  ASSERT_TRUE(Load("[RightFrame]\tRight\r\n" + kRoot + Item(1, "Branch") +
                   Item(2, "Leaf", "#123456\tBold\t1\t14pt\tleaf.html\t1\tTop\ticon.gif\t1")));
  EXPECT_EQ(e.Model().tree.Label(e.Model().Selected()), "Leaf");
  const FormState& f = e.Form();
  EXPECT_EQ(f.FieldText(kCtlItemBgColor), "#123456");
  EXPECT_EQ(f.FieldText(kCtlItemStyle), "Bold");
  EXPECT_EQ(f.FieldText(kCtlItemSize), "14pt");
  EXPECT_EQ(f.FieldText(kCtlLink), "leaf.html");
  EXPECT_EQ(f.FieldText(kCtlOtherButton), sj("別ウインドウ"));
  EXPECT_EQ(f.FieldText(kCtlItemTarget), "Top");
  EXPECT_EQ(f.FieldText(kCtlIcon), "icon.gif");
  EXPECT_EQ(f.CheckBoxValue(kCtlOpen), 1);
  EXPECT_TRUE(e.Form().Enabled(kCtlLink));
  EXPECT_FALSE(e.Form().Enabled(kCtlItemTarget));  // RightFrame is not "なし"
  EXPECT_TRUE(e.Form().Enabled(kCtlIcon));         // Linkto is empty
  EXPECT_FALSE(e.Form().Enabled(kCtlOpen));
  // The root was selected before the load: the item's own fields open up.
  for (int control : {kCtlItemBgColor, kCtlItemStyle, kCtlItemSize, kCtlOtherButton}) EXPECT_TRUE(e.Form().Enabled(control));
}

TEST_F(ProjectRead, LineEndsAndOddBytes) {
  // LF-only lines read like CR LF; a lone CR stays in the value; a second
  // byte 0x5B ("[") inside a value is just a byte.
  std::string title = "\x83\x5B" "x\rY";  // "ー" has 0x5B as its second byte
  ASSERT_TRUE(Load("[Title]\t" + title + "\n0\tHome\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\n"));
  EXPECT_EQ(e.Settings().Title, title);
  EXPECT_EQ(e.Model().tree.Count(), 1);
}

TEST_F(ProjectRead, LastLineWithoutLineEnd) {
  ASSERT_TRUE(Load(kRoot + "[Title]\tIgnored"));
  EXPECT_NE(e.Settings().Title, "Ignored");
  EXPECT_FALSE(Load(kRoot + "1\tA\t#FFFFFF\tNone\t1\t10pt\t\t0\tFrame2\t\t0"));
  ExpectRejected(kBadStructure);
  EXPECT_EQ(host.beeps, 1);
}

TEST_F(ProjectRead, BadNumberFields) {
  for (std::string line : {std::string("\r\n"), Item(1, "A").replace(0, 1, "-1"), Item(1, "A").replace(0, 1, " 1"),
                           Item(1, "A", "#FFFFFF\tNone\t\t10pt\t\t0\tF\t\t0"), Item(1, "A", "#FFFFFF\tNone\t1\t10pt\t\tx\tF\t\t0"),
                           Item(1, "A").replace(0, 1, "\x82\x50")}) {
    EXPECT_FALSE(Load(kRoot + line)) << line;
    ExpectRejected(BadNumber());
  }
}

TEST_F(ProjectRead, WrongFieldCounts) {
  EXPECT_FALSE(Load(kRoot + "1\tA\t#FFFFFF\tNone\t1\t10pt\t\t0\tF\r\n"));  // nine
  ExpectRejected(kBadStructure);
  EXPECT_FALSE(Load(kRoot + Item(1, "A", "#FFFFFF\tNone\t1\t10pt\t\t0\tF\t\t0\tmore")));  // twelve
  ExpectRejected(kBadStructure);
  EXPECT_FALSE(Load(kRoot + "1\tA\0\t#FFFFFF\tNone\t1\t10pt\t\t0\tF\t\t0\r\n"s));  // a NUL ends the line
  ExpectRejected(kBadStructure);
}

TEST_F(ProjectRead, LongLinesAreSplitLikeTheLineBuffer) {
  std::string value(1022 - 8, 'v');
  ASSERT_TRUE(Load("[Title]\t" + value + "\r\n" + kRoot));  // 1022 bytes: whole
  EXPECT_EQ(e.Settings().Title, value);
  // One byte more and the line end arrives as an empty line of its own.
  EXPECT_FALSE(Load("[Title]\t" + value + "v\r\n" + kRoot));
  ExpectRejected(BadNumber());
}

TEST_F(ProjectRead, FilesThatWouldBreakTheMenuAreRejected) {
  for (std::string bytes : {std::string(), std::string("[Title]\tOnly settings\r\n"), kRoot + Item(0, "SecondRoot"),
                            kRoot + Item(1, "A") + Item(2, "B") + Item(0, "Again"),
                            kRoot + Item(5, "Deep") + Item(0, "Climb"), kRoot + Item(3, "Jump") + Item(1, "Back")}) {
    EXPECT_FALSE(Load(bytes)) << bytes;
    ExpectRejected(kBadStructure);
  }
}

TEST_F(ProjectRead, TooManyItems) {
  std::string file = kRoot;
  for (int i = 1; i < kMaxItems; ++i) file += "1\tx\t\t\t1\t\t\t0\r\n";
  ASSERT_TRUE(Load(file));
  EXPECT_EQ(e.Model().tree.Count(), kMaxItems);
  EXPECT_FALSE(Load(file + "1\tx\t\t\t1\t\t\t0\r\n"));
  ExpectRejected("アイテムの数が多すぎます。\n1つのメニューに入れられるアイテムは17999個までです。");
}

TEST_F(ProjectRead, RejectedOrMissingFileChangesNothing) {
  MenuModel& m = EditorAccess::Model(e);
  NodeId a = AddItem(m, m.Root(), "Kept");
  EditorAccess::Settings(e).Title = "Before";
  EditorAccess::Settings(e).ProjectPath = "before.pml";
  EditorAccess::Notify(e).Report(EditorAccess::Doc(e).MarkModified(1));
  PageSettings settings = e.Settings();
  auto targets = e.Form().target_list;

  EXPECT_FALSE(Load("[Title]\tAfter\r\n" + kRoot + Item(1, "A", "#FFFFFF\tNone\t1\t10pt\t\t0\tBrandNew\t\t0") + "junk\r\n"));
  ExpectRejected(BadNumber());
  EXPECT_FALSE(e.ReadProjectFile(dir / "none.pml"));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].text, "ファイル「" + (dir / "none.pml") + "」をオープンできませんでした。");

  EXPECT_EQ(e.Settings(), settings);
  EXPECT_EQ(e.Form().target_list, targets);
  EXPECT_EQ(e.ModifiedFlag(), 1);
  EXPECT_EQ(m.tree.Count(), 2);
  EXPECT_EQ(m.tree.Selected(), a);
  EXPECT_TRUE(m.HasCreatedItems());
}

TEST(ProjectParse, LinesAreTheSameHoweverTheFileArrivesInChunks) {
  // What a text-mode stream with a 1024-byte line buffer delivers: every
  // CR LF as LF, then lines of at most 1023 bytes, each ending after its LF.
  auto expected_lines = [](const std::string& bytes) {
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
      text += bytes[i];
    }
    std::vector<std::string> lines(1);
    for (char c : text) {
      if (lines.back().size() == LineReader::kLineCapacity) lines.emplace_back();
      lines.back() += c;
      if (c == '\n') lines.emplace_back();
    }
    if (lines.back().empty()) lines.pop_back();
    return lines;
  };
  unsigned x = 777;
  auto next = [&x](unsigned n) {
    x = x * 1103515245u + 12345u;
    return (x >> 16) % n;
  };
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    const size_t size = next(4000);
    while (bytes.size() < size) {
      if (next(20) == 0) bytes.append(next(1100), 'x');  // past the line buffer
      else bytes += "\r\nab\0\t"[next(7)];
    }
    std::string_view rest = bytes;
    const size_t most = 1 + next(3) * next(40);  // chunks of 1, or up to 80 bytes
    ByteSource source = [&](char* buffer, size_t capacity) {
      size_t n = std::min({capacity, rest.size(), size_t{1} + next(static_cast<unsigned>(most))});
      std::copy_n(rest.data(), n, buffer);
      rest.remove_prefix(n);
      return n;
    };
    LineReader reader(source);
    std::vector<std::string> lines;
    for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
    ASSERT_EQ(lines, expected_lines(bytes)) << "round " << round;
  }
}

TEST(ProjectParse, SurvivesArbitraryBytes) {
  // Deterministic noise: the parser must end with a verdict, never crash.
  std::string bytes;
  unsigned x = 12345;
  for (int i = 0; i < 200000; ++i) {
    x = x * 1103515245u + 12345u;
    bytes += static_cast<char>("0123\t\r\n[]\x81\x5C\0ab"[(x >> 16) % 15]);
  }
  PageSettings s = PageSettings::Initial();
  ParsedProject p = ParseProject(bytes, s, {});
  EXPECT_NE(p.failure, ReadFailure::kNone);
}

}  // namespace
}  // namespace pomeli2
