// The document and HTML commands: their questions, dialogs and the modified
// mark, and what a save or open that did not happen leaves alone.
#include "support/session.h"

namespace pomeli2::testing {
namespace {

using DocumentCommands = Session;

TEST_F(DocumentCommands, SaveAndSaveAsAskBeforeReplacing) {
  Add("A");
  WriteFile(dir / "old.pml", "old");
  host.files = {dir / "old.pml"};
  host.answers = {MessageAnswer::kNo};
  e.Dispatch(kCmdSave);
  EXPECT_EQ(ReadFile(dir / "old.pml"), "old");
  EXPECT_EQ(e.Settings().ProjectPath, UntitledProject());
  EXPECT_EQ(Titles(), std::vector<std::string>{"上書確認"});
  EXPECT_EQ(e.ModifiedFlag(), 1);

  // A cancelled or failed save keeps the mark: the edits are not lost.
  e.Dispatch(kCmdSave);
  EXPECT_EQ(e.ModifiedFlag(), 1);
  host.files = {dir / "missing/new.pml"};
  e.Dispatch(kCmdSaveAs);
  EXPECT_EQ(host.messages.back().title, "ファイルエラー");
  EXPECT_EQ(e.ModifiedFlag(), 1);

  host.files = {dir / "old.pml"};
  host.answers = {MessageAnswer::kYes};
  e.Dispatch(kCmdSaveAs);
  EXPECT_EQ(ReadFile(dir / "old.pml").substr(0, 8), "[Title]\t");
  EXPECT_EQ(e.ModifiedFlag(), 0);
  EXPECT_EQ(host.dialogs.back().initial_name, dir / "missing/new.pml") << "the name of the failed save";
  // Save As onto an existing file, declined: untitled again.
  host.files = {dir / "old.pml"};
  host.answers = {MessageAnswer::kNo};
  e.Dispatch(kCmdSaveAs);
  EXPECT_EQ(e.Settings().ProjectPath, UntitledProject());
}

TEST_F(DocumentCommands, OpenAsksKeepsEditsWhenNothingIsOpenedAndMakesABackup) {
  Add("A");
  host.files = {dir / "a.pml"};
  e.Dispatch(kCmdSave);
  Select("ホームページ");
  Add("B");
  // Declined question: nothing happens.
  host.answers = {MessageAnswer::kNo};
  e.Dispatch(kCmdOpen);
  EXPECT_TRUE(host.dialogs.size() == 1u) << "no open dialog after No";
  EXPECT_EQ(host.messages.back().text, "変更が保存されていません。新しいファイルを開いてよろしいですか？");
  // Cancelled dialog and a rejected file keep the edits, the name and the mark.
  e.Dispatch(kCmdOpen);
  EXPECT_TRUE(host.dialogs.back().must_exist);
  EXPECT_EQ(host.dialogs.back().initial_name, dir / "a.pml");
  WriteFile(dir / "bad.pml", "[Title]\tx\r\n");
  host.files = {dir / "bad.pml"};
  e.Dispatch(kCmdOpen);
  EXPECT_EQ(host.messages.back().text, "ファイル構造が正しくありません。");
  EXPECT_EQ(Outline(), "A,B");
  EXPECT_EQ(e.Settings().ProjectPath, dir / "a.pml");
  EXPECT_EQ(e.ModifiedFlag(), 1);

  host.files = {dir / "a.pml"};
  e.Dispatch(kCmdOpen);
  EXPECT_EQ(Outline(), "A");
  EXPECT_EQ(e.ModifiedFlag(), 0);
  EXPECT_EQ(ReadFile(program + "backup.pml"), ReadFile(dir / "a.pml"));
  // The backup itself, or any file whose name ends so, is not copied.
  WriteFile(program + "backup.pml", ReadFile(dir / "a.pml") + "\r\n");
  std::filesystem::copy(dir / "a.pml", dir / "mybackup.pml");
  host.files = {dir / "mybackup.pml"};
  e.Dispatch(kCmdOpen);
  EXPECT_NE(ReadFile(program + "backup.pml"), ReadFile(dir / "a.pml"));

  // The last-project entry and a project handed over on the command line.
  EXPECT_FALSE(e.CommandEnabled(kCmdRecent)) << "read at start only";
  e.OpenProject(dir / "a.pml");
  EXPECT_EQ(e.Settings().ProjectPath, dir / "a.pml");
  EXPECT_EQ(ReadFile(program + "backup.pml"), ReadFile(dir / "a.pml"));
}

// A file that import reads, opened as a project: said so, and imported
// into the open menu, as one step, when the user agrees.
TEST_F(DocumentCommands, OpeningAFileThatImportReadsOffersToImportIt) {
  Add("A");
  for (const char* source : {"- [One](one.html)\n- Two\n",
                             "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><A HREF=\"one.html\">One</A>\n"
                             "<DT><A HREF=\"two.html\">Two</A>\n</DL>\n"}) {
    WriteFile(dir / "list.md", source);
    host.messages.clear();
    host.files = {dir / "list.md"};
    host.answers = {MessageAnswer::kYes, MessageAnswer::kNo};
    e.Dispatch(kCmdOpen);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_NE(host.messages[1].text.find("ファイル「" + (dir / "list.md") + "」はぽめりファイルではありませんが"),
              std::string::npos)
        << host.messages[1].text;
    EXPECT_EQ(host.messages[1].buttons, MessageButtons::kYesNo);
    EXPECT_EQ(Outline(), "A");
  }
  host.files = {dir / "list.md"};
  host.answers = {MessageAnswer::kYes, MessageAnswer::kYes};
  e.Dispatch(kCmdOpen);
  EXPECT_EQ(Outline(), "A(One,Two)");
  EXPECT_EQ(e.Settings().ProjectPath, UntitledProject());
  e.Dispatch(kCmdUndo);
  EXPECT_EQ(Outline(), "A");

  // Any other file that is no project: the reader's message, naming it.
  WriteFile(dir / "bad.pml", "0\tHome\t\t\t1\t\t\t0\r\nx\tA\t\t\t1\t\t\t0\r\n");
  host.files = {dir / "bad.pml"};
  host.answers = {MessageAnswer::kYes};
  e.Dispatch(kCmdOpen);
  EXPECT_EQ(host.messages.back().text, "ファイル「" + (dir / "bad.pml") +
                                           "」\n数字フィールドに文字が含まれているか、または空です。\n"
                                           "ページ情報が正しくロードできません。");
}

TEST_F(DocumentCommands, NewAsksAndResets) {
  Add("A");
  host.answers = {MessageAnswer::kNo};
  e.Dispatch(kCmdNew);
  EXPECT_EQ(Outline(), "A");
  e.Dispatch(kCmdNew);
  EXPECT_EQ(Outline(), "");
  EXPECT_EQ(e.ModifiedFlag(), 0);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"保存確認", "保存確認", "ページ確認"}));
}

TEST_F(DocumentCommands, HtmlSaveNamesThePageAndAsksBeforeReplacing) {
  e.Dispatch(kCmdHtmlSave);
  EXPECT_EQ(host.messages.back().text, "書き出すアイテムがありません。");
  EXPECT_TRUE(host.dialogs.empty());
  Add("A");
  WriteFile(dir / "menu.html", "mine");
  host.files = {dir / "menu.html"};
  host.answers = {MessageAnswer::kNo};
  e.Dispatch(kCmdHtmlSaveAs);
  EXPECT_EQ(ReadFile(dir / "menu.html"), "mine");
  EXPECT_EQ(e.Settings().HtmlFileName, UntitledHtml());
  EXPECT_EQ(e.Settings().Path, dir / "menu.html");
  EXPECT_FALSE(e.CommandEnabled(kCmdIconCopy));
  host.files = {dir / "menu.html"};
  e.Dispatch(kCmdHtmlSave);  // asks again, proposing the declined path
  EXPECT_EQ(host.dialogs.back().initial_name, dir / "menu.html");
  EXPECT_EQ(ReadFile(dir / "menu.html").substr(0, 6), "<HTML>");
  EXPECT_TRUE(e.CommandEnabled(kCmdIconCopy));
  EXPECT_TRUE(e.CommandEnabled(kCmdFrame2));

  // An endless closing animation is refused before a name is asked for.
  EditorAccess::Settings(e).CloseItems = 1;
  EditorAccess::Settings(e).Speed = "-3";
  size_t dialogs = host.dialogs.size();
  e.Dispatch(kCmdHtmlSaveAs);
  EXPECT_EQ(host.dialogs.size(), dialogs);
  EXPECT_EQ(host.messages.back().title, "入力エラー");
}

TEST_F(DocumentCommands, OpenedProjectsNeverSendThePageElsewhere) {
  Add("A");
  host.files = {dir / "a.pml"};
  e.Dispatch(kCmdSave);  // its Path names no page yet
  host.files = {dir / "site.html"};
  e.Dispatch(kCmdHtmlSave);
  host.files = {dir / "b.pml"};
  e.Dispatch(kCmdSaveAs);  // its Path names site.html
  ASSERT_EQ(e.Settings().HtmlFileName, "site.html");

  host.files = {dir / "a.pml"};
  e.Dispatch(kCmdOpen);
  EXPECT_EQ(e.Settings().Path, "pomeli2.html");
  EXPECT_EQ(e.Settings().HtmlFileName, UntitledHtml()) << "a page of another project";
  EXPECT_FALSE(e.CommandEnabled(kCmdFrame2));
  size_t dialogs = host.dialogs.size();
  host.files = {dir / "a.html"};
  e.Dispatch(kCmdHtmlSave);
  EXPECT_EQ(host.dialogs.size(), dialogs + 1) << "asks instead of writing pomeli2.html in the working folder";
  EXPECT_FALSE(std::filesystem::exists("pomeli2.html"));

  // A project whose Path names its page takes it: Ctrl+H writes it again
  // without asking, as after a save in this run.
  host.files = {dir / "b.pml"};
  e.Dispatch(kCmdOpen);
  EXPECT_EQ(e.Settings().HtmlFileName, "site.html") << "b names site.html, not a.html";
  EXPECT_TRUE(e.CommandEnabled(kCmdFrame2));
  dialogs = host.dialogs.size();
  std::filesystem::remove(dir / "site.html");
  e.Dispatch(kCmdHtmlSave);
  EXPECT_EQ(host.dialogs.size(), dialogs);
  EXPECT_TRUE(std::filesystem::exists(dir / "site.html"));

  // Unless the page's folder is gone: then HTML save asks again.
  std::filesystem::create_directory(dir / "gone");
  host.files = {dir / "gone/g.html"};
  e.Dispatch(kCmdHtmlSaveAs);
  e.Dispatch(kCmdSave);
  std::filesystem::remove_all(dir / "gone");
  e.Dispatch(kCmdNew);
  host.files = {dir / "b.pml"};
  e.Dispatch(kCmdOpen);
  EXPECT_EQ(e.Settings().Path, dir / "gone/g.html");
  EXPECT_EQ(e.Settings().HtmlFileName, UntitledHtml());
  EXPECT_FALSE(e.CommandEnabled(kCmdFrame2));
}

TEST_F(DocumentCommands, PreviewChangesNothing) {
  e.Dispatch(kCmdPreview);
  EXPECT_EQ(host.messages.back().text, "書き出すアイテムがありません。");
  Add("A");
  Type(kCtlLink, "a.html");
  Add("A1");
  host.files = {dir / "p.pml"};
  e.Dispatch(kCmdSaveAs);
  Select("A");
  e.Dispatch(kCmdCopy);
  Select("A1");
  Type(kCtlItemSize, "12pt");  // modified again, copy buffer full
  ASSERT_EQ(e.ModifiedFlag(), 1);
  ASSERT_TRUE(e.CommandEnabled(kCmdPasteCopy));
  const MenuTree::Snapshot tree = m().tree.Share();
  const std::string project = ReadFile(dir / "p.pml");
  const PageSettings before = e.Settings();

  host.messages.clear();
  e.Dispatch(kCmdPreview);
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(e.ModifiedFlag(), 1);
  EXPECT_TRUE(e.CommandEnabled(kCmdPasteCopy));
  EXPECT_TRUE(e.Settings() == before) << "Path and every other setting";
  size_t changed = 0;
  m().tree.Share().nodes.ForEachDifferent(tree.nodes, [&](size_t) { ++changed; });
  EXPECT_EQ(changed, 0u) << "no item was touched";
  EXPECT_EQ(ReadFile(dir / "p.pml"), project);

  // The page resolves in the project's folder (the page was never saved),
  // and its standard images come from the preview's own folder.
  const std::string url = host.opened[0];
  ASSERT_EQ(url.rfind("file://", 0), 0u);
  const std::string page = ReadFile(url.substr(7));
  EXPECT_NE(page.find("<BASE HREF=\"file://" + dir.path().string() + "/\">"), std::string::npos);
  EXPECT_NE(page.find("A1"), std::string::npos);
  const std::string preview = EditorAccess::GetServices(e).PreviewFolder();
  EXPECT_NE(page.find("SRC=\"file://" + preview + "scroll.gif\""), std::string::npos);
  EXPECT_EQ(ReadFile(preview + "plus.gif"), ReadFile(program + "plus.gif"));
  // An image the page's folder holds is taken from there.
  WriteFile(dir / "plus.gif", "mine");
  e.Dispatch(kCmdPreview);
  EXPECT_NE(ReadFile(host.opened[1].substr(7)).find("\"plus.gif\""), std::string::npos);

  EditorAccess::Settings(e).CloseItems = 1;
  EditorAccess::Settings(e).Speed = "0";
  e.Dispatch(kCmdPreview);
  EXPECT_EQ(host.messages.back().title, "入力エラー");
  EXPECT_EQ(host.opened.size(), 2u);
}

}  // namespace
}  // namespace pomeli2::testing
