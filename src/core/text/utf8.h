// Code points of UTF-8 text, one at a time.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pomeli2 {

// The code point at `at`, which moves past it; U+FFFD for a broken
// sequence.
char32_t NextCodePoint(std::string_view text, size_t& at);
void AppendUtf8(std::string& out, char32_t c);

// The offset of the first byte that is not valid UTF-8 (a broken or
// overlong sequence, a surrogate, beyond U+10FFFF), or nothing.
std::optional<size_t> InvalidUtf8At(std::string_view text);

}  // namespace pomeli2
