// Escaping of stored values for the places in the menu page where they stand
// inside JavaScript string literals, attribute values or style sheets. CP932-aware: the second byte of a
// double-byte character (0x5C in 表 or ソ) is never taken for a backslash.
#pragma once

#include <string>
#include <string_view>

namespace pomeli2 {

// For a single-quoted literal inside a double-quoted HTML attribute:
// \ -> \\, ' -> \', " -> &quot;.
std::string EscapeForHandler(std::string_view value);

// For a double-quoted literal inside the SCRIPT element: \ -> \\, " -> \".
std::string EscapeForScriptString(std::string_view value);

// For a double-quoted HTML attribute value: " -> &quot;. Anything else is
// kept, so that entities written by the author keep their meaning.
std::string EscapeForAttribute(std::string_view value);

// For text that the program itself puts into the page, as an element's
// content or a double-quoted attribute value: & < > " become references.
std::string EscapeForText(std::string_view value);

// For a double-quoted string in a style sheet: \ and " are escaped, and < so
// that no value can end the STYLE element; line breaks become spaces.
std::string EscapeForCssString(std::string_view value);

}  // namespace pomeli2
