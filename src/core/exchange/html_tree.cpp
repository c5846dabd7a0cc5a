#include "exchange/html_tree.h"

#include <algorithm>
#include <cstring>

#include "exchange/text_forms.h"

namespace pomeli2::exchange {

HtmlTree::HtmlTree(std::string_view utf8, bool fragment) : text_(utf8), options_(kGumboDefaultOptions) {
  // Errors are the page's business: browsers show it anyway.
  options_.max_errors = 0;
  if (fragment) options_.fragment_context = GUMBO_TAG_DIV;
  output_ = gumbo_parse_with_options(&options_, text_.data(), text_.size());
}

HtmlTree::~HtmlTree() { gumbo_destroy_output(&options_, output_); }

bool IsElement(const GumboNode* node, GumboTag tag) {
  return node && node->type == GUMBO_NODE_ELEMENT && node->v.element.tag == tag;
}

const char* AttributeOf(const GumboNode* element, const char* name) {
  if (!element || element->type != GUMBO_NODE_ELEMENT) return nullptr;
  const GumboAttribute* a = gumbo_get_attribute(&element->v.element.attributes, name);
  return a ? a->value : nullptr;
}

namespace {

const GumboVector* ChildrenOf(const GumboNode* node) {
  if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE) return &node->v.element.children;
  if (node->type == GUMBO_NODE_DOCUMENT) return &node->v.document.children;
  return nullptr;
}

const GumboNode* Child(const GumboVector* v, unsigned i) { return static_cast<const GumboNode*>(v->data[i]); }

void AppendText(const GumboNode* node, std::string& out, int depth = 0) {
  if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE || node->type == GUMBO_NODE_CDATA) {
    out += node->v.text.text;
    return;
  }
  if (const GumboVector* children = ChildrenOf(node))
    for (unsigned i = 0; i < children->length && depth < kMaxHtmlDepth; ++i) AppendText(Child(children, i), out, depth + 1);
}

// What a title may keep of an element.
enum class Keep { kElement, kContent, kNothing };

Keep KeepOf(GumboTag tag) {
  switch (tag) {
    case GUMBO_TAG_B: case GUMBO_TAG_I: case GUMBO_TAG_U: case GUMBO_TAG_S: case GUMBO_TAG_EM:
    case GUMBO_TAG_STRONG: case GUMBO_TAG_SMALL: case GUMBO_TAG_BIG: case GUMBO_TAG_SUB: case GUMBO_TAG_SUP:
    case GUMBO_TAG_SPAN: case GUMBO_TAG_FONT: case GUMBO_TAG_CODE: case GUMBO_TAG_TT: case GUMBO_TAG_KBD:
    case GUMBO_TAG_SAMP: case GUMBO_TAG_VAR: case GUMBO_TAG_MARK: case GUMBO_TAG_DEL: case GUMBO_TAG_INS:
    case GUMBO_TAG_STRIKE: case GUMBO_TAG_Q: case GUMBO_TAG_ABBR: case GUMBO_TAG_CITE: case GUMBO_TAG_DFN:
    case GUMBO_TAG_BR: case GUMBO_TAG_WBR: case GUMBO_TAG_IMG:
      return Keep::kElement;
    case GUMBO_TAG_SCRIPT: case GUMBO_TAG_STYLE: case GUMBO_TAG_TEMPLATE: case GUMBO_TAG_NOSCRIPT:
    case GUMBO_TAG_IFRAME: case GUMBO_TAG_OBJECT: case GUMBO_TAG_EMBED: case GUMBO_TAG_APPLET: case GUMBO_TAG_SVG:
    case GUMBO_TAG_MATH: case GUMBO_TAG_TEXTAREA: case GUMBO_TAG_SELECT: case GUMBO_TAG_TITLE: case GUMBO_TAG_HEAD:
    case GUMBO_TAG_XMP: case GUMBO_TAG_NOEMBED: case GUMBO_TAG_NOFRAMES: case GUMBO_TAG_FRAMESET:
    case GUMBO_TAG_FRAME: case GUMBO_TAG_AUDIO: case GUMBO_TAG_VIDEO: case GUMBO_TAG_CANVAS:
      return Keep::kNothing;
    default:
      return Keep::kContent;
  }
}

bool IsVoidElement(GumboTag tag) {
  switch (tag) {
    case GUMBO_TAG_AREA: case GUMBO_TAG_BASE: case GUMBO_TAG_BR: case GUMBO_TAG_COL: case GUMBO_TAG_EMBED:
    case GUMBO_TAG_HR: case GUMBO_TAG_IMG: case GUMBO_TAG_INPUT: case GUMBO_TAG_LINK: case GUMBO_TAG_META:
    case GUMBO_TAG_PARAM: case GUMBO_TAG_SOURCE: case GUMBO_TAG_TRACK: case GUMBO_TAG_WBR:
      return true;
    default:
      return false;
  }
}

// A URL that carries a document or script of its own.
bool CarriesDocument(std::string_view url) {
  if (LinkRunsScript(url)) return true;
  std::string head;
  for (char c : url) {
    if (c == '\t' || c == '\n' || c == '\r' || (head.empty() && static_cast<unsigned char>(c) <= 0x20)) continue;
    head += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (head.size() == 5) break;
  }
  return head == "data:";
}

void AppendSafe(const GumboNode* node, std::string& out, int depth = 0) {
  if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE || node->type == GUMBO_NODE_CDATA) {
    out += EscapeHtml(node->v.text.text);
    return;
  }
  if (node->type != GUMBO_NODE_ELEMENT || node->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) return;
  const GumboElement& e = node->v.element;
  Keep keep = KeepOf(e.tag);
  if (keep == Keep::kNothing || depth >= kMaxHtmlDepth) return;
  if (keep == Keep::kElement) {
    const char* name = gumbo_normalized_tagname(e.tag);
    out += '<';
    out += name;
    static const char* const kImage[] = {"src", "alt"};
    static const char* const kFont[] = {"color", "size", "face"};
    for (unsigned i = 0; i < e.attributes.length; ++i) {
      const auto* a = static_cast<const GumboAttribute*>(e.attributes.data[i]);
      auto allowed = [&](const auto& names) {
        return std::any_of(std::begin(names), std::end(names), [&](const char* n) { return std::strcmp(n, a->name) == 0; });
      };
      bool keep_it = e.tag == GUMBO_TAG_IMG ? allowed(kImage) && !CarriesDocument(a->value)
                     : e.tag == GUMBO_TAG_FONT ? allowed(kFont)
                                               : false;
      if (keep_it) out += std::string(" ") + a->name + "=\"" + EscapeAttribute(a->value) + "\"";
    }
    out += '>';
    if (IsVoidElement(e.tag)) return;
  }
  for (unsigned i = 0; i < e.children.length; ++i) AppendSafe(Child(&e.children, i), out, depth + 1);
  if (keep == Keep::kElement) out += std::string("</") + gumbo_normalized_tagname(e.tag) + ">";
}


void AppendBalanced(const GumboNode* node, std::string& out, int depth = 0) {
  if (node->type != GUMBO_NODE_ELEMENT) {
    if (node->type != GUMBO_NODE_DOCUMENT) out.append(node->v.text.original_text.data, node->v.text.original_text.length);
    return;
  }
  const GumboElement& e = node->v.element;
  // What the parser made up (a copy of an element left open, an element an
  // end tag stood for) was not written.
  const bool written = e.original_tag.length > 0 && !(node->parse_flags & GUMBO_INSERTION_BY_PARSER);
  if (written) out.append(e.original_tag.data, e.original_tag.length);
  if (node->parse_flags & GUMBO_INSERTION_CONVERTED_FROM_END_TAG) return;
  for (unsigned i = 0; i < e.children.length && depth < kMaxHtmlDepth; ++i) AppendBalanced(Child(&e.children, i), out, depth + 1);
  if (!written || IsVoidElement(e.tag)) return;
  if (e.original_end_tag.length > 0) {
    out.append(e.original_end_tag.data, e.original_end_tag.length);
  } else {
    GumboStringPiece name = e.original_tag;
    gumbo_tag_from_original_text(&name);
    out += "</" + std::string(name.data, name.length) + ">";
  }
}

}  // namespace

std::string BalancedHtml(std::string_view html) {
  if (html.find('<') == std::string_view::npos) return std::string(html);
  HtmlTree tree(html, true);
  std::string out;
  const GumboVector& children = tree.Root()->v.element.children;
  for (unsigned i = 0; i < children.length; ++i) AppendBalanced(Child(&children, i), out);
  return out;
}

namespace {

const GumboNode* FindBelow(const GumboNode* node, GumboTag tag, int depth) {
  if (IsElement(node, tag)) return node;
  if (const GumboVector* children = ChildrenOf(node); children && depth < kMaxHtmlDepth) {
    for (unsigned i = 0; i < children->length; ++i)
      if (const GumboNode* found = FindBelow(Child(children, i), tag, depth + 1)) return found;
  }
  return nullptr;
}

}  // namespace

const GumboNode* FindElement(const GumboNode* node, GumboTag tag) { return FindBelow(node, tag, 0); }

std::string TextOf(const GumboNode* node) {
  std::string out;
  AppendText(node, out);
  return out;
}

std::string SafeTitle(const GumboNode* element, const GumboNode* stop) {
  std::string out;
  const GumboVector* children = ChildrenOf(element);
  for (unsigned i = 0; children && i < children->length && Child(children, i) != stop; ++i) AppendSafe(Child(children, i), out);
  return out;
}

std::string SafeTitleOfHtml(std::string_view html) {
  // Text alone needs no parse: it is escaped already.
  if (html.find('<') == std::string_view::npos) return std::string(html);
  HtmlTree tree(html, true);
  return SafeTitle(tree.Root());
}

bool LinkRunsScript(std::string_view url) {
  std::string scheme;
  for (char c : url) {
    if (c == '\t' || c == '\n' || c == '\r' || (scheme.empty() && static_cast<unsigned char>(c) <= 0x20)) continue;
    if (c == ':') break;
    scheme += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (scheme.size() > 10) return false;
  }
  return scheme == "javascript" || scheme == "vbscript";
}

}  // namespace pomeli2::exchange
