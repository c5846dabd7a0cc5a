// Reading OPML outlines, bookmark files and the lists of web pages.
#include <algorithm>

#include "exchange/import_sources.h"
#include "exchange/markup.h"
#include "exchange/text_forms.h"
#include "text/sjis.h"

namespace pomeli2::exchange::sources {

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

namespace {

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

}  // namespace

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

namespace {

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

}  // namespace

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

}  // namespace pomeli2::exchange::sources
