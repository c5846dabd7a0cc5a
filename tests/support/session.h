// An editor with a program folder and a settings file in a temporary
// folder, driven as a user drives it: commands by id, fields by control,
// items picked by their labels, dialogs answered by the scripted host.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "editor/editor.h"
#include "editor/editor_access.h"
#include "io/program_folder.h"
#include "support/menu_builder.h"
#include "support/scripted_host.h"

namespace pomeli2::testing {

class Session : public ::testing::Test {
 public:
  void SetUp() override {
    // File dialogs with nothing better to start in open in the home folder.
    std::filesystem::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    ASSERT_TRUE(PrepareProgramFolder(program, InstalledImagesFolder()));
    e.AttachSettingsFile(&settings);
    e.Start();
  }

  MenuModel& m() { return EditorAccess::Model(e); }
  static std::string S(const std::string& utf8) { return Utf8ToSjis(utf8).value(); }
  // The first item in pre-order whose label is `utf8`.
  NodeId Find(const std::string& utf8) {
    NodeId found = kNoNode;
    m().tree.ForEachPreOrder(m().Root(), [&](NodeId n) {
      if (found == kNoNode && m().tree.Label(n) == S(utf8)) found = n;
    });
    EXPECT_NE(found, kNoNode) << utf8;
    return found;
  }
  void Select(const std::string& utf8) { e.SelectItem(Find(utf8)); }
  // Adds an item under the selected one and types its title.
  void Add(const std::string& utf8) {
    e.Dispatch(kCmdAddItem);
    ASSERT_TRUE(e.EndLabelEdit(S(utf8)));
  }
  void Type(int control, const std::string& utf8) { ASSERT_TRUE(e.FieldChanged(control, S(utf8))); }
  // Saves the project as `name` in the temporary folder, starts a new one
  // and opens the saved one again.
  void SaveAndReopen(const std::string& name) {
    host.files = {dir / name};
    e.Dispatch(kCmdSave);
    e.Dispatch(kCmdNew);
    host.files = {dir / name};
    e.Dispatch(kCmdOpen);
  }
  // The menu as "label(child,child),label", from the root's children down.
  std::string Outline() { return OutlineOf(m().Root()); }
  std::string OutlineOf(NodeId node) {
    std::string out;
    for (NodeId c = m().tree.FirstChild(node); c != kNoNode; c = m().tree.NextSibling(c)) {
      if (!out.empty()) out += ",";
      out += SjisToUtf8Lossy(m().tree.Label(c));
      if (m().tree.HasChildren(c)) out += "(" + OutlineOf(c) + ")";
    }
    return out;
  }
  std::vector<std::string> Titles() {
    std::vector<std::string> titles;
    for (const Message& msg : host.messages) titles.push_back(msg.title);
    return titles;
  }

  TempDir dir;
  std::string program = dir / "program/";
  std::string home = dir / "home/";
  SettingsFile settings{program};
  ScriptedHost host;
  Editor e{host, program};
};

}  // namespace pomeli2::testing
