// The forms a text takes on its way between the project (CP932, titles as
// HTML) and the files other programs exchange (UTF-8): escaping, and the two
// ways of keeping a character that code page 932 cannot hold (a numeric
// character reference in a title, percent-encoded UTF-8 in a link), with
// their way back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/utf8.h"

namespace pomeli2::exchange {

// & < > (and " for attribute values) as entities.
std::string EscapeHtml(std::string_view text);
std::string EscapeAttribute(std::string_view text);

// UTF-8 -> CP932. A title keeps a character that CP932 cannot hold as
// "&#x...;", a link as its percent-encoded UTF-8 bytes. TAB, CR and LF,
// which a project line cannot hold, become spaces.
std::string TitleToProject(std::string_view utf8);
std::string LinkToProject(std::string_view utf8);
// CP932 -> UTF-8, the way back: references and percent-encoded sequences of
// characters that CP932 cannot hold become the characters again (only the
// forms the way in writes, so that the round trip is exact).
std::string TitleFromProject(std::string_view sjis);
std::string LinkFromProject(std::string_view sjis);

// The longest start of `sjis` of at most `limit` bytes that ends at a
// character boundary and not inside a character reference or a
// percent-encoded character.
std::string_view CutText(std::string_view sjis, size_t limit);

}  // namespace pomeli2::exchange
