#include "exchange/markup.h"

#include <algorithm>

#include "text/sjis.h"

namespace pomeli2::exchange {
namespace {

bool IsNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

size_t FindNoCase(std::string_view text, std::string_view what, size_t from) {
  if (what.size() > text.size()) return std::string_view::npos;
  for (size_t i = from; i + what.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < what.size() && Lower(text[i + k]) == what[k]) ++k;
    if (k == what.size()) return i;
  }
  return std::string_view::npos;
}

class Scanner {
 public:
  Scanner(std::string_view text, bool xml) : text_(text), xml_(xml) {}

  TagScan Run() {
    size_t i = 0;
    while (!scan_.error) {
      size_t lt = text_.find('<', i);
      if (lt == std::string_view::npos) break;
      i = ReadTag(lt);
      if (i == std::string_view::npos) break;
    }
    return std::move(scan_);
  }

 private:
  // Offsets only grow, so lines are counted once.
  int LineOf(size_t at) {
    if (at > counted_) {
      line_ += static_cast<int>(std::count(text_.begin() + static_cast<std::ptrdiff_t>(counted_),
                                           text_.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
      counted_ = at;
    }
    return line_;
  }

  bool Fail(size_t at, const char* what) {
    if (xml_ && !scan_.error) scan_.error = MarkupError{LineOf(at), sj(what)};
    return false;
  }

  // Reads the tag at `lt`; where to go on, or npos at the end.
  size_t ReadTag(size_t lt) {
    std::string_view rest = text_.substr(lt);
    auto other = [&](std::string_view close, const char* unterminated) -> size_t {
      size_t end = text_.find(close, lt + 2);
      if (end == std::string_view::npos) {
        Fail(lt, unterminated);
        return std::string_view::npos;
      }
      scan_.tags.push_back({Tag::kOther, "", {}, false, lt, end + close.size(), LineOf(lt)});
      return end + close.size();
    };
    if (rest.substr(0, 4) == "<!--") return other("-->", "コメントが閉じていません");
    if (rest.substr(0, 2) == "<?") return other(xml_ ? "?>" : ">", "処理命令が閉じていません");
    if (rest.substr(0, 2) == "<!") return other(">", "宣言が閉じていません");
    bool end_tag = rest.size() > 1 && rest[1] == '/';
    size_t p = lt + (end_tag ? 2 : 1);
    if (p >= text_.size() || !IsNameStart(text_[p])) {
      Fail(lt, "「<」がタグを始めていません");
      return lt + 1;
    }
    Tag tag;
    tag.kind = end_tag ? Tag::kEnd : Tag::kStart;
    tag.begin = lt;
    tag.line = LineOf(lt);
    size_t name_start = p;
    while (p < text_.size() && !IsSpace(text_[p]) && text_[p] != '>' && text_[p] != '/') ++p;
    tag.name = std::string(text_.substr(name_start, p - name_start));
    if (!xml_) tag.name = LowerCase(tag.name);
    for (;;) {
      while (p < text_.size() && IsSpace(text_[p])) ++p;
      if (p >= text_.size()) {
        Fail(lt, "タグが閉じていません");
        return std::string_view::npos;
      }
      if (text_[p] == '>') {
        ++p;
        break;
      }
      if (text_[p] == '/' && p + 1 < text_.size() && text_[p + 1] == '>') {
        tag.self_closing = true;
        p += 2;
        break;
      }
      if (text_[p] == '/') {
        if (xml_) return Fail(p, "タグの中に「/」があります"), std::string_view::npos;
        ++p;
        continue;
      }
      size_t a = p;
      while (p < text_.size() && !IsSpace(text_[p]) && text_[p] != '>' && text_[p] != '=' &&
             !(text_[p] == '/' && p + 1 < text_.size() && text_[p + 1] == '>'))
        ++p;
      std::string name(text_.substr(a, p - a));
      if (!xml_) name = LowerCase(name);
      while (p < text_.size() && IsSpace(text_[p])) ++p;
      std::string value;
      if (p < text_.size() && text_[p] == '=') {
        ++p;
        while (p < text_.size() && IsSpace(text_[p])) ++p;
        if (p < text_.size() && (text_[p] == '"' || text_[p] == '\'')) {
          size_t close = text_.find(text_[p], p + 1);
          if (close == std::string_view::npos) {
            Fail(p, "属性の値が閉じていません");
            return std::string_view::npos;
          }
          value = std::string(text_.substr(p + 1, close - p - 1));
          if (xml_ && value.find('<') != std::string::npos) return Fail(p, "属性の値に「<」があります"), std::string_view::npos;
          p = close + 1;
        } else {
          if (xml_) return Fail(p, "属性の値が引用符で囲まれていません"), std::string_view::npos;
          size_t v = p;
          while (p < text_.size() && !IsSpace(text_[p]) && text_[p] != '>') ++p;
          value = std::string(text_.substr(v, p - v));
        }
      } else if (xml_) {
        return Fail(a, "属性に値がありません"), std::string_view::npos;
      }
      tag.attributes.emplace_back(std::move(name), std::move(value));
    }
    tag.end = p;
    bool raw = !xml_ && tag.kind == Tag::kStart && !tag.self_closing && (tag.name == "script" || tag.name == "style");
    std::string close = "</" + tag.name;
    scan_.tags.push_back(std::move(tag));
    if (raw) {
      size_t end = FindNoCase(text_, close, p);
      return end == std::string_view::npos ? std::string_view::npos : end;
    }
    return p;
  }

  std::string_view text_;
  bool xml_;
  TagScan scan_;
  size_t counted_ = 0;
  int line_ = 1;
};

}  // namespace

TagScan ScanTags(std::string_view text, bool xml) { return Scanner(text, xml).Run(); }

const std::string* AttributeOf(const Tag& tag, std::string_view name) {
  for (const auto& [n, v] : tag.attributes)
    if (n == name) return &v;
  return nullptr;
}

int LineAt(std::string_view text, size_t offset) {
  offset = std::min(offset, text.size());
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

}  // namespace pomeli2::exchange
