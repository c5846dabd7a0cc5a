#include <gtest/gtest.h>

#include <fstream>

#include "support/session.h"
#include "text/search_fold.h"

namespace pomeli2::testing {
namespace {

using FindAndCheck = Session;

std::string Label(Session& s, NodeId n) { return SjisToUtf8Lossy(s.m().tree.Label(n)); }

TEST(SearchFold, CaseWidthAndSpacesDoNotCount) {
  auto fold = [](const char* utf8) { return FoldForSearch(Utf8ToSjis(utf8).value()); };
  EXPECT_EQ(fold("ＡＢＣ　abc"), "abc abc");
  EXPECT_EQ(fold("ﾎｰﾑﾍﾟｰｼﾞ"), fold("ホームページ")) << "half-width kana with their voiced marks";
  EXPECT_EQ(fold("ｶﾞｷﾞｸﾞｹﾞｺﾞ ﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞ ﾊﾟﾋﾞﾌﾞﾍﾟﾎﾟ ｳﾞ"), fold("ガギグゲゴ ダヂヅデド パビブペポ ヴ"));
  EXPECT_EQ(fold("ｱﾞ"), fold("ア゛")) << "a mark no kana takes stays a mark";
  EXPECT_EQ(fold("１２３．ＨＴＭＬ"), "123.html");
}

// The cases the page's filter box is tried on too.
TEST(SearchFold, TheTableSharedWithThePage) {
  std::ifstream table(std::string(POMELI2_TEST_DATA) + "/text/search_fold_cases.txt");
  std::string line;
  int cases = 0;
  while (std::getline(table, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
    ASSERT_NE(tab2, std::string::npos) << line;
    const std::string title = FoldForSearch(Utf8ToSjis(line.substr(0, tab1)).value());
    const std::string typed = FoldForSearch(Utf8ToSjis(line.substr(tab1 + 1, tab2 - tab1 - 1)).value());
    EXPECT_EQ(title.find(typed) != std::string::npos, line.substr(tab2 + 1) == "1") << line;
    ++cases;
  }
  EXPECT_GE(cases, 15);
}

TEST_F(FindAndCheck, TypingFindsTitlesAndLinksAndStepsWrapAround) {
  Add("Products");
  Type(kCtlLink, "products/index.html");
  Add("<b>Tools</b>");
  Add("ハンマー");
  e.SelectItem(m().Root());
  Add("file:img/tool.gif:ＴＯＯＬＳ");
  e.SelectItem(m().Root());
  Add("Contact");
  Type(kCtlLink, "mail/TOOLS.html");
  e.SelectItem(m().Root());

  // "tools" is in a title's text, an image title's text and a link: three
  // matches in the tree's order; the tags and the image's path are no text.
  FindResult r = e.FindText("tools");
  EXPECT_EQ(r.count, 3);
  EXPECT_EQ(r.index, 1);
  EXPECT_EQ(Label(*this, m().Selected()), "<b>Tools</b>");
  r = e.FindAgain(true);
  EXPECT_EQ(Label(*this, m().Selected()), "file:img/tool.gif:ＴＯＯＬＳ");
  EXPECT_EQ(r.index, 2);
  e.FindAgain(true);
  r = e.FindAgain(true);
  EXPECT_EQ(r.index, 1) << "after the last, the first";
  r = e.FindAgain(false);
  EXPECT_EQ(r.index, 3) << "and before the first, the last";
  EXPECT_EQ(Label(*this, m().Selected()), "Contact");

  EXPECT_EQ(e.FindText("b>").count, 0) << "tags are no text";
  EXPECT_EQ(e.FindText("img").count, 0) << "nor is an image title's path";
  EXPECT_EQ(Label(*this, m().Selected()), "Contact") << "nothing found: the selection stays";
  EXPECT_EQ(e.FindText(S("ﾊﾝﾏｰ")).count, 1);
  EXPECT_EQ(Label(*this, m().Selected()), "ハンマー");
  EXPECT_EQ(e.FindText("").count, 0);

  // The matches follow the tree as it changes, and finding is no edit.
  EXPECT_EQ(e.FindText("products").count, 1);
  Select("Contact");
  Type(kCtlLink, "products/contact.html");
  r = e.FindAgain(true);
  EXPECT_EQ(r.count, 2);
  EXPECT_EQ(Label(*this, m().Selected()), "Products");
  e.Dispatch(kCmdUndo);
  EXPECT_EQ(e.FindAgain(true).count, 1);
  EXPECT_EQ(e.CommandTooltipText(kCmdUndo), S("元に戻す: 入力")) << "finding is no step";
}

// The editor's check: the same problems as the tool's, listed for the
// window; showing one selects its item or focuses its field.
TEST_F(FindAndCheck, TheCheckListsProblemsAndShowsWhereTheyAre) {
  EditorAccess::Settings(e).Path = dir / "site/menu.html";
  std::filesystem::create_directories(dir.path() / "site");
  WriteFile(dir.path() / "site/here.html", "x");
  EditorAccess::Settings(e).BackPicture = "missing.gif";
  EditorAccess::Settings(e).Linkto = "";
  EditorAccess::Settings(e).Plus = EditorAccess::Settings(e).Minus = EditorAccess::Settings(e).Otherw = "";
  Add("Here");
  Type(kCtlLink, "here.html");
  Add("Gone");
  Type(kCtlLink, "gone.html");
  Type(kCtlIcon, "");
  e.SelectItem(m().Root());
  e.Dispatch(kCmdCheckLinks);
  ASSERT_EQ(host.checks.size(), 1u);
  const std::vector<CheckProblem>& problems = host.checks[0];
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(ProblemLine(problems[0]), S("page: 背景画像: 「missing.gif」が見つかりません。"));
  EXPECT_EQ(ProblemLine(problems[1]), S("Here > Gone: リンク: 「gone.html」が見つかりません。"));
  EXPECT_EQ(e.ModifiedFlag(), 1) << "as the typing left it";
  EXPECT_EQ(e.CommandTooltipText(kCmdUndo), S("元に戻す: 入力")) << "the check is no step";

  e.ShowProblem(1);
  EXPECT_EQ(Label(*this, m().Selected()), "Gone");
  e.ShowProblem(0);
  EXPECT_EQ(host.focused_controls, std::vector<int>{kCtlBackPicture});
  // An item gone since the check shows nothing.
  e.SetTreeFocus(true);
  e.Dispatch(kCmdDelete);
  e.ShowProblem(1);
  EXPECT_EQ(Label(*this, m().Selected()), "Here");
  // A number setting is found by its field too.
  EditorAccess::Settings(e).Indent = "0";
  e.Dispatch(kCmdCheckLinks);
  ASSERT_EQ(ProblemLine(host.checks.back().at(0)), S("page: インデント: 1以上の数値を入力してください。"));
  e.ShowProblem(0);
  EXPECT_EQ(host.focused_controls.back(), kCtlIndent);
  // A setting only a dialog holds opens that dialog.
  EditorAccess::Settings(e).Indent = "20";
  EditorAccess::Settings(e).CloseItems = 1;
  EditorAccess::Settings(e).Speed = "-3";
  e.Dispatch(kCmdCheckLinks);
  std::string speed_shown;
  host.script_options = [&](ScriptOptionsDialog& d) {
    speed_shown = d.speed;
    return false;
  };
  e.ShowProblem(0);
  EXPECT_EQ(speed_shown, "-3");
}

// After an edit the last find counts its matches again; closing a branch
// with the selection inside selects the branch's item.
TEST_F(FindAndCheck, FindPlaceFollowsEditsAndAClosedBranchTakesTheSelection) {
  Add("one");
  Add("one inner");
  e.SelectItem(m().Root());
  Add("two");
  ASSERT_EQ(e.FindText("one").node, Find("one"));
  e.FindAgain(true);
  EXPECT_EQ(e.FindPlace().index, 2);
  e.SelectItem(Find("two"));
  EXPECT_EQ(e.FindPlace().index, 0);
  EXPECT_EQ(e.FindPlace().count, 2);
  e.SelectItem(Find("one inner"));
  e.Dispatch(kCmdDelete);
  EXPECT_EQ(e.FindPlace().count, 1);

  Add("deep");
  const NodeId deep = Find("deep");
  e.BranchClosed(Find("two"));
  EXPECT_EQ(m().Selected(), deep) << "not its branch";
  e.BranchClosed(Find("one"));
  EXPECT_EQ(m().Selected(), Find("one"));
}

}  // namespace
}  // namespace pomeli2::testing
