#include "exchange/text_forms.h"

#include <unordered_map>

#include "text/ascii.h"
#include "text/markup.h"
#include "text/sjis.h"

namespace pomeli2::exchange {
namespace {

unsigned char U(char c) { return static_cast<unsigned char>(c); }

bool IsUpperHex(char c) { return IsAsciiDigit(c) || (c >= 'A' && c <= 'F'); }

// The CP932 bytes of one code point, or nothing when CP932 cannot hold it.
const std::optional<std::string>& Cp932Of(char32_t c) {
  thread_local std::unordered_map<char32_t, std::optional<std::string>> cache;
  auto it = cache.find(c);
  if (it != cache.end()) return it->second;
  std::string utf8;
  AppendUtf8(utf8, c);
  return cache.emplace(c, Utf8ToSjis(utf8)).first->second;
}

bool Cp932Holds(char32_t c) { return c < 0x80 || Cp932Of(c).has_value(); }

// A character reference at `at`: the character it stands for (U+FFFD for a
// number that is none) and its length; `named` lets the named ones count.
std::optional<std::pair<char32_t, size_t>> ReferenceAt(std::string_view s, size_t at, bool named) {
  auto ref = CharReferenceAt(s.substr(at));
  if (!ref || (!named && ref->digits == 0)) return std::nullopt;
  return std::pair{CharacterOf(*ref), ref->length};
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string EscapeAttribute(std::string_view text) {
  std::string out;
  for (char c : EscapeHtml(text)) {
    if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

namespace {

template <typename Keep>
std::string ToProject(std::string_view utf8, Keep&& keep) {
  std::string out;
  size_t at = 0;
  while (at < utf8.size()) {
    size_t from = at;
    char32_t c = NextCodePoint(utf8, at);
    if (c == '\t' || c == '\r' || c == '\n') {
      out += ' ';
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (const auto& held = Cp932Of(c)) {
      out += *held;
    } else {
      keep(out, c, utf8.substr(from, at - from));
    }
  }
  return out;
}

}  // namespace

std::string TitleToProject(std::string_view utf8) {
  return ToProject(utf8, [](std::string& out, char32_t c, std::string_view) { AppendHexReference(out, c); });
}

std::string LinkToProject(std::string_view utf8) {
  return ToProject(utf8, [](std::string& out, char32_t, std::string_view bytes) { AppendPercentEncoded(out, bytes); });
}

std::string TitleFromProject(std::string_view sjis) {
  std::string utf8 = SjisToUtf8Lossy(sjis);
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    auto ref = utf8[i] == '&' ? ReferenceAt(utf8, i, false) : std::nullopt;
    if (ref && !Cp932Holds(ref->first) && ref->first != 0xFFFD) {
      AppendUtf8(out, ref->first);
      i += ref->second;
    } else {
      out += utf8[i++];
    }
  }
  return out;
}

std::string LinkFromProject(std::string_view sjis) {
  std::string utf8 = SjisToUtf8Lossy(sjis);
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    // Percent-encoded bytes as the way in writes them: upper-case digits.
    std::string bytes;
    size_t j = i;
    bool decoded = false;
    while (!decoded && bytes.size() < 4 && j + 2 < utf8.size() && utf8[j] == '%' && IsUpperHex(utf8[j + 1]) &&
           IsUpperHex(utf8[j + 2])) {
      bytes += static_cast<char>(AsciiHexValue(utf8[j + 1]) * 16 + AsciiHexValue(utf8[j + 2]));
      j += 3;
      if (InvalidUtf8At(bytes)) continue;
      size_t at = 0;
      char32_t c = NextCodePoint(bytes, at);
      if (c < 0x80 || Cp932Holds(c)) break;
      decoded = true;
    }
    if (decoded) {
      out += bytes;
      i = j;
    } else {
      out += utf8[i++];
    }
  }
  return out;
}

std::string_view CutText(std::string_view sjis, size_t limit) {
  if (sjis.size() <= limit) return sjis;
  size_t end = 0;
  for (size_t i = 0; i < sjis.size();) {
    size_t n = IsSjisLeadByte(U(sjis[i])) && i + 1 < sjis.size() ? 2 : 1;
    if (i + n > limit) break;
    i += n;
    end = i;
  }
  // Not inside a reference: an "&" whose ";" lies beyond the cut goes too.
  size_t amp = sjis.substr(0, end).rfind('&');
  if (amp != std::string_view::npos && sjis.substr(amp, end - amp).find(';') == std::string_view::npos &&
      ReferenceAt(sjis, amp, true))
    end = amp;
  // Not inside a percent-encoded character: a partial "%X" goes, and so do
  // the bytes of a UTF-8 sequence that the cut leaves incomplete.
  if (end >= 1 && sjis[end - 1] == '%') end -= 1;
  else if (end >= 2 && sjis[end - 2] == '%' && IsAsciiHexDigit(sjis[end - 1])) end -= 2;
  size_t groups_start = end;
  while (groups_start >= 3 && sjis[groups_start - 3] == '%' && IsAsciiHexDigit(sjis[groups_start - 2]) && IsAsciiHexDigit(sjis[groups_start - 1]))
    groups_start -= 3;
  for (size_t g = groups_start; g < end; g += 3) {
    unsigned b = AsciiHexValue(sjis[g + 1]) * 16 + AsciiHexValue(sjis[g + 2]);
    size_t need = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
    if (need && g + need * 3 > end) {
      end = g;
      break;
    }
  }
  return sjis.substr(0, end);
}

}  // namespace pomeli2::exchange
