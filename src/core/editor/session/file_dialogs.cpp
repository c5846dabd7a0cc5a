#include "editor/session/file_dialogs.h"

#include <cstdlib>

#include "editor/commands/command_registry.h"
#include "editor/form/form_state.h"
#include "editor/session/services.h"
#include "text/paths.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) return {};
  auto text = Utf8ToSjis(home);
  if (!text) return {};
  return text->back() == '/' ? *text : *text + "/";
}

std::string StartFolder(CommandContext& e, FileKind kind) {
  auto absolute_folder = [](const std::string& path) {
    std::string folder = FolderOf(path);
    return !folder.empty() && folder[0] == '/' ? folder : std::string();
  };
  // A frame set names the menu page by its bare name: it belongs beside it.
  if (kind == FileKind::kFrameSet) {
    if (std::string folder = absolute_folder(e.doc.settings.Path); !folder.empty()) return folder;
  }
  const std::string& remembered = e.services.DialogFolder(static_cast<int>(kind));
  if (!remembered.empty()) return remembered;
  for (const std::string* path : {&e.doc.settings.Path, &e.doc.settings.ProjectPath})
    if (std::string folder = absolute_folder(*path); !folder.empty()) return folder;
  return HomeFolder();
}

}  // namespace

std::optional<std::string> AskForFile(CommandContext& e, FileKind kind, FileDialogRequest request) {
  std::string& name = request.initial_name;
  if (name.empty() || name[0] != '/') {
    std::string page_folder = FolderOf(e.doc.settings.Path);
    bool beside_page = name.find('/') != std::string::npos && !page_folder.empty() && page_folder[0] == '/';
    name = (beside_page ? page_folder : StartFolder(e, kind)) + name;
  }
  auto chosen = e.notify.host().FileDialog(request);
  if (chosen) e.services.DialogFolder(static_cast<int>(kind)) = FolderOf(*chosen);
  return chosen;
}

std::string WithDialogExtension(const FileDialogRequest& request, std::string chosen, int filter_index) {
  const std::string name = FileNameOf(chosen);
  if (name.empty() || name.find('.') != std::string::npos) return chosen;
  std::string extension = request.default_extension;
  if (request.extension_by_filter) {
    // "label|patterns|label|patterns||": the patterns of entry `filter_index`.
    size_t at = 0;
    for (int field = 0; field < 2 * filter_index + 1 && at != std::string::npos; ++field) {
      at = request.filter.find('|', at);
      if (at != std::string::npos) ++at;
    }
    if (at != std::string::npos) {
      std::string first = request.filter.substr(at, request.filter.find_first_of("|;", at) - at);
      first.erase(0, first.find_first_not_of(' '));
      if (first.size() > 2 && first.compare(0, 2, "*.") == 0 && first.find_first_of("*?", 2) == std::string::npos)
        extension = first.substr(2);
    }
  }
  return extension.empty() ? chosen : chosen + "." + extension;
}

}  // namespace pomeli2
