#include "text/char_refs.h"

#include <array>
#include <cstdint>

#include "text/ascii.h"

namespace pomeli2 {
namespace {

struct NamedEntity {
  const char* name;
  char32_t c;
};
constexpr std::array<NamedEntity, 31> kNamed = {{
    {"amp", U'&'},       {"lt", U'<'},        {"gt", U'>'},        {"quot", U'"'},      {"apos", U'\''},
    {"nbsp", 0xA0},      {"copy", 0xA9},      {"reg", 0xAE},       {"trade", 0x2122},   {"hellip", 0x2026},
    {"mdash", 0x2014},   {"ndash", 0x2013},   {"lsquo", 0x2018},   {"rsquo", 0x2019},   {"ldquo", 0x201C},
    {"rdquo", 0x201D},   {"laquo", 0xAB},     {"raquo", 0xBB},     {"yen", 0xA5},       {"middot", 0xB7},
    {"times", 0xD7},     {"divide", 0xF7},    {"deg", 0xB0},       {"plusmn", 0xB1},    {"sect", 0xA7},
    {"para", 0xB6},      {"bull", 0x2022},    {"euro", 0x20AC},    {"cent", 0xA2},      {"pound", 0xA3},
    {"shy", 0xAD},
}};

unsigned HexValue(char c) {
  if (IsAsciiDigit(c)) return static_cast<unsigned>(c - '0');
  return static_cast<unsigned>((c | 0x20) - 'a' + 10);
}

}  // namespace

std::optional<CharReference> CharReferenceAt(std::string_view s) {
  if (s.size() < 3 || s[0] != '&') return std::nullopt;
  size_t semi = s.find(';', 1);
  if (semi == std::string_view::npos || semi > 12) return std::nullopt;
  std::string_view body = s.substr(1, semi - 1);
  if (body.size() >= 2 && body[0] == '#') {
    bool hex = body[1] == 'x' || body[1] == 'X';
    std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) return std::nullopt;
    std::uint32_t value = 0;
    for (char d : digits) {
      if (hex ? !IsAsciiHexDigit(d) : !IsAsciiDigit(d)) return std::nullopt;
      value = value * (hex ? 16u : 10u) + HexValue(d);
      if (value > 0x10FFFF) value = 0x110000;
    }
    return CharReference{value, semi + 1, digits.size()};
  }
  for (const NamedEntity& e : kNamed)
    if (body == e.name) return CharReference{e.c, semi + 1, 0};
  return std::nullopt;
}

}  // namespace pomeli2
