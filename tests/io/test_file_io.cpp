#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "io/file_io.h"
#include "support/fault_plan.h"
#include "support/menu_builder.h"

namespace pomeli2::testing {
namespace {

namespace fs = std::filesystem;

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// A process id that belongs to no running process: a child that has ended.
pid_t EndedProcess() {
  pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

class WriteTest : public ::testing::TestWithParam<bool> {
 protected:
  // Runs `write` with unnamed files, or as a file system without them.
  bool Write(const std::string& path, const std::string& bytes, FileFaults& faults, bool durable = true) {
    WithoutUnnamedFiles named(faults);
    FileFaults& used = GetParam() ? faults : static_cast<FileFaults&>(named);
    ScopedFileFaults scope(used);
    return WriteFileAtomically(path, bytes, durable);
  }
  bool Write(const std::string& path, const std::string& bytes) {
    FaultPlan none;
    return Write(path, bytes, none);
  }
  TempDir dir;
};

std::string RouteName(const ::testing::TestParamInfo<bool>& route) { return route.param ? "Unnamed" : "Named"; }

INSTANTIATE_TEST_SUITE_P(Route, WriteTest, ::testing::Values(true, false), RouteName);

TEST_P(WriteTest, WritesNewAndReplacedFilesWithNothingBeside) {
  ASSERT_TRUE(Write(dir / "page.html", "first"));
  EXPECT_EQ(ReadFile(dir / "page.html"), "first");
  ASSERT_TRUE(Write(dir / "page.html", "second, longer"));
  EXPECT_EQ(ReadFile(dir / "page.html"), "second, longer");
  EXPECT_EQ(Names(dir.path()), std::set<std::string>{"page.html"});
}

TEST_P(WriteTest, KeepsPermissionsAndWritesThroughLinks) {
  WriteFile(dir / "real.html", "old");
  chmod((dir / "real.html").c_str(), 0640);
  fs::create_symlink("real.html", dir.path() / "link.html");
  ASSERT_TRUE(Write(dir / "link.html", "new"));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.html"));
  EXPECT_EQ(ReadFile(dir / "real.html"), "new");
  struct stat st;
  ASSERT_EQ(stat((dir / "real.html").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"link.html", "real.html"}));
}

// A durable write syncs the file before it gets its name and the folder
// after; the settings file, rewritten at every keystroke, syncs nothing.
TEST_P(WriteTest, SyncsTheFolderAfterTheNameIsInPlace) {
  for (bool replace : {false, true}) {
    SCOPED_TRACE(replace);
    FaultPlan counted;
    ASSERT_TRUE(Write(dir / "page.html", "bytes", counted));
    ASSERT_FALSE(counted.ops.empty());
    const FileOp open = GetParam() ? FileOp::kOpenAnonymous : FileOp::kOpenNamed;
    EXPECT_EQ(std::count(counted.ops.begin(), counted.ops.end(), open), 1);
    EXPECT_EQ(counted.ops.back(), FileOp::kSyncFolder);
    auto sync = std::find(counted.ops.begin(), counted.ops.end(), FileOp::kSyncFile);
    auto named = std::find_if(counted.ops.begin(), counted.ops.end(),
                              [](FileOp op) { return op == FileOp::kLink || op == FileOp::kRename; });
    EXPECT_LT(sync, named);
    EXPECT_LT(named, counted.ops.end() - 1);
  }
  FaultPlan quick;
  ASSERT_TRUE(Write(dir / "Pomeli2.ini", "line", quick, /*durable=*/false));
  EXPECT_EQ(std::count(quick.ops.begin(), quick.ops.end(), FileOp::kSyncFile), 0);
  EXPECT_EQ(std::count(quick.ops.begin(), quick.ops.end(), FileOp::kSyncFolder), 0);
}

// Every call of a write fails once in turn, new file and replaced file,
// with a full disk and an I/O error: the old file stays as it was, or no
// file appears, and nothing is left beside it. Only a failed sync of the
// folder comes after the new file is in place: it is whole then.
TEST_P(WriteTest, EveryFailingCallLeavesTheOldFileAndNothingElse) {
  for (bool replace : {false, true}) {
    FaultPlan counted;
    if (replace) WriteFile(dir / "page.html", "old");
    ASSERT_TRUE(Write(dir / "page.html", std::string(100000, 'n'), counted));
    ASSERT_GE(counted.Calls(), 5);
    for (int error : {ENOSPC, EIO}) {
      for (int n = 1; n <= counted.Calls(); ++n) {
        SCOPED_TRACE(::testing::Message() << "replace " << replace << " error " << error << " call " << n);
        fs::remove(dir / "page.html");
        if (replace) WriteFile(dir / "page.html", "old");
        FaultPlan plan(n, error);
        bool written = Write(dir / "page.html", std::string(100000, 'n'), plan);
        EXPECT_FALSE(written);
        ASSERT_TRUE(plan.Failed());
        if (plan.failed_op == FileOp::kSyncFolder) {
          EXPECT_EQ(ReadFile(dir / "page.html"), std::string(100000, 'n'));
        } else if (replace) {
          EXPECT_EQ(ReadFile(dir / "page.html"), "old");
        } else {
          EXPECT_FALSE(fs::exists(dir / "page.html"));
        }
        std::set<std::string> expected;
        if (replace || plan.failed_op == FileOp::kSyncFolder) expected.insert("page.html");
        EXPECT_EQ(Names(dir.path()), expected);
      }
    }
  }
}

TEST_P(WriteTest, RemovesOnlyTheTemporaryFilesOfEndedRuns) {
  const std::string ended = ".page.html.pomeli2-" + std::to_string(EndedProcess()) + "-a1B2c3";
  const std::string running = ".page.html.pomeli2-" + std::to_string(getppid()) + "-a1B2c3";
  const std::string other_program = ".page.html.a1B2c3";
  const std::string authors = ".pomeli2-notes";
  for (const std::string& name : {ended, running, other_program, authors}) WriteFile(dir / name, "x");
  ASSERT_TRUE(Write(dir / "page.html", "new"));
  EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"page.html", running, other_program, authors}));
}

TEST_P(WriteTest, RefusesWhatIsNoRegularWritableFile) {
  fs::create_directory(dir.path() / "folder.html");
  EXPECT_FALSE(Write(dir / "folder.html", "x"));
  EXPECT_FALSE(Write(dir / "missing/page.html", "x"));
  EXPECT_EQ(Names(dir.path()), std::set<std::string>{"folder.html"});
}

// With files in memory nothing reaches the disk, and every read of the
// border sees what was written.
TEST(MemoryFilesTest, TheBorderReadsAndWritesThemInstead) {
  TempDir dir;
  MemoryFiles files;
  {
    ScopedFileStore scope(files);
    ASSERT_TRUE(WriteFileAtomically(dir / "page.html", "in memory"));
    EXPECT_TRUE(FileExists(dir / "page.html"));
    EXPECT_FALSE(FileExists(dir / "other.html"));
    EXPECT_EQ(ReadWholeFile(dir / "page.html"), "in memory");
    EXPECT_EQ(ReadFileHead(dir / "page.html", 2), "in");
    FileReader reader(dir / "page.html");
    ASSERT_TRUE(reader.IsOpen());
    char buffer[6];
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 6u);
    EXPECT_EQ(std::string(buffer, 6), "in mem");
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 3u);
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 0u);
    EXPECT_FALSE(reader.Failed());
    EXPECT_FALSE(FileReader(dir / "other.html").IsOpen());
  }
  EXPECT_TRUE(Names(dir.path()).empty());
  EXPECT_EQ(files.files.at(dir / "page.html"), "in memory");
}

}  // namespace
}  // namespace pomeli2::testing
