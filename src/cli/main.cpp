// pomeli2-build: writes the menu page of a project file, for scripts and
// build pipelines, with the editor's own core and no display.
#include <iostream>

#include "build_tool.h"

int main(int argc, char** argv) {
  return pomeli2::RunBuildTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
                               pomeli2::MenuMemory::kLeaveToExit);
}
