// Importing a menu: recognising the source and its encoding, reading the
// menu's JSON, and turning any source's items into menu items. The other
// formats' readers are in import_markup.cpp and import_markdown.cpp; what
// they share is in import_sources.cpp, so that they need nothing of this.
#include <algorithm>

#include "exchange/exchange.h"
#include "exchange/import_sources.h"
#include "exchange/json.h"
#include "exchange/text_forms.h"
#include "project/project_file.h"
#include "text/ascii.h"
#include "text/catalogue.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {

using namespace exchange;
using namespace exchange::sources;

namespace {

// ---------------------------------------------------------------- JSON

struct JsonMenu {
  std::optional<ImportProblem> problem;
  PageSettings settings = PageSettings::Initial();
  MenuItem root;
  Clip items;
};

class JsonImport {
 public:
  explicit JsonImport(JsonMenu& out) : out_(out) {}

  // A stored text: a string, or {"cp932": hex} for bytes that are not text.
  std::optional<std::string> Text(const JsonValue* v, bool title) {
    if (!v) return std::string();
    if (v->kind == JsonValue::kString) return title ? TitleToProject(v->text) : LinkToProject(v->text);
    const JsonValue* hex = v->kind == JsonValue::kObject ? v->Member("cp932") : nullptr;
    if (hex && hex->kind == JsonValue::kString && hex->text.size() % 2 == 0) {
      std::string bytes;
      for (size_t i = 0; i < hex->text.size(); i += 2) {
        const char high = hex->text[i], low = hex->text[i + 1];
        if (!IsAsciiHexDigit(high) || !IsAsciiHexDigit(low)) return Fail(v->line);
        bytes += static_cast<char>(AsciiHexValue(high) * 16 + AsciiHexValue(low));
      }
      for (char& c : bytes)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
      return bytes;
    }
    return Fail(v->line);
  }

  std::nullopt_t Fail(int line, const char* what = "JSONの値の型が違います") {
    if (!out_.problem) out_.problem = Problem(ImportProblem::kMalformed, line, sj(what));
    return std::nullopt;
  }

  bool Item(const JsonValue& v, MenuItem& item) {
    if (v.kind != JsonValue::kObject) return Fail(v.line, "JSONのアイテムがオブジェクトではありません"), false;
    struct Field {
      const char* name;
      std::string MenuItem::*text;
    };
    static const Field fields[] = {{"title", &MenuItem::title},   {"bg_color", &MenuItem::bg_color},
                                   {"style", &MenuItem::style},   {"font_size", &MenuItem::font_size},
                                   {"link", &MenuItem::link},     {"target", &MenuItem::target},
                                   {"icon", &MenuItem::icon},     {"open", &MenuItem::open}};
    for (const Field& f : fields) {
      auto value = Text(v.Member(f.name), f.text == &MenuItem::title);
      if (!value) return false;
      item.*f.text = std::move(*value);
    }
    if (const JsonValue* other = v.Member("other_window")) {
      if (other->kind != JsonValue::kNumber && other->kind != JsonValue::kString) return Fail(other->line), false;
      item.other_window = OtherWindowOfCode(other->text);
    }
    return true;
  }

  bool Children(const JsonValue& v, int level) {
    const JsonValue* children = v.Member("children");
    if (!children || children->kind == JsonValue::kNull) return true;
    if (children->kind != JsonValue::kArray) return Fail(children->line), false;
    for (const JsonValue& child : children->items) {
      ClipItem c{level, {}};
      if (!Item(child, c.item)) return false;
      out_.items.push_back(std::move(c));
      if (!Children(child, level + 1)) return false;
    }
    return true;
  }

  void Read(const JsonValue& doc) {
    const JsonValue* settings = doc.Member("settings");
    const JsonValue* menu = doc.Member("menu");
    if (settings && settings->kind != JsonValue::kObject) return (void)Fail(settings->line);
    if (settings) {
      for (const ProjectKey& k : ProjectKeys()) {
        std::string_view key = k.key;
        const JsonValue* v = settings->Member(key.substr(1, key.size() - 2));
        if (!v) continue;
        auto value = Text(v, k.text == &PageSettings::Title);
        if (!value) return;
        StoreSettingValue(out_.settings, k, *value);
      }
    }
    if (!menu || menu->kind == JsonValue::kNull) return;
    if (Item(*menu, out_.root)) Children(*menu, 0);
  }

 private:
  JsonMenu& out_;
};

// ---------------------------------------------------------------- sources

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && AsciiLower(text.substr(0, prefix.size())) == prefix;
}

bool EndsWithNoCase(std::string_view name, std::string_view suffix) {
  return name.size() >= suffix.size() && AsciiLower(name.substr(name.size() - suffix.size())) == suffix;
}

// A byte order mark declares the encoding: the text after it in UTF-8, or
// nothing when there is none.
std::optional<std::string> AfterByteOrderMark(std::string_view bytes, std::optional<ImportProblem>& problem) {
  const char* charset = nullptr;
  size_t length = 0;
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) return std::string(bytes.substr(3));
  if (bytes.rfind("\xFF\xFE", 0) == 0) charset = "UTF-16LE", length = 2;
  if (bytes.rfind("\xFE\xFF", 0) == 0) charset = "UTF-16BE", length = 2;
  if (!charset) return std::nullopt;
  auto text = CharsetToUtf8(bytes.substr(length), charset);
  if (!text) problem = Problem(ImportProblem::kBadEncoding, 0, charset);
  return text;
}

// The start of an XML document whose root element is <opml>: white space,
// the declaration, comments, processing instructions and a doctype first.
bool IsOpml(std::string_view text) {
  size_t at = 0;
  for (;;) {
    at = text.find_first_not_of(" \t\r\n", at);
    if (at == std::string_view::npos) return false;
    std::string_view rest = text.substr(at);
    std::string_view close = rest.rfind("<?", 0) == 0 ? "?>" : rest.rfind("<!--", 0) == 0 ? "-->" : rest.rfind("<!", 0) == 0 ? ">" : "";
    if (close.empty()) break;
    size_t end = text.find(close, at + 2);
    if (end == std::string_view::npos) return false;
    at = end + close.size();
  }
  return text.compare(at, 5, "<opml") == 0 && at + 5 < text.size() &&
         std::string_view(" \t\r\n>/").find(text[at + 5]) != std::string_view::npos;
}

// The formats a source's first bytes or its name decide.
std::optional<ExchangeFormat> RecogniseByStart(std::string_view text, std::string_view file_name) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return std::nullopt;
  if (text[first] == '{') return ExchangeFormat::kJson;
  if (IsOpml(text)) return ExchangeFormat::kOpml;
  if (StartsWithNoCase(text.substr(first), "<!doctype netscape-bookmark-file-1")) return ExchangeFormat::kBookmarks;
  for (const char* ext : {".md", ".markdown"})
    if (EndsWithNoCase(file_name, ext)) return ExchangeFormat::kMarkdown;
  return std::nullopt;
}

// The character set an XML declaration or an HTML <meta> names, lower case,
// or "".
std::string DeclaredCharset(std::string_view text, bool xml) {
  std::string head = AsciiLower(text.substr(0, 4096));
  size_t at = std::string::npos;
  if (xml) {
    size_t decl_end = head.find("?>");
    size_t enc = head.find("encoding");
    if (head.rfind("<?xml", 0) == 0 && enc != std::string::npos && enc < decl_end) at = head.find_first_of("\"'", enc);
  } else {
    for (size_t meta = head.find("<meta"); meta != std::string::npos && at == std::string::npos; meta = head.find("<meta", meta + 5)) {
      size_t cs = head.find("charset=", meta);
      if (cs != std::string::npos && cs < head.find('>', meta)) at = cs + 7;
    }
  }
  if (at == std::string::npos) return {};
  ++at;
  size_t end = head.find_first_of("\"' ;>", at);
  return head.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

std::optional<ImportProblem> ToUtf8(std::string& text, const std::string& charset) {
  if (!charset.empty() && charset != "utf-8" && charset != "utf8") {
    auto converted = CharsetToUtf8(text, charset);
    if (!converted) return Problem(ImportProblem::kBadEncoding, 0, charset);
    text = std::move(*converted);
  }
  if (auto bad = InvalidUtf8At(text)) {
    std::string_view before = std::string_view(text).substr(0, *bad);
    return Problem(ImportProblem::kBadEncoding, 1 + static_cast<int>(std::count(before.begin(), before.end(), '\n')), "UTF-8");
  }
  return std::nullopt;
}

// A document that names itself HTML: a doctype, or an <html>, <head> or
// <body> tag of its own rather than one the parser put in.
bool IsHtmlDocument(const HtmlTree& page) {
  if (page.Document()->v.document.has_doctype) return true;
  const GumboNode* root = page.Root();
  if (!(root->parse_flags & GUMBO_INSERTION_BY_PARSER)) return true;
  const GumboVector& children = root->v.element.children;
  for (unsigned i = 0; i < children.length; ++i) {
    const auto* child = static_cast<const GumboNode*>(children.data[i]);
    if (child->type == GUMBO_NODE_ELEMENT && !(child->parse_flags & GUMBO_INSERTION_BY_PARSER)) return true;
  }
  return false;
}

// Steps 6 to 8 of the recognition, on text already in UTF-8.
std::optional<ExchangeFormat> ReadByContent(const std::string& text, std::string_view file_name, Source& src) {
  bool named_html = false;
  for (const char* ext : {".html", ".htm", ".xhtml"}) named_html = named_html || EndsWithNoCase(file_name, ext);
  // Text before the first tag makes the parser put in <html> and <body>
  // itself, so only a source that starts with a tag can name itself HTML.
  std::optional<HtmlTree> page;
  size_t first = text.find_first_not_of(" \t\r\n\f");
  if (named_html || (first != std::string::npos && text[first] == '<')) {
    page.emplace(text);
    if (named_html || IsHtmlDocument(*page)) {
      src = ReadWebPage(*page);
      return ExchangeFormat::kWebPage;
    }
  }
  src = ReadMarkdown(text);
  if (!src.items.empty()) return ExchangeFormat::kMarkdown;
  if (!page) page.emplace(text);
  if (FindElement(page->Root(), GUMBO_TAG_UL) || FindElement(page->Root(), GUMBO_TAG_OL)) {
    src = ReadWebPage(*page);
    return ExchangeFormat::kWebPage;
  }
  return std::nullopt;
}

// Cuts the title and the link until the item's line fits the project file,
// each keeping at least half of what there is room for. Whether it cut.
bool FitLine(MenuItem& item, int depth) {
  size_t length = ItemLineLength(item, depth);
  if (length <= kMaxProjectLine) return false;
  size_t both = item.title.size() + item.link.size();
  size_t room = both > length - kMaxProjectLine ? both - (length - kMaxProjectLine) : 0;
  size_t title_room = std::min(item.title.size(), std::max(room / 2, room > item.link.size() ? room - item.link.size() : 0));
  item.title = std::string(CutText(item.title, title_room));
  item.link = std::string(CutText(item.link, room - std::min(room, item.title.size())));
  return true;
}

}  // namespace

ImportedMenu ImportMenu(std::string_view bytes, const MenuItem& defaults, int parent_level, std::string_view file_name) {
  ImportedMenu out;
  std::optional<ImportProblem> problem;
  std::optional<std::string> decoded = AfterByteOrderMark(bytes, problem);
  if (problem) {
    out.problem = problem;
    return out;
  }
  const bool marked = decoded.has_value();
  std::string text = marked ? std::move(*decoded) : std::string(bytes);
  std::optional<ExchangeFormat> format = RecogniseByStart(text, file_name);
  const bool has_charset = !format || *format == ExchangeFormat::kOpml || *format == ExchangeFormat::kBookmarks;
  const std::string charset = marked || !has_charset ? std::string() : DeclaredCharset(text, format == ExchangeFormat::kOpml);
  if (auto bad = ToUtf8(text, charset)) {
    out.problem = bad;
    return out;
  }

  // HTML and the HTML in Markdown go to the HTML parser, which must not
  // be handed markup nested without end.
  if (format != ExchangeFormat::kJson && format != ExchangeFormat::kOpml && NestsTooDeep(text)) {
    out.problem = Problem(ImportProblem::kTooDeep, 0);
    return out;
  }

  Source src;
  if (!format) {
    format = ReadByContent(text, file_name, src);
    if (!format) {
      out.problem = Problem(ImportProblem::kUnknownFormat, 0);
      return out;
    }
  }
  out.format = *format;

  if (*format == ExchangeFormat::kJson) {
    JsonError error{0, 0, {}};
    auto doc = ParseJson(text, error);
    if (!doc) {
      out.problem = Problem(ImportProblem::kMalformed, error.line, error.what, error.column);
      return out;
    }
    const JsonValue* tag = doc->kind == JsonValue::kObject ? doc->Member("format") : nullptr;
    if (!tag || tag->kind != JsonValue::kString || tag->text != "pomeli2-menu") {
      out.problem = Problem(ImportProblem::kUnknownFormat, 0);
      return out;
    }
    JsonMenu menu;
    JsonImport(menu).Read(*doc);
    if (menu.problem) {
      out.problem = menu.problem;
      return out;
    }
    out.page_title = menu.settings.Title;
    out.settings = std::move(menu.settings);
    out.root = std::move(menu.root);
    out.items = std::move(menu.items);
  } else {
    if (*format == ExchangeFormat::kOpml) src = ReadOpml(text);
    if (*format == ExchangeFormat::kBookmarks) src = ReadBookmarks(text);
    if (*format == ExchangeFormat::kMarkdown && src.items.empty()) src = ReadMarkdown(text);
    // A Markdown file without a list (a README of prose) holds no menu.
    if (!src.problem && src.items.empty() && *format == ExchangeFormat::kMarkdown)
      src.problem = Problem(ImportProblem::kNoList, 0);
    if (src.problem) {
      out.problem = src.problem;
      return out;
    }
    out.page_title = TitleToProject(src.page_title);
    out.items.reserve(src.items.size());
    for (SourceItem& s : src.items) {
      ClipItem c{s.level, defaults};
      c.item.title = TitleToProject(s.title);
      // A third party's link that would run script in the author's site
      // stays out; the item comes in without it.
      if (LinkRunsScript(s.link))
        out.script_links.push_back(c.item.title);
      else
        c.item.link = LinkToProject(s.link);
      if (s.target) c.item.target = LinkToProject(*s.target);
      if (s.open) c.item.open = LinkToProject(*s.open);
      out.items.push_back(std::move(c));
    }
  }
  // A level may only go one deeper than the item before it.
  int previous = -1;
  for (ClipItem& c : out.items) {
    c.depth = std::clamp(c.depth, 0, previous + 1);
    previous = c.depth;
    if (FitLine(c.item, parent_level + 1 + c.depth)) out.cut_titles.push_back(c.item.title);
  }
  return out;
}

std::string ImportProblemMessage(const ImportProblem& problem, const std::string& file) {
  std::string where = sj("「") + file + sj("」");
  switch (problem.kind) {
    case ImportProblem::kUnknownFormat:
      return where + sj("はインポートできる形式ではありません。\nOPML、ブックマークファイル、JSON、"
                        "Markdownのリンクのリスト、リンクのリストを持つHTMLを読み込めます。");
    case ImportProblem::kNoList: return where + sj("にリンクのリストが見つかりません。");
    case ImportProblem::kTooDeep: return FillIn(kImportTooDeepMessage, {file});
    case ImportProblem::kBadEncoding:
      if (problem.line > 0) where += sj("の") + ToText(problem.line) + sj("行目");
      return where + sj("は文字コード「") + problem.detail + sj("」として読めません。");
    case ImportProblem::kMalformed:
      if (problem.line > 0) where += sj("の") + ToText(problem.line) + sj("行目");
      if (problem.line > 0 && problem.column > 0) where += ToText(problem.column) + sj("列目");
      return where + sj("が正しくありません") + (problem.detail.empty() ? "" : sj("：") + problem.detail) + sj("。");
  }
  return where;
}

std::string CutItemsWarning(const std::vector<std::string>& cut_titles) {
  if (cut_titles.empty()) return {};
  std::string out = sj("次のアイテムはプロジェクトファイルの1行に収まらないため、タイトルかリンクを切り詰めました。");
  for (const std::string& title : cut_titles) out += "\n" + title;
  return out;
}

std::string ScriptLinksWarning(const std::vector<std::string>& titles) {
  if (titles.empty()) return {};
  std::string out = sj("次のアイテムのリンクはスクリプトを実行するため、リンクなしで読み込みました。");
  for (const std::string& title : titles) out += "\n" + title;
  return out;
}

std::string TooManyImportedMessage(const std::string& file) {
  return sj("「") + file + sj("」を読み込むと") + TooManyItemsMessage();
}

}  // namespace pomeli2

