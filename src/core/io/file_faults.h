// The seam at the file-system border: every call by which a write changes
// the disk asks here first, so that a test can make any one of them fail as
// a full disk or a failing device would.
#pragma once

#include <string>

namespace pomeli2 {

enum class FileOp {
  kOpenFolder,     // the target's folder, for linking and syncing
  kOpenAnonymous,  // the unnamed file that takes the new bytes
  kOpenNamed,      // the hidden temporary file, where no unnamed one can be made
  kWrite,
  kSyncFile,
  kSyncFolder,
  kLink,
  kRename,
};

const char* FileOpName(FileOp op);

class FileFaults {
 public:
  virtual ~FileFaults() = default;
  // The errno value the call fails with, or 0 to let it run. `path` is the
  // file being written (after symbolic links are followed).
  virtual int Before(FileOp op, const std::string& path) = 0;
};

// Puts `faults` in place for the life of the guard; one at a time.
class ScopedFileFaults {
 public:
  explicit ScopedFileFaults(FileFaults& faults);
  ~ScopedFileFaults();
  ScopedFileFaults(const ScopedFileFaults&) = delete;
  ScopedFileFaults& operator=(const ScopedFileFaults&) = delete;

 private:
  FileFaults* previous_;
};

}  // namespace pomeli2
