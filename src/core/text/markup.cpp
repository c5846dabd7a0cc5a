#include "text/markup.h"

#include <array>
#include <cstdint>
#include <string>

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
      value = value * (hex ? 16u : 10u) + AsciiHexValue(d);
      if (value > 0x10FFFF) value = 0x110000;
    }
    return CharReference{value, semi + 1, digits.size()};
  }
  for (const NamedEntity& e : kNamed)
    if (body == e.name) return CharReference{e.c, semi + 1, 0};
  return std::nullopt;
}

char32_t CharacterOf(const CharReference& ref) {
  const char32_t c = ref.code;
  if (ref.digits > 0 && (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) return 0xFFFD;
  return c;
}

bool IsConformingReference(const CharReference& ref) {
  const char32_t c = ref.code;
  if (ref.digits == 0) return c == '&' || c == '<' || c == '>' || c == '"' || c == '\'' || c == 0xA0;
  return ref.digits <= 8 && ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF) &&
                                                        (c < 0xFDD0 || c > 0xFDEF) && (c & 0xFFFE) != 0xFFFE));
}

void AppendHexReference(std::string& out, char32_t c) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (char32_t v = c; v; v >>= 4) hex.insert(hex.begin(), kHex[v & 15]);
  out += "&#x" + hex + ";";
}

std::optional<StartTagReader::Attribute> StartTagReader::Next() {
  const std::string_view& html = html_;
  while (at_ < html.size()) {
    const char c = html[at_];
    if (c == '>') {
      ++at_;
      return std::nullopt;
    }
    if (IsHtmlSpace(c)) {
      ++at_;
      continue;
    }
    if (c == '/') {
      self_closing_ = at_ + 1 < html.size() && html[at_ + 1] == '>';
      ++at_;
      continue;
    }
    // A name takes its first character whatever it is, "=" too.
    const size_t name = at_++;
    while (at_ < html.size() && !IsHtmlSpace(html[at_]) && html[at_] != '/' && html[at_] != '>' && html[at_] != '=')
      ++at_;
    Attribute attribute{html.substr(name, at_ - name), {}};
    while (at_ < html.size() && IsHtmlSpace(html[at_])) ++at_;
    if (at_ >= html.size() || html[at_] != '=') return attribute;
    ++at_;
    while (at_ < html.size() && IsHtmlSpace(html[at_])) ++at_;
    const size_t value = at_;
    if (at_ < html.size() && (html[at_] == '"' || html[at_] == '\'')) {
      const size_t close = html.find(html[at_], at_ + 1);
      if (close == std::string_view::npos) {
        attribute.value = html.substr(value + 1);
        at_ = html.size();
      } else {
        attribute.value = html.substr(value + 1, close - value - 1);
        at_ = close + 1;
      }
    } else {
      while (at_ < html.size() && !IsHtmlSpace(html[at_]) && html[at_] != '>') ++at_;
      attribute.value = html.substr(value, at_ - value);
    }
    return attribute;
  }
  return std::nullopt;
}

std::optional<std::string_view> AttributeOf(std::string_view tag, std::string_view name) {
  size_t after_name = 1;
  while (after_name < tag.size() && !IsHtmlSpace(tag[after_name]) && tag[after_name] != '/' && tag[after_name] != '>')
    ++after_name;
  StartTagReader reader(tag, after_name);
  while (auto attribute = reader.Next())
    if (EqualIgnoringAsciiCase(attribute->name, name)) return attribute->value;
  return std::nullopt;
}

}  // namespace pomeli2
