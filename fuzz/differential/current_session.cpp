// The session on the current core.
#include <filesystem>

#include "editor/editor.h"
#include "generate/menu_page.h"
#include "project/project_file.h"
#include "session.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace {

using namespace pomeli2;

std::string ClipText(const Clip& clip) {
  std::string out;
  for (const ClipItem& c : clip) {
    const MenuItem& i = c.item;
    out += std::to_string(c.depth) + "|" + i.title + "|" + i.bg_color + "|" + i.style + "|" + i.font_size + "|" +
           i.link + "|" + CodeOf(i.other_window) + "|" + i.target + "|" + i.icon + "|" + i.open + "\n";
  }
  return out;
}

void Observe(Editor& e, std::string& out) {
  const MenuModel& m = e.Model();
  SerializedProject project = SerializeProject(e.Settings(), m);
  out += "project " + (project.too_long_key ? "key " + *project.too_long_key
                       : project.too_long_item_title ? "item " + *project.too_long_item_title
                                                      : project.bytes);
  PageSettings s = e.Settings();
  for (const char* browser : {"IE4-5, NN4, NN6", kHtml5Browser}) {
    s.Browser = browser;
    out += "\npage\n" + BuildMenuPage(s, m.tree, nullptr, nullptr);
  }
  out += "\ncut\n";
  if (m.CutBufferFull()) out += ClipText(m.CutItems());
  out += "copy\n";
  if (m.CopyBufferFull()) out += ClipText(m.CopiedItems());
}

#include "driver.inc"

}  // namespace

std::vector<std::string> RunCurrentSession(const std::uint8_t* data, std::size_t size, const std::string& folder) {
  return RunSessionImpl(data, size, folder);
}
