#include "exchange/shown_text.h"

#include "exchange/html_tree.h"
#include "model/menu_item.h"
#include "text/ascii.h"
#include "text/sjis.h"
#include "text/utf8.h"

namespace pomeli2::exchange {
namespace {

std::string CutAtBrackets(std::string_view html) {
  std::string text;
  bool in_tag = false;
  for (char c : html) {
    if (c == '<') in_tag = true;
    else if (c == '>' && in_tag) in_tag = false;
    else if (!in_tag) text += c;
  }
  return text;
}

void AppendParsed(const GumboNode* node, ImageAlt alt, std::string& out, int depth = 0) {
  if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE || node->type == GUMBO_NODE_CDATA) {
    out += node->v.text.text;
    return;
  }
  if (node->type != GUMBO_NODE_ELEMENT) return;
  if (node->v.element.tag == GUMBO_TAG_IMG) {
    if (alt == ImageAlt::kShown)
      if (const char* text = AttributeOf(node, "alt")) out += text;
    return;
  }
  const GumboVector& children = node->v.element.children;
  for (unsigned i = 0; i < children.length && depth < kMaxHtmlDepth; ++i)
    AppendParsed(static_cast<const GumboNode*>(children.data[i]), alt, out, depth + 1);
}

std::string Read(std::string_view html, TitleMarkup markup, ImageAlt alt) {
  if (markup == TitleMarkup::kAsWritten) return CutAtBrackets(html);
  if (html.find_first_of("<&") == std::string_view::npos) return std::string(html);
  std::string out;
  AppendParsed(HtmlTree(html, true).Root(), alt, out);
  return out;
}

// Whether UTF-8 text shows anything: white space, no-break and full-width
// spaces show nothing.
bool ShowsText(std::string_view utf8) {
  for (size_t at = 0; at < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, at);
    if (!(c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == 0xA0 || c == 0x3000)) return true;
  }
  return false;
}

// Whether a visible ASCII character stands outside the tags of `html`
// (tags without quotes; anything else is left to the parser): then the
// title shows text, and it needs no parse.
bool TextOutsideTags(std::string_view html) {
  for (size_t i = 0; i < html.size(); ++i) {
    const char c = html[i];
    if (c == '<') {
      if (i + 1 >= html.size() || !(IsAsciiAlpha(html[i + 1]) || html[i + 1] == '/')) return false;
      const size_t end = html.find('>', i);
      if (end == std::string_view::npos) return false;
      const std::string_view tag = html.substr(i, end - i);
      if (tag.find('"') != std::string_view::npos || tag.find('\'') != std::string_view::npos) return false;
      i = end;
    } else if (!IsHtmlSpace(c)) {
      return c > ' ' && c < '\x7F' && c != '&';
    }
  }
  return false;
}

}  // namespace

std::string ShownText(std::string_view title, TitleMarkup markup, TitlePicture picture, ImageAlt alt) {
  if (picture == TitlePicture::kKept)
    return MapTitleText(title, [&](std::string_view text) { return Read(text, markup, alt); });
  const auto image = SplitImageTitle(title);
  return Read(image ? std::string_view(image->text) : title, markup, alt);
}

bool TitleShowsText(std::string_view title) {
  const auto image = SplitImageTitle(title);
  const std::string_view html = image ? std::string_view(image->text) : title;
  // Two searches for one character each: a search for either of two goes
  // character by character.
  if (html.find('<') == std::string_view::npos && html.find('&') == std::string_view::npos) {
    // Plain text needs no parse: anything but white space and full-width spaces shows.
    for (size_t i = 0; i < html.size(); ++i) {
      if (html[i] == '\x81' && i + 1 < html.size() && html[i + 1] == '\x40') ++i;
      else if (!IsHtmlSpace(html[i])) return true;
    }
    return false;
  }
  // The whole title to UTF-8 splits where the stored one does: ":" is no
  // byte of a CP932 character but itself.
  return TextOutsideTags(html) ||
         ShowsText(ShownText(SjisToUtf8Lossy(title), TitleMarkup::kParsed, TitlePicture::kLeftOut, ImageAlt::kShown));
}

}  // namespace pomeli2::exchange
