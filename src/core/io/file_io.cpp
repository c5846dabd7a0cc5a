#include "io/file_io.h"

#include <algorithm>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "text/sjis.h"

namespace pomeli2 {
namespace {

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

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::optional<std::string> SystemPath(std::string_view sjis_path) {
  if (sjis_path.empty() || sjis_path.find('\0') != std::string_view::npos) return std::nullopt;
  return SjisToUtf8(sjis_path);
}

bool WriteFileAtomically(const std::string& system_path, std::string_view bytes, bool durable) {
  auto target = ResolveLinks(system_path);
  if (!target) return false;
  mode_t mode = NewFileMode();
  struct stat st;
  if (stat(target->c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode) || access(target->c_str(), W_OK) != 0) return false;
    mode = st.st_mode & 07777;
  }
  auto slash = target->rfind('/');
  std::string base = slash == std::string::npos ? *target : target->substr(slash + 1);
  std::string temp = DirName(*target) + "/." + base + ".XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && fchmod(fd, mode) == 0 && (!durable || fsync(fd) == 0);
  ok = close(fd) == 0 && ok;
  if (ok) ok = rename(name.data(), target->c_str()) == 0;
  if (!ok) unlink(name.data());
  return ok;
}

std::optional<std::string> ReadFileHead(const std::string& system_path, size_t limit) {
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
  struct stat st;
  return stat(system_path.c_str(), &st) == 0;
}

}  // namespace pomeli2
