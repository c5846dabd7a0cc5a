// Whole editing sessions, dialogs included, with the files they write
// compared byte for byte.
#include "support/golden.h"
#include "support/session.h"
#include "editor/session/file_dialogs.h"
#include "text/catalogue.h"

namespace pomeli2::testing {
namespace {

class EditSession : public Session {
 public:
  // A top-level item with n - 1 children, copied; the root is selected.
  void CopyABranchOf(int n) {
    Add("top");
    NodeId top = m().tree.Selected();
    for (int i = 1; i < n; ++i) {
      e.Dispatch(kCmdAddItem);
      e.SelectItem(top);
    }
    e.Dispatch(kCmdCopy);
    e.SelectItem(m().Root());
  }
};

// Builds a small site menu with every editing command.
void BuildMenu(Session& s, Editor& e) {
  s.Type(kCtlTitle, "見本のメニュー");
  s.Add("製品");
  s.Type(kCtlLink, "products.html");
  s.Add("ソフト");
  s.Type(kCtlLink, "soft.html");
  s.Select("製品");
  s.Add("ハード");
  s.Type(kCtlLink, "hard.html");
  s.Type(kCtlItemStyle, "Bold");
  s.Select("ホームページ");
  s.Add("会社概要");
  s.Type(kCtlLink, "about.html");
  e.SelectItem(s.m().Root());
  s.Add("お問い合わせ");
  s.Type(kCtlLink, "mail.html");
  s.Type(kCtlOtherButton, "別ウインドウ");
  e.Dispatch(kCmdMoveUp);  // before 会社概要
  s.Select("製品");
  e.Dispatch(kCmdCopy);
  e.SelectItem(s.m().Root());
  e.Dispatch(kCmdPasteCopy);  // a second 製品 with both children, last
  s.Select("ハード");
  s.Type(kCtlItemSize, "12pt");  // only the first ハード
  NodeId second = s.m().tree.LastChild(s.m().Root());
  e.SelectItem(second);
  ASSERT_TRUE(e.EndLabelEdit(sj("旧製品")));
  s.Select("会社概要");
  e.Dispatch(kCmdCut);
  s.Select("旧製品");
  e.Dispatch(kCmdPasteCut);
  s.Select("ソフト");
  e.Dispatch(kCmdDelete);
}

TEST_F(EditSession, BuildSaveReopenAndWriteTheSite) {
  BuildMenu(*this, e);
  EXPECT_EQ(Outline(), "製品(ハード),お問い合わせ,旧製品(ソフト,ハード,会社概要)");
  EXPECT_EQ(e.ModifiedFlag(), 1);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"切り取り確認", "削除確認"}));

  host.files = {dir / "site.pml"};
  e.Dispatch(kCmdSave);
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].initial_name, home + "pomeli2.pml");
  EXPECT_EQ(host.dialogs[0].default_extension, "pml");
  EXPECT_EQ(host.dialogs[0].filter, sj("ぽめりファイル(*.pml)|*.pml||"));
  EXPECT_EQ(e.ModifiedFlag(), 0);
  EXPECT_EQ(ReadFile(program + "Pomeli2.ini"), "1\t1\t480\t510\t0\t" + (dir / "site.pml") + "\t\r\n");
  const std::string project = ReadFile(dir / "site.pml");
  ExpectGolden("session/site.pml", project);

  e.Dispatch(kCmdNew);
  EXPECT_EQ(Outline(), "");
  host.files = {dir / "site.pml"};
  e.Dispatch(kCmdOpen);
  EXPECT_EQ(Outline(), "製品(ハード),お問い合わせ,旧製品(ソフト,ハード,会社概要)");
  EXPECT_EQ(ReadFile(program + "backup.pml"), project);
  EXPECT_EQ(e.ModifiedFlag(), 0);

  EXPECT_FALSE(e.CommandEnabled(kCmdFrame2));
  host.files = {dir / "site.html"};
  e.Dispatch(kCmdHtmlSave);
  EXPECT_EQ(host.dialogs.back().initial_name, dir / "pomeli2.html") << "the project's folder";
  ExpectGolden("session/site.html", ReadFile(dir / "site.html"));
  EXPECT_EQ(e.Settings().HtmlFileName, "site.html");
  EXPECT_EQ(e.ModifiedFlag(), 0) << "the page is not the project";

  host.files = {dir / "main.html"};
  e.Dispatch(kCmdFrame3);
  EXPECT_NE(ReadFile(dir / "main.html").find("<FRAME SRC=\"site.html\" NAME=\"Frame1\""), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "frametop.html"));
  e.Dispatch(kCmdIconCopy);
  for (const char* image : kStandardImages) EXPECT_EQ(ReadFile(dir / image), ReadFile(program + image)) << image;
  EXPECT_EQ(host.messages.back().text, "コピーが終了しました。");

  // Saving again writes silently to the same files; the project now knows
  // where its page is.
  host.messages.clear();
  e.Dispatch(kCmdHtmlSave);
  e.Dispatch(kCmdSave);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.dialogs.size(), 4u);
  EXPECT_NE(ReadFile(dir / "site.pml").find("[Path]\t" + (dir / "site.html") + "\r\n"), std::string::npos);
}

TEST_F(EditSession, AddDeleteAndRenameFollowTheirRules) {
  Add("A");
  NodeId a = m().tree.Selected();
  const MenuItem& item = m().tree.Item(a);
  EXPECT_EQ(item.bg_color, e.Settings().NewBgColor);
  EXPECT_EQ(item.target, e.Settings().NewTarget);
  EXPECT_EQ(item.icon, "linkto.gif");
  EXPECT_EQ(item.other_window, OtherWindow::kNone);
  EXPECT_EQ(host.label_edits, std::vector<NodeId>{a});
  EXPECT_TRUE(e.Form().Enabled(kCtlOpen)) << "a top-level item";
  Add("A1");
  EXPECT_FALSE(e.Form().Enabled(kCtlOpen));
  Add("A11");
  Add("A111");
  Select("A");
  EXPECT_TRUE(e.Form().Enabled(kCtlOpen));
  ASSERT_TRUE(e.EndLabelEdit("A0"));
  EXPECT_EQ(m().tree.Item(m().Selected()).title, "A0");

  e.Dispatch(kCmdCopy);
  EXPECT_TRUE(e.CommandEnabled(kCmdPasteCopy));
  e.SetTreeFocus(false);  // Ctrl+D typed in a field
  e.Dispatch(kCmdDelete);
  EXPECT_EQ(m().LiveItemCount(), 5);
  e.SetTreeFocus(true);
  host.answers = {MessageAnswer::kNo};
  e.Dispatch(kCmdDelete);
  EXPECT_EQ(m().LiveItemCount(), 5);
  host.answers = {MessageAnswer::kYes};
  e.Dispatch(kCmdDelete);
  EXPECT_EQ(m().LiveItemCount(), 1);
  EXPECT_FALSE(e.CommandEnabled(kCmdPasteCopy)) << "delete empties the copy buffer";

  e.SelectItem(m().Root());
  e.Dispatch(kCmdDelete);
  e.Dispatch(kCmdCut);
  e.Dispatch(kCmdCopy);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"削除確認", "削除確認", "削除確認", "切り取り確認", "コピー確認"}));
  EXPECT_EQ(host.messages[2].text, "ホームページ・ルートは削除できません。");
  EXPECT_EQ(host.messages[4].text, "ホームページ・ルートはコピーできません。");
}

TEST_F(EditSession, MoveExchangesWholeSubtrees) {
  Add("A");
  Type(kCtlLink, "a.html");
  Add("A1");
  Type(kCtlItemStyle, "Italic");
  Add("A11");
  Select("A");
  Add("A2");
  e.SelectItem(m().Root());
  Add("B");
  Add("B1");
  e.SelectItem(m().Root());
  Add("C");
  Select("A");
  EXPECT_FALSE(e.CommandEnabled(kCmdMoveUp));
  e.Dispatch(kCmdMoveUp);
  EXPECT_EQ(Outline(), "A(A1(A11),A2),B(B1),C");
  const NodeId a = Find("A"), a1 = Find("A1");
  e.Dispatch(kCmdMoveDown);
  EXPECT_EQ(Outline(), "B(B1),A(A1(A11),A2),C");
  EXPECT_EQ(m().tree.Selected(), a) << "the item moved, with its id";
  EXPECT_EQ(Find("A1"), a1);
  EXPECT_EQ(e.Form().FieldText(kCtlLink), "a.html") << "the form shows the moved item";
  EXPECT_TRUE(e.CommandEnabled(kCmdMoveUp));
  EXPECT_EQ(m().tree.Item(a1).style, "Italic");
  e.Dispatch(kCmdMoveDown);
  EXPECT_EQ(Outline(), "B(B1),C,A(A1(A11),A2)");
  Select("C");
  e.Dispatch(kCmdMoveUp);
  EXPECT_EQ(Outline(), "C,B(B1),A(A1(A11),A2)");
}

TEST_F(EditSession, ClipboardBuffersAreIndependentAndReusable) {
  Add("A");
  Add("A1");
  Add("A11");
  e.SelectItem(m().Root());
  Add("B");
  Select("A");
  e.Dispatch(kCmdCut);
  EXPECT_EQ(e.CurrentContextMenu().id, 141);
  Select("B");
  e.Dispatch(kCmdCopy);
  EXPECT_EQ(e.CurrentContextMenu().id, 138);
  Select("B");
  e.Dispatch(kCmdPasteCut);
  e.Dispatch(kCmdPasteCut);
  EXPECT_EQ(Outline(), "B(A(A1(A11(A(A1(A11))))))");
  EXPECT_EQ(m().tree.Label(m().tree.Selected()), "A11") << "the last pasted item";
  EXPECT_FALSE(e.Form().Enabled(kCtlOpen));
  // A copy pastes the rows as they are now, and into its own subtree.
  Select("B");
  ASSERT_TRUE(e.EndLabelEdit("B2"));
  e.Dispatch(kCmdPasteCopy);
  EXPECT_EQ(m().tree.Label(m().tree.LastChild(Find("B2"))), "B2");
  // Cutting empties the copy buffer; saving too, but not the cut buffer.
  e.Dispatch(kCmdCut);
  EXPECT_FALSE(e.CommandEnabled(kCmdPasteCopy));
  Select("A");
  e.Dispatch(kCmdCopy);
  host.files = {dir / "p.pml"};
  e.Dispatch(kCmdSave);
  EXPECT_FALSE(e.CommandEnabled(kCmdPasteCopy));
  EXPECT_TRUE(e.CommandEnabled(kCmdPasteCut));
}

// The form shows the pasted item as it is stored, its open flag too, so the
// next edit of its fields does not clear the flag.
TEST_F(EditSession, APastedItemKeepsItsOpenFlag) {
  Add("top");
  e.CheckBoxClicked(kCtlOpen, true);
  e.Dispatch(kCmdCopy);
  e.SelectItem(m().Root());
  e.Dispatch(kCmdPasteCopy);
  const NodeId pasted = m().tree.LastChild(m().Root());
  ASSERT_EQ(m().Selected(), pasted);
  EXPECT_EQ(e.Form().CheckBoxValue(kCtlOpen), 1);
  Type(kCtlLink, "top.html");
  EXPECT_EQ(m().tree.Item(pasted).open, "1");
}

TEST_F(EditSession, PasteOfAThousandItemsRefreshesTheFormOnce) {
  CopyABranchOf(1000);
  host.refreshes = host.selections = host.inserted = host.control_updates = 0;
  e.Dispatch(kCmdPasteCopy);
  EXPECT_EQ(m().LiveItemCount(), 2001);
  EXPECT_EQ(host.inserted, 1000);
  EXPECT_EQ(host.refreshes, 1);
  EXPECT_EQ(host.selections, 1);
  EXPECT_EQ(host.control_updates, 1);
}

TEST_F(EditSession, AddAndPasteKeepToTheItemLimit) {
  CopyABranchOf(1000);
  for (int i = 0; i < 16; ++i) e.Dispatch(kCmdPasteCopy);
  ASSERT_EQ(m().LiveItemCount(), 17001);
  ASSERT_TRUE(host.messages.empty());
  e.Dispatch(kCmdPasteCopy);  // 1,000 more would make 18,001
  EXPECT_EQ(m().LiveItemCount(), 17001);
  EXPECT_EQ(host.messages.back().text, "アイテムの数が多すぎます。\n1つのメニューに入れられるアイテムは17999個までです。");
  while (m().LiveItemCount() < kMaxItems) e.Dispatch(kCmdAddItem);
  host.messages.clear();
  e.Dispatch(kCmdAddItem);
  EXPECT_EQ(m().LiveItemCount(), kMaxItems);
  EXPECT_EQ(Titles(), std::vector<std::string>{"エラー"});
}

}  // namespace
}  // namespace pomeli2::testing

namespace pomeli2::testing {
namespace {

TEST_F(EditSession, DragAndDropAndOutlineKeysMoveWholeSubtrees) {
  Add("A");
  Type(kCtlLink, "a.html");
  Add("A1");
  Type(kCtlItemStyle, "Bold");
  e.SelectItem(m().Root());
  Add("B");
  e.SelectItem(m().Root());
  Add("C");
  Add("C1");
  // Buffers before the drags: C1 cut, B copied.
  e.Dispatch(kCmdCut);
  Select("B");
  e.Dispatch(kCmdCopy);
  const std::string cut = m().CutItems().front().item.title;

  NodeId a = Find("A"), b = Find("B"), c = Find("C");
  EXPECT_FALSE(e.CanDrop(m().Root(), c, kNoNode)) << "the root stays";
  EXPECT_FALSE(e.CanDrop(a, Find("A1"), kNoNode)) << "not into its own subtree";
  EXPECT_FALSE(e.CanDrop(a, a, kNoNode));
  EXPECT_FALSE(e.CanDrop(a, kNoNode, m().Root())) << "nothing beside the root";
  e.Drop(a, c, kNoNode);  // onto C: its last child
  EXPECT_EQ(Outline(), "B,C(A(A1))");
  EXPECT_EQ(m().tree.Item(Find("A1")).style, "Bold");
  EXPECT_EQ(m().tree.Item(Find("A")).link, "a.html");
  EXPECT_EQ(m().tree.Label(m().tree.Selected()), "A");
  e.Drop(Find("A"), m().Root(), b);  // between the root's items: before B
  EXPECT_EQ(Outline(), "A(A1),B,C");
  EXPECT_EQ(m().CutItems().size(), 1u) << "the cut buffer is left alone";
  EXPECT_EQ(m().CutItems().front().item.title, cut);

  // The outline keys act on the tree's selection.
  Select("B");
  e.Dispatch(kCmdIndent);  // last child of A
  EXPECT_EQ(Outline(), "A(A1,B),C");
  e.Dispatch(kCmdOutdent);  // back after A
  EXPECT_EQ(Outline(), "A(A1),B,C");

  // The copy buffer went with B; the cut one still pastes C1.
  Select("C");
  e.Dispatch(kCmdPasteCopy);
  e.SelectItem(m().Root());
  e.Dispatch(kCmdPasteCut);
  EXPECT_EQ(Outline(), "A(A1),B,C(B),C1");

  Select("A");
  e.Dispatch(kCmdOutlineDown);  // the move of the arrow buttons
  EXPECT_EQ(Outline(), "B,A(A1),C(B),C1");
  e.SetTreeFocus(false);
  e.Dispatch(kCmdIndent);
  EXPECT_EQ(Outline(), "B,A(A1),C(B),C1") << "only while the tree has the focus";
  e.SetTreeFocus(true);

  // A drop is one step of the history.
  e.Drop(Find("A"), Find("C1"), kNoNode);
  EXPECT_EQ(Outline(), "B,C(B),C1(A(A1))");
  e.Dispatch(kCmdUndo);
  EXPECT_EQ(Outline(), "B,A(A1),C(B),C1");
}

// The check's problems stay with the items it checked: an edit keeps them,
// an item that takes the id of one an undone step removed has none, and a
// new document has none.
TEST_F(EditSession, TheChecksProblemsStayWithTheItemsChecked) {
  auto checked = [this] {
    std::vector<NodeId> items;
    for (const CheckProblem& p : e.LastCheck())
      if (p.item != kNoNode) items.push_back(p.item);
    return items;
  };
  Add("A");
  Type(kCtlLink, "missing.html");
  const NodeId a = Find("A");
  e.CheckBeforePublishing();
  ASSERT_EQ(checked(), std::vector<NodeId>{a});
  e.SelectItem(m().Root());
  Add("B");
  EXPECT_EQ(checked(), std::vector<NodeId>{a}) << "an edit keeps them";
  while (m().tree.Valid(a)) e.Dispatch(kCmdUndo);
  e.SelectItem(m().Root());
  Add("C");
  ASSERT_EQ(Find("C"), a) << "the id given again";
  EXPECT_EQ(checked(), std::vector<NodeId>{});
  Type(kCtlLink, "missing.html");
  e.CheckBeforePublishing();
  ASSERT_EQ(checked(), std::vector<NodeId>{a});
  e.Dispatch(kCmdNew);
  ASSERT_EQ(Outline(), "");
  EXPECT_EQ(checked(), std::vector<NodeId>{});
}

// Save, import and export say in the status bar what they wrote or read,
// and where.
TEST_F(EditSession, FilesWrittenAndReadAreNamedInTheStatusBar) {
  Add("A");
  host.files = {dir / "p.pml"};
  e.Dispatch(kCmdSave);
  WriteFile(dir / "l.md", "- One\n- Two\n");
  host.files = {dir / "l.md"};
  e.Dispatch(kCmdImport);
  host.files = {dir / "m.opml"};
  e.Dispatch(kCmdExport);
  EXPECT_EQ(host.statuses, (std::vector<std::string>{"「" + (dir / "p.pml") + "」に保存しました。",
                                                     "「" + (dir / "l.md") + "」から2個のアイテムをインポートしました。",
                                                     "「" + (dir / "m.opml") + "」にエクスポートしました。"}));
}

// The dialogs' folders kept for the next run: where projects are kept comes
// back at once, the others with the project they were used for.
TEST_F(EditSession, DialogFoldersComeBackWithTheirProject) {
  Add("A");
  std::filesystem::create_directories(dir.path() / "lists");
  WriteFile(dir / "lists/l.md", "- One\n");
  host.files = {dir / "lists/l.md"};
  e.Dispatch(kCmdImport);
  host.files = {dir / "p.pml"};
  e.Dispatch(kCmdSave);
  ScriptedHost next_host;
  Editor next(next_host, program);
  next.Start();
  next.RestoreFolders(e.FoldersToKeep());
  const int imports = static_cast<int>(FileKind::kImport);
  EXPECT_EQ(EditorAccess::GetServices(next).DialogFolder(static_cast<int>(FileKind::kProject)), dir.path().string() + "/");
  EXPECT_EQ(EditorAccess::GetServices(next).DialogFolder(imports), "");
  next_host.files = {dir / "p.pml"};
  next.Dispatch(kCmdOpen);
  EXPECT_EQ(EditorAccess::GetServices(next).DialogFolder(imports), dir / "lists/");
  next.Dispatch(kCmdNew);
  EXPECT_EQ(EditorAccess::GetServices(next).DialogFolder(imports), "");
}

// A bare name takes the extension of the type chosen in the dialog, or the
// command's own; a name with one keeps it.
TEST(FileDialogs, ABareNameTakesTheChosenTypesExtension) {
  FileDialogRequest exported;
  exported.filter = sj(kExportFilter);
  exported.extension_by_filter = true;
  EXPECT_EQ(WithDialogExtension(exported, "/w/site", 0), "/w/site.json");
  EXPECT_EQ(WithDialogExtension(exported, "/w/site", 1), "/w/site.opml");
  EXPECT_EQ(WithDialogExtension(exported, "/w/site", 3), "/w/site.md");
  EXPECT_EQ(WithDialogExtension(exported, "/w/site.OPML", 0), "/w/site.OPML");
  EXPECT_EQ(WithDialogExtension(exported, "/w.d/site", 1), "/w.d/site.opml");
  FileDialogRequest link;
  link.filter = sj(kLinkFilter);
  link.default_extension = "html";
  EXPECT_EQ(WithDialogExtension(link, "/w/menu", 0), "/w/menu.html");
  link.extension_by_filter = true;
  link.default_extension = "";
  EXPECT_EQ(WithDialogExtension(link, "/w/menu", 1), "/w/menu") << "\"*.*\" names no extension";
  EXPECT_EQ(WithDialogExtension(link, "/w/menu", 0), "/w/menu.html");
}

}  // namespace
}  // namespace pomeli2::testing
