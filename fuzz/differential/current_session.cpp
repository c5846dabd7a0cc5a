// The session on the current core.
#include <filesystem>

#include "editor/editor.h"
#include "editor/editor_access.h"
#include "generate/menu_page.h"
#include "project/project_file.h"
#include "session.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace {

using namespace pomeli2;

#include "observe_after.inc"

// The observation and the session, on the hooks above.
#include "observe.inc"
#include "driver.inc"

}  // namespace

std::vector<std::string> RunCurrentSession(const std::uint8_t* data, std::size_t size, const std::string& folder,
                                           bool full) {
  return RunSessionImpl(data, size, folder, full);
}
