// pomeli2-build as a function: what the program does, with its arguments
// (without the program's name) and its two output streams.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace pomeli2 {

// The exit status: 0 success, 1 project error, 2 usage error, 3 a file
// cannot be written, 4 the check found problems.
// With kLeaveToExit the menu read is not freed when the run ends but left
// to the process's end, which takes its memory back at once: a large menu
// is tens of thousands of allocations to free one by one.
enum class MenuMemory { kFree, kLeaveToExit };
int RunBuildTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 MenuMemory memory = MenuMemory::kFree);

}  // namespace pomeli2
