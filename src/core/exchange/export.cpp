// Writing a menu as JSON, OPML, a bookmark file or a Markdown list.
#include <vector>

#include "exchange/exchange.h"
#include "exchange/html_tree.h"
#include "exchange/json.h"
#include "exchange/shown_text.h"
#include "exchange/text_forms.h"
#include "project/project_file.h"
#include "text/ascii.h"
#include "text/sjis.h"

namespace pomeli2 {

using namespace exchange;

std::optional<ExchangeFormat> ExportFormatOf(std::string_view file_name) {
  size_t dot = file_name.rfind('.');
  if (dot == std::string_view::npos || file_name.find('/', dot) != std::string_view::npos) return std::nullopt;
  const std::string ext = AsciiLower(file_name.substr(dot + 1));
  if (ext == "json") return ExchangeFormat::kJson;
  if (ext == "opml") return ExchangeFormat::kOpml;
  if (ext == "html" || ext == "htm") return ExchangeFormat::kBookmarks;
  if (ext == "md") return ExchangeFormat::kMarkdown;
  return std::nullopt;
}

namespace {

struct Entry {
  NodeId node;
  int level;  // 0 for the root's children
};

// The root's descendants in pre-order with their levels.
std::vector<Entry> Entries(const MenuTree& tree, NodeId root) {
  std::vector<Entry> out;
  if (root == kNoNode) return out;
  std::vector<int> level_of(static_cast<size_t>(tree.IdsGiven()), -1);
  tree.ForEachPreOrder(root, [&](NodeId n) {
    NodeId parent = tree.Parent(n);
    int level = parent == kNoNode || parent == root ? 0 : level_of[static_cast<size_t>(parent)] + 1;
    level_of[static_cast<size_t>(n)] = level;
    if (n != root) out.push_back({n, level});
  });
  return out;
}

// Calls `close(level)` for every level that ends after entry `i`, innermost
// first, down to the next entry's level.
template <typename Close>
void CloseAfter(const std::vector<Entry>& entries, size_t i, Close&& close) {
  int next = i + 1 < entries.size() ? entries[i + 1].level : 0;
  for (int level = entries[i].level - 1; level >= next; --level) close(level);
}

std::string Spaces(int n) { return std::string(static_cast<size_t>(n), ' '); }

// A title as the page shows it; an image title keeps its "file:" form with
// its text shown.
std::string ExportTitle(std::string_view title) {
  return ShownText(TitleFromProject(title), TitleMarkup::kParsed, TitlePicture::kKept);
}

// ---------------------------------------------------------------- JSON

// A stored text: a string when it goes through Unicode and back unchanged,
// else its bytes, so that nothing is lost.
std::string JsonText(std::string_view sjis) {
  auto utf8 = SjisToUtf8(sjis);
  if (utf8 && Utf8ToSjis(*utf8) == std::string(sjis)) return JsonString(*utf8);
  static const char* digits = "0123456789abcdef";
  std::string hex;
  for (char c : sjis) {
    hex += digits[static_cast<unsigned char>(c) >> 4];
    hex += digits[static_cast<unsigned char>(c) & 0xF];
  }
  return "{\"cp932\": \"" + hex + "\"}";
}

std::string JsonOfItem(const MenuItem& item, const std::string& title) {
  std::string out = "\"title\": " + JsonText(title);
  out += ", \"bg_color\": " + JsonText(item.bg_color);
  out += ", \"style\": " + JsonText(item.style);
  out += ", \"font_size\": " + JsonText(item.font_size);
  out += ", \"link\": " + JsonText(item.link);
  out += ", \"other_window\": ";
  out += CodeOf(item.other_window);
  out += ", \"target\": " + JsonText(item.target);
  out += ", \"icon\": " + JsonText(item.icon);
  out += ", \"open\": " + JsonText(item.open);
  return out;
}

std::string ExportJson(const PageSettings& settings, const MenuModel& menu) {
  std::string out = "{\n  \"format\": \"pomeli2-menu\",\n  \"version\": 1,\n  \"settings\": {\n";
  // As the project file: a newer key only when it says something.
  std::vector<std::pair<std::string_view, std::string>> values;
  for (const ProjectKey& k : ProjectKeys())
    if (std::string value = SettingValue(settings, k); !k.Omitted(value))
      values.emplace_back(std::string_view(k.key).substr(1, std::string_view(k.key).size() - 2), std::move(value));
  for (size_t i = 0; i < values.size(); ++i) {
    out += "    " + JsonString(values[i].first) + ": " + JsonText(values[i].second);
    out += i + 1 < values.size() ? ",\n" : "\n";
  }
  out += "  },\n  \"menu\": ";
  const MenuTree& tree = menu.tree;
  NodeId root = menu.Root();
  if (root == kNoNode) return out + "null\n}\n";
  out += "{" + JsonOfItem(tree.Item(root), menu.root_title);
  std::vector<Entry> entries = Entries(tree, root);
  if (entries.empty()) return out + "}\n}\n";
  out += ", \"children\": [\n";
  auto close = [&](int level) { out += "\n" + Spaces(4 + 2 * level) + "]}"; };
  for (size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    out += Spaces(4 + 2 * e.level) + "{" + JsonOfItem(tree.Item(e.node), tree.Item(e.node).title);
    if (tree.HasChildren(e.node)) {
      out += ", \"children\": [\n";
      continue;
    }
    out += "}";
    CloseAfter(entries, i, close);
    if (i + 1 < entries.size()) out += ",\n";
  }
  return out + "\n  ]}\n}\n";
}

// ---------------------------------------------------------------- OPML

// XML 1.0 cannot hold the other control characters, not even as references.
std::string XmlAttribute(std::string_view text) {
  std::string out = EscapeAttribute(text);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return out;
}

std::string ExportOpml(const PageSettings& settings, const MenuModel& menu) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<opml version=\"2.0\" xmlns:pomeli2=\"" + std::string(kOpmlNamespace) + "\">\n";
  out += "  <head>\n    <title>" + XmlAttribute(ExportTitle(settings.Title)) + "</title>\n  </head>\n  <body>\n";
  const MenuTree& tree = menu.tree;
  std::vector<Entry> entries = Entries(tree, menu.Root());
  auto close = [&](int level) { out += Spaces(4 + 2 * level) + "</outline>\n"; };
  for (size_t i = 0; i < entries.size(); ++i) {
    const MenuItem& item = tree.Item(entries[i].node);
    out += Spaces(4 + 2 * entries[i].level) + "<outline text=\"" + XmlAttribute(ExportTitle(item.title)) + "\"";
    if (!item.link.empty()) out += " type=\"link\" url=\"" + XmlAttribute(LinkFromProject(item.link)) + "\"";
    out += " pomeli2:target=\"" + XmlAttribute(LinkFromProject(item.target)) + "\"";
    out += " pomeli2:open=\"" + XmlAttribute(LinkFromProject(item.open)) + "\"";
    if (tree.HasChildren(entries[i].node)) {
      out += ">\n";
      continue;
    }
    out += "/>\n";
    CloseAfter(entries, i, close);
  }
  return out + "  </body>\n</opml>\n";
}

// ---------------------------------------------------------------- bookmarks

std::string ExportBookmarks(const PageSettings& settings, const MenuModel& menu) {
  const std::string title = EscapeHtml(ExportTitle(settings.Title));
  std::string out =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
      "<!-- This is an automatically generated file.\n"
      "     It will be read and overwritten.\n"
      "     DO NOT EDIT! -->\n"
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n";
  out += "<TITLE>" + title + "</TITLE>\n<H1>" + title + "</H1>\n<DL><p>\n";
  const MenuTree& tree = menu.tree;
  std::vector<Entry> entries = Entries(tree, menu.Root());
  auto close = [&](int level) { out += Spaces(4 + 4 * level) + "</DL><p>\n"; };
  for (size_t i = 0; i < entries.size(); ++i) {
    const MenuItem& item = tree.Item(entries[i].node);
    const std::string indent = Spaces(4 + 4 * entries[i].level);
    const std::string link = EscapeAttribute(LinkFromProject(item.link));
    // Titles are HTML already, written whole so that no markup runs on into
    // the next item. An item without a link is an empty folder, which every
    // browser keeps.
    const std::string item_title = BalancedHtml(TitleFromProject(item.title));
    if (tree.HasChildren(entries[i].node) || item.link.empty()) {
      out += indent + "<DT><H3";
      if (!item.link.empty()) out += std::string(" ") + kFolderLinkAttribute + "=\"" + link + "\"";
      out += ">" + item_title + "</H3>\n" + indent + "<DL><p>\n";
      if (tree.HasChildren(entries[i].node)) continue;
      out += indent + "</DL><p>\n";
    } else {
      out += indent + "<DT><A HREF=\"" + link + "\">" + item_title + "</A>\n";
    }
    CloseAfter(entries, i, close);
  }
  return out + "</DL><p>\n";
}

// ---------------------------------------------------------------- Markdown

// Text that a Markdown reader gives back as it is: its punctuation escaped,
// spaces at its ends as references (a reader would drop them).
std::string MarkdownText(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    bool end = i == 0 || i + 1 == text.size();
    if (c == ' ' && end) {
      out += "&#32;";
      continue;
    }
    if (std::string_view("\\`*_[]<>&#|!~").find(c) != std::string_view::npos ||
        (i == 0 && (c == '-' || c == '+' || c == '=')))
      out += '\\';
    out += c;
  }
  return out;
}

// A link destination that a reader gives back as it is; spaces at its ends,
// which readers drop, as references.
std::string MarkdownLink(std::string_view link) {
  bool angle = link.find_first_of(" ()<>") != std::string_view::npos;
  std::string out = angle ? "<" : "";
  for (size_t i = 0; i < link.size(); ++i) {
    char c = link[i];
    if (c == ' ' && (link.find_first_not_of(' ') > i || link.find_last_not_of(' ') < i)) {
      out += "&#32;";
      continue;
    }
    if (c == '\\' || c == '&' || (angle && (c == '<' || c == '>'))) out += '\\';
    out += c;
  }
  return angle ? out + ">" : out;
}

std::string ExportMarkdown(const PageSettings& settings, const MenuModel& menu) {
  std::string out;
  std::string title = ExportTitle(settings.Title);
  if (!title.empty()) out += "# " + MarkdownText(title) + "\n\n";
  const MenuTree& tree = menu.tree;
  for (const Entry& e : Entries(tree, menu.Root())) {
    const MenuItem& item = tree.Item(e.node);
    out += Spaces(2 * e.level) + "- ";
    std::string text = MarkdownText(ExportTitle(item.title));
    // An empty item could not interrupt the text of the item before it: an
    // empty comment stands in its place.
    if (item.link.empty())
      out += text.empty() ? "<!-- -->" : text;
    else
      out += "[" + text + "](" + MarkdownLink(LinkFromProject(item.link)) + ")";
    out += "\n";
  }
  return out;
}

}  // namespace

std::string ExportMenu(ExchangeFormat format, const PageSettings& settings, const MenuModel& menu) {
  switch (format) {
    case ExchangeFormat::kJson: return ExportJson(settings, menu);
    case ExchangeFormat::kOpml: return ExportOpml(settings, menu);
    case ExchangeFormat::kBookmarks:
    case ExchangeFormat::kWebPage: return ExportBookmarks(settings, menu);
    case ExchangeFormat::kMarkdown: return ExportMarkdown(settings, menu);
  }
  return {};
}

}  // namespace pomeli2
