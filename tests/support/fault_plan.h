// Counts the calls by which writes change the disk and makes the Nth one
// fail: the way to walk a failure through every point of a save.
#pragma once

#include <cerrno>
#include <string>
#include <vector>

#include "io/file_faults.h"

namespace pomeli2::testing {

class FaultPlan : public FileFaults {
 public:
  // 0 lets every call run and only counts them.
  explicit FaultPlan(int fail_at = 0, int error = ENOSPC) : fail_at_(fail_at), error_(error) {}

  int Before(FileOp op, const std::string& path) override {
    ops.push_back(op);
    paths.push_back(path);
    if (static_cast<int>(ops.size()) != fail_at_) return 0;
    failed_path = path;
    failed_op = op;
    return error_;
  }
  int Calls() const { return static_cast<int>(ops.size()); }
  bool Failed() const { return !failed_path.empty(); }

  std::vector<FileOp> ops;
  std::vector<std::string> paths;
  std::string failed_path;
  FileOp failed_op = FileOp::kWrite;

 private:
  int fail_at_;
  int error_;
};

// Answers "not supported" to every unnamed file, so that the named route is
// taken as on a file system without them; other calls run or fail as `inner`
// says.
class WithoutUnnamedFiles : public FileFaults {
 public:
  explicit WithoutUnnamedFiles(FileFaults& inner) : inner_(inner) {}
  int Before(FileOp op, const std::string& path) override {
    return op == FileOp::kOpenAnonymous ? EOPNOTSUPP : inner_.Before(op, path);
  }

 private:
  FileFaults& inner_;
};

}  // namespace pomeli2::testing
