#include "exchange/import_sources.h"

#include "exchange/text_forms.h"

namespace pomeli2::exchange::sources {

ImportProblem Problem(ImportProblem::Kind kind, int line, std::string detail, int column) {
  return ImportProblem{kind, line, column, std::move(detail)};
}

std::string Collapse(std::string_view s) {
  std::string out;
  bool space = false;
  for (char c : s) {
    if (IsHtmlSpace(c)) {
      space = true;
      continue;
    }
    if (space && !out.empty()) out += ' ';
    space = false;
    out += c;
  }
  return out;
}

std::string TitleOfText(std::string_view text) { return MapTitleText(text, EscapeHtml); }

}  // namespace pomeli2::exchange::sources
