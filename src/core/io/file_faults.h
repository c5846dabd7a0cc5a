// The seams at the file-system border: every call by which a write changes
// the disk asks here first, so that a test can make any one of them fail as
// a full disk or a failing device would; and the files themselves can be
// kept in memory.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

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

// Files held elsewhere than on the disk: put in place, every read, write and
// existence query of the border goes to it instead, so that a fuzzer's saves
// cost no disk and no sync.
class FileStore {
 public:
  virtual ~FileStore() = default;
  virtual bool Write(const std::string& path, std::string_view bytes) = 0;
  virtual std::optional<std::string> Read(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
};

class MemoryFiles : public FileStore {
 public:
  bool Write(const std::string& path, std::string_view bytes) override;
  std::optional<std::string> Read(const std::string& path) override;
  bool Exists(const std::string& path) override;
  std::map<std::string, std::string> files;
};

class ScopedFileStore {
 public:
  explicit ScopedFileStore(FileStore& store);
  ~ScopedFileStore();
  ScopedFileStore(const ScopedFileStore&) = delete;
  ScopedFileStore& operator=(const ScopedFileStore&) = delete;

 private:
  FileStore* previous_;
};

}  // namespace pomeli2
