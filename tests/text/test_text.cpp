#include <gtest/gtest.h>

#include "text/ascii.h"
#include "text/numbers.h"
#include "text/paths.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

TEST(Cp932, WindowsCharactersRoundTrip) {
  // Characters that plain Shift_JIS tables reject or map elsewhere.
  struct Case {
    const char* utf8;
    std::string sjis;
  } cases[] = {
      {"～", "\x81\x60"}, {"①", "\x87\x40"}, {"髙", "\xFB\xFC"}, {"\\", "\\"}, {"~", "~"}, {"表", "\x95\x5C"},
  };
  for (const auto& c : cases) {
    auto sjis = Utf8ToSjis(c.utf8);
    ASSERT_TRUE(sjis) << c.utf8;
    EXPECT_EQ(*sjis, c.sjis) << c.utf8;
    EXPECT_EQ(SjisToUtf8(*sjis).value(), c.utf8);
  }
}

TEST(Cp932, UnrepresentableAndInvalidInput) {
  EXPECT_FALSE(Utf8ToSjis("😀"));     // outside code page 932
  EXPECT_FALSE(Utf8ToSjis("\xC3"));  // broken UTF-8
  EXPECT_FALSE(SjisToUtf8("\x80"));
  EXPECT_FALSE(SjisToUtf8("\x81"));  // lead byte without trail byte
  EXPECT_EQ(SjisToUtf8Lossy("a\x80" "b"), "a\xEF\xBF\xBD" "b");
}

TEST(Cp932, LossyTextReadsAsABrowserReadsItCharacterByCharacter) {
  // A browser's reading: a lead byte with a byte that completes it is one
  // character; any byte that is no character alone is U+FFFD, and the
  // reading goes on with the next byte.
  auto read = [](std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
      std::optional<std::string> c;
      if (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size()) c = SjisToUtf8(text.substr(i, 2));
      if (c) {
        out += *c;
        i += 2;
        continue;
      }
      out += SjisToUtf8(text.substr(i, 1)).value_or("\xEF\xBF\xBD");
      ++i;
    }
    return out;
  };
  // Lead bytes, trail bytes in the ASCII range, katakana, bytes that are
  // nothing, and plain ASCII below and above 0x40.
  const std::string_view alphabet("\x81\x82\x83\x9F\xE0\xFC\x40\x5B\x5C\x7A\x7E\xA1\xB1\xDF\x80\xA0\xFD\xFF<\r a", 22);
  unsigned x = 99;
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int n = round % 40; n > 0; --n) {
      x = x * 1103515245u + 12345u;
      text += alphabet[(x >> 16) % alphabet.size()];
    }
    ASSERT_EQ(SjisToUtf8Lossy(text), read(text)) << ::testing::PrintToString(text);
  }
  for (int c = 0; c < 0x80; ++c) EXPECT_EQ(SjisToUtf8Lossy(std::string(1, static_cast<char>(c))), std::string(1, static_cast<char>(c)));
}

TEST(Cp932, FillInPutsEachValueInItsPlaceOnce) {
  // A value's own "%1" is text, not a place; places may come in any order.
  EXPECT_EQ(FillIn("「%2」と「%1」%3", {"%1", sj("表")}), sj("「") + sj("表") + sj("」と「") + "%1" + sj("」") + "%3");
}

TEST(AsciiText, LeavesCp932BytesAlone) {
  // 表 ends in the byte of "\", ﾀﾞ is the bytes C0 DE (À Þ in Latin-1):
  // neither is a separator nor a letter to fold, whatever the locale.
  EXPECT_EQ(FileNameOf(sj("/home/a/web/表示.pml")), sj("表示.pml"));
  EXPECT_EQ(FileNameOf("site.pml"), "site.pml");
  EXPECT_EQ(FolderOf(sj("/a/表/b.pml")), sj("/a/表/"));
  EXPECT_EQ(AsciiLower(sj("ﾀﾞＡ") + "HREF"), sj("ﾀﾞＡ") + "href");
  EXPECT_TRUE(EqualIgnoringAsciiCase("Frame2", "FRAME2"));
  EXPECT_FALSE(EqualIgnoringAsciiCase("Frame2", "Frame"));
  EXPECT_TRUE(LessIgnoringAsciiCase("b", "C"));
  EXPECT_EQ(TrimHtmlSpace("\f\t a b\r\n"), "a b");
}

TEST(LenientNumbers, LeadingDigitsCount) {
  EXPECT_EQ(LenientInt("12ab"), 12);
  EXPECT_EQ(LenientInt("ab"), 0);
  EXPECT_EQ(LenientInt(""), 0);
  EXPECT_EQ(LenientInt(" 7"), 0);
  EXPECT_EQ(LenientInt("-7"), 0);
  EXPECT_EQ(LenientInt("010"), 10);
  EXPECT_EQ(LenientInt("99999999999999999999"), 2147483647);
}

TEST(LenientNumbers, SignedFormSkipsSpaceAndTakesSign) {
  EXPECT_EQ(LenientSignedInt("  -42x"), -42);
  EXPECT_EQ(LenientSignedInt("+16777215"), 16777215);
  EXPECT_EQ(LenientSignedInt("x1"), 0);
  EXPECT_EQ(LenientSignedInt("-99999999999"), -2147483647 - 1);
}

TEST(LenientNumbers, DigitsOnlyCheck) {
  EXPECT_TRUE(IsAllDigits("0123"));
  EXPECT_FALSE(IsAllDigits(""));
  EXPECT_FALSE(IsAllDigits("-1"));
  EXPECT_FALSE(IsAllDigits("1 "));
  EXPECT_FALSE(IsAllDigits("\x82\x4F"));  // full-width zero
}

}  // namespace
}  // namespace pomeli2
