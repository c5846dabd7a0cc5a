#include "text/sjis.h"

#include <algorithm>

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <unordered_map>

namespace pomeli2 {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts the whole input; on an invalid sequence returns false and leaves
  // `bad_at` at the offset of the offending input byte.
  bool Run(std::string_view in, std::string& out, size_t& bad_at) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char buf[4096];
    while (src_left > 0) {
      char* dst = buf;
      size_t dst_left = sizeof buf;
      size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
      out.append(buf, static_cast<size_t>(dst - buf));
      if (r == static_cast<size_t>(-1) && errno != E2BIG) {
        bad_at = in.size() - src_left;
        return false;
      }
    }
    char* dst = buf;
    size_t dst_left = sizeof buf;
    iconv(cd_, nullptr, nullptr, &dst, &dst_left);
    out.append(buf, static_cast<size_t>(dst - buf));
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& ToUtf8() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}
Converter& ToSjis() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}

}  // namespace

std::optional<std::string> SjisToUtf8(std::string_view sjis) {
  std::string out;
  size_t bad = 0;
  if (!ToUtf8().Run(sjis, out, bad)) return std::nullopt;
  return out;
}

std::optional<std::string> Utf8ToSjis(std::string_view utf8) {
  std::string out;
  size_t bad = 0;
  if (!ToSjis().Run(utf8, out, bad)) return std::nullopt;
  return out;
}

std::optional<std::string> CharsetToUtf8(std::string_view bytes, std::string_view charset) {
  std::string name;
  for (char c : charset) name += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  if (name == "SHIFT_JIS" || name == "SHIFT-JIS" || name == "X-SJIS" || name == "SJIS" || name == "MS_KANJI" ||
      name == "WINDOWS-31J" || name == "CP932")
    return SjisToUtf8(bytes);
  // Browsers read Latin-1 as windows-1252; so do these files' authors.
  if (name == "ISO-8859-1" || name == "LATIN1" || name == "US-ASCII") name = "WINDOWS-1252";
  iconv_t probe = iconv_open("UTF-8", name.c_str());
  if (probe == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  iconv_close(probe);
  Converter converter("UTF-8", name.c_str());
  std::string out;
  size_t bad = 0;
  if (!converter.Run(bytes, out, bad)) return std::nullopt;
  return out;
}

namespace {

void AppendUtf8Lossy(std::string_view sjis, std::string& result) {
  std::string part;
  while (!sjis.empty()) {
    size_t bad = 0;
    if (ToUtf8().Run(sjis, part, bad)) {
      result += part;
      break;
    }
    result += part;
    result += "\xEF\xBF\xBD";
    sjis.remove_prefix(bad + 1);
  }
}

}  // namespace

std::string SjisToUtf8Lossy(std::string_view sjis) {
  std::string result;
  result.reserve(sjis.size() + sjis.size() / 4);
  AppendSjisAsUtf8Lossy(sjis, result);
  return result;
}

void AppendSjisAsUtf8Lossy(std::string_view sjis, std::string& result) {
  // A page is mostly ASCII, which is the same in UTF-8 wherever a character
  // starts; only the stretches around other bytes go through the converter.
  // Such a stretch ends where a character surely starts again: at ASCII
  // after a byte below 0x40, which neither leads a pair nor ends one.
  auto byte = [&sjis](size_t i) { return static_cast<unsigned char>(sjis[i]); };
  // A page says the same words again and again (its buttons' texts): the
  // last few stretches are kept with what they became.
  constexpr size_t kKept = 8;
  std::pair<std::string_view, std::string> kept[kKept];
  size_t next_kept = 0;
  size_t i = 0;
  while (i < sjis.size()) {
    size_t other = i;
    for (std::uint64_t word; other + 8 <= sjis.size(); other += 8) {  // eight bytes at a step
      std::memcpy(&word, sjis.data() + other, 8);
      if (word & 0x8080808080808080u) break;
    }
    while (other < sjis.size() && byte(other) < 0x80) ++other;
    result.append(sjis.data() + i, other - i);
    if (other == sjis.size()) break;
    size_t end = other + 1;
    while (end < sjis.size() && !(byte(end - 1) < 0x40 && byte(end) < 0x80)) ++end;
    const std::string_view stretch = sjis.substr(other, end - other);
    auto known = std::find_if(std::begin(kept), std::end(kept), [&](const auto& k) { return k.first == stretch; });
    if (known == std::end(kept)) {
      known = &kept[next_kept++ % kKept];
      known->first = stretch;
      known->second.clear();
      AppendUtf8Lossy(stretch, known->second);
    }
    result += known->second;
    i = end;
  }
}

const std::string& sj(const char* utf8_literal) {
  static std::mutex mutex;
  static std::unordered_map<const char*, std::string> cache;
  std::lock_guard lock(mutex);
  auto it = cache.find(utf8_literal);
  if (it == cache.end()) {
    auto converted = Utf8ToSjis(utf8_literal);
    if (!converted) throw std::logic_error(std::string("constant not representable in CP932: ") + utf8_literal);
    it = cache.emplace(utf8_literal, std::move(*converted)).first;
  }
  return it->second;
}

std::string FillIn(const char* utf8_literal, std::initializer_list<std::string_view> values) {
  const std::string& text = sj(utf8_literal);
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const size_t n = i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - '1') : values.size();
    if (text[i] == '%' && n < values.size()) {
      out += values.begin()[n];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool IsBlank(std::string_view sjis) {
  for (size_t i = 0; i < sjis.size(); ++i) {
    if (sjis[i] == ' ') continue;
    if (sjis[i] == '\x81' && i + 1 < sjis.size() && sjis[i + 1] == '\x40') {
      ++i;
      continue;
    }
    return false;
  }
  return true;
}

}  // namespace pomeli2
