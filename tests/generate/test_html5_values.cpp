// The stored values that the "HTML5" page mends or leaves out. Texts come in
// as CP932 (written here through sj()); URLs come out as ASCII.
#include <gtest/gtest.h>

#include "generate/html5_values.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

TEST(Html5Url, BackslashesBecomeSlashesInThePathOnly) {
  EXPECT_EQ(MendUrl("dir\\file.htm"), "dir/file.htm");
  EXPECT_EQ(MendUrl("\\\\server\\share\\n.htm"), "//server/share/n.htm");
  EXPECT_EQ(MendUrl("C:\\web\\x.htm"), "C:/web/x.htm");
  EXPECT_EQ(MendUrl("http:\\\\example.com\\a\\b.htm"), "http://example.com/a/b.htm");
  // After the path the browser keeps a backslash; it is sent as %5C.
  EXPECT_EQ(MendUrl("a.cgi?p=x\\y#s\\t"), "a.cgi?p=x%5Cy#s%5Ct");
  // A script's backslash is an escape: percent-encoded, it is decoded back.
  EXPECT_EQ(MendUrl("javascript:alert('a\\nb')"), "javascript:alert('a%5Cnb')");
  // The second byte of 表 is 5C and no separator.
  EXPECT_EQ(MendUrl(sj("表\\a.htm")), "%E8%A1%A8/a.htm");
}

TEST(Html5Url, PathsAndFragmentsInUtf8QueriesAsTheShiftJisPageSentThem) {
  EXPECT_EQ(MendUrl(sj("資料/日本.html?q=日本#日本")), "%E8%B3%87%E6%96%99/%E6%97%A5%E6%9C%AC.html?q=%93%FA%96%7B"
                                                      "#%E6%97%A5%E6%9C%AC");
  EXPECT_EQ(MendUrl(sj("https://example.jp/検索?q=ｶﾅ")), "https://example.jp/%E6%A4%9C%E7%B4%A2?q=%B6%C5");
  // The browser re-encodes what it decoded: an NEC-selected IBM character
  // goes out as its IBM code.
  EXPECT_EQ(MendUrl("x?k=\xED\x40"), "x?k=%FA%5C");
  // Schemes other than the special ones sent their queries in UTF-8 already.
  EXPECT_EQ(MendUrl(sj("mailto:a@example.jp?subject=質問")), "mailto:a@example.jp?subject=%E8%B3%AA%E5%95%8F");
  EXPECT_EQ(MendUrl(sj("wss://example.jp/?q=質問")), "wss://example.jp/?q=%E8%B3%AA%E5%95%8F");
  // A host name is no path: left for the browser to spell.
  EXPECT_EQ(MendUrl(sj("http://日本.jp/")), "http://" + sj("日本") + ".jp/");
}

TEST(Html5Url, CharactersAUrlCannotHoldArePercentEncoded) {
  EXPECT_EQ(MendUrl("a b\".htm"), "a%20b%22.htm");
  EXPECT_EQ(MendUrl("q.cgi?a=<b>|{c}^`"), "q.cgi?a=%3Cb%3E%7C%7Bc%7D%5E%60");
  EXPECT_EQ(MendUrl("x.htm#a#b"), "x.htm#a%23b");
  EXPECT_EQ(MendUrl("100%.htm?r=5%25"), "100%25.htm?r=5%25");
  EXPECT_EQ(MendUrl("http://[::1]:8080/[x]"), "http://[::1]:8080/%5Bx%5D");
  EXPECT_EQ(MendUrl("ok-._~!$&'()*+,;=:@/x?y=1"), "ok-._~!$&'()*+,;=:@/x?y=1");
  // A byte that is no CP932 is what the browser read: U+FFFD; in a Shift-JIS
  // query that became its character reference.
  EXPECT_EQ(MendUrl("a\x80.htm?b=\x80"), "a%EF%BF%BD.htm?b=%26%2365533%3B");
}

// The value stood in an attribute: its references were read there.
TEST(Html5Url, ReferencesAreReadAsTheAttributeReadThem) {
  EXPECT_EQ(MendUrl("a.cgi?a=1&amp;b=&#38;&#x3C;&quot;"), "a.cgi?a=1&b=&%3C%22");
  EXPECT_EQ(MendUrl("a.cgi?x=1&y;z&nbsp;&copy"), "a.cgi?x=1&y;z&nbsp;&copy") << "left as written";
}

TEST(Html5Attribute, AmpersandsThatStartNoReferenceAreEscaped) {
  EXPECT_EQ(Html5Attribute("a&b; &amp; &lt;&gt;&quot;&apos;&nbsp; &#12354;&#x3042; \"q\""),
            "a&amp;b; &amp; &lt;&gt;&quot;&apos;&nbsp; &#12354;&#x3042; &quot;q&quot;");
  for (const char* kept : {"&#x20;", "&#126;", "&#xA0;", "&#x10FFFD;"}) EXPECT_EQ(Html5Attribute(kept), kept);
  for (const char* bad : {"&#0;", "&#x80;", "&#xD800;", "&#xFFFE;", "&#x110000;", "&#;", "&#x;", "&#12", "&copy;"})
    EXPECT_EQ(Html5Attribute(bad), "&amp;" + std::string(bad + 1)) << bad;
}

TEST(Html5Url, SpacesAroundAndLineBreaksInsideGo) {
  EXPECT_EQ(MendUrl("  a.htm \t"), "a.htm");
  EXPECT_EQ(MendUrl("a\r\n.htm"), "a.htm");
  EXPECT_EQ(MendUrl(sj("　a.htm")), "%E3%80%80a.htm") << "a full-width space is a character of the path";
  EXPECT_EQ(MendUrl("   "), "");
  EXPECT_EQ(MendUrl(""), "");
}

TEST(Html5Colour, OnlyHashAndThreeOrSixHexDigits) {
  EXPECT_EQ(Html5Colour("#12aBcF"), "#12aBcF");
  EXPECT_EQ(Html5Colour("#fc0"), "#fc0");
  for (const char* bad : {"", "#12345", "#1234567", "123456", "#12345G", "red", "#", "#fc0;x"})
    EXPECT_FALSE(Html5Colour(bad)) << bad;
}

TEST(Html5FontSize, SizesWithUnitsAndKeywords) {
  EXPECT_EQ(Html5FontSize("10pt"), "10pt");
  EXPECT_EQ(Html5FontSize(" 1.5EM "), "1.5em");
  EXPECT_EQ(Html5FontSize("120%"), "120%");
  EXPECT_EQ(Html5FontSize("Large"), "large");
  EXPECT_EQ(Html5FontSize("12"), "12px") << "what the quirks-mode pages made of it";
  EXPECT_EQ(Html5FontSize("0"), "0");
  for (const char* bad : {"", "-4pt", "-4", "pt", "10pt;color:red", "10 pt", "10furlongs", ".", "1.2.3pt"})
    EXPECT_FALSE(Html5FontSize(bad)) << bad;
}

TEST(Html5Target, NamesAndKeywords) {
  EXPECT_EQ(Html5Target("Frame2"), "Frame2");
  EXPECT_EQ(Html5Target(""), "");
  EXPECT_EQ(Html5Target("_TOP"), "_top");
  EXPECT_EQ(Html5Target("_blank"), "_blank");
  EXPECT_EQ(Html5Target("_Frame"), "_blank") << "no name may start with _";
  EXPECT_EQ(Html5Target("a b"), "a b");
}

TEST(Html5Title, LinkFileNames) {
  EXPECT_EQ(LinkFileName("dir/page.html?x=1#y"), "page.html");
  EXPECT_EQ(LinkFileName("dir\\sub\\page.html"), "page.html");
  EXPECT_EQ(LinkFileName("http://example.com/docs/"), "docs");
  EXPECT_EQ(LinkFileName(sj("資料/表.htm")), sj("表.htm"));
  EXPECT_EQ(LinkFileName("?q=1"), "");
  EXPECT_EQ(LinkFileName(""), "");
}

}  // namespace
}  // namespace pomeli2
