#include "project/ini_file.h"

#include <algorithm>
#include <climits>

#include "text/ascii.h"
#include "text/utf8.h"

namespace pomeli2 {
namespace {

using Text = std::u16string;

// What QSettings skips around keys and values: no form feed, unlike HTML.
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsSpecial(char c) { return c == '\n' || c == '\r' || c == '"' || c == ';' || c == '=' || c == '\\'; }
bool IsWhite(char16_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int HexDigit(char16_t c) {
  const char a = static_cast<char>(c);
  return c < 0x80 && IsAsciiHexDigit(a) ? static_cast<int>(AsciiHexValue(a)) : -1;
}

bool StartsWith(const Text& text, std::u16string_view start) { return text.compare(0, start.size(), start) == 0; }

// Qt's UTF-8 decoder as QSettings uses it, one for the whole of a value
// that escapes and quotes cut into pieces: a byte that starts no valid
// sequence becomes U+FFFD, a sequence cut short waits for the next piece
// (and is lost at the value's end), a byte order mark is dropped where
// the first piece starts with one.
class Utf8Pieces {
 public:
  void Append(std::string_view bytes, Text& out) {
    const bool first = !started_;
    started_ = true;
    size_t i = 0;
    if (!pending_.empty()) {
      const std::string joined = pending_ + std::string(bytes.substr(0, 4 - pending_.size()));
      const int res = One(joined, 0, out);
      if (res == kCut) {
        pending_ = joined;
        return;
      }
      // A broken sequence costs the piece its first byte, as in Qt.
      i = res == kBroken ? 1 : static_cast<size_t>(res) - pending_.size();
      if (res == kBroken) out += u'\uFFFD';
      pending_.clear();
    }
    while (i < bytes.size()) {
      const int res = One(bytes, i, out);
      if (res == kCut) {
        pending_ = bytes.substr(i);
        return;
      }
      if (res == kBroken) {
        out += u'\uFFFD';
        ++i;
        continue;
      }
      if (first && i == 0 && res == 3 && out.back() == 0xFEFF) out.pop_back();
      i += static_cast<size_t>(res);
    }
  }

  // Decoded all at once, as a key is: a sequence cut short at the end is
  // a U+FFFD for each of its bytes.
  static Text Whole(std::string_view bytes) {
    Utf8Pieces utf8;
    Text out;
    utf8.Append(bytes, out);
    out.append(utf8.pending_.size(), u'\uFFFD');
    return out;
  }

 private:
  static constexpr int kBroken = -2, kCut = -1;

  // One character at `at`: the bytes it took, or kBroken, or kCut when
  // the bytes end before it does.
  static int One(std::string_view bytes, size_t at, Text& out) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(bytes[at + k]); };
    const auto follows = [&](size_t k) { return (byte(k) & 0xC0) == 0x80; };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
      out += lead;
      return 1;
    }
    if (lead < 0xC2 || lead > 0xF4) return kBroken;
    const size_t need = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const size_t available = bytes.size() - at - 1;
    if (available < need - 1) {
      if ((available > 0 && !follows(1)) || (available > 1 && !follows(2))) return kBroken;
      return kCut;
    }
    char32_t c = lead & (0x7F >> need);
    for (size_t k = 1; k < need; ++k) {
      if (!follows(k)) return kBroken;
      c = (c << 6) | (byte(k) & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[need] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kBroken;
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
    return static_cast<int>(need);
  }

  std::string pending_;
  bool started_ = false;
};

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

// A number as QString reads one: up to a NUL, white space around, a sign,
// in base 16 an optional "0x", then digits only; nothing on overflow.
std::optional<long long> QtNumber(std::u16string_view text, int base) {
  text = text.substr(0, text.find(u'\0'));
  while (!text.empty() && IsWhite(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhite(text.back())) text.remove_suffix(1);
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  if (base == 16 && text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (char16_t c : text) {
    const int digit = HexDigit(c);
    if (digit < 0 || digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFLL) return std::nullopt;
  }
  // An unsigned reading refuses a minus sign, even before 0.
  if (negative && base == 16) return std::nullopt;
  return negative ? -value : value;
}

Text UnescapedKey(std::string_view bytes) {
  const Text decoded = Utf8Pieces::Whole(bytes);
  Text out;
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
    const std::optional<long long> value =
        first + digits <= decoded.size() ? QtNumber(std::u16string_view(decoded).substr(first, digits), 16) : std::nullopt;
    if (!value || *value < 0 || *value > 0xFFFF) {
      out += u'%';
      ++i;
      continue;
    }
    out += static_cast<char16_t>(*value);
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
  Utf8Pieces utf8;
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
      utf8.Append(str.substr(i, j - i), current);
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

// A QString as QSettings writes it: one that holds a NUL in "@String(...)",
// one that starts with "@" after another "@".
Text StringForm(const Text& s) {
  if (s.find(u'\0') != Text::npos) return u"@String(" + s + u")";
  return !s.empty() && s[0] == '@' ? u"@" + s : s;
}

// The QString a written form stands for; nothing for a value of another
// type.
std::optional<Text> StringOf(const Text& written) {
  if (written.empty() || written[0] != '@') return written;
  if (StartsWith(written, u"@String(")) return written.substr(8, written.size() - 9);
  if (StartsWith(written, u"@@")) return written.substr(1);
  return std::nullopt;
}

// A text as QSettings turns it into a variant and that back into text.
Text WrittenForm(const Text& s) {
  if (s.empty() || s[0] != '@') return StringForm(s);
  if (s.back() == ')') {
    if (StartsWith(s, u"@String(")) return StringForm(s.substr(8, s.size() - 9));
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
  return StringForm(StartsWith(s, u"@@") ? s.substr(1) : s);
}

std::string EscapedKey(const Text& key) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char16_t c : key) {
    if (c == '/') {
      out += '\\';
    } else if (c < 0x80 && (IsAsciiAlnum(static_cast<char>(c)) || c == '_' || c == '-' || c == '.')) {
      out += static_cast<char>(c);
    } else if (c <= 0xFF) {
      AppendPercentEncoded(out, std::string(1, static_cast<char>(c)));
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
  if (args.size() != 2) return std::nullopt;
  const int width = ToInt(args[0]).value_or(0), height = ToInt(args[1]).value_or(0);
  if (width < 0 || height < 0) return std::nullopt;
  return std::pair{width, height};
}

bool IniSettings::BoolAt(const std::u16string& key) const {
  const Value* v = Find(key);
  if (!v || v->list) return false;
  std::optional<Text> text = StartsWith(v->texts[0], u"@ByteArray(") ? v->texts[0].substr(11, v->texts[0].size() - 12)
                                                                      : StringOf(v->texts[0]);
  if (!text) return false;
  for (char16_t& c : *text)
    if (c < 0x80) c = static_cast<char16_t>(AsciiLower(static_cast<char>(c)));
  return !(text->empty() || *text == u"0" || *text == u"false");
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
  const std::optional<Text> string = StringOf(text);
  return string ? Encoded(*string) : std::string();
}

std::optional<int> IniSettings::ToInt(std::u16string_view text) {
  const std::optional<long long> value = QtNumber(text, 10);
  if (!value || *value > INT_MAX || *value < INT_MIN) return std::nullopt;
  return static_cast<int>(*value);
}

}  // namespace pomeli2
