// Reading OPML outlines (expat), and bookmark files and the lists of web
// pages as the HTML standard's parser builds them (gumbo).
#include <expat.h>

#include <algorithm>
#include <cstring>

#include "exchange/import_sources.h"
#include "exchange/text_forms.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2::exchange::sources {

// ---------------------------------------------------------------- OPML

namespace {

// Separates a namespace from a local name in the names expat reports.
constexpr char kNamespaceSeparator = '\x01';

// Many OPML files in use hold a bare "&" (an unescaped link query); an XML
// parser refuses it, so it is written as the reference it stands for.
std::string BareAmpersandsEscaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] != '&') continue;
    size_t k = i + 1;
    if (k < text.size() && text[k] == '#') {
      ++k;
      bool hex = k < text.size() && (text[k] == 'x' || text[k] == 'X');
      if (hex) ++k;
      size_t digits = k;
      while (k < text.size() && (hex ? IsAsciiHexDigit(text[k]) : IsAsciiDigit(text[k]))) ++k;
      if (k == digits) k = i + 1;
    } else {
      while (k < text.size() && (IsAsciiAlnum(text[k]) || text[k] == '_' || text[k] == '.' || text[k] == '-')) ++k;
    }
    if (k == i + 1 || k >= text.size() || text[k] != ';') out += "amp;";
  }
  return out;
}

class OpmlReader {
 public:
  explicit OpmlReader(std::string_view text) : text_(BareAmpersandsEscaped(text)) {}

  Source Read() {
    parser_ = XML_ParserCreateNS("UTF-8", kNamespaceSeparator);
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, &OpmlReader::OnStart, &OpmlReader::OnEnd);
    XML_SetCharacterDataHandler(parser_, &OpmlReader::OnText);
    const bool parsed = XML_Parse(parser_, text_.data(), static_cast<int>(text_.size()), XML_TRUE) == XML_STATUS_OK;
    if (!parsed && !src_.problem) ReportParserError();
    XML_ParserFree(parser_);
    if (!src_.problem && !body_) src_.problem = Problem(ImportProblem::kMalformed, 0, sj("<body>がありません"));
    return std::move(src_);
  }

 private:
  static void OnStart(void* self, const XML_Char* name, const XML_Char** attributes) {
    static_cast<OpmlReader*>(self)->Start(name, attributes);
  }
  static void OnEnd(void* self, const XML_Char*) {
    auto* reader = static_cast<OpmlReader*>(self);
    // expat still ends an empty element whose start stopped the parse.
    if (reader->open_.empty()) return;
    if (reader->open_.back().name == "outline") --reader->outline_depth_;
    reader->open_.pop_back();
  }
  static void OnText(void* self, const XML_Char* text, int length) {
    auto* reader = static_cast<OpmlReader*>(self);
    if (reader->open_.size() == 3 && reader->open_[1].name == "head" && reader->open_[2].name == "title")
      reader->title_.append(text, static_cast<size_t>(length));
  }

  int Line() const { return static_cast<int>(XML_GetCurrentLineNumber(parser_)); }

  void Stop(const char* what) {
    src_.problem = Problem(ImportProblem::kMalformed, Line(), sj(what));
    XML_StopParser(parser_, XML_FALSE);
  }

  void Start(std::string_view qualified, const XML_Char** attributes) {
    // A file may put its elements in a default namespace: they are known
    // by their local names.
    const std::string name(qualified.substr(qualified.rfind(kNamespaceSeparator) + 1));
    const std::string parent = open_.empty() ? "" : open_.back().name;
    if (open_.empty() && name != "opml") return Stop("最初の要素が<opml>ではありません");
    if (name == "body") body_ = true;
    if (name == "outline") {
      if (parent != "body" && parent != "outline") return Stop("<outline>が<body>の外にあります");
      Outline(attributes);
      ++outline_depth_;
    }
    open_.push_back({name, Line()});
    if (parent == "head" && name == "title") title_.clear();
  }

  void Outline(const XML_Char** attributes) {
    SourceItem item;
    item.level = outline_depth_;
    const char *text = nullptr, *title = nullptr, *url = nullptr, *html_url = nullptr, *xml_url = nullptr;
    const std::string target = std::string(kOpmlNamespace) + kNamespaceSeparator + "target";
    const std::string open = std::string(kOpmlNamespace) + kNamespaceSeparator + "open";
    for (const XML_Char** a = attributes; *a; a += 2) {
      const std::string_view name = a[0];
      if (name == "text") text = a[1];
      if (name == "title") title = a[1];
      if (name == "url") url = a[1];
      if (name == "htmlUrl") html_url = a[1];
      // A feed without a site address is reached through the feed.
      if (name == "xmlUrl") xml_url = a[1];
      if (name == target) item.target = a[1];
      if (name == open) item.open = a[1];
    }
    if (!text) text = title;
    item.title = text ? TitleOfText(text) : std::string();
    const char* link = url ? url : html_url ? html_url : xml_url;
    if (link) item.link = link;
    src_.items.push_back(std::move(item));
  }

  void ReportParserError() {
    const XML_Error code = XML_GetErrorCode(parser_);
    int line = Line();
    int column = static_cast<int>(XML_GetCurrentColumnNumber(parser_)) + 1;
    std::string what;
    if (code == XML_ERROR_TAG_MISMATCH && !open_.empty()) {
      // expat stands at the end tag: name it and the element it does not close.
      size_t at = text_.rfind("</", static_cast<size_t>(std::max<XML_Index>(0, XML_GetCurrentByteIndex(parser_))));
      if (at == std::string::npos) at = 0;
      column = static_cast<int>(at - (text_.rfind('\n', at) == std::string::npos ? 0 : text_.rfind('\n', at) + 1)) + 1;
      size_t end = text_.find_first_of(" \t\r\n>", at);
      std::string tag = text_.substr(at, end == std::string::npos ? std::string::npos : end - at);
      what = sj("終了タグ") + tag + ">" + sj("が<") + open_.back().name + sj(">と対応しません");
    } else if ((code == XML_ERROR_NO_ELEMENTS || code == XML_ERROR_UNCLOSED_TOKEN) && !open_.empty()) {
      // The end of the file: the element left open is where the fault is.
      line = open_.back().line;
      column = 0;
      what = "<" + open_.back().name + sj(">が閉じていません");
    } else if (code == XML_ERROR_JUNK_AFTER_DOC_ELEMENT) {
      what = sj("</opml>の後に要素があります");
    } else {
      what = sj("XMLの誤り：") + XML_ErrorString(code);
    }
    src_.problem = Problem(ImportProblem::kMalformed, line, what, column);
  }

  struct Open {
    std::string name;
    int line;
  };

  std::string text_;
  XML_Parser parser_ = nullptr;
  Source src_;
  std::vector<Open> open_;
  std::string title_;
  int outline_depth_ = 0;
  bool body_ = false;

 public:
  std::string Title() const { return title_; }
};

}  // namespace

Source ReadOpml(std::string_view text) {
  OpmlReader reader(text);
  Source src = reader.Read();
  if (!src.problem) src.page_title = TitleOfText(reader.Title());
  return src;
}

// ---------------------------------------------------------------- bookmarks

namespace {

const GumboVector* ElementChildren(const GumboNode* node) {
  return node->type == GUMBO_NODE_ELEMENT ? &node->v.element.children : nullptr;
}

const GumboNode* ChildAt(const GumboVector& v, unsigned i) { return static_cast<const GumboNode*>(v.data[i]); }

// The folders (<H3>) and links (<A>) with the number of lists (<DL>) each
// stands in, in document order.
void Bookmarks(const GumboNode* node, int lists, Source& src, int depth = 0) {
  const GumboVector* children = ElementChildren(node);
  if (!children || depth >= kMaxHtmlDepth) return;
  for (unsigned i = 0; i < children->length; ++i) {
    const GumboNode* child = ChildAt(*children, i);
    if (IsElement(child, GUMBO_TAG_A) || IsElement(child, GUMBO_TAG_H3)) {
      SourceItem item;
      item.level = lists;
      item.title = SafeTitle(child);
      const char* link = AttributeOf(child, IsElement(child, GUMBO_TAG_A) ? "href" : AsciiLower(kFolderLinkAttribute).c_str());
      if (link) item.link = link;
      src.items.push_back(std::move(item));
      continue;
    }
    Bookmarks(child, lists + (IsElement(child, GUMBO_TAG_DL) ? 1 : 0), src, depth + 1);
  }
}

// Browsers write each link's favicon into the file as a data: URL, most
// of a large file's bytes and nothing a menu keeps: the values go before
// the parse (ICON="" stays). Titles in these files have their quotes as
// references, so the text " ICON="data:" stands only in a tag.
std::string WithoutFavicons(std::string_view text) {
  static constexpr std::string_view kIcon = " ICON=\"data:";
  std::string out;
  out.reserve(text.size());
  size_t from = 0;
  for (size_t at = text.find(kIcon); at != std::string_view::npos; at = text.find(kIcon, from)) {
    size_t end = text.find('"', at + kIcon.size());
    if (end == std::string_view::npos) break;
    out.append(text.substr(from, at + kIcon.size() - 5 - from));
    from = end;
  }
  out.append(text.substr(from));
  return out;
}

}  // namespace

Source ReadBookmarks(std::string_view text) {
  const HtmlTree page(WithoutFavicons(text));
  Source src;
  if (const GumboNode* title = FindElement(page.Root(), GUMBO_TAG_TITLE)) src.page_title = EscapeHtml(TextOf(title));
  Bookmarks(page.Root(), 0, src);
  // The outermost list is the top level, whether the exporter wrote it or
  // not (Safari leaves it out).
  int top = src.items.empty() ? 0 : std::min_element(src.items.begin(), src.items.end(), [](const auto& a, const auto& b) {
                                       return a.level < b.level;
                                     })->level;
  for (SourceItem& item : src.items) item.level -= top;
  return src;
}

// ---------------------------------------------------------------- web pages

namespace {

bool IsList(const GumboNode* node) { return IsElement(node, GUMBO_TAG_UL) || IsElement(node, GUMBO_TAG_OL); }

// The lists below `node` that no other list below it holds.
void OutermostLists(const GumboNode* node, std::vector<const GumboNode*>& lists, int depth = 0) {
  const GumboVector* children = ElementChildren(node);
  for (unsigned i = 0; children && depth < kMaxHtmlDepth && i < children->length; ++i) {
    const GumboNode* child = ChildAt(*children, i);
    if (IsList(child))
      lists.push_back(child);
    else
      OutermostLists(child, lists, depth + 1);
  }
}

// The first link (<a href>) below `node` that no list below it holds.
const GumboNode* OwnLink(const GumboNode* node, int depth = 0) {
  const GumboVector* children = ElementChildren(node);
  for (unsigned i = 0; children && depth < kMaxHtmlDepth && i < children->length; ++i) {
    const GumboNode* child = ChildAt(*children, i);
    if (IsList(child)) continue;
    if (IsElement(child, GUMBO_TAG_A) && AttributeOf(child, "href")) return child;
    if (const GumboNode* link = OwnLink(child, depth + 1)) return link;
  }
  return nullptr;
}

bool HoldsLink(const GumboNode* node, int depth = 0) {
  if (IsElement(node, GUMBO_TAG_A) && AttributeOf(node, "href")) return true;
  const GumboVector* children = ElementChildren(node);
  for (unsigned i = 0; children && depth < kMaxHtmlDepth && i < children->length; ++i)
    if (HoldsLink(ChildAt(*children, i), depth + 1)) return true;
  return false;
}

void List(const GumboNode* list, int level, Source& src);

void Item(const GumboNode* li, int level, Source& src) {
  SourceItem item;
  item.level = level;
  std::vector<const GumboNode*> sublists;
  OutermostLists(li, sublists);
  if (const GumboNode* link = OwnLink(li)) {
    item.link = AttributeOf(link, "href");
    item.title = Collapse(SafeTitle(link));
  } else {
    // The item's own text: what comes before its first list.
    const GumboNode* stop = nullptr;
    const GumboVector& children = li->v.element.children;
    for (unsigned i = 0; i < children.length && !stop; ++i)
      if (IsList(ChildAt(children, i))) stop = ChildAt(children, i);
    item.title = Collapse(SafeTitle(li, stop));
  }
  src.items.push_back(std::move(item));
  for (const GumboNode* sublist : sublists) List(sublist, level + 1, src);
}

void List(const GumboNode* list, int level, Source& src) {
  if (level >= kMaxHtmlDepth) return;
  const GumboVector& children = list->v.element.children;
  for (unsigned i = 0; i < children.length; ++i) {
    const GumboNode* child = ChildAt(children, i);
    if (IsElement(child, GUMBO_TAG_LI))
      Item(child, level, src);
    else if (IsList(child))
      List(child, level + 1, src);
  }
}

}  // namespace

Source ReadWebPage(const HtmlTree& page) {
  Source src;
  if (const GumboNode* title = FindElement(page.Root(), GUMBO_TAG_TITLE)) src.page_title = Collapse(EscapeHtml(TextOf(title)));
  // The navigation's lists, else the first list that holds a link.
  std::vector<const GumboNode*> lists;
  if (const GumboNode* nav = FindElement(page.Root(), GUMBO_TAG_NAV)) OutermostLists(nav, lists);
  for (const GumboNode* list : lists) List(list, 0, src);
  if (src.items.empty()) {
    lists.clear();
    OutermostLists(page.Root(), lists);
    for (const GumboNode* list : lists) {
      if (!HoldsLink(list)) continue;
      List(list, 0, src);
      break;
    }
  }
  if (src.items.empty()) src.problem = Problem(ImportProblem::kNoList, 0);
  return src;
}

}  // namespace pomeli2::exchange::sources
