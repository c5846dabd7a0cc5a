#include "text/ascii.h"

#include <algorithm>

namespace pomeli2 {

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

void AppendPercentEncoded(std::string& out, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (char b : bytes) {
    const auto u = static_cast<unsigned char>(b);
    out += '%';
    out += kHex[u >> 4];
    out += kHex[u & 15];
  }
}

std::string TrimHtmlSpace(std::string_view text) {
  size_t a = 0, b = text.size();
  while (a < b && IsHtmlSpace(text[a])) ++a;
  while (b > a && IsHtmlSpace(text[b - 1])) --b;
  return std::string(text.substr(a, b - a));
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool LessIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
  });
}

}  // namespace pomeli2
