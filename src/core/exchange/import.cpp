// Reading outlines, bookmark files, the menu's JSON, Markdown lists and the
// lists of web pages into menu items.
#include <algorithm>
#include <cctype>

#include "exchange/exchange.h"
#include "exchange/json.h"
#include "exchange/markup.h"
#include "exchange/text_forms.h"
#include "project/project_file.h"
#include "text/catalogue.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {

using namespace exchange;

namespace {

// An item as a source gives it, in UTF-8; the fields it does not give are
// the new-item values.
struct SourceItem {
  int level = 0;
  std::string title;  // HTML
  std::string link;
  std::optional<std::string> target, open;
};

struct Source {
  std::optional<ImportProblem> problem;
  std::string page_title;  // UTF-8 HTML
  std::vector<SourceItem> items;
};

ImportProblem Problem(ImportProblem::Kind kind, int line, std::string detail = {}) {
  return ImportProblem{kind, line, std::move(detail)};
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
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

// White space as a page shows it: runs become one space, the ends go.
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

// Plain text as a title; an image title ("file:" path ":" text) keeps its
// path as it is.
std::string TitleOfText(std::string_view text) {
  if (text.size() > 5 && text.substr(0, 5) == "file:") {
    size_t colon = text.find(':', 5);
    if (colon == std::string_view::npos) return std::string(text);
    return std::string(text.substr(0, colon + 1)) + EscapeHtml(text.substr(colon + 1));
  }
  return EscapeHtml(text);
}

// ---------------------------------------------------------------- OPML

Source ReadOpml(std::string_view text) {
  Source src;
  TagScan scan = ScanTags(text, true);
  if (scan.error) {
    src.problem = Problem(ImportProblem::kMalformed, scan.error->line, scan.error->what);
    return src;
  }
  struct Open {
    std::string name;
    int line;
  };
  std::vector<Open> open;
  std::string prefix;
  int outline_depth = 0;
  bool body = false, root_seen = false;
  const auto& tags = scan.tags;
  for (size_t i = 0; i < tags.size(); ++i) {
    const Tag& t = tags[i];
    if (t.kind == Tag::kOther) continue;
    if (t.kind == Tag::kStart) {
      if (!root_seen) {
        root_seen = true;
        if (t.name != "opml") {
          src.problem = Problem(ImportProblem::kMalformed, t.line, sj("最初の要素が<opml>ではありません"));
          return src;
        }
        for (const auto& [name, value] : t.attributes)
          if (name.rfind("xmlns:", 0) == 0 && DecodeEntities(value) == kOpmlNamespace) prefix = name.substr(6) + ":";
      } else if (open.empty()) {
        src.problem = Problem(ImportProblem::kMalformed, t.line, sj("</opml>の後に要素があります"));
        return src;
      }
      const std::string parent = open.empty() ? "" : open.back().name;
      if (t.name == "body") body = true;
      if (t.name == "title" && parent == "head" && !t.self_closing && i + 1 < tags.size())
        src.page_title = TitleOfText(DecodeEntities(text.substr(t.end, tags[i + 1].begin - t.end)));
      if (t.name == "outline") {
        if (parent != "body" && parent != "outline") {
          src.problem = Problem(ImportProblem::kMalformed, t.line, sj("<outline>が<body>の外にあります"));
          return src;
        }
        SourceItem item;
        item.level = outline_depth;
        const std::string* title = AttributeOf(t, "text");
        if (!title) title = AttributeOf(t, "title");
        item.title = title ? TitleOfText(DecodeEntities(*title)) : std::string();
        const std::string* url = AttributeOf(t, "url");
        if (!url) url = AttributeOf(t, "htmlUrl");
        if (url) item.link = DecodeEntities(*url);
        if (!prefix.empty()) {
          if (const std::string* v = AttributeOf(t, prefix + "target")) item.target = DecodeEntities(*v);
          if (const std::string* v = AttributeOf(t, prefix + "open")) item.open = DecodeEntities(*v);
        }
        src.items.push_back(std::move(item));
      }
      if (!t.self_closing) {
        open.push_back({t.name, t.line});
        if (t.name == "outline") ++outline_depth;
      }
      continue;
    }
    if (open.empty() || open.back().name != t.name) {
      std::string what = sj("終了タグ</") + t.name + ">";
      what += open.empty() ? sj("に対応する開始タグがありません") : sj("が<") + open.back().name + sj(">と対応しません");
      src.problem = Problem(ImportProblem::kMalformed, t.line, what);
      return src;
    }
    if (t.name == "outline") --outline_depth;
    open.pop_back();
  }
  if (!open.empty()) {
    src.problem = Problem(ImportProblem::kMalformed, open.back().line, "<" + open.back().name + sj(">が閉じていません"));
  } else if (!body) {
    src.problem = Problem(ImportProblem::kMalformed, 0, sj("<body>がありません"));
  }
  return src;
}

// ---------------------------------------------------------------- bookmarks

// The index of the first end tag `name` after `from`, or tags.size().
size_t EndTag(const std::vector<Tag>& tags, size_t from, std::string_view name) {
  for (size_t k = from + 1; k < tags.size(); ++k)
    if (tags[k].kind == Tag::kEnd && tags[k].name == name) return k;
  return tags.size();
}

std::string Verbatim(std::string_view html) {
  std::string out(html);
  for (char& c : out)
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  return out;
}

Source ReadBookmarks(std::string_view text) {
  Source src;
  TagScan scan = ScanTags(text, false);
  const auto& tags = scan.tags;
  std::vector<int> lists;  // the lines of the open <DL>s
  for (size_t i = 0; i < tags.size(); ++i) {
    const Tag& t = tags[i];
    if (t.kind == Tag::kStart && t.name == "dl") {
      lists.push_back(t.line);
    } else if (t.kind == Tag::kEnd && t.name == "dl") {
      if (lists.empty()) {
        src.problem = Problem(ImportProblem::kMalformed, t.line, sj("</DL>に対応する<DL>がありません"));
        return src;
      }
      lists.pop_back();
    } else if (t.kind == Tag::kStart && (t.name == "a" || t.name == "h3" || t.name == "title")) {
      size_t end = EndTag(tags, i, t.name);
      if (end == tags.size()) {
        std::string name = t.name == "title" ? "TITLE" : t.name == "a" ? "A" : "H3";
        src.problem = Problem(ImportProblem::kMalformed, t.line, "<" + name + sj(">が閉じていません"));
        return src;
      }
      std::string content = Verbatim(text.substr(t.end, tags[end].begin - t.end));
      if (t.name == "title") {
        src.page_title = std::move(content);
      } else {
        SourceItem item;
        item.level = lists.empty() ? 0 : static_cast<int>(lists.size()) - 1;
        item.title = std::move(content);
        const std::string* link = AttributeOf(t, t.name == "a" ? "href" : LowerCase(kFolderLinkAttribute));
        if (link) item.link = DecodeEntities(*link);
        src.items.push_back(std::move(item));
      }
      i = end;
    }
  }
  if (!lists.empty()) src.problem = Problem(ImportProblem::kMalformed, lists.back(), sj("<DL>が閉じていません"));
  return src;
}

// ---------------------------------------------------------------- web pages

class PageLists {
 public:
  PageLists(std::string_view text, const std::vector<Tag>& tags, Source& src) : text_(text), tags_(tags), src_(src) {}

  static bool IsList(const Tag& t) { return t.name == "ul" || t.name == "ol"; }
  bool Starts(size_t i, std::string_view name) const { return tags_[i].kind == Tag::kStart && tags_[i].name == name; }
  bool Ends(size_t i, std::string_view name) const { return tags_[i].kind == Tag::kEnd && tags_[i].name == name; }

  // The index of the end tag that closes the element started at `i`.
  size_t Matching(size_t i) const {
    int depth = 0;
    for (size_t k = i; k < tags_.size(); ++k) {
      const Tag& t = tags_[k];
      bool same = tags_[i].name == "nav" ? t.name == "nav" : IsList(t);
      if (!same || t.self_closing) continue;
      depth += t.kind == Tag::kStart ? 1 : t.kind == Tag::kEnd ? -1 : 0;
      if (depth == 0) return k;
    }
    return tags_.size();
  }

  // Reads the list started at `i` with its items at `level`; where it ends.
  size_t List(size_t i, int level, size_t limit) {
    size_t k = i + 1;
    while (k < limit) {
      const Tag& t = tags_[k];
      if (t.kind == Tag::kEnd && IsList(t)) return k + 1;
      if (Starts(k, "li"))
        k = Item(k, level, limit);
      else if (t.kind == Tag::kStart && IsList(t))
        k = List(k, level + 1, limit);
      else
        ++k;
    }
    return k;
  }

  bool HoldsLink(size_t from, size_t to) const {
    for (size_t k = from; k < to; ++k)
      if (Starts(k, "a") && AttributeOf(tags_[k], "href")) return true;
    return false;
  }

  // The lists of the element from `from` to `to` that no other list holds.
  void OutermostLists(size_t from, size_t to) {
    for (size_t k = from; k < to;) {
      if (tags_[k].kind == Tag::kStart && IsList(tags_[k])) {
        size_t end = Matching(k);
        List(k, 0, std::min(end + 1, to));
        k = end + 1;
      } else {
        ++k;
      }
    }
  }

 private:
  std::string Raw(size_t from, size_t to) const { return Collapse(text_.substr(from, to - from)); }

  size_t Item(size_t i, int level, size_t limit) {
    size_t index = src_.items.size();
    src_.items.push_back({level, "", "", std::nullopt, std::nullopt});
    size_t title_from = tags_[i].end;
    bool titled = false;
    auto title = [&](std::string value) {
      if (titled) return;
      src_.items[index].title = std::move(value);
      titled = true;
    };
    size_t k = i + 1;
    while (k < limit) {
      const Tag& t = tags_[k];
      if (Starts(k, "a") && !titled && AttributeOf(t, "href")) {
        size_t end = std::min(EndTag(tags_, k, "a"), limit);
        src_.items[index].link = DecodeEntities(*AttributeOf(t, "href"));
        title(Raw(t.end, end < tags_.size() ? tags_[end].begin : text_.size()));
        k = end + 1;
        continue;
      }
      if (t.kind == Tag::kStart && IsList(t)) {
        title(Raw(title_from, t.begin));
        k = List(k, level + 1, limit);
        continue;
      }
      if (Starts(k, "li") || (t.kind == Tag::kEnd && IsList(t))) break;
      if (Ends(k, "li")) {
        title(Raw(title_from, t.begin));
        return k + 1;
      }
      ++k;
    }
    title(Raw(title_from, k < tags_.size() ? tags_[k].begin : text_.size()));
    return k;
  }

  std::string_view text_;
  const std::vector<Tag>& tags_;
  Source& src_;
};

Source ReadWebPage(std::string_view text) {
  Source src;
  TagScan scan = ScanTags(text, false);
  const auto& tags = scan.tags;
  PageLists lists(text, tags, src);
  for (size_t i = 0; i < tags.size(); ++i) {
    if (lists.Starts(i, "title") && src.page_title.empty()) {
      size_t end = EndTag(tags, i, "title");
      if (end < tags.size()) src.page_title = Collapse(text.substr(tags[i].end, tags[end].begin - tags[i].end));
    }
  }
  for (size_t i = 0; i < tags.size(); ++i) {
    if (lists.Starts(i, "nav")) {
      lists.OutermostLists(i + 1, lists.Matching(i));
      break;
    }
  }
  if (src.items.empty()) {
    for (size_t i = 0; i < tags.size(); ++i) {
      if (tags[i].kind != Tag::kStart || !PageLists::IsList(tags[i])) continue;
      size_t end = lists.Matching(i);
      if (lists.HoldsLink(i, end)) {
        lists.List(i, 0, std::min(end + 1, tags.size()));
        break;
      }
      i = end;
    }
  }
  if (src.items.empty()) src.problem = Problem(ImportProblem::kNoList, 0);
  return src;
}

// ---------------------------------------------------------------- Markdown

// Inline text as a Markdown reader gives it: backslash escapes and entity
// references resolved, the rest as it stands.
std::string MarkdownInline(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    char c = s[i];
    if (c == '\\' && i + 1 < s.size() && std::ispunct(static_cast<unsigned char>(s[i + 1]))) {
      out += s[i + 1];
      i += 2;
    } else if (c == '&') {
      size_t semi = s.find(';', i);
      if (semi != std::string_view::npos && semi - i <= 12) {
        std::string decoded = DecodeEntities(s.substr(i, semi - i + 1));
        if (decoded != s.substr(i, semi - i + 1)) {
          out += decoded;
          i = semi + 1;
          continue;
        }
      }
      out += c;
      ++i;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

struct ListLine {
  int indent;
  std::string content;
};

std::optional<ListLine> MarkdownListLine(std::string_view line) {
  int indent = 0;
  size_t i = 0;
  for (; i < line.size() && (line[i] == ' ' || line[i] == '\t'); ++i) indent += line[i] == '\t' ? 4 - indent % 4 : 1;
  if (i >= line.size() || (line[i] != '-' && line[i] != '*' && line[i] != '+')) return std::nullopt;
  if (i + 1 < line.size() && line[i + 1] != ' ' && line[i + 1] != '\t') return std::nullopt;
  // A thematic break ("- - -", "***") is no item.
  std::string_view rest = line.substr(i);
  if (rest.size() >= 3 && rest.find_first_not_of(std::string(1, line[i]) + " \t") == std::string_view::npos) return std::nullopt;
  return ListLine{indent, Trim(line.substr(i + 1))};
}

bool Broken(bool& broken) {
  broken = true;
  return false;
}

// "[text](link ...)" at the start of `s`: the text's and the link's sources,
// or nothing when it is no link; `broken` when the link does not close.
bool MarkdownLink(std::string_view s, std::string& text, std::string& link, bool& broken) {
  if (s.empty() || s[0] != '[') return false;
  int depth = 0;
  size_t close = std::string_view::npos;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\') {
      ++i;
    } else if (s[i] == '[') {
      ++depth;
    } else if (s[i] == ']' && --depth == 0) {
      close = i;
      break;
    }
  }
  if (close == std::string_view::npos || close + 1 >= s.size() || s[close + 1] != '(') return false;
  text = std::string(s.substr(1, close - 1));
  size_t p = close + 2;
  while (p < s.size() && s[p] == ' ') ++p;
  std::string dest;
  if (p < s.size() && s[p] == '<') {
    size_t q = p + 1;
    for (; q < s.size() && s[q] != '>'; ++q) {
      if (s[q] == '\\' && q + 1 < s.size()) ++q;
    }
    if (q >= s.size()) return Broken(broken);
    dest = std::string(s.substr(p + 1, q - p - 1));
    p = q + 1;
  } else {
    int parens = 0;
    size_t q = p;
    for (; q < s.size() && s[q] != ' '; ++q) {
      if (s[q] == '\\' && q + 1 < s.size()) {
        ++q;
      } else if (s[q] == '(') {
        ++parens;
      } else if (s[q] == ')') {
        if (parens == 0) break;
        --parens;
      }
    }
    dest = std::string(s.substr(p, q - p));
    p = q;
  }
  // A link title ("..." or '...') may follow; it is no part of the menu.
  while (p < s.size() && s[p] == ' ') ++p;
  if (p < s.size() && (s[p] == '"' || s[p] == '\'')) {
    size_t q = s.find(s[p], p + 1);
    if (q == std::string_view::npos) return Broken(broken);
    p = q + 1;
    while (p < s.size() && s[p] == ' ') ++p;
  }
  if (p >= s.size() || s[p] != ')') return Broken(broken);
  link = MarkdownInline(dest);
  return true;
}

Source ReadMarkdown(std::string_view text) {
  Source src;
  std::vector<int> indents;  // of the items that may take children
  bool fenced = false;
  int line_number = 0;
  for (size_t start = 0; start <= text.size();) {
    size_t nl = text.find('\n', start);
    if (nl == std::string_view::npos) nl = text.size();
    std::string_view line = text.substr(start, nl - start);
    start = nl + 1;
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string trimmed = Trim(line);
    if (trimmed.rfind("```", 0) == 0 || trimmed.rfind("~~~", 0) == 0) {
      fenced = !fenced;
      continue;
    }
    if (fenced) continue;
    if (src.items.empty() && src.page_title.empty() && trimmed.rfind("# ", 0) == 0) {
      std::string heading = Trim(std::string_view(trimmed).substr(2));
      // A closing run of "#" after a space is no part of the heading.
      size_t hashes = heading.find_last_not_of('#');
      if (hashes != std::string::npos && hashes + 1 < heading.size() && heading[hashes] == ' ') heading.erase(hashes);
      src.page_title = TitleOfText(MarkdownInline(Trim(heading)));
      continue;
    }
    auto item_line = MarkdownListLine(line);
    if (!item_line) continue;
    while (!indents.empty() && indents.back() >= item_line->indent) indents.pop_back();
    SourceItem item;
    item.level = static_cast<int>(indents.size());
    indents.push_back(item_line->indent);
    std::string text_part, link;
    bool broken = false;
    if (MarkdownLink(item_line->content, text_part, link, broken)) {
      item.title = TitleOfText(MarkdownInline(text_part));
      item.link = std::move(link);
    } else if (broken) {
      src.problem = Problem(ImportProblem::kMalformed, line_number, sj("リンクの「)」がありません"));
      return src;
    } else {
      item.title = TitleOfText(MarkdownInline(item_line->content));
    }
    src.items.push_back(std::move(item));
  }
  return src;
}

bool LooksLikeMarkdown(std::string_view text) {
  for (size_t start = 0; start < text.size();) {
    size_t nl = text.find('\n', start);
    if (nl == std::string_view::npos) nl = text.size();
    std::string_view line = text.substr(start, nl - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (MarkdownListLine(line)) return true;
    start = nl + 1;
  }
  return false;
}

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
