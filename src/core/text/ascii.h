// ASCII-only character tests and case folding, for the markup, URLs and
// keywords the program reads: bytes above 0x7F are never letters, digits
// or space, so CP932 and UTF-8 texts pass through them unchanged.
#pragma once

#include <string>
#include <string_view>

namespace pomeli2 {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsAsciiAlnum(char c) { return IsAsciiAlpha(c) || IsAsciiDigit(c); }
constexpr bool IsAsciiHexDigit(char c) { return IsAsciiDigit(c) || (AsciiLower(c) >= 'a' && AsciiLower(c) <= 'f'); }
// The value of a hexadecimal digit (IsAsciiHexDigit).
constexpr unsigned AsciiHexValue(char c) {
  return static_cast<unsigned>(IsAsciiDigit(c) ? c - '0' : AsciiLower(c) - 'a' + 10);
}
// White space as HTML and XML read it between words and attributes.
constexpr bool IsHtmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::string AsciiLower(std::string_view text);
// Each byte as "%" and two upper-case hexadecimal digits, as URLs carry them.
void AppendPercentEncoded(std::string& out, std::string_view bytes);
// The text without HTML white space at either end.
std::string TrimHtmlSpace(std::string_view text);
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);
// Orders by AsciiLower of each byte.
bool LessIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace pomeli2
