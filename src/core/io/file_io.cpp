#include "io/file_io.h"

#include <algorithm>
#include <limits>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "io/file_faults.h"
#include "text/paths.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

FileFaults* g_faults = nullptr;
FileStore* g_store = nullptr;

// Asks the seam before a call that changes the disk; true (with errno set)
// when the call is to fail.
bool Faulted(FileOp op, const std::string& path) {
  if (!g_faults) return false;
  int error = g_faults->Before(op, path);
  if (error == 0) return false;
  errno = error;
  return true;
}

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  Fd& operator=(int fd) {
    Close();
    fd_ = fd;
    return *this;
  }
  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // Closes now, with the result: a delayed write error may show only here.
  bool Close() {
    if (fd_ < 0) return true;
    int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

std::string DirName(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Follows symbolic links to the file that is really written.
std::optional<std::string> ResolveLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::vector<char> buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    ssize_t n = readlink(path.c_str(), buf.data(), buf.size());
    if (n < 0 || static_cast<size_t>(n) >= buf.size()) return std::nullopt;
    std::string target(buf.data(), static_cast<size_t>(n));
    path = (!target.empty() && target[0] == '/') ? target : DirName(path) + "/" + target;
  }
  return std::nullopt;
}

bool WriteAll(int fd, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    if (Faulted(FileOp::kWrite, path)) return false;
    // At most 1 GiB a call: larger writes are cut short by the kernel anyway.
    ssize_t n = write(fd, bytes.data(), std::min(bytes.size(), size_t{1} << 30));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool Sync(int fd, FileOp op, const std::string& path) { return !Faulted(op, path) && fsync(fd) == 0; }

mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Temporary names are ".NAME.pomeli2-PID-XXXXXX": hidden, and telling which
// process made them, so that a later run can remove those of a process that
// died before it could.
constexpr std::string_view kTempMark = ".pomeli2-";

std::string TemporaryName(const std::string& base) {
  static std::mt19937 random{std::random_device{}()};
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = "." + base + std::string(kTempMark) + std::to_string(getpid()) + "-";
  for (int i = 0; i < 6; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
  return name;
}

// The process that made a temporary name of ours, or 0 for any other name.
pid_t TemporaryOwner(std::string_view name) {
  if (name.size() < 2 || name[0] != '.' || name.size() < 7 || name[name.size() - 7] != '-') return 0;
  std::string_view rest = name.substr(0, name.size() - 7);
  size_t digits = rest.size();
  while (digits > 0 && rest[digits - 1] >= '0' && rest[digits - 1] <= '9') --digits;
  if (digits == rest.size() || rest.size() - digits > 9) return 0;
  if (rest.substr(0, digits).size() < kTempMark.size() + 1 ||
      rest.substr(digits - kTempMark.size(), kTempMark.size()) != kTempMark)
    return 0;
  pid_t pid = 0;
  for (char c : rest.substr(digits)) pid = pid * 10 + (c - '0');
  return pid;
}

// Removes the temporary files that a killed or crashed run of this program
// left in the folder. Another running process's files are left alone.
void RemoveStaleTemporaries(int folder) {
  int fd = dup(folder);
  if (fd < 0) return;
  DIR* dir = fdopendir(fd);
  if (!dir) {
    close(fd);
    return;
  }
  std::vector<std::string> stale;
  while (const dirent* entry = readdir(dir)) {
    pid_t owner = TemporaryOwner(entry->d_name);
    if (owner > 0 && owner != getpid() && kill(owner, 0) != 0 && errno == ESRCH) stale.emplace_back(entry->d_name);
  }
  closedir(dir);
  for (const std::string& name : stale) unlinkat(folder, name.c_str(), 0);
}

// Whether an unnamed file can be given a name later: through /proc, which
// a minimal container may lack.
bool CanLinkUnnamedFiles() {
  static const bool can = access("/proc/self/fd", X_OK) == 0;
  return can;
}

bool TmpfileUnsupported(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// Gives the complete unnamed file `fd` the target's name. A new name is
// linked at once; an existing file is replaced by a rename from a hidden
// name, since a link cannot replace.
bool LinkIn(int fd, int folder, const std::string& base, const std::string& path, bool exists) {
  const std::string proc = "/proc/self/fd/" + std::to_string(fd);
  auto link_as = [&](const std::string& name) {
    return !Faulted(FileOp::kLink, path) &&
           linkat(AT_FDCWD, proc.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
  };
  if (!exists) {
    if (link_as(base)) return true;
    if (errno != EEXIST) return false;  // else a file of the name came meanwhile: replace it
  }
  std::string temp;
  for (int tries = 0;; ++tries) {
    temp = TemporaryName(base);
    if (link_as(temp)) break;
    if (errno != EEXIST || tries == 100) return false;
  }
  if (!Faulted(FileOp::kRename, path) && renameat(folder, temp.c_str(), folder, base.c_str()) == 0) return true;
  int error = errno;
  unlinkat(folder, temp.c_str(), 0);
  errno = error;
  return false;
}

int OpenNamedTemporary(int folder, const std::string& base, const std::string& path, mode_t mode, std::string& name) {
  for (int tries = 0; tries < 100; ++tries) {
    name = TemporaryName(base);
    if (Faulted(FileOp::kOpenNamed, path)) return -1;
    int fd = openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

const char* FileOpName(FileOp op) {
  switch (op) {
    case FileOp::kOpenFolder: return "open folder";
    case FileOp::kOpenAnonymous: return "open unnamed";
    case FileOp::kOpenNamed: return "open temporary";
    case FileOp::kWrite: return "write";
    case FileOp::kSyncFile: return "fsync file";
    case FileOp::kSyncFolder: return "fsync folder";
    case FileOp::kLink: return "link";
    case FileOp::kRename: return "rename";
  }
  return "?";
}

ScopedFileFaults::ScopedFileFaults(FileFaults& faults) : previous_(g_faults) { g_faults = &faults; }
ScopedFileFaults::~ScopedFileFaults() { g_faults = previous_; }

ScopedFileStore::ScopedFileStore(FileStore& store) : previous_(g_store) { g_store = &store; }
ScopedFileStore::~ScopedFileStore() { g_store = previous_; }

bool MemoryFiles::Write(const std::string& path, std::string_view bytes) {
  files[path] = std::string(bytes);
  return true;
}
std::optional<std::string> MemoryFiles::Read(const std::string& path) {
  auto it = files.find(path);
  if (it == files.end()) return std::nullopt;
  return it->second;
}
bool MemoryFiles::Exists(const std::string& path) { return files.count(path) != 0; }

std::optional<std::string> SystemPath(std::string_view sjis_path) {
  if (sjis_path.empty() || sjis_path.find('\0') != std::string_view::npos) return std::nullopt;
  return SjisToUtf8(sjis_path);
}

bool WriteFileAtomically(const std::string& system_path, std::string_view bytes, bool durable) {
  return WriteFileAtomically(system_path, [bytes](const ByteWriter& write) { return write(bytes); }, durable);
}

bool WriteFileAtomically(const std::string& system_path, const std::function<bool(const ByteWriter& write)>& produce,
                         bool durable) {
  if (g_store) {
    std::string bytes;
    if (!produce([&bytes](std::string_view piece) {
          bytes.append(piece);
          return true;
        }))
      return false;
    return g_store->Write(system_path, bytes);
  }
  auto target = ResolveLinks(system_path);
  if (!target) return false;
  const std::string& path = *target;
  mode_t mode = NewFileMode();
  struct stat st;
  const bool exists = stat(path.c_str(), &st) == 0;
  if (exists) {
    if (!S_ISREG(st.st_mode) || access(path.c_str(), W_OK) != 0) return false;
    mode = st.st_mode & 07777;
  }
  const std::string base = FileNameOf(path);
  Fd folder;
  if (Faulted(FileOp::kOpenFolder, path)) return false;
  folder = open(DirName(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (!folder) return false;
  RemoveStaleTemporaries(folder.get());

  // The new bytes go into a file without a name, which no kill can leave
  // behind; only a file system without such files gets a hidden named one.
  Fd file;
  std::string temp;
  if (CanLinkUnnamedFiles()) {
    if (!Faulted(FileOp::kOpenAnonymous, path)) file = openat(folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (!file && !TmpfileUnsupported(errno)) return false;
  }
  if (!file) {
    file = OpenNamedTemporary(folder.get(), base, path, mode, temp);
    if (!file) return false;
  }
  bool ok = false;
  try {
    ok = produce([&](std::string_view piece) { return WriteAll(file.get(), piece, path); });
  } catch (...) {
    // The bytes are made while the file is open: a named one must not stay.
    if (!temp.empty()) unlinkat(folder.get(), temp.c_str(), 0);
    throw;
  }
  ok = ok && fchmod(file.get(), mode) == 0 && (!durable || Sync(file.get(), FileOp::kSyncFile, path));
  if (temp.empty()) {
    ok = ok && LinkIn(file.get(), folder.get(), base, path, exists);
    ok = file.Close() && ok;  // the name is in place; a late error still counts
  } else {
    ok = file.Close() && ok;
    ok = ok && !Faulted(FileOp::kRename, path) && renameat(folder.get(), temp.c_str(), folder.get(), base.c_str()) == 0;
    if (!ok) unlinkat(folder.get(), temp.c_str(), 0);
  }
  // The rename is durable only once the folder is on disk too.
  if (ok && durable) ok = Sync(folder.get(), FileOp::kSyncFolder, path);
  return ok;
}

AtomicFileBatch::~AtomicFileBatch() {
  for (const Staged& f : staged_) unlinkat(f.folder, f.temp.c_str(), 0);
  for (const auto& folder : folders_) close(folder.second);
}

int AtomicFileBatch::Folder(const std::string& name) {
  for (const auto& [known, fd] : folders_)
    if (known == name) return fd;
  const int fd = open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  RemoveStaleTemporaries(fd);
  folders_.emplace_back(name, fd);
  return fd;
}

bool AtomicFileBatch::Add(const std::string& system_path, std::string_view bytes) {
  if (g_store) return g_store->Write(system_path, bytes);
  auto target = ResolveLinks(system_path);
  if (!target) return false;
  const std::string& path = *target;
  mode_t mode = NewFileMode();
  struct stat st;
  if (stat(path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode) || access(path.c_str(), W_OK) != 0) return false;
    mode = st.st_mode & 07777;
  }
  if (Faulted(FileOp::kOpenFolder, path)) return false;
  const int folder = Folder(DirName(path));
  if (folder < 0) return false;
  // Named, since a thousand files without names would be a thousand open
  // descriptors until the commit.
  std::string temp;
  Fd file(OpenNamedTemporary(folder, FileNameOf(path), path, mode, temp));
  if (!file) return false;
  const bool ok = WriteAll(file.get(), bytes, path) && fchmod(file.get(), mode) == 0;
  if (file.Close() && ok) {
    staged_.push_back({system_path, path, temp, folder});
    return true;
  }
  unlinkat(folder, temp.c_str(), 0);
  return false;
}

std::vector<std::string> AtomicFileBatch::Commit() {
  std::vector<std::string> failed;
  std::vector<Staged> staged = std::move(staged_);
  staged_.clear();
  auto drop = [&](const Staged& f) {
    unlinkat(f.folder, f.temp.c_str(), 0);
    failed.push_back(f.path);
  };
  // One sync of the file system for the bytes of every file; asked of the
  // seam file by file, as a sync of each would be.
  std::vector<Staged> synced;
  std::vector<dev_t> devices;
  bool all = true;
  for (const Staged& f : staged) {
    struct stat st;
    if (fstat(f.folder, &st) != 0) all = false;
    else if (std::find(devices.begin(), devices.end(), st.st_dev) == devices.end()) {
      devices.push_back(st.st_dev);
      all = all && syncfs(f.folder) == 0;
    }
  }
  for (Staged& f : staged) {
    if (!all || Faulted(FileOp::kSyncFile, f.target)) drop(f);
    else synced.push_back(std::move(f));
  }
  std::vector<const Staged*> renamed;
  for (const Staged& f : synced) {
    const std::string base = FileNameOf(f.target);
    if (!Faulted(FileOp::kRename, f.target) && renameat(f.folder, f.temp.c_str(), f.folder, base.c_str()) == 0)
      renamed.push_back(&f);
    else
      drop(f);
  }
  // Each folder once, after its renames.
  std::vector<int> done;
  for (const Staged* f : renamed) {
    if (std::find(done.begin(), done.end(), f->folder) != done.end()) continue;
    done.push_back(f->folder);
    if (!Faulted(FileOp::kSyncFolder, f->target) && fsync(f->folder) == 0) continue;
    for (const Staged* g : renamed)
      if (g->folder == f->folder) failed.push_back(g->path);
  }
  return failed;
}

std::optional<std::string> ReadFileHead(const std::string& system_path, size_t limit) {
  if (g_store) {
    auto bytes = g_store->Read(system_path);
    if (bytes && bytes->size() > limit) bytes->resize(limit);
    return bytes;
  }
  std::FILE* f = std::fopen(system_path.c_str(), "rb");
  if (!f) return std::nullopt;
  std::string data;
  char buf[65536];
  size_t n;
  while (data.size() < limit && (n = std::fread(buf, 1, std::min(sizeof buf, limit - data.size()), f)) > 0)
    data.append(buf, n);
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return std::nullopt;
  return data;
}

std::optional<std::string> ReadWholeFile(const std::string& system_path) {
  return ReadFileHead(system_path, std::numeric_limits<size_t>::max());
}

bool FileExists(const std::string& system_path) {
  if (g_store) return g_store->Exists(system_path);
  struct stat st;
  return stat(system_path.c_str(), &st) == 0;
}

std::optional<FileStamp> StampOf(const std::string& system_path) {
  struct stat st;
  if (g_store || stat(system_path.c_str(), &st) != 0) return std::nullopt;
  return FileStamp{st.st_dev, st.st_ino, static_cast<unsigned long long>(st.st_size), st.st_mtim.tv_sec,
                   st.st_mtim.tv_nsec, st.st_ctim.tv_sec, st.st_ctim.tv_nsec};
}

FileReader::FileReader(const std::string& system_path) {
  if (g_store)
    held_ = g_store->Read(system_path);
  else
    file_ = std::fopen(system_path.c_str(), "rb");
}

FileReader::~FileReader() {
  if (file_) std::fclose(file_);
}

size_t FileReader::Read(char* buffer, size_t size) {
  if (file_) return std::fread(buffer, 1, size, file_);
  if (!held_) return 0;
  size_t n = std::min(size, held_->size() - offset_);
  held_->copy(buffer, n, offset_);
  offset_ += n;
  return n;
}

bool FileReader::Failed() const { return file_ ? std::ferror(file_) != 0 : !held_; }

}  // namespace pomeli2
