#include "project/ini_file.h"

#include <algorithm>
#include <climits>

#include "text/ascii.h"
#include "text/utf8.h"

namespace pomeli2 {
namespace {

using Text = std::u16string;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsSpecial(char c) { return c == '\n' || c == '\r' || c == '"' || c == ';' || c == '=' || c == '\\'; }
bool IsWhite(char16_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int HexDigit(char16_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool StartsWith(const Text& text, std::u16string_view start) { return text.compare(0, start.size(), start) == 0; }

// Qt's UTF-8 decoder: a byte that starts no valid sequence becomes U+FFFD.
void AppendDecoded(std::string_view bytes, Text& out) {
  const auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char lead = at(i);
    const int more = lead < 0x80 ? 0 : lead >= 0xC2 && lead < 0xE0 ? 1 : lead >= 0xE0 && lead < 0xF0 ? 2
                   : lead >= 0xF0 && lead < 0xF5 ? 3 : -1;
    bool valid = more >= 0;
    char32_t c = valid ? static_cast<char32_t>(lead & (0x7F >> more)) : 0;
    for (int k = 1; valid && k <= more; ++k) {
      const size_t at_k = i + static_cast<size_t>(k);
      if (at_k >= bytes.size() || (at(at_k) & 0xC0) != 0x80) valid = false;
      else c = (c << 6) | (at(at_k) & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (valid && (c < kSmallest[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) valid = false;
    if (!valid) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    i += static_cast<size_t>(more) + 1;
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
}

std::string Encoded(const Text& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    else if (c >= 0xD800 && c <= 0xDFFF)
      c = 0xFFFD;
    AppendUtf8(out, c);
  }
  return out;
}

Text Latin1(std::string_view bytes) {
  Text out;
  for (char b : bytes) out += static_cast<char16_t>(static_cast<unsigned char>(b));
  return out;
}

Text Number(long long value) {
  Text out;
  for (char c : std::to_string(value)) out += static_cast<char16_t>(c);
  return out;
}

// Without white space at either end, as Qt trims a byte array (vertical tab
// included).
std::string_view Trimmed(std::string_view text) {
  const auto white = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (!text.empty() && white(text.front())) text.remove_prefix(1);
  while (!text.empty() && white(text.back())) text.remove_suffix(1);
  return text;
}

// One logical line from `pos` on, as QSettings splits them: blank lines and
// comment lines are passed over, a quoted text may run over line breaks, an
// unquoted ";" ends the line. `equals` is the first unquoted "=".
bool NextLine(std::string_view data, size_t& pos, std::string_view& line, size_t& equals) {
  const size_t n = data.size();
  bool quoted = false;
  equals = std::string_view::npos;
  size_t start = pos;
  while (start < n && IsSpace(data[start])) ++start;
  size_t i = start;
  while (i < n) {
    while (i < n && !IsSpecial(data[i])) ++i;
    if (i == n) break;
    const char c = data[i++];
    if (c == '=') {
      if (!quoted && equals == std::string_view::npos) equals = i - 1;
    } else if (c == '\n' || c == '\r') {
      if (i == start + 1) {
        ++start;
      } else if (!quoted) {
        --i;
        break;
      }
    } else if (c == '\\') {
      if (i < n) {
        const char first = data[i++];
        if (i < n && ((first == '\n' && data[i] == '\r') || (first == '\r' && data[i] == '\n'))) ++i;
      }
    } else if (c == '"') {
      quoted = !quoted;
    } else if (i == start + 1) {  // a comment
      while (i < n && data[i] != '\n' && data[i] != '\r') ++i;
      while (i < n && IsSpace(data[i])) ++i;
      start = i;
    } else if (!quoted) {
      --i;
      break;
    }
  }
  pos = i;
  line = data.substr(start, i - start);
  if (equals != std::string_view::npos) equals -= start;
  return !line.empty();
}

Text UnescapedKey(std::string_view bytes) {
  Text decoded, out;
  AppendDecoded(bytes, decoded);
  for (size_t i = 0; i < decoded.size();) {
    const char16_t c = decoded[i];
    if (c == '\\') {
      out += u'/';
      ++i;
      continue;
    }
    if (c != '%' || i + 1 == decoded.size()) {
      out += c;
      ++i;
      continue;
    }
    size_t first = i + 1, digits = 2;
    if (decoded[first] == 'U') {
      ++first;
      digits = 4;
    }
    unsigned value = 0;
    bool ok = first + digits <= decoded.size();
    for (size_t k = 0; ok && k < digits; ++k) {
      const int h = HexDigit(decoded[first + k]);
      ok = h >= 0;
      value = value * 16 + static_cast<unsigned>(h);
    }
    if (!ok) {
      out += u'%';
      ++i;
      continue;
    }
    out += static_cast<char16_t>(value);
    i = first + digits;
  }
  return out;
}

void ChopSpaces(Text& text, size_t limit) {
  while (text.size() > limit && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
}

// The text or the list of texts of a value: escapes, quotes, and commas
// between the items of a list.
IniSettings::Value UnescapedValue(std::string_view str) {
  static constexpr char kEscapes[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'}, {'r', '\r'}, {'t', '\t'},
                                         {'v', '\v'}, {'"', '"'},  {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
  IniSettings::Value value;
  Text current;
  bool in_quotes = false, current_quoted = false, cut_short = false;
  size_t i = 0;
  const size_t n = str.size();
  const auto skip_spaces = [&] {
    while (i < n && (str[i] == ' ' || str[i] == '\t')) ++i;
  };
  skip_spaces();
  size_t chop_limit = 0;
  // An escape of digits: as many as follow, in base 16 or 8.
  const auto numeric = [&](char16_t start, int base) {
    char16_t number = start;
    for (; i < n; ++i) {
      const int d = HexDigit(static_cast<unsigned char>(str[i]));
      if (d < 0 || d >= base) break;
      number = static_cast<char16_t>(number * base + d);
    }
    current += number;
    if (i >= n) cut_short = true;
    chop_limit = current.size();
  };
  while (i < n && !cut_short) {
    const char c = str[i];
    if (c == '\\') {
      if (++i >= n) {
        cut_short = true;
        break;
      }
      const char e = str[i++];
      const char* simple = nullptr;
      for (const auto& escape : kEscapes)
        if (e == escape[0]) simple = &escape[1];
      if (simple) {
        current += static_cast<char16_t>(*simple);
      } else if (e == 'x') {
        if (i >= n) {
          cut_short = true;
          break;
        }
        if (HexDigit(static_cast<unsigned char>(str[i])) >= 0) {
          numeric(0, 16);
          continue;
        }
      } else if (e >= '0' && e <= '7') {
        numeric(static_cast<char16_t>(e - '0'), 8);
        continue;
      } else if (e == '\n' || e == '\r') {
        if (i < n && (str[i] == '\n' || str[i] == '\r') && str[i] != e) ++i;
      }
      chop_limit = current.size();
    } else if (c == '"') {
      ++i;
      current_quoted = true;
      in_quotes = !in_quotes;
      if (!in_quotes) {
        skip_spaces();
        chop_limit = current.size();
      }
    } else if (c == ',' && !in_quotes) {
      if (!current_quoted) ChopSpaces(current, chop_limit);
      value.list = true;
      value.texts.push_back(std::move(current));
      current.clear();
      current_quoted = false;
      ++i;
      skip_spaces();
      chop_limit = 0;
    } else {
      size_t j = i + 1;
      while (j < n && str[j] != '\\' && str[j] != '"' && str[j] != ',') ++j;
      AppendDecoded(str.substr(i, j - i), current);
      i = j;
    }
  }
  if (!cut_short && !current_quoted) ChopSpaces(current, chop_limit);
  value.texts.push_back(std::move(current));
  return value;
}

// The arguments of "@Size(1 2)" and its kind, as QSettings splits them.
std::vector<Text> SplitArgs(const Text& s, size_t open) {
  std::vector<Text> args;
  Text item;
  for (size_t i = open + 1; i < s.size(); ++i) {
    if (s[i] == ')') {
      args.push_back(item);
    } else if (s[i] == ' ') {
      args.push_back(item);
      item.clear();
    } else {
      item += s[i];
    }
  }
  return args;
}

// A text as QSettings turns it into a variant and that back into text.
Text WrittenForm(const Text& s) {
  if (s.empty() || s[0] != '@') return s;
  if (s.back() == ')') {
    if (StartsWith(s, u"@ByteArray(")) {
      Text bytes = s.substr(11, s.size() - 12);
      for (char16_t& c : bytes)
        if (c > 0xFF) c = '?';
      return u"@ByteArray(" + bytes + u")";
    }
    // A value of any other type in Qt's data stream stays as it is.
    if (StartsWith(s, u"@Variant(") || StartsWith(s, u"@DateTime(")) return s;
    struct Geometry {
      std::u16string_view name;
      size_t args;
    };
    for (const Geometry g : {Geometry{u"@Rect", 4}, Geometry{u"@Size", 2}, Geometry{u"@Point", 2}}) {
      if (!StartsWith(s, Text(g.name) + u"(")) continue;
      const std::vector<Text> args = SplitArgs(s, g.name.size());
      if (args.size() != g.args) break;
      Text out = Text(g.name) + u"(";
      for (size_t k = 0; k < args.size(); ++k) out += (k ? u" " : u"") + Number(IniSettings::ToInt(args[k]).value_or(0));
      return out + u")";
    }
    if (s == u"@Invalid()") return s;
  }
  if (StartsWith(s, u"@@")) return s;
  return u"@" + s;
}

std::string EscapedKey(const Text& key) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char16_t c : key) {
    if (c == '/') {
      out += '\\';
    } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
               c == '.') {
      out += static_cast<char>(c);
    } else if (c <= 0xFF) {
      out += {'%', kHex[c / 16], kHex[c % 16]};
    } else {
      out += {'%', 'U', kHex[c >> 12], kHex[(c >> 8) & 15], kHex[(c >> 4) & 15], kHex[c & 15]};
    }
  }
  return out;
}

std::string LowerHex(unsigned value) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  do out.insert(out.begin(), kHex[value % 16]);
  while (value /= 16);
  return out;
}

void AppendEscaped(const Text& text, std::string& out) {
  const bool bytes = StartsWith(text, u"@ByteArray(") || StartsWith(text, u"@Variant(") || StartsWith(text, u"@DateTime(");
  const size_t start = out.size();
  bool quotes = false, escape_hex_digit = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == ';' || c == ',' || c == '=') quotes = true;
    if (escape_hex_digit && HexDigit(c) >= 0) {
      out += "\\x" + LowerHex(c);
      continue;
    }
    escape_hex_digit = false;
    switch (c) {
      case '\0': out += "\\0"; escape_hex_digit = true; break;
      case '\a': out += "\\a"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\v': out += "\\v"; break;
      case '"':
      case '\\':
        out += '\\';
        out += static_cast<char>(c);
        break;
      default:
        if (c <= 0x1F || (c >= 0x7F && bytes)) {
          out += "\\x" + LowerHex(c);
          escape_hex_digit = true;
        } else if (c >= 0x7F) {
          // A surrogate pair goes out as one character.
          const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                            text[i + 1] <= 0xDFFF;
          out += Encoded(text.substr(i, pair ? 2 : 1));
          if (pair) ++i;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  if (quotes || (out.size() > start && (out[start] == ' ' || out.back() == ' '))) {
    out.insert(start, 1, '"');
    out += '"';
  }
}

}  // namespace

IniSettings IniSettings::Parse(std::string_view data) {
  IniSettings ini;
  if (data.substr(0, 3) == "\xEF\xBB\xBF") data.remove_prefix(3);
  Text section;
  size_t pos = 0, equals = 0;
  std::string_view line;
  while (NextLine(data, pos, line, equals)) {
    if (line[0] == '[') {
      const size_t close = std::min(line.find(']'), line.size());
      const std::string_view name = Trimmed(line.substr(1, close - 1));
      if (EqualIgnoringAsciiCase(name, "general")) section.clear();
      else section = (EqualIgnoringAsciiCase(name, "%general") ? Latin1(name.substr(1)) : UnescapedKey(name)) + u"/";
      continue;
    }
    if (equals == std::string_view::npos) continue;
    Value value = UnescapedValue(line.substr(equals + 1));
    for (Text& text : value.texts) text = WrittenForm(text);
    ini.values_[section + UnescapedKey(Trimmed(line.substr(0, equals)))] = std::move(value);
  }
  return ini;
}

std::string IniSettings::Bytes() const {
  std::map<Text, std::map<Text, const Value*>> sections;
  for (const auto& [key, value] : values_) {
    const size_t slash = key.find(u'/');
    if (slash == Text::npos) sections[Text()][key] = &value;
    else sections[key.substr(0, slash)][key.substr(slash + 1)] = &value;
  }
  std::string out;
  for (const auto& [section, keys] : sections) {
    if (!out.empty()) out += '\n';
    const std::string name = EscapedKey(section);
    out += name.empty() ? "[General]" : EqualIgnoringAsciiCase(name, "general") ? "[%General]" : "[" + name + "]";
    out += '\n';
    for (const auto& [key, value] : keys) {
      out += EscapedKey(key) + "=";
      for (size_t k = 0; k < value->texts.size(); ++k) {
        if (k) out += ", ";
        AppendEscaped(value->texts[k], out);
      }
      out += '\n';
    }
  }
  return out;
}

void IniSettings::RemoveGroup(const std::u16string& group) {
  values_.erase(group);
  const Text prefix = group + u"/";
  for (auto it = values_.lower_bound(prefix); it != values_.end() && StartsWith(it->first, prefix);)
    it = values_.erase(it);
}

std::vector<std::u16string> IniSettings::ChildKeys(const std::u16string& group) const {
  std::vector<Text> keys;
  const Text prefix = group + u"/";
  for (auto it = values_.lower_bound(prefix); it != values_.end() && StartsWith(it->first, prefix); ++it)
    if (it->first.find(u'/', prefix.size()) == Text::npos) keys.push_back(it->first.substr(prefix.size()));
  return keys;
}

IniSettings::Value IniSettings::SizeValue(int width, int height) {
  return {{u"@Size(" + Number(width) + u" " + Number(height) + u")"}};
}

IniSettings::Value IniSettings::BoolValue(bool value) { return {{value ? u"true" : u"false"}}; }

IniSettings::Value IniSettings::BytesValue(std::string_view bytes) { return {{u"@ByteArray(" + Latin1(bytes) + u")"}}; }

const IniSettings::Value* IniSettings::Find(const std::u16string& key) const {
  auto it = values_.find(key);
  return it == values_.end() ? nullptr : &it->second;
}

std::optional<std::pair<int, int>> IniSettings::SizeAt(const std::u16string& key) const {
  const Value* v = Find(key);
  if (!v || v->list || !StartsWith(v->texts[0], u"@Size(")) return std::nullopt;
  const std::vector<Text> args = SplitArgs(v->texts[0], 5);
  const int width = ToInt(args[0]).value_or(0), height = ToInt(args[1]).value_or(0);
  if (width < 0 || height < 0) return std::nullopt;
  return std::pair{width, height};
}

bool IniSettings::BoolAt(const std::u16string& key) const {
  const Value* v = Find(key);
  if (!v || v->list) return false;
  Text text = v->texts[0];
  if (StartsWith(text, u"@ByteArray(")) text = text.substr(11, text.size() - 12);
  else if (StartsWith(text, u"@@")) text.erase(0, 1);
  else if (StartsWith(text, u"@")) return false;
  for (char16_t& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c - 'A' + 'a');
  return !(text.empty() || text == u"0" || text == u"false");
}

std::string IniSettings::BytesAt(const std::u16string& key) const {
  const Value* v = Find(key);
  if (!v || v->list) return {};
  const Text& text = v->texts[0];
  if (StartsWith(text, u"@ByteArray(")) {
    std::string bytes;
    for (char16_t c : text.substr(11, text.size() - 12)) bytes += static_cast<char>(c);
    return bytes;
  }
  if (StartsWith(text, u"@@")) return Encoded(text.substr(1));
  if (StartsWith(text, u"@")) return {};
  return Encoded(text);
}

std::optional<int> IniSettings::ToInt(std::u16string_view text) {
  while (!text.empty() && IsWhite(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhite(text.back())) text.remove_suffix(1);
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (char16_t c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace pomeli2
