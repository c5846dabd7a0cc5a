#include "generate/html5_values.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "exchange/html_tree.h"
#include "generate/js_text.h"
#include "text/ascii.h"
#include "text/markup.h"
#include "text/numbers.h"
#include "text/sjis.h"
#include "text/utf8.h"

namespace pomeli2 {
namespace {

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

// The ASCII characters that a valid URL holds as they are.
bool IsUrlCodePoint(char c) { return IsAsciiAlnum(c) || (c != '\0' && std::strchr("!$&'()*+,-./:;=?@_~", c)); }

bool IsSpecialScheme(const std::string& scheme) {
  static constexpr std::array<const char*, 6> kSpecial = {"http", "https", "ftp", "file", "ws", "wss"};
  return std::any_of(kSpecial.begin(), kSpecial.end(), [&](const char* s) { return scheme == s; });
}

// What a Shift-JIS page's browser sent for a character of a query that the
// encoding cannot hold (a byte that decodes to U+FFFD): its character
// reference, percent-encoded.
constexpr char kUnencodableInQuery[] = "%26%2365533%3B";
constexpr char kReplacementUtf8[] = "%EF%BF%BD";

// The character reference at the start of `text` ("&...;") that a page may
// hold, or nullopt. No trail byte of CP932 is "&" (0x26) or ";".
std::optional<CharReference> ReferenceAt(std::string_view text) {
  auto ref = CharReferenceAt(text);
  if (!ref || !IsConformingReference(*ref)) return std::nullopt;
  return ref;
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

std::string UrlScheme(std::string_view url) {
  if (url.empty() || !IsAsciiAlpha(url[0])) return "";
  size_t i = 1;
  while (i < url.size() && (IsAsciiAlnum(url[i]) || url[i] == '+' || url[i] == '-' || url[i] == '.')) ++i;
  return i < url.size() && url[i] == ':' ? AsciiLower(url.substr(0, i)) : "";
}

bool UrlNeedsNoMending(std::string_view stored) {
  // Letters, digits and the marks that stand for themselves everywhere in a URL.
  static constexpr auto kPlain = [] {
    std::array<bool, 256> plain{};
    for (int c = 0; c < 256; ++c) plain[static_cast<size_t>(c)] = IsAsciiAlnum(static_cast<char>(c));
    for (char c : std::string_view("-._~!$'()*+,/:;=?@")) plain[static_cast<unsigned char>(c)] = true;
    return plain;
  }();
  return !stored.empty() &&
         std::all_of(stored.begin(), stored.end(), [](char c) { return kPlain[static_cast<unsigned char>(c)]; });
}

std::string MendUrl(std::string_view stored) {
  // Most links need nothing.
  if (UrlNeedsNoMending(stored)) return std::string(stored);
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

  const std::string scheme = UrlScheme(url);
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
        if (ch.utf8) AppendPercentEncoded(out, Utf8ToSjis(*ch.utf8).value_or(std::string(ch.bytes)));
        else out += kUnencodableInQuery;
      else if (ch.utf8) AppendPercentEncoded(out, *ch.utf8);
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
      out += i + 1 < url.size() && IsAsciiHexDigit(url[i]) && IsAsciiHexDigit(url[i + 1]) ? "%" : "%25";
    } else if (IsUrlCodePoint(c) || (part == Part::kAuthority && (c == '[' || c == ']'))) {
      out += c;
    } else {
      AppendPercentEncoded(out, ch.bytes);
    }
  }
  return out;
}

std::optional<std::string> Html5Colour(std::string_view colour) {
  if (!UsableColour(colour)) return std::nullopt;
  return std::string(colour);
}

bool IsLanguageTag(std::string_view lang) {
  size_t letters = 0;
  while (letters < lang.size() && IsAsciiAlpha(lang[letters])) ++letters;
  bool valid = letters >= 2 && letters <= 8;
  for (size_t i = letters, length = 0; valid && i <= lang.size(); ++i) {
    if (i == lang.size() || lang[i] == '-') {
      valid = i == letters || (length >= 1 && length <= 8);
      length = 0;
    } else {
      valid = IsAsciiAlnum(lang[i]);
      ++length;
    }
  }
  return valid;
}

std::string Html5Lang(std::string_view lang) { return IsLanguageTag(lang) ? std::string(lang) : "ja"; }

namespace {

struct Rgb {
  double c[3];
};

Rgb ParseRgb(std::string_view colour) {
  const bool shorthand = colour.size() == 4;
  Rgb rgb{};
  for (size_t i = 0; i < 3; ++i) {
    const char high = shorthand ? colour[1 + i] : colour[1 + 2 * i];
    const char low = shorthand ? high : colour[2 + 2 * i];
    rgb.c[i] = (AsciiHexValue(high) * 16 + AsciiHexValue(low)) / 255.0;
  }
  return rgb;
}

double Channel(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }
double Luminance(const Rgb& rgb) {
  return 0.2126 * Channel(rgb.c[0]) + 0.7152 * Channel(rgb.c[1]) + 0.0722 * Channel(rgb.c[2]);
}

std::string Hex(const Rgb& rgb) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "#";
  for (double v : rgb.c) {
    const int n = static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
    out += kHex[n >> 4];
    out += kHex[n & 15];
  }
  return out;
}

// The colour moved toward black (or white) by the least step, in 1/64ths,
// that brings its luminance to the bound; rounding to whole channels is
// checked on the colour written.
std::string Shade(std::string_view colour, bool dark, double bound) {
  const Rgb from = ParseRgb(colour);
  for (int step = 0;; ++step) {
    const double t = step / 64.0;
    Rgb to = from;
    for (double& v : to.c) v = dark ? v * (1 - t) : v + (1 - v) * t;
    const std::string hex = Hex(to);
    const double l = Luminance(ParseRgb(hex));
    if (step == 64 || (dark ? l <= bound : l >= bound)) return hex;
  }
}

}  // namespace

std::string DarkBackground(std::string_view colour) { return Shade(colour, true, 0.03); }
std::string DarkText(std::string_view colour) { return Shade(colour, false, 0.35); }

std::optional<std::string> Html5FontSize(std::string_view stored) {
  size_t from = 0, to = stored.size();
  while (from < to && stored[from] == ' ') ++from;
  while (to > from && stored[to - 1] == ' ') --to;
  const std::string size = AsciiLower(stored.substr(from, to - from));
  static constexpr std::array<const char*, 10> kKeywords = {"xx-small", "x-small", "small",     "medium", "large",
                                                           "x-large",  "xx-large", "xxx-large", "smaller", "larger"};
  if (std::any_of(kKeywords.begin(), kKeywords.end(), [&](const char* k) { return size == k; })) return size;

  size_t i = 0, digits = 0;
  while (i < size.size() && IsAsciiDigit(size[i])) ++i, ++digits;
  if (i < size.size() && size[i] == '.') {
    ++i;
    while (i < size.size() && IsAsciiDigit(size[i])) ++i, ++digits;
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
