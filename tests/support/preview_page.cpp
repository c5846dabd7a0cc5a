// For the browser test of the preview: opens a project in the editor, saves
// its menu page into PAGE_FOLDER (without images), runs the preview and
// prints the URL it opens. The preview's folder lives until standard input
// closes. Usage: preview_page PROJECT.pml PAGE_FOLDER
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "editor/editor.h"
#include "io/program_folder.h"
#include "support/scripted_host.h"

using namespace pomeli2;

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  testing::ScriptedHost host;
  std::string program = std::filesystem::temp_directory_path().string() + "/pomeli2-preview-program/";
  if (!PrepareProgramFolder(program, InstalledImagesFolder())) return 1;
  Editor editor(host, program);
  editor.Start();
  if (!editor.ReadProjectFile(argv[1])) return 1;
  host.files = {std::string(argv[2]) + "/menu.html"};
  editor.Dispatch(kCmdHtmlSave);
  // The save brought the standard images along; the preview must show its
  // own, so the page folder goes without them.
  for (const char* image : kStandardImages) std::filesystem::remove(std::string(argv[2]) + "/" + image);
  editor.Dispatch(kCmdPreview);
  if (host.opened.empty()) return 1;
  std::cout << host.opened.back() << std::endl;
  std::string line;
  while (std::getline(std::cin, line)) {
  }
  return 0;
}
