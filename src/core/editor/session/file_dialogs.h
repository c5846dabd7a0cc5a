// Where the file dialogs start: a dialog that proposes a bare name opens in
// the folder its kind used last in this document, else the menu page's
// folder, else the project's, else the home folder; never in the program's
// working folder. A frame set starts beside the menu page it names.
#pragma once

#include <optional>
#include <string>

#include "editor/view/host.h"

namespace pomeli2 {

struct CommandContext;

enum class FileKind { kProject, kPage, kFrameSet, kImage, kLink, kBodyFile, kImport, kExport };

// Shows the dialog with its initial name completed by its start folder and
// remembers the chosen file's folder for its kind. A relative name with a
// folder in it (a link, an image beside the page) is taken from the page's
// folder, as the page will take it.
std::optional<std::string> AskForFile(CommandContext& e, FileKind kind, FileDialogRequest request);

// What a file dialog gives back for the name `chosen` (CP932) picked with
// the filter at `filter_index` of the request: a name without an extension
// takes the chosen filter's (its first pattern's) when the request asks for
// it and the pattern names one, else the default extension.
std::string WithDialogExtension(const FileDialogRequest& request, std::string chosen, int filter_index);

}  // namespace pomeli2
