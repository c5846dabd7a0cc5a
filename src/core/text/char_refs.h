// The one reader of HTML character references ("&amp;", "&#38;", "&#x26;")
// for the places that look at single references in text that is not parsed
// as a whole: cutting a title, the project's own references, and attribute
// values written into pages. Each caller decides which it accepts.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace pomeli2 {

struct CharReference {
  char32_t code;    // as written; 0x110000 for any number beyond Unicode
  size_t length;    // from "&" to ";" inclusive
  size_t digits;    // of a numeric reference; 0 for a named one
};

// The reference that starts at `text[0]`, or nothing. Named references are
// the common ones (amp, lt, gt, quot, apos, nbsp, copy, ...), in lower case
// as HTML spells them; a reference ends with ";" within 12 characters.
std::optional<CharReference> CharReferenceAt(std::string_view text);

}  // namespace pomeli2
