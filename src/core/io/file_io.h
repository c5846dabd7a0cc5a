// File-system border: paths held as CP932 bytes become system paths only
// here, and every file is replaced whole or not at all.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pomeli2 {

// A CP932 path as the system's (UTF-8) path; nullopt when it does not decode.
std::optional<std::string> SystemPath(std::string_view sjis_path);

// Writes `bytes` to a temporary file beside the target and renames it over
// the target only once everything is on disk. A symbolic link is followed
// (its target is replaced, the link stays); an existing file keeps its
// permissions. On failure the old file is untouched and false is returned.
// `durable` also flushes the data to the disk before the rename; a file that
// is rewritten on every keystroke (the settings file) skips that.
bool WriteFileAtomically(const std::string& system_path, std::string_view bytes, bool durable = true);
// The same, with the bytes handed over piece by piece as `produce` makes
// them, so that a large file is never held whole. `produce` passes each
// piece to `write` and returns false to give up (or when `write` did);
// the old file then stays as it was.
using ByteWriter = std::function<bool(std::string_view bytes)>;
bool WriteFileAtomically(const std::string& system_path, const std::function<bool(const ByteWriter& write)>& produce,
                         bool durable = true);

// Many files replaced as WriteFileAtomically replaces one, each whole or not
// at all, at the cost of one sync of the file system for all their bytes and
// one sync of each folder, instead of two syncs a file.
class AtomicFileBatch {
 public:
  AtomicFileBatch() = default;
  ~AtomicFileBatch();
  AtomicFileBatch(const AtomicFileBatch&) = delete;
  AtomicFileBatch& operator=(const AtomicFileBatch&) = delete;
  // The new bytes of a file, in a hidden file beside it; false, the file
  // untouched, when they cannot be put there.
  bool Add(const std::string& system_path, std::string_view bytes);
  // Puts every added file in place; the paths (as added) of those that
  // could not be: each of them is as it was, except where only the sync of
  // its folder failed after the rename (it is new then, but not yet sure to
  // be on the disk).
  std::vector<std::string> Commit();

 private:
  struct Staged {
    std::string path, target, temp;
    int folder;
  };
  int Folder(const std::string& name);
  std::vector<Staged> staged_;
  std::vector<std::pair<std::string, int>> folders_;
};

// The whole file, or nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& system_path);
// At most the first `limit` bytes of a file; nothing when it cannot be read.
std::optional<std::string> ReadFileHead(const std::string& system_path, size_t limit);

bool FileExists(const std::string& system_path);

// What tells one state of a file from another without reading it: the file
// the path names, its size and the times of its last write and of its last
// change. A file written or replaced in between has another stamp.
struct FileStamp {
  unsigned long long device, inode, size;
  long long modified_s, modified_ns, changed_s, changed_ns;
  bool operator==(const FileStamp&) const = default;
};
// Nothing when the file cannot be reached.
std::optional<FileStamp> StampOf(const std::string& system_path);

// Reads a file in pieces, so that a large one is never held twice.
class FileReader {
 public:
  explicit FileReader(const std::string& system_path);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;
  bool IsOpen() const { return file_ != nullptr || held_.has_value(); }
  // Up to `size` bytes; 0 at the end or after an error.
  size_t Read(char* buffer, size_t size);
  bool Failed() const;

 private:
  std::FILE* file_ = nullptr;
  std::optional<std::string> held_;  // from a file store
  size_t offset_ = 0;
};

}  // namespace pomeli2
