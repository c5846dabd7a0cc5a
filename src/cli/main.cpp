// pomeli2-build: writes the menu page of a project file, for scripts and
// build pipelines, with the editor's own core and no display.
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>

#include "build_tool.h"

namespace {

// A large menu is some ten megabytes of small allocations, and a heap that
// grows under them a 4 KiB page at a time takes a fault per page, which in a
// virtual machine costs as much as all the rest of the run. So the heap is
// made large at once, and backed by 2 MiB pages where the system gives them
// on request (where it does not, nothing changes); memory a run frees stays
// in it for the next use.
void HeapInLargePages() {
  constexpr size_t kHeap = 24 << 20;
  mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the page's large buffers come from the heap too
  mallopt(M_TRIM_THRESHOLD, 64 << 20);  // and what is freed stays there
  void* room = std::malloc(kHeap);
  if (!room) return;
  const std::uintptr_t huge = 2 << 20;
  const std::uintptr_t from = (reinterpret_cast<std::uintptr_t>(room) + huge - 1) & ~(huge - 1);
  const std::uintptr_t to = (reinterpret_cast<std::uintptr_t>(room) + kHeap) & ~(huge - 1);
  if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
  std::free(room);
}

}  // namespace

int main(int argc, char** argv) {
  HeapInLargePages();
  return pomeli2::RunBuildTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
                               pomeli2::MenuMemory::kLeaveToExit);
}
