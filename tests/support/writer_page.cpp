// For the browser tests of the "HTML5" page: writes the menu page of a
// project with the page writer alone, without the save's refusal of
// colours and numbers, so that the writer's own handling of such values is
// what the checkers see. Usage: writer_page PROJECT.pml PAGE.html
#include <fstream>
#include <string>
#include <vector>

#include "document/document.h"
#include "generate/menu_page.h"
#include "text/sjis.h"

using namespace pomeli2;

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  Document doc;
  std::vector<std::string> targets;
  doc.model.ResetMenu();
  auto project = Utf8ToSjis(argv[1]);
  if (!project || doc.ReadProjectFile(*project, targets)) return 1;
  std::ofstream out(argv[2], std::ios::binary);
  out << BuildMenuPage(doc.settings, doc.model.tree, nullptr, nullptr);
  return out.good() ? 0 : 1;
}
