// Importing a menu: recognising the source, reading the menu's JSON, and
// turning any source's items into menu items. The other formats' readers
// are in import_markup.cpp and import_markdown.cpp.
#include <algorithm>
#include <cctype>

#include "exchange/exchange.h"
#include "exchange/import_sources.h"
#include "exchange/json.h"
#include "exchange/markup.h"
#include "exchange/text_forms.h"
#include "project/project_file.h"
#include "text/catalogue.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2::exchange::sources {

ImportProblem Problem(ImportProblem::Kind kind, int line, std::string detail) {
  return ImportProblem{kind, line, std::move(detail)};
}

namespace {
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::string Trim(std::string_view s) {
  size_t a = 0, b = s.size();
  while (a < b && IsSpace(s[a])) ++a;
  while (b > a && IsSpace(s[b - 1])) --b;
  return std::string(s.substr(a, b - a));
}

std::string Collapse(std::string_view s) {
  std::string out;
  bool space = false;
  for (char c : s) {
    if (IsSpace(c)) {
      space = true;
      continue;
    }
    if (space && !out.empty()) out += ' ';
    space = false;
    out += c;
  }
  return out;
}

std::string TitleOfText(std::string_view text) {
  if (text.size() > 5 && text.substr(0, 5) == "file:") {
    size_t colon = text.find(':', 5);
    if (colon == std::string_view::npos) return std::string(text);
    return std::string(text.substr(0, colon + 1)) + EscapeHtml(text.substr(colon + 1));
  }
  return EscapeHtml(text);
}

}  // namespace pomeli2::exchange::sources

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
        std::string_view pair = std::string_view(hex->text).substr(i, 2);
        if (pair.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) return Fail(v->line);
        bytes += static_cast<char>(std::stoi(std::string(pair), nullptr, 16));
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

// The character set a document declares, lower case, or "".
std::string DeclaredCharset(std::string_view text, bool xml) {
  std::string head = LowerCase(text.substr(0, 4096));
  size_t at = std::string::npos;
  if (xml) {
    size_t decl_end = head.find("?>");
    size_t enc = head.find("encoding");
    if (head.rfind("<?xml", 0) == 0 && enc != std::string::npos && enc < decl_end) at = head.find_first_of("\"'", enc);
  } else {
    size_t cs = head.find("charset=");
    if (cs != std::string::npos) at = cs + 7;
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
  if (auto bad = InvalidUtf8At(text)) return Problem(ImportProblem::kBadEncoding, LineAt(text, *bad), "UTF-8");
  return std::nullopt;
}

std::optional<ExchangeFormat> Recognise(std::string_view text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return std::nullopt;
  if (text[first] == '{') return ExchangeFormat::kJson;
  std::string head = LowerCase(text.substr(0, 4096));
  if (head.find("<!doctype netscape-bookmark-file-1") != std::string::npos) return ExchangeFormat::kBookmarks;
  if (head.find("<opml") != std::string::npos) return ExchangeFormat::kOpml;
  if (text[first] == '<') return ExchangeFormat::kWebPage;
  for (const char* tag : {"<html", "<body", "<nav", "<ul", "<ol"})
    if (head.find(tag) != std::string::npos) return ExchangeFormat::kWebPage;
  if (LooksLikeMarkdown(text)) return ExchangeFormat::kMarkdown;
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

ImportedMenu ImportMenu(std::string_view bytes, const MenuItem& defaults, int parent_level) {
  ImportedMenu out;
  std::string text(bytes);
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  auto format = Recognise(text);
  if (!format) {
    out.problem = Problem(ImportProblem::kUnknownFormat, 0);
    return out;
  }
  out.format = *format;
  bool xml = *format == ExchangeFormat::kOpml;
  bool declares = xml || *format == ExchangeFormat::kBookmarks || *format == ExchangeFormat::kWebPage;
  if (auto problem = ToUtf8(text, declares ? DeclaredCharset(text, xml) : std::string())) {
    out.problem = problem;
    return out;
  }

  if (*format == ExchangeFormat::kJson) {
    JsonError error{0, {}};
    auto doc = ParseJson(text, error);
    if (!doc) {
      out.problem = Problem(ImportProblem::kMalformed, error.line, error.what);
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
    Source src = *format == ExchangeFormat::kOpml        ? ReadOpml(text)
                 : *format == ExchangeFormat::kBookmarks ? ReadBookmarks(text)
                 : *format == ExchangeFormat::kMarkdown  ? ReadMarkdown(text)
                                                         : ReadWebPage(text);
    if (src.problem) {
      out.problem = src.problem;
      return out;
    }
    out.page_title = TitleToProject(src.page_title);
    out.items.reserve(src.items.size());
    for (SourceItem& s : src.items) {
      ClipItem c{s.level, defaults};
      c.item.title = TitleToProject(s.title);
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
    case ImportProblem::kBadEncoding:
      if (problem.line > 0) where += sj("の") + ToText(problem.line) + sj("行目");
      return where + sj("は文字コード「") + problem.detail + sj("」として読めません。");
    case ImportProblem::kMalformed:
      if (problem.line > 0) where += sj("の") + ToText(problem.line) + sj("行目");
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

}  // namespace pomeli2

