// Golden files: the exact bytes a writer must produce. Run a test with
// POMELI2_UPDATE_GOLDEN=1 to write the files anew after a reviewed change.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/menu_builder.h"

namespace pomeli2::testing {

inline std::string GoldenPath(const std::string& name) { return std::string(POMELI2_TEST_DATA) + "/golden/" + name; }

inline void ExpectGolden(const std::string& name, const std::string& bytes) {
  const std::string path = GoldenPath(name);
  if (const char* update = std::getenv("POMELI2_UPDATE_GOLDEN"); update && std::string(update) == "1") {
    WriteFile(path, bytes);
    ASSERT_EQ(ReadFile(path), bytes) << "could not write " << path;
    return;
  }
  std::string expected = ReadFile(path);
  ASSERT_FALSE(expected.empty()) << "missing golden file " << path;
  if (bytes == expected) return;
  size_t at = 0;
  while (at < bytes.size() && at < expected.size() && bytes[at] == expected[at]) ++at;
  size_t from = at > 80 ? at - 80 : 0;
  ADD_FAILURE() << "differs from " << name << " at byte " << at << "\n--- expected\n"
                << expected.substr(from, 160) << "\n--- actual\n"
                << bytes.substr(from, 160);
}

}  // namespace pomeli2::testing
