#include "text/ascii.h"

#include <algorithm>

namespace pomeli2 {

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
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
