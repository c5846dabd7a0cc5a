#include "editor/session/services.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "editor/session/file_dialogs.h"
#include "model/page_settings.h"

namespace pomeli2 {

Services::~Services() {
  std::error_code ec;
  if (!preview_folder_.empty()) std::filesystem::remove_all(preview_folder_, ec);
}

const std::string& Services::PreviewFolder() {
  if (preview_folder_.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/pomeli2-preview-XXXXXX";
    if (mkdtemp(pattern.data())) preview_folder_ = pattern + "/";
  }
  return preview_folder_;
}

void Services::ForgetDialogFolders(const std::string& project_path) {
  const std::string projects = dialog_folders_[static_cast<int>(FileKind::kProject)];
  dialog_folders_.clear();
  if (!kept_folders_.document.empty() && kept_folders_.document == project_path) dialog_folders_ = kept_folders_.folders;
  dialog_folders_[static_cast<int>(FileKind::kProject)] = projects;
}

Services::KeptFolders Services::FoldersToKeep(const std::string& project_path) const {
  KeptFolders kept{project_path, {}};
  for (const auto& [kind, folder] : dialog_folders_)
    if (!folder.empty()) kept.folders[kind] = folder;
  return kept;
}

void Services::RestoreFolders(KeptFolders kept) {
  const int projects = static_cast<int>(FileKind::kProject);
  if (auto it = kept.folders.find(projects); it != kept.folders.end()) dialog_folders_[projects] = it->second;
  // An untitled document is not opened again.
  if (kept.document != UntitledProject()) kept_folders_ = std::move(kept);
}

}  // namespace pomeli2
