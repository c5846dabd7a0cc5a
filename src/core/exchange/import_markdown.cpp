// Reading Markdown lists as GitHub reads them (cmark-gfm: CommonMark with
// the autolink, task list and strikethrough extensions).
#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <cstdlib>
#include <memory>
#include <mutex>

#include "exchange/import_sources.h"
#include "exchange/text_forms.h"

namespace pomeli2::exchange::sources {
namespace {

bool Written(cmark_node* node, int depth = 0);

class Markdown {
 public:
  explicit Markdown(std::string_view text) {
    static std::once_flag registered;
    std::call_once(registered, cmark_gfm_core_extensions_ensure_registered);
    parser_ = cmark_parser_new(CMARK_OPT_DEFAULT);
    for (const char* name : {"autolink", "tasklist", "strikethrough"})
      if (cmark_syntax_extension* ext = cmark_find_syntax_extension(name)) cmark_parser_attach_syntax_extension(parser_, ext);
    cmark_parser_feed(parser_, text.data(), text.size());
    document_ = cmark_parser_finish(parser_);
  }
  ~Markdown() {
    cmark_node_free(document_);
    cmark_parser_free(parser_);
  }
  Markdown(const Markdown&) = delete;
  Markdown& operator=(const Markdown&) = delete;

  cmark_node* Document() const { return document_; }

  // The HTML of a node's inline content as the page would show it, with
  // only the markup a title may keep.
  std::string Html(cmark_node* node) const {
    std::string html;
    for (cmark_node* child = cmark_node_first_child(node); child; child = cmark_node_next(child)) {
      // Raw HTML is rendered as written; the title's own filter decides.
      std::unique_ptr<char, decltype(&std::free)> rendered(
          cmark_render_html(child, CMARK_OPT_UNSAFE, cmark_parser_get_syntax_extensions(parser_)), &std::free);
      html += rendered.get();
    }
    // Markdown's own markup (emphasis, code, strikethrough, breaks) is safe
    // as the renderer writes it; raw HTML, links and images go through the
    // title's filter.
    return Written(node) ? SafeTitleOfHtml(html) : html;
  }

 private:
  cmark_parser* parser_;
  cmark_node* document_;
};

// Whether a node holds raw HTML, a link or an image.
bool Written(cmark_node* node, int depth) {
  // Markup nested beyond what a parse is walked to is not taken as safe.
  if (depth >= kMaxHtmlDepth) return true;
  for (cmark_node* child = cmark_node_first_child(node); child; child = cmark_node_next(child)) {
    cmark_node_type type = cmark_node_get_type(child);
    if (type == CMARK_NODE_HTML_INLINE || type == CMARK_NODE_LINK || type == CMARK_NODE_IMAGE || Written(child, depth + 1)) return true;
  }
  return false;
}

// A link whose text is its own address: a bare URL the autolink extension
// (or an <...> autolink) made a link of.
bool IsBareUrl(cmark_node* link) {
  cmark_node* text = cmark_node_first_child(link);
  if (!text || cmark_node_next(text) || cmark_node_get_type(text) != CMARK_NODE_TEXT) return false;
  std::string_view shown = cmark_node_get_literal(text), url = cmark_node_get_url(link);
  return url == shown || (url.size() > shown.size() && url.substr(url.size() - shown.size()) == shown &&
                          (url.rfind("http://", 0) == 0 || url.rfind("mailto:", 0) == 0));
}

// The first link in `node`'s inline content that is (or is not) a bare URL.
cmark_node* FirstLink(cmark_node* node, bool bare, int depth = 0) {
  for (cmark_node* child = cmark_node_first_child(node); child && depth < kMaxHtmlDepth; child = cmark_node_next(child)) {
    if (cmark_node_get_type(child) == CMARK_NODE_LINK && IsBareUrl(child) == bare) return child;
    if (cmark_node* inner = FirstLink(child, bare, depth + 1)) return inner;
  }
  return nullptr;
}

}  // namespace

Source ReadMarkdown(std::string_view text) {
  Source src;
  Markdown md(text);
  cmark_iter* iter = cmark_iter_new(md.Document());
  int open_items = 0;  // the items around the node
  for (cmark_event_type ev; (ev = cmark_iter_next(iter)) != CMARK_EVENT_DONE;) {
    cmark_node* node = cmark_iter_get_node(iter);
    cmark_node_type type = cmark_node_get_type(node);
    if (ev == CMARK_EVENT_EXIT && type == CMARK_NODE_ITEM) --open_items;
    if (ev != CMARK_EVENT_ENTER) continue;
    // The page's title: a first-level heading before the first item.
    if (type == CMARK_NODE_HEADING && src.items.empty() && src.page_title.empty() && cmark_node_get_heading_level(node) == 1 &&
        cmark_node_parent(node) == md.Document())
      src.page_title = md.Html(node);
    if (type != CMARK_NODE_ITEM) continue;
    SourceItem item;
    item.level = open_items++;
    // The item's text is its first paragraph or heading.
    cmark_node* first = cmark_node_first_child(node);
    cmark_node_type first_type = first ? cmark_node_get_type(first) : CMARK_NODE_NONE;
    if (first_type == CMARK_NODE_PARAGRAPH || first_type == CMARK_NODE_HEADING) {
      if (cmark_node* link = FirstLink(first, false)) {
        item.title = md.Html(link);
        item.link = cmark_node_get_url(link);
      } else {
        item.title = md.Html(first);
        if (cmark_node* bare = FirstLink(first, true)) item.link = cmark_node_get_url(bare);
      }
    }
    src.items.push_back(std::move(item));
  }
  cmark_iter_free(iter);
  return src;
}

}  // namespace pomeli2::exchange::sources
