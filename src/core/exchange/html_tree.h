// HTML as the HTML standard's parser reads it (gumbo), and the titles an
// import takes from it: only text and the plain inline markup that changes
// how text looks, so that nothing a third party's file held can run in the
// author's site.
#pragma once

#include <gumbo.h>

#include <string>
#include <string_view>

namespace pomeli2::exchange {

// The walks over a parse go no deeper than this many elements (browsers put
// no element deeper than 512 either): what a file nests deeper is not read,
// rather than exhausting the stack.
inline constexpr int kMaxHtmlDepth = 512;

// The parser's time grows with the square of how deep elements nest, and
// it frees its tree recursively: a source nested deeper than this many
// elements is not handed to it.
inline constexpr int kMaxHtmlSourceDepth = 4096;

// Whether the elements a text opens nest deeper than kMaxHtmlSourceDepth,
// counted on the tags alone, in one pass; where it cannot follow the
// parser it counts an element as still open, so deeper rather than shallower.
bool NestsTooDeep(std::string_view html);

// A whole document, or a fragment read as the content of a <div>. A text
// that nests too deep is read as an empty one.
class HtmlTree {
 public:
  explicit HtmlTree(std::string_view utf8, bool fragment = false);
  ~HtmlTree();
  HtmlTree(const HtmlTree&) = delete;
  HtmlTree& operator=(const HtmlTree&) = delete;

  const GumboNode* Document() const { return output_->document; }
  const GumboNode* Root() const { return output_->root; }

 private:
  std::string text_;  // the parse points into it
  GumboOptions options_;
  GumboOutput* output_;
};

bool IsElement(const GumboNode* node, GumboTag tag);
// An attribute's value (references read), or nullptr.
const char* AttributeOf(const GumboNode* element, const char* name);
// The first descendant element `tag` in document order, or nullptr.
const GumboNode* FindElement(const GumboNode* node, GumboTag tag);
// The text a node holds, as a page's textContent.
std::string TextOf(const GumboNode* node);

// The children of `element` up to (not including) `stop`, as a title: text
// escaped, the inline markup that only changes how text looks kept (b, i,
// em, strong, span, br, img with its src and alt, and their kin), the
// content of script, style and other embedded things left out, every other
// element replaced by its content; no attribute but an image's src and alt
// and a font's looks, and no URL that runs script or carries a document.
std::string SafeTitle(const GumboNode* element, const GumboNode* stop = nullptr);
// The same for a fragment of HTML.
std::string SafeTitleOfHtml(std::string_view html);

// A title as written, with the end tags it leaves out added and the ones
// that close nothing left out, so that its markup ends where it does and
// nothing after it is bold or a link too. Markup that is whole comes back
// byte for byte.
std::string BalancedHtml(std::string_view html);

// Whether following a link would run script (javascript:, vbscript:), as a
// browser reads the URL: controls and spaces around it and tabs and line
// breaks inside it ignored, the scheme in any letter case.
bool LinkRunsScript(std::string_view url);

}  // namespace pomeli2::exchange
