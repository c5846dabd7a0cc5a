// The parts of a path the program names, for CP932 and UTF-8 paths alike:
// "/" separates, and "/" is never a trail byte of a CP932 character (they
// start at 0x40), so a byte search finds only separators.
#pragma once

#include <string>
#include <string_view>

namespace pomeli2 {

// The last component of a path.
inline std::string FileNameOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// The folder part of a path with its trailing "/", or "" for a bare name.
inline std::string FolderOf(std::string_view path) {
  return std::string(path.substr(0, path.size() - FileNameOf(path).size()));
}

}  // namespace pomeli2
