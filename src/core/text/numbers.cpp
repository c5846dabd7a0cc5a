#include "text/numbers.h"

#include <climits>

#include "text/ascii.h"

namespace pomeli2 {
namespace {

// Accumulates leading digits from `pos`, saturating at `limit`.
long long Digits(std::string_view text, size_t pos, long long limit) {
  long long value = 0;
  for (; pos < text.size() && IsAsciiDigit(text[pos]); ++pos) {
    value = value * 10 + (text[pos] - '0');
    if (value > limit) value = limit;
  }
  return value;
}

}  // namespace

int LenientInt(std::string_view text) { return static_cast<int>(Digits(text, 0, INT_MAX)); }

int LenientSignedInt(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  long long value = Digits(text, pos, negative ? -static_cast<long long>(INT_MIN) : INT_MAX);
  return static_cast<int>(negative ? -value : value);
}

bool IsAllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (!IsAsciiDigit(c)) return false;
  return true;
}

std::uint64_t DigitsValue(std::string_view digits) {
  constexpr std::uint64_t kMax = UINT64_MAX / 20;
  std::uint64_t value = 0;
  for (char c : digits) {
    if (!IsAsciiDigit(c)) break;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > kMax) value = kMax;
  }
  return value;
}

std::string ToText(long long value) { return std::to_string(value); }

namespace {

std::optional<unsigned> HexValue(std::string_view digits) {
  unsigned value = 0;
  for (char c : digits) {
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
    else return std::nullopt;
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace

std::optional<unsigned> CompleteColour(std::string_view value) {
  if (value.empty() || value[0] != '#') return std::nullopt;
  auto rgb = value.size() == 7 || value.size() == 4 ? HexValue(value.substr(1)) : std::nullopt;
  if (rgb && value.size() == 4) {
    // "#abc" is "#aabbcc", as browsers read it.
    const unsigned r = *rgb >> 8, g = (*rgb >> 4) & 0xF, b = *rgb & 0xF;
    rgb = (r * 0x11) << 16 | (g * 0x11) << 8 | b * 0x11;
  }
  return rgb;
}

bool UsableColour(std::string_view value) {
  return (value.size() == 4 || value.size() == 7) && value[0] == '#' && HexValue(value.substr(1));
}

}  // namespace pomeli2
