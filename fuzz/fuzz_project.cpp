// Feeds arbitrary bytes to the project file reader, and writes back what it
// accepts: the written file must read back to the same menu.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/menu_model.h"
#include "project/project_file.h"

using namespace pomeli2;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const PageSettings initial = PageSettings::Initial();
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ParsedProject parsed = ParseProject(bytes, initial, {});
  if (parsed.failure != ReadFailure::kNone) return 0;

  // Build the menu as the editor does, write, read again.
  MenuModel model;
  const int count = parsed.tree.Count();
  RebuildMenu(model, std::move(parsed.tree));
  if (model.LiveItemCount() != count) abort();
  SerializedProject out = SerializeProject(parsed.settings, model);
  if (out.too_long_key || out.too_long_item_title) abort();  // what was read always fits again
  // Ids follow the file's order, so the same id is the same item in both.
  ParsedProject again = ParseProject(out.bytes, initial, {});
  if (again.failure != ReadFailure::kNone || again.tree.Count() != count) abort();
  for (NodeId i = 0; i < count; ++i)
    if (again.tree.Parent(i) != model.tree.Parent(i) || again.tree.Label(i) != model.tree.Label(i)) abort();
  return 0;
}
