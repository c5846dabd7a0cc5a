// pomeli2-build killed at random moments while it writes a large page over
// an old one: the page is always the old one or the new one in full, and
// nothing else is left in its folder.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>
#include <set>
#include <thread>

#include "support/menu_builder.h"

namespace pomeli2::testing {
namespace {

namespace fs = std::filesystem;

pid_t StartBuild(const std::string& project, const std::string& page) {
  pid_t pid = fork();
  if (pid == 0) {
    freopen("/dev/null", "w", stderr);
    execl(POMELI2_BUILD_TOOL, POMELI2_BUILD_TOOL, project.c_str(), "-o", page.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

int Wait(pid_t pid) {
  int raw = 0;
  waitpid(pid, &raw, 0);
  return raw;
}

// Waits until the process has its unnamed file open in `folder`, that is
// until it has begun to write the page; false when it ended before.
bool WaitForWriting(pid_t pid, const fs::path& folder) {
  const fs::path fds = "/proc/" + std::to_string(pid) + "/fd";
  const std::string prefix = folder.string() + "/";
  for (;;) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fds, ec)) {
      std::error_code link_ec;
      std::string target = fs::read_symlink(entry.path(), link_ec).string();
      if (target.rfind(prefix, 0) == 0 && target.find("(deleted)") != std::string::npos) return true;
    }
    if (ec) return false;
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == pid)
      return false;
    std::this_thread::sleep_for(std::chrono::microseconds(20));
  }
}

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// 17,000 items: a top-level branch every tenth, the rest its children and
// grandchildren, as a large site has them.
std::string LargeProject() {
  std::string file = ReadFile(std::string(POMELI2_TEST_DATA) + "/pages/example.pml");
  file = file.substr(0, file.find("\r\n0\t") + 2);
  file += "0\troot\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n";
  for (int i = 1; i < 17000; ++i) {
    int depth = i % 10 == 1 ? 1 : i % 10 < 5 ? 2 : 3;
    file += std::to_string(depth) + "\titem" + std::to_string(i) + "\t#FFFFFF\tBold\t1\t12pt\tp" + std::to_string(i) +
            ".html\t" + std::to_string(i % 3) + "\tRight\tlinkto.gif\t0\r\n";
  }
  return file;
}

TEST(KilledBuild, LeavesNoTornPageAndNoOtherFile) {
  TempDir dir;
  const std::string project = dir / "site.pml", page = dir / "site.html";
  WriteFile(project, LargeProject());
  const std::string old_page = std::string(3'000'000, 'o');

  // The new page, and how long the writing takes: the kills fall within it.
  WriteFile(page, "x");
  pid_t first = StartBuild(project, page);
  ASSERT_TRUE(WaitForWriting(first, dir.path()));
  auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(Wait(first), 0);
  const auto run = std::chrono::steady_clock::now() - started;
  const std::string new_page = ReadFile(page);
  ASSERT_GT(new_page.size(), 1'000'000u);
  const std::set<std::string> files = {"site.pml", "site.html"};
  ASSERT_EQ(Names(dir.path()), files);

  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<long long> moment(0, std::chrono::duration_cast<std::chrono::microseconds>(run).count());
  // Until 30 kills have hit a running build; a run that ended first counts
  // as one more write over an old page.
  int kills = 0, runs = 0, old_left = 0, new_left = 0, named_but_not_renamed = 0;
  for (; kills < 30 && runs < 300; ++runs) {
    SCOPED_TRACE(runs);
    WriteFile(page, old_page);
    pid_t pid = StartBuild(project, page);
    WaitForWriting(pid, dir.path());
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    kill(pid, SIGKILL);
    int raw = Wait(pid);
    if (WIFSIGNALED(raw)) ++kills;
    std::string now = ReadFile(page);
    ASSERT_TRUE(now == old_page || now == new_page) << "a torn page of " << now.size() << " bytes";
    (now == old_page ? old_left : new_left)++;
    for (const std::string& name : Names(dir.path())) {
      if (files.count(name)) continue;
      // Killed between the link under a hidden name and the rename: a whole
      // new page, which the next run removes.
      ++named_but_not_renamed;
      EXPECT_EQ(ReadFile(dir / name), new_page) << name;
    }
  }
  // The next run cleans up after any killed one.
  ASSERT_EQ(Wait(StartBuild(project, page)), 0);
  EXPECT_EQ(ReadFile(page), new_page);
  EXPECT_EQ(Names(dir.path()), files);
  std::cout << "[ kills    ] " << kills << " kills in " << runs << " runs; the old page stayed " << old_left
            << " times, the new one came " << new_left << " times; " << named_but_not_renamed
            << " whole pages under a hidden name\n";
  EXPECT_EQ(kills, 30);
}

}  // namespace
}  // namespace pomeli2::testing
