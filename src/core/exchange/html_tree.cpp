#include "exchange/html_tree.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "exchange/text_forms.h"
#include "text/ascii.h"
#include "text/markup.h"

namespace pomeli2::exchange {

HtmlTree::HtmlTree(std::string_view utf8, bool fragment) : text_(utf8), options_(kGumboDefaultOptions) {
  // Errors are the page's business: browsers show it anyway.
  options_.max_errors = 0;
  if (fragment) options_.fragment_context = GUMBO_TAG_DIV;
  if (NestsTooDeep(text_)) text_.clear();
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
    head += AsciiLower(c);
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
    scheme += AsciiLower(c);
    if (scheme.size() > 10) return false;
  }
  return scheme == "javascript" || scheme == "vbscript";
}

}  // namespace pomeli2::exchange

// ---------------------------------------------------------------- nesting

namespace pomeli2::exchange {
namespace {

bool OneOf(GumboTag tag, std::initializer_list<GumboTag> tags) { return std::find(tags.begin(), tags.end(), tag) != tags.end(); }

// The HTML elements whose end tag may be left out: the next of their kind,
// or their parent's end, ends them.
bool EndsImplicitly(GumboTag tag) {
  return OneOf(tag, {GUMBO_TAG_LI, GUMBO_TAG_DT, GUMBO_TAG_DD, GUMBO_TAG_P, GUMBO_TAG_RB, GUMBO_TAG_RT, GUMBO_TAG_RTC, GUMBO_TAG_RP,
                     GUMBO_TAG_OPTION, GUMBO_TAG_OPTGROUP, GUMBO_TAG_THEAD, GUMBO_TAG_TBODY, GUMBO_TAG_TFOOT, GUMBO_TAG_TR,
                     GUMBO_TAG_TD, GUMBO_TAG_TH, GUMBO_TAG_COLGROUP, GUMBO_TAG_CAPTION});
}

// Whether opening `tag` ends an open `open` as the parser does.
bool Ends(GumboTag tag, GumboTag open) {
  auto in = [](GumboTag t, std::initializer_list<GumboTag> tags) { return OneOf(t, tags); };
  // A paragraph ends where a block starts.
  if (open == GUMBO_TAG_P)
    return in(tag, {GUMBO_TAG_P, GUMBO_TAG_LI, GUMBO_TAG_DD, GUMBO_TAG_DT, GUMBO_TAG_ADDRESS, GUMBO_TAG_ARTICLE, GUMBO_TAG_ASIDE,
                    GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_CENTER, GUMBO_TAG_DETAILS, GUMBO_TAG_DIR, GUMBO_TAG_DIV, GUMBO_TAG_DL,
                    GUMBO_TAG_FIELDSET, GUMBO_TAG_FIGCAPTION, GUMBO_TAG_FIGURE, GUMBO_TAG_FOOTER, GUMBO_TAG_HEADER,
                    GUMBO_TAG_HGROUP, GUMBO_TAG_MAIN, GUMBO_TAG_MENU, GUMBO_TAG_NAV, GUMBO_TAG_OL, GUMBO_TAG_SECTION,
                    GUMBO_TAG_SUMMARY, GUMBO_TAG_UL, GUMBO_TAG_H1, GUMBO_TAG_H2, GUMBO_TAG_H3, GUMBO_TAG_H4, GUMBO_TAG_H5,
                    GUMBO_TAG_H6, GUMBO_TAG_PRE, GUMBO_TAG_LISTING, GUMBO_TAG_FORM, GUMBO_TAG_HR, GUMBO_TAG_TABLE});
  if (in(tag, {GUMBO_TAG_DD, GUMBO_TAG_DT})) return in(open, {GUMBO_TAG_DD, GUMBO_TAG_DT});
  if (in(tag, {GUMBO_TAG_TD, GUMBO_TAG_TH})) return in(open, {GUMBO_TAG_TD, GUMBO_TAG_TH});
  if (tag == GUMBO_TAG_TR) return in(open, {GUMBO_TAG_TR, GUMBO_TAG_TD, GUMBO_TAG_TH});
  if (in(tag, {GUMBO_TAG_THEAD, GUMBO_TAG_TBODY, GUMBO_TAG_TFOOT}))
    return in(open, {GUMBO_TAG_THEAD, GUMBO_TAG_TBODY, GUMBO_TAG_TFOOT, GUMBO_TAG_TR, GUMBO_TAG_TD, GUMBO_TAG_TH});
  if (in(tag, {GUMBO_TAG_RB, GUMBO_TAG_RT, GUMBO_TAG_RTC, GUMBO_TAG_RP})) return in(open, {GUMBO_TAG_RB, GUMBO_TAG_RT, GUMBO_TAG_RTC, GUMBO_TAG_RP});
  if (tag == GUMBO_TAG_OPTGROUP) return in(open, {GUMBO_TAG_OPTION, GUMBO_TAG_OPTGROUP});
  return open == tag && (tag == GUMBO_TAG_LI || tag == GUMBO_TAG_OPTION);
}

// The HTML elements that end SVG or MathML content where they start.
bool BreaksOutOfForeign(GumboTag tag) {
  return OneOf(tag, {GUMBO_TAG_B, GUMBO_TAG_BIG, GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_BODY, GUMBO_TAG_BR, GUMBO_TAG_CENTER, GUMBO_TAG_CODE,
                     GUMBO_TAG_DD, GUMBO_TAG_DIV, GUMBO_TAG_DL, GUMBO_TAG_DT, GUMBO_TAG_EM, GUMBO_TAG_EMBED, GUMBO_TAG_H1,
                     GUMBO_TAG_H2, GUMBO_TAG_H3, GUMBO_TAG_H4, GUMBO_TAG_H5, GUMBO_TAG_H6, GUMBO_TAG_HEAD, GUMBO_TAG_HR,
                     GUMBO_TAG_I, GUMBO_TAG_IMG, GUMBO_TAG_LI, GUMBO_TAG_LISTING, GUMBO_TAG_MENU, GUMBO_TAG_META,
                     GUMBO_TAG_NOBR, GUMBO_TAG_OL, GUMBO_TAG_P, GUMBO_TAG_PRE, GUMBO_TAG_RUBY, GUMBO_TAG_S, GUMBO_TAG_SMALL,
                     GUMBO_TAG_SPAN, GUMBO_TAG_STRONG, GUMBO_TAG_STRIKE, GUMBO_TAG_SUB, GUMBO_TAG_SUP, GUMBO_TAG_TABLE,
                     GUMBO_TAG_TT, GUMBO_TAG_U, GUMBO_TAG_UL, GUMBO_TAG_VAR, GUMBO_TAG_FONT});
}

// The SVG and MathML elements whose content is HTML again.
bool HoldsHtml(GumboTag tag) {
  return OneOf(tag, {GUMBO_TAG_FOREIGNOBJECT, GUMBO_TAG_DESC, GUMBO_TAG_TITLE, GUMBO_TAG_MI, GUMBO_TAG_MO, GUMBO_TAG_MN,
                     GUMBO_TAG_MS, GUMBO_TAG_MTEXT, GUMBO_TAG_ANNOTATION_XML});
}

// The HTML elements whose content is text up to their end tag.
bool HoldsText(GumboTag tag) {
  return OneOf(tag, {GUMBO_TAG_SCRIPT, GUMBO_TAG_STYLE, GUMBO_TAG_TEXTAREA, GUMBO_TAG_TITLE, GUMBO_TAG_XMP, GUMBO_TAG_IFRAME,
                     GUMBO_TAG_NOEMBED, GUMBO_TAG_NOFRAMES});
}

}  // namespace

bool NestsTooDeep(std::string_view html) {
  // What is open, as the parser would keep it; where the count cannot
  // follow the parser it keeps an element open that the parser may end.
  enum class Kind { kHtml, kForeign, kForeignHoldingHtml };
  struct Open {
    GumboTag tag;
    std::string_view name;
    Kind kind;
    int levels;  // with those the parser puts in around it
  };
  std::vector<Open> open;
  int depth = 0;
  auto close = [&] {
    depth -= open.back().levels;
    open.pop_back();
  };
  size_t at = 0;
  while ((at = html.find('<', at)) != std::string_view::npos && ++at < html.size()) {
    const bool end = html[at] == '/';
    const size_t name_at = at + (end ? 1 : 0);
    if (name_at >= html.size() || !IsAsciiAlpha(html[name_at])) continue;  // text, a comment or a declaration
    size_t name_end = name_at;
    while (name_end < html.size() && !IsHtmlSpace(html[name_end]) && html[name_end] != '/' && html[name_end] != '>') ++name_end;
    const std::string_view name = html.substr(name_at, name_end - name_at);
    const GumboTag tag = gumbo_tagn_enum(name.data(), static_cast<unsigned>(name.size()));
    StartTagReader tag_reader(html, name_end);
    tag_reader.Finish();
    at = tag_reader.End();
    const bool self_closing = tag_reader.SelfClosing();
    const bool in_html = open.empty() || open.back().kind != Kind::kForeign;
    if (end) {
      // The elements that end implicitly end with their parent.
      size_t k = open.size();
      for (size_t seen = 0; k > 0 && seen < 8; ++seen, --k) {
        const Open& o = open[k - 1];
        if (o.tag == tag && (tag != GUMBO_TAG_UNKNOWN || EqualIgnoringAsciiCase(o.name, name))) {
          while (open.size() >= k) close();
          break;
        }
        if (o.kind != Kind::kHtml || !EndsImplicitly(o.tag)) break;
      }
      continue;
    }
    Kind kind = Kind::kHtml;
    if (!in_html && !BreaksOutOfForeign(tag)) kind = HoldsHtml(tag) ? Kind::kForeignHoldingHtml : Kind::kForeign;
    if (tag == GUMBO_TAG_SVG || tag == GUMBO_TAG_MATH) kind = Kind::kForeign;
    if (kind == Kind::kHtml) {
      if (IsVoidElement(tag) || OneOf(tag, {GUMBO_TAG_HTML, GUMBO_TAG_HEAD, GUMBO_TAG_BODY})) continue;
      if (tag == GUMBO_TAG_PLAINTEXT) return false;
      if (HoldsText(tag)) {
        // Its text ends at the first end tag of its name, or sooner.
        const std::string closing = "</" + std::string(name);
        size_t stop = at;
        while ((stop = html.find("</", stop)) != std::string_view::npos && !EqualIgnoringAsciiCase(html.substr(stop, closing.size()), closing)) stop += 2;
        if (stop == std::string_view::npos) return false;
        at = stop;
        continue;
      }
      while (!open.empty() && open.back().kind == Kind::kHtml && Ends(tag, open.back().tag)) close();
    } else if (self_closing) {
      continue;
    }
    // A cell outside a row gets a row and a row group, a row outside a
    // group gets a group.
    const GumboTag parent = open.empty() || kind != Kind::kHtml ? GUMBO_TAG_LAST : open.back().tag;
    int levels = 1;
    if (OneOf(tag, {GUMBO_TAG_TD, GUMBO_TAG_TH}) && parent != GUMBO_TAG_TR) levels = parent == GUMBO_TAG_TBODY || parent == GUMBO_TAG_THEAD || parent == GUMBO_TAG_TFOOT ? 2 : 3;
    if (tag == GUMBO_TAG_TR && !OneOf(parent, {GUMBO_TAG_TBODY, GUMBO_TAG_THEAD, GUMBO_TAG_TFOOT})) levels = 2;
    open.push_back({tag, name, kind, levels});
    depth += levels;
    if (depth > kMaxHtmlSourceDepth) return true;
  }
  return false;
}

}  // namespace pomeli2::exchange
