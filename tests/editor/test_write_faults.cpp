// Every call by which the program changes the disk fails once in turn,
// with a full disk and with an I/O error, in every command that writes:
// the file whose write failed is as it was, every other file is old or new
// in full, the message names the file, nothing else appears, the editor
// goes on with its document as marked as before and the tool ends with 3.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>

#include "build_tool.h"
#include "editor/editor.h"
#include "editor/editor_access.h"
#include "io/program_folder.h"
#include "support/fault_plan.h"
#include "support/menu_builder.h"
#include "support/scripted_host.h"

namespace pomeli2::testing {
namespace {

namespace fs = std::filesystem;
using Tree = std::map<std::string, std::string>;  // relative path -> bytes

Tree Snapshot(const fs::path& root) {
  Tree tree;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (!entry.is_directory()) tree[fs::relative(entry.path(), root).string()] = ReadFile(entry.path());
  return tree;
}

// One run's world: a program folder, a site with a project, an editor.
struct World {
  explicit World(const fs::path& where) : root(where) {
    fs::remove_all(root);
    fs::create_directories(site());
    EXPECT_TRUE(PrepareProgramFolder(program(), InstalledImagesFolder()));
    std::filesystem::copy(std::string(POMELI2_TEST_DATA) + "/pages/example.pml", site() / "site.pml");
    editor = std::make_unique<Editor>(host, program());
    editor->AttachSettingsFile(&settings);
    editor->Start();
  }
  fs::path site() const { return root / "site"; }
  std::string program() const { return (root / "program").string() + "/"; }
  std::string In(const std::string& name) const { return (site() / name).string(); }
  Editor& e() { return *editor; }
  void Open() {
    host.files = {In("site.pml")};
    e().Dispatch(kCmdOpen);
  }
  // The project open with a page of its own in the site, edited since.
  void OpenWithPage() {
    Open();
    EditorAccess::Doc(e()).SetMenuPagePath(In("menu.html"));
  }
  void Edit(const std::string& title) { ASSERT_TRUE(e().FieldChanged(kCtlTitle, title)); }

  fs::path root;
  ScriptedHost host;
  SettingsFile settings{program()};
  std::unique_ptr<Editor> editor;
  int status = 0;  // the tool's
  std::string err;
};

struct Scenario {
  std::string name;
  std::function<void(World&)> prepare;
  std::function<void(World&)> act;
  bool tool = false;
  int modified_after_failure = 1;
};

void WriteFrameSetBefore(World& w, CommandId command) {
  w.OpenWithPage();
  w.Edit("Old");
  w.host.files = {w.In("mainframe.html")};
  w.e().Dispatch(command);
  w.Edit("New");
}

std::vector<Scenario> Scenarios() {
  std::vector<Scenario> list;
  list.push_back({"project save", [](World& w) { w.Open(), w.Edit("New"); },
                  [](World& w) { w.e().Dispatch(kCmdSave); }});
  list.push_back({"backup",
                  [](World& w) { WriteFile(w.program() + "backup.pml", "the backup of another project"); },
                  [](World& w) { w.Open(); }, false, 0});
  list.push_back({"HTML save",
                  [](World& w) {
                    w.OpenWithPage();
                    WriteFile(w.In("menu.html"), std::string("<!-- ") + kProductVersion + " -->");
                    w.Edit("New");
                  },
                  [](World& w) { w.e().Dispatch(kCmdHtmlSave); }});
  list.push_back({"2-pane frame set", [](World& w) { WriteFrameSetBefore(w, kCmdFrame2); },
                  [](World& w) {
                    w.host.files = {w.In("mainframe.html")};
                    w.e().Dispatch(kCmdFrame2);
                  }});
  list.push_back({"3-pane frame set", [](World& w) { WriteFrameSetBefore(w, kCmdFrame3); },
                  [](World& w) {
                    w.host.files = {w.In("mainframe.html")};
                    w.e().Dispatch(kCmdFrame3);
                  }});
  list.push_back({"icon copy",
                  [](World& w) {
                    w.OpenWithPage();
                    for (const char* image : kStandardImages) WriteFile(w.In(image), std::string("old ") + image);
                    w.Edit("New");
                  },
                  [](World& w) { w.e().Dispatch(kCmdIconCopy); }});
  list.push_back({"settings file at an edit", [](World& w) { w.Open(); }, [](World& w) { w.Edit("New"); }});
  list.push_back({"settings file at the close", [](World& w) { w.Open(); },
                  [](World& w) { w.e().CloseRequested(10, 20, 640, 480); }, false, 0});
  list.push_back({"pomeli2-build --frameset3 --copy-images",
                  [](World& w) {
                    WriteFile(w.In("site.html"), "an old page");
                    WriteFile(w.In("mainframe.html"), "an old frame set");
                    for (const char* image : kStandardImages) WriteFile(w.In(image), std::string("old ") + image);
                  },
                  [](World& w) {
                    std::ostringstream out, err;
                    w.status = RunBuildTool({w.In("site.pml"), "--frameset3", "mainframe.html", "--copy-images"}, out,
                                            err);
                    w.err = err.str();
                  },
                  true});
  list.push_back({"pomeli2-build --site",
                  [](World& w) {
                    fs::copy(std::string(POMELI2_TEST_DATA) + "/site/pages", w.site() / "pages",
                             fs::copy_options::recursive);
                    fs::copy(std::string(POMELI2_TEST_DATA) + "/site/site.pml", w.site() / "site.pml",
                             fs::copy_options::overwrite_existing);
                  },
                  [](World& w) {
                    std::ostringstream out, err;
                    w.status = RunBuildTool({w.In("site.pml"), "--site", w.In("pages"), "-o", w.In("pages/menu.html")},
                                            out, err);
                    // The page that is no site's to write is named at every run.
                    w.err = err.str();
                    if (w.status == 0) w.err.clear();
                  },
                  true});
  return list;
}

// What the message about a failed file must name: the file, or for the
// backup the project it copies.
std::string NameInMessage(const fs::path& failed) {
  return failed.filename() == "backup.pml" ? "site.pml" : failed.filename().string();
}

class WriteFaults : public ::testing::TestWithParam<bool> {
 protected:
  // The calls of one scenario, counted into `calls`; each fails in turn.
  void Walk(const Scenario& scenario, int& calls) {
    const fs::path root = dir.path() / "world";
    auto run = [&](FileFaults& faults, World& w) {
      WithoutUnnamedFiles named(faults);
      ScopedFileFaults scope(GetParam() ? faults : static_cast<FileFaults&>(named));
      scenario.act(w);
    };
    Tree before, after;
    FaultPlan counted;
    {
      World w(root);
      scenario.prepare(w);
      w.host.messages.clear();
      before = Snapshot(root);
      run(counted, w);
      after = Snapshot(root);
      EXPECT_EQ(w.status, 0) << w.err;
      for (const Message& m : w.host.messages) EXPECT_NE(m.title, "ファイルエラー") << m.text;
    }
    calls = counted.Calls();
    for (const std::string& path : counted.paths) {
      const std::string name = fs::relative(path, root).string();
      EXPECT_NE(before.count(name) ? before[name] : "", after[name]) << name << ": a write that changes nothing proves nothing";
    }
    for (int error : {ENOSPC, EIO}) {
      for (int n = 1; n <= counted.Calls(); ++n) {
        SCOPED_TRACE(::testing::Message() << scenario.name << ": call " << n << " of " << counted.Calls() << " ("
                                          << FileOpName(counted.ops[n - 1]) << " " << counted.paths[n - 1]
                                          << ") fails with " << (error == ENOSPC ? "ENOSPC" : "EIO"));
        World w(root);
        scenario.prepare(w);
        w.host.messages.clear();
        ASSERT_EQ(Snapshot(root), before);
        FaultPlan plan(n, error);
        run(plan, w);
        ASSERT_TRUE(plan.Failed());
        Tree now = Snapshot(root);
        const std::string failed = fs::relative(plan.failed_path, root).string();
        // A failed sync of the folder comes after the rename: the file is new then.
        const Tree& failed_as = plan.failed_op == FileOp::kSyncFolder ? after : before;
        EXPECT_EQ(now.count(failed), failed_as.count(failed)) << failed;
        if (now.count(failed)) {
          EXPECT_EQ(now[failed], failed_as.at(failed)) << failed;
        }
        for (const auto& [name, bytes] : now) {
          bool old = before.count(name) && before.at(name) == bytes;
          bool fresh = after.count(name) && after.at(name) == bytes;
          EXPECT_TRUE(old || fresh) << name << " is neither old nor new";
        }
        std::string said;
        for (const Message& m : w.host.messages) said += m.text + "\n";
        if (scenario.tool) {
          EXPECT_EQ(w.status, 3);
          said = w.err;
        } else {
          EXPECT_EQ(w.e().ModifiedFlag(), scenario.modified_after_failure);
        }
        EXPECT_NE(said.find("「"), std::string::npos) << said;
        EXPECT_NE(said.find(NameInMessage(plan.failed_path)), std::string::npos) << said;
        if (!scenario.tool) {
          // The editor goes on: the same command, now without a fault, writes everything.
          w.host.messages.clear();
          scenario.act(w);
          EXPECT_EQ(Snapshot(root), after);
        }
      }
    }
  }
  TempDir dir;
};

std::string RouteName(const ::testing::TestParamInfo<bool>& route) { return route.param ? "Unnamed" : "Named"; }

INSTANTIATE_TEST_SUITE_P(Route, WriteFaults, ::testing::Values(true, false), RouteName);

TEST_P(WriteFaults, EveryWriteOfEveryCommand) {
  int points = 0;
  for (const Scenario& scenario : Scenarios()) {
    int calls = 0;
    Walk(scenario, calls);
    EXPECT_GE(calls, 4) << scenario.name;
    std::cout << "[ walk     ] " << scenario.name << ": " << calls << " injection points\n";
    points += calls;
  }
  std::cout << "[ walk     ] " << points << " injection points, each failed with ENOSPC and with EIO\n";
  EXPECT_GE(points, 100);
}

}  // namespace
}  // namespace pomeli2::testing
