#include "generate/html5_values.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

#include "generate/js_text.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

bool IsAsciiAlpha(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsAsciiAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }
bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
bool IsHtmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && AsciiLower(text.substr(0, prefix.size())) == prefix;
}

// One character of CP932 text: its bytes, and beyond ASCII the same as
// UTF-8 (nullopt when they are no CP932); ASCII is its own UTF-8 and is not
// converted. A lead byte whose pair does not decode stands alone, so that
// the byte after it is read again, as browsers do.
struct SjisChar {
  std::string_view bytes;
  std::optional<std::string> utf8;
};
SjisChar CharAt(std::string_view text, size_t i) {
  if (static_cast<unsigned char>(text[i]) < 0x80) return {text.substr(i, 1), std::nullopt};
  if (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
    if (auto utf8 = SjisToUtf8(text.substr(i, 2))) return {text.substr(i, 2), std::move(utf8)};
  }
  return {text.substr(i, 1), SjisToUtf8(text.substr(i, 1))};
}

void PercentEncode(std::string& out, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (char b : bytes) {
    const auto u = static_cast<unsigned char>(b);
    out += '%';
    out += kHex[u >> 4];
    out += kHex[u & 15];
  }
}

// The ASCII characters that a valid URL holds as they are.
bool IsUrlCodePoint(char c) { return IsAsciiAlnum(c) || (c != '\0' && std::strchr("!$&'()*+,-./:;=?@_~", c)); }

// The scheme of an absolute URL, in lower case; empty for a relative one.
std::string SchemeOf(std::string_view url) {
  if (url.empty() || !IsAsciiAlpha(url[0])) return "";
  size_t i = 1;
  while (i < url.size() && (IsAsciiAlnum(url[i]) || url[i] == '+' || url[i] == '-' || url[i] == '.')) ++i;
  return i < url.size() && url[i] == ':' ? AsciiLower(url.substr(0, i)) : "";
}

bool IsSpecialScheme(const std::string& scheme) {
  static constexpr std::array<const char*, 6> kSpecial = {"http", "https", "ftp", "file", "ws", "wss"};
  return std::any_of(kSpecial.begin(), kSpecial.end(), [&](const char* s) { return scheme == s; });
}

// What a Shift-JIS page's browser sent for a character of a query that the
// encoding cannot hold (a byte that decodes to U+FFFD): its character
// reference, percent-encoded.
constexpr char kUnencodableInQuery[] = "%26%2365533%3B";
constexpr char kReplacementUtf8[] = "%EF%BF%BD";

// The character reference at the start of `text` ("&...;"), or nullopt:
// its length and the code point it stands for. No trail byte of CP932 is
// "&" (0x26) or ";".
struct Reference {
  size_t length;
  unsigned code;
};
std::optional<Reference> ReferenceAt(std::string_view text) {
  static constexpr std::pair<const char*, unsigned> kNamed[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}, {"&nbsp;", 0xA0}};
  for (const auto& [name, code] : kNamed)
    if (text.substr(0, std::strlen(name)) == name) return Reference{std::strlen(name), code};
  if (text.size() < 4 || text[1] != '#') return std::nullopt;
  const bool hex = text[2] == 'x' || text[2] == 'X';
  const size_t digits_from = hex ? 3 : 2;
  size_t i = digits_from;
  unsigned long code = 0;
  for (; i < text.size() && i - digits_from < 8; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (std::isdigit(c)) code = code * (hex ? 16 : 10) + (c - '0');
    else if (hex && std::isxdigit(c)) code = code * 16 + (std::tolower(c) - 'a' + 10);
    else break;
  }
  if (i == digits_from || i >= text.size() || text[i] != ';') return std::nullopt;
  // What a page may hold: no controls, surrogates or noncharacters.
  const bool allowed = (code >= 0x20 && code < 0x7F) ||
                       (code >= 0xA0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF) &&
                        (code < 0xFDD0 || code > 0xFDEF) && (code & 0xFFFE) != 0xFFFE);
  if (!allowed) return std::nullopt;
  return Reference{i + 1, static_cast<unsigned>(code)};
}

// The value of attribute `name` (in lower case) in a start tag such as
// `<img src=a.gif alt="Logo">`, or nullopt when the tag has none.
std::optional<std::string_view> AttributeValue(std::string_view tag, std::string_view name) {
  size_t i = 1;
  while (i < tag.size() && !IsHtmlSpace(tag[i]) && tag[i] != '/' && tag[i] != '>') ++i;  // the tag's name
  while (i < tag.size()) {
    while (i < tag.size() && (IsHtmlSpace(tag[i]) || tag[i] == '/')) ++i;
    const size_t name_from = i;
    while (i < tag.size() && !IsHtmlSpace(tag[i]) && tag[i] != '/' && tag[i] != '=' && tag[i] != '>') ++i;
    const std::string attribute = AsciiLower(tag.substr(name_from, i - name_from));
    if (attribute.empty()) return std::nullopt;
    while (i < tag.size() && IsHtmlSpace(tag[i])) ++i;
    std::string_view value;
    if (i < tag.size() && tag[i] == '=') {
      ++i;
      while (i < tag.size() && IsHtmlSpace(tag[i])) ++i;
      const bool quoted = i < tag.size() && (tag[i] == '"' || tag[i] == '\'');
      const char quote = quoted ? tag[i++] : ' ';
      const size_t value_from = i;
      while (i < tag.size() && (quoted ? tag[i] != quote : !IsHtmlSpace(tag[i]) && tag[i] != '>')) ++i;
      value = tag.substr(value_from, i - value_from);
      if (quoted && i < tag.size()) ++i;
    }
    if (attribute == name) return value;
  }
  return std::nullopt;
}

}  // namespace

std::string Html5Attribute(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') out += "&quot;";
    else if (text[i] == '&' && !ReferenceAt(text.substr(i))) out += "&amp;";
    else out += text[i];
  }
  return out;
}

std::string MendUrl(std::string_view stored) {
  // What the attribute held: its references for ASCII characters read.
  std::string decoded;
  for (size_t i = 0; i < stored.size(); ++i) {
    auto ref = stored[i] == '&' ? ReferenceAt(stored.substr(i)) : std::nullopt;
    if (ref && ref->code < 0x80) {
      decoded += static_cast<char>(ref->code);
      i += ref->length - 1;
    } else {
      decoded += stored[i];
    }
  }
  // Browsers drop C0 controls and spaces around a URL, and tabs and line
  // breaks anywhere in it. No trail byte of CP932 is below 0x40.
  size_t from = 0, to = decoded.size();
  while (from < to && static_cast<unsigned char>(decoded[from]) <= 0x20) ++from;
  while (to > from && static_cast<unsigned char>(decoded[to - 1]) <= 0x20) --to;
  std::string url;
  for (char c : std::string_view(decoded).substr(from, to - from))
    if (c != '\t' && c != '\n' && c != '\r') url += c;

  const std::string scheme = SchemeOf(url);
  // A one-letter "scheme" is a drive letter (C:\web\x.htm): a path.
  const bool opaque = scheme.size() > 1 && !IsSpecialScheme(scheme);
  // The URL standard encodes the query in the page's encoding for the
  // special schemes (and relative links, which take the page's), but ws and
  // wss and every other scheme in UTF-8.
  const bool sjis_query = !opaque && scheme != "ws" && scheme != "wss";
  auto is_slash = [&](char c) { return c == '/' || (c == '\\' && !opaque); };

  enum class Part { kAuthority, kPath, kQuery, kFragment };
  Part part = Part::kPath;
  std::string out;
  size_t i = 0;
  if (!scheme.empty()) {
    out = url.substr(0, scheme.size() + 1);
    i = scheme.size() + 1;
  }
  if (i + 1 < url.size() && is_slash(url[i]) && is_slash(url[i + 1])) {
    out += "//";
    i += 2;
    part = Part::kAuthority;
  }
  while (i < url.size()) {
    const SjisChar ch = CharAt(url, i);
    i += ch.bytes.size();
    const char c = ch.bytes[0];
    if (static_cast<unsigned char>(c) >= 0x80) {
      if (part == Part::kAuthority) out += ch.bytes;  // a host name, spelled in the page's own encoding
      else if (part == Part::kQuery && sjis_query)
        if (ch.utf8) PercentEncode(out, Utf8ToSjis(*ch.utf8).value_or(std::string(ch.bytes)));
        else out += kUnencodableInQuery;
      else if (ch.utf8) PercentEncode(out, *ch.utf8);
      else out += kReplacementUtf8;
      continue;
    }
    if (c == '#') {
      out += part == Part::kFragment ? "%23" : "#";
      part = Part::kFragment;
    } else if (c == '?' && (part == Part::kAuthority || part == Part::kPath)) {
      out += c;
      part = Part::kQuery;
    } else if (part == Part::kAuthority && is_slash(c)) {
      out += '/';
      part = Part::kPath;
    } else if (c == '\\') {
      out += part == Part::kPath && !opaque ? "/" : "%5C";
    } else if (c == '%') {
      out += i + 1 < url.size() && IsHex(url[i]) && IsHex(url[i + 1]) ? "%" : "%25";
    } else if (IsUrlCodePoint(c) || (part == Part::kAuthority && (c == '[' || c == ']'))) {
      out += c;
    } else {
      PercentEncode(out, ch.bytes);
    }
  }
  return out;
}

std::optional<std::string> Html5Colour(std::string_view colour) {
  if (!UsableColour(colour)) return std::nullopt;
  return std::string(colour);
}

std::optional<std::string> Html5FontSize(std::string_view stored) {
  size_t from = 0, to = stored.size();
  while (from < to && stored[from] == ' ') ++from;
  while (to > from && stored[to - 1] == ' ') --to;
  const std::string size = AsciiLower(stored.substr(from, to - from));
  static constexpr std::array<const char*, 10> kKeywords = {"xx-small", "x-small", "small",     "medium", "large",
                                                           "x-large",  "xx-large", "xxx-large", "smaller", "larger"};
  if (std::any_of(kKeywords.begin(), kKeywords.end(), [&](const char* k) { return size == k; })) return size;

  size_t i = 0, digits = 0;
  while (i < size.size() && std::isdigit(static_cast<unsigned char>(size[i]))) ++i, ++digits;
  if (i < size.size() && size[i] == '.') {
    ++i;
    while (i < size.size() && std::isdigit(static_cast<unsigned char>(size[i]))) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  const std::string number = size.substr(0, i), unit = size.substr(i);
  if (unit.empty()) {
    if (number.find_first_not_of("0.") == std::string::npos) return "0";
    return number + "px";
  }
  static constexpr std::array<const char*, 16> kUnits = {"pt", "px", "em", "rem", "ex",   "ch",   "%",    "pc",
                                                        "mm", "cm", "in", "q",   "vw",   "vh",   "vmin", "vmax"};
  if (std::any_of(kUnits.begin(), kUnits.end(), [&](const char* u) { return unit == u; })) return number + unit;
  return std::nullopt;
}

std::string Html5Target(std::string_view target) {
  if (target.empty() || target[0] != '_') return std::string(target);
  const std::string keyword = AsciiLower(target);
  for (const char* k : {"_blank", "_self", "_parent", "_top"})
    if (keyword == k) return keyword;
  return "_blank";
}

bool TitleShowsText(std::string_view html) {
  for (size_t i = 0; i < html.size();) {
    const char c = html[i];
    if (IsHtmlSpace(c)) {
      ++i;
    } else if (c == '\x81' && i + 1 < html.size() && html[i + 1] == '\x40') {  // a full-width space
      i += 2;
    } else if (c == '&') {
      const std::string_view rest = html.substr(i);
      size_t skip = 0;
      for (const char* space : {"&nbsp;", "&#160;", "&#xa0;", "&#12288;", "&#x3000;"})
        if (StartsWithNoCase(rest, space)) skip = std::strlen(space);
      if (skip == 0) return true;
      i += skip;
    } else if (c == '<' && i + 1 < html.size() && (IsAsciiAlpha(html[i + 1]) || std::strchr("/!?", html[i + 1]))) {
      // Markup shows nothing, but an image's alt is its text.
      const bool comment = html.substr(i, 4) == "<!--";
      const size_t end = comment ? html.find("-->", i + 4) : html.find('>', i);
      const std::string_view tag = html.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
      const bool image = StartsWithNoCase(tag, "<img") && tag.size() > 4 && (IsHtmlSpace(tag[4]) || tag[4] == '/');
      if (auto alt = image ? AttributeValue(tag, "alt") : std::nullopt; alt && TitleShowsText(*alt)) return true;
      if (end == std::string_view::npos) return false;
      i = end + (comment ? 3 : 1);
    } else {
      return true;
    }
  }
  return false;
}

std::string LinkFileName(std::string_view link) {
  std::string path;
  for (size_t i = 0; i < link.size();) {
    const SjisChar ch = CharAt(link, i);
    i += ch.bytes.size();
    if (ch.bytes[0] == '?' || ch.bytes[0] == '#') break;
    if (ch.bytes[0] == '\\') path += '/';
    else path += ch.bytes;
  }
  size_t end = path.find_last_not_of("/ ");
  if (end == std::string::npos) return "";
  size_t start = path.find_last_of('/', end);
  start = start == std::string::npos ? 0 : start + 1;
  while (start < end && path[start] == ' ') ++start;
  return path.substr(start, end + 1 - start);
}

std::string UntitledName(std::string_view written_link) {
  std::string name = LinkFileName(written_link);
  return name.empty() ? sj("(無題)") : name;
}

}  // namespace pomeli2
