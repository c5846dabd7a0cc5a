#include "io/program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "io/file_io.h"

namespace pomeli2 {
namespace fs = std::filesystem;

std::string ProgramFolder() {
  std::string folder;
  if (const char* home = std::getenv("POMELI2_HOME"); home && *home) {
    folder = home;
  } else if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
    folder = std::string(data) + "/pomeli2";
  } else {
    const char* user_home = std::getenv("HOME");
    folder = std::string(user_home && *user_home ? user_home : ".") + "/.local/share/pomeli2";
  }
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::string InstalledImagesFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  std::vector<fs::path> candidates;
  if (!ec) {
    candidates.push_back(exe.parent_path().parent_path() / "share/pomeli2/images");
  }
#if defined(POMELI2_SOURCE_IMAGES) && defined(POMELI2_BUILD_DIR)
  // A program run from its build folder takes the source tree's images; an
  // installed one only ever takes its own.
  const std::string build_dir = std::string(POMELI2_BUILD_DIR) + "/";
  if (!ec && exe.string().compare(0, build_dir.size(), build_dir) == 0) candidates.push_back(POMELI2_SOURCE_IMAGES);
#endif
  for (const fs::path& dir : candidates)
    if (fs::exists(dir / kStandardImages[0], ec)) return dir.string() + "/";
  return "";
}

bool PrepareProgramFolder(const std::string& program_folder, const std::string& images_folder) {
  std::error_code ec;
  fs::create_directories(program_folder, ec);
  if (!fs::is_directory(program_folder, ec)) return false;
  if (images_folder.empty()) return true;
  for (const char* name : kStandardImages) {
    std::string target = program_folder + name;
    if (FileExists(target)) continue;
    if (auto bytes = ReadWholeFile(images_folder + name)) WriteFileAtomically(target, *bytes);
  }
  return true;
}

}  // namespace pomeli2
