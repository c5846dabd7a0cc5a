#include "text/search_fold.h"

#include "text/sjis.h"
#include "text/utf8.h"

namespace pomeli2 {
namespace {

// U+FF61..U+FF9F, the half-width forms, as full-width characters.
constexpr char32_t kHalfToFull[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};

// Whether katakana `c` takes the semi-voiced mark (゜): the ハ row; and the
// voiced one (゛): the カ, サ, タ and ハ rows and ウ.
bool TakesSemiVoicedMark(char32_t c) { return c >= 0x30CF && c <= 0x30DB && (c - 0x30CF) % 3 == 0; }
bool TakesVoicedMark(char32_t c) {
  return (c >= 0x30AB && c <= 0x30C1 && (c - 0x30AB) % 2 == 0) || c == 0x30C4 || c == 0x30C6 || c == 0x30C8 ||
         TakesSemiVoicedMark(c) || c == 0x30A6;
}
}  // namespace

std::string FoldForSearch(std::string_view sjis) {
  const std::string utf8 = SjisToUtf8Lossy(sjis);
  std::u32string folded;
  folded.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t c = NextCodePoint(utf8, i);
    if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;  // full-width ASCII
    else if (c == 0x3000 || c == 0x00A0) c = ' ';
    else if (c >= 0xFF61 && c <= 0xFF9F) c = kHalfToFull[c - 0xFF61];
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    // A half-width voiced mark joins the kana before it, as its full-width
    // form is one character.
    if (!folded.empty() && (c == 0x309B || c == 0x309C)) {
      char32_t& kana = folded.back();
      if (c == 0x309B && TakesVoicedMark(kana)) {
        kana = kana == 0x30A6 ? 0x30F4 : kana + 1;
        continue;
      }
      if (c == 0x309C && TakesSemiVoicedMark(kana)) {
        kana += 2;
        continue;
      }
    }
    folded += c;
  }
  std::string out;
  out.reserve(folded.size() * 3);
  for (char32_t c : folded) AppendUtf8(out, c);
  return out;
}

}  // namespace pomeli2
