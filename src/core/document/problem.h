// What the document reports when it cannot do what it was asked: the
// message's title and text (CP932). The document shows nothing itself; the
// editor puts a problem in a message box, the command-line tool on
// standard error.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pomeli2 {

struct Problem {
  enum class Severity { kError, kWarning };
  std::string title, text;
  Severity severity = Severity::kError;
  // The message comes with the system's beep.
  bool beep = false;
};

// Nothing when the operation worked.
using MaybeProblem = std::optional<Problem>;
// Every problem found, in the order they are to be shown.
using Problems = std::vector<Problem>;

}  // namespace pomeli2
