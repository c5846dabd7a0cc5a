#include "exchange/json.h"

#include "exchange/text_forms.h"
#include "text/sjis.h"

namespace pomeli2::exchange {

const JsonValue* JsonValue::Member(std::string_view name) const {
  for (const auto& [n, v] : members)
    if (n == name) return &v;
  return nullptr;
}

namespace {

// Nesting deeper than this is refused rather than risking the stack.
constexpr int kMaxNesting = 4000;

class Reader {
 public:
  Reader(std::string_view text, JsonError& error) : s_(text), error_(error) {}

  std::optional<JsonValue> Document() {
    JsonValue v;
    if (!Value(v, 0)) return std::nullopt;
    Space();
    if (p_ != s_.size()) return Fail("JSONの値の後に余分な文字があります");
    return v;
  }

 private:
  std::nullopt_t Fail(const char* what) {
    error_ = {line_, sj(what)};
    return std::nullopt;
  }
  bool Bad(const char* what) {
    Fail(what);
    return false;
  }

  void Space() {
    while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\t' || s_[p_] == '\n' || s_[p_] == '\r')) {
      if (s_[p_] == '\n') ++line_;
      ++p_;
    }
  }

  bool Value(JsonValue& v, int depth) {
    if (depth > kMaxNesting) return Bad("JSONの入れ子が深すぎます");
    Space();
    v.line = line_;
    if (p_ >= s_.size()) return Bad("JSONが途中で終わっています");
    char c = s_[p_];
    if (c == '{') return Object(v, depth);
    if (c == '[') return Array(v, depth);
    if (c == '"') {
      v.kind = JsonValue::kString;
      return String(v.text);
    }
    for (const char* word : {"true", "false", "null"}) {
      if (s_.substr(p_, std::string_view(word).size()) == word) {
        v.kind = word[0] == 'n' ? JsonValue::kNull : JsonValue::kBool;
        v.text = word;
        p_ += std::string_view(word).size();
        return true;
      }
    }
    if (c == '-' || (c >= '0' && c <= '9')) {
      size_t start = p_;
      while (p_ < s_.size() && (std::string_view("+-.eE").find(s_[p_]) != std::string_view::npos ||
                                (s_[p_] >= '0' && s_[p_] <= '9')))
        ++p_;
      v.kind = JsonValue::kNumber;
      v.text = std::string(s_.substr(start, p_ - start));
      return true;
    }
    return Bad("JSONの値ではない文字があります");
  }

  bool Object(JsonValue& v, int depth) {
    v.kind = JsonValue::kObject;
    ++p_;
    Space();
    if (p_ < s_.size() && s_[p_] == '}') return ++p_, true;
    for (;;) {
      Space();
      if (p_ >= s_.size() || s_[p_] != '"') return Bad("JSONのオブジェクトに名前がありません");
      std::string name;
      if (!String(name)) return false;
      Space();
      if (p_ >= s_.size() || s_[p_] != ':') return Bad("JSONの名前の後に「:」がありません");
      ++p_;
      JsonValue member;
      if (!Value(member, depth + 1)) return false;
      v.members.push_back({std::move(name), std::move(member)});
      Space();
      if (p_ < s_.size() && s_[p_] == ',') {
        ++p_;
        continue;
      }
      if (p_ < s_.size() && s_[p_] == '}') return ++p_, true;
      return Bad("JSONのオブジェクトが閉じていません");
    }
  }

  bool Array(JsonValue& v, int depth) {
    v.kind = JsonValue::kArray;
    ++p_;
    Space();
    if (p_ < s_.size() && s_[p_] == ']') return ++p_, true;
    for (;;) {
      JsonValue item;
      if (!Value(item, depth + 1)) return false;
      v.items.push_back(std::move(item));
      Space();
      if (p_ < s_.size() && s_[p_] == ',') {
        ++p_;
        continue;
      }
      if (p_ < s_.size() && s_[p_] == ']') return ++p_, true;
      return Bad("JSONの配列が閉じていません");
    }
  }

  bool Hex4(char32_t& out) {
    if (p_ + 4 > s_.size()) return false;
    out = 0;
    for (int k = 0; k < 4; ++k) {
      char c = s_[p_++];
      unsigned d = c >= '0' && c <= '9' ? static_cast<unsigned>(c - '0')
                   : c >= 'a' && c <= 'f' ? static_cast<unsigned>(c - 'a' + 10)
                   : c >= 'A' && c <= 'F' ? static_cast<unsigned>(c - 'A' + 10)
                                          : 16u;
      if (d == 16) return false;
      out = out * 16 + d;
    }
    return true;
  }

  bool String(std::string& out) {
    ++p_;
    for (;;) {
      if (p_ >= s_.size()) return Bad("JSONの文字列が閉じていません");
      char c = s_[p_++];
      if (c == '"') return true;
      if (c == '\n' || static_cast<unsigned char>(c) < 0x20) return Bad("JSONの文字列に制御文字があります");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (p_ >= s_.size()) return Bad("JSONの文字列が閉じていません");
      char e = s_[p_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          char32_t c1 = 0;
          if (!Hex4(c1)) return Bad("JSONの「\\u」の後が16進数4桁ではありません");
          if (c1 >= 0xD800 && c1 <= 0xDBFF) {
            char32_t c2 = 0;
            if (s_.substr(p_, 2) != "\\u" || (p_ += 2, !Hex4(c2)) || c2 < 0xDC00 || c2 > 0xDFFF)
              return Bad("JSONのサロゲートが対になっていません");
            c1 = 0x10000 + ((c1 - 0xD800) << 10) + (c2 - 0xDC00);
          } else if (c1 >= 0xDC00 && c1 <= 0xDFFF) {
            return Bad("JSONのサロゲートが対になっていません");
          }
          AppendUtf8(out, c1 == 0 ? 0xFFFD : c1);
          break;
        }
        default: return Bad("JSONの文字列に不正なエスケープがあります");
      }
    }
  }

  std::string_view s_;
  JsonError& error_;
  size_t p_ = 0;
  int line_ = 1;
};

}  // namespace

std::optional<JsonValue> ParseJson(std::string_view text, JsonError& error) { return Reader(text, error).Document(); }

std::string JsonString(std::string_view utf8) {
  static const char* digits = "0123456789abcdef";
  std::string out = "\"";
  for (char c : utf8) {
    unsigned char b = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default:
        if (b < 0x20) {
          out += "\\u00";
          out += digits[b >> 4];
          out += digits[b & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace pomeli2::exchange
