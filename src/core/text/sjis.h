// Text is kept as Shift-JIS (code page 932) bytes everywhere in the core.
// These are the only conversions, used at the screen and file-system borders
// and for the program's own Japanese constants.
#pragma once

#include <optional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace pomeli2 {

// CP932 bytes -> UTF-8. Nullopt when the bytes are not valid CP932.
std::optional<std::string> SjisToUtf8(std::string_view sjis);

// UTF-8 -> CP932 bytes. Nullopt when the text holds a character that
// code page 932 cannot represent (or is not valid UTF-8).
std::optional<std::string> Utf8ToSjis(std::string_view utf8);

// Text in the named character set (an IANA name as documents declare it)
// -> UTF-8. Shift_JIS and its aliases are read as CP932. Nullopt for a set
// this system does not know, or bytes that are not valid in it.
std::optional<std::string> CharsetToUtf8(std::string_view bytes, std::string_view charset);

// CP932 -> UTF-8 for display; bytes that do not decode become U+FFFD so that
// something is always shown.
std::string SjisToUtf8Lossy(std::string_view sjis);
// The same, appended to `out`.
void AppendSjisAsUtf8Lossy(std::string_view sjis, std::string& out);

// A Japanese constant of the program, written in the source as UTF-8, as
// CP932 bytes. Converted once per call site literal and cached.
const std::string& sj(const char* utf8_literal);

// A constant with places "%1", "%2" … filled with `values` (CP932), in one
// pass: a value's own "%1" stays as it is.
std::string FillIn(const char* utf8_literal, std::initializer_list<std::string_view> values);

// The first byte of a two-byte CP932 character; the second may be any of
// 0x40 to 0xFC, "\" (0x5C) among them.
constexpr bool IsSjisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Empty, or only ASCII and full-width (81 40) spaces: a text that shows
// nothing.
bool IsBlank(std::string_view sjis);

}  // namespace pomeli2
