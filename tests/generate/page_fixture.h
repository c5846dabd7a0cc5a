// Builds menu pages the way the HTML save does, from project files of
// tests/pages or from menus made in code.
#pragma once

#include <gtest/gtest.h>

#include "editor/editor.h"
#include "editor/editor_access.h"
#include "support/golden.h"
#include "support/menu_builder.h"
#include "support/scripted_host.h"

namespace pomeli2::testing {

class PageTest : public ::testing::Test {
 protected:
  void SetUp() override { e.Start(); }

  void Load(const std::string& project) {
    ASSERT_TRUE(e.ReadProjectFile(std::string(POMELI2_TEST_DATA) + "/pages/" + project + ".pml"));
  }
  // Writes the menu page as <name>.html in the temporary folder, as HTML
  // save does once it has a name; nothing when there are no items.
  std::optional<Document::PageWrite> Write(const std::string& name) {
    EditorAccess::Doc(e).SetMenuPagePath(dir / (name + ".html"));
    EditorAccess::Model(e).tree.Select(Root());
    if (EditorAccess::Notify(e).Report(EditorAccess::Doc(e).NoItemsToWrite())) return std::nullopt;
    Document::PageWriteResult written = EditorAccess::Doc(e).WriteMenuPage();
    EditorAccess::Notify(e).Report(written.problems);
    return written.result;
  }
  std::string Page(const std::string& name) {
    EXPECT_EQ(Write(name), Document::PageWrite::kWritten);
    return ReadFile(dir / (name + ".html"));
  }
  // The part of the page from the first item block to the end of the BODY.
  static std::string Items(const std::string& page) {
    auto from = page.find("<DIV ");
    auto to = page.find("</BODY>");
    return from == std::string::npos ? "" : page.substr(from, to - from);
  }
  static std::string Script(const std::string& page) {
    auto from = page.find("<SCRIPT");
    auto to = page.find("</SCRIPT>\r\n");
    return page.substr(from, to + 11 - from);
  }
  NodeId Add(NodeId parent, const MenuItem& cells) { return AddItem(EditorAccess::Model(e), parent, cells); }
  NodeId Root() { return e.Model().Root(); }
  PageSettings& S() { return EditorAccess::Settings(e); }

  TempDir dir;
  ScriptedHost host;
  Editor e{host, dir / "program/"};
};

inline size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
  return n;
}

}  // namespace pomeli2::testing
