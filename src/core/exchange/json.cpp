#include "exchange/json.h"

#include <algorithm>
#include <iterator>
#include <nlohmann/json.hpp>

#include "text/sjis.h"

namespace pomeli2::exchange {

const JsonValue* JsonValue::Member(std::string_view name) const {
  for (const auto& [n, v] : members)
    if (n == name) return &v;
  return nullptr;
}

namespace {

// Nesting deeper than this is refused rather than kept in memory.
constexpr size_t kMaxNesting = 4000;

// Where the parser has read to: the line of the last character it took.
struct ReadPosition {
  int line = 1;
  char last = 0;
};

// A pointer that counts the lines it passes, so that each value the parser
// hands over can name its line.
struct CountingIterator {
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  const char* p;
  ReadPosition* read;

  reference operator*() const { return *p; }
  CountingIterator& operator++() {
    read->last = *p;
    if (*p == '\n') ++read->line;
    ++p;
    return *this;
  }
  CountingIterator operator++(int) {
    CountingIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const CountingIterator& o) const { return p == o.p; }
  bool operator!=(const CountingIterator& o) const { return p != o.p; }
};

// Builds the values from the parser's events.
class Builder {
 public:
  Builder(std::string_view text, const ReadPosition& read, JsonError& error) : text_(text), read_(read), error_(error) {}

  bool null() { return Add(JsonValue::kNull, "null"); }
  bool boolean(bool b) { return Add(JsonValue::kBool, b ? "true" : "false"); }
  bool number_integer(std::int64_t n) { return AddNumber(std::to_string(n)); }
  bool number_unsigned(std::uint64_t n) { return AddNumber(std::to_string(n)); }
  bool number_float(double, const std::string& s) { return AddNumber(s); }
  bool string(std::string& s) {
    // A NUL would end a project line early.
    size_t at = 0;
    while ((at = s.find('\0', at)) != std::string::npos) s.replace(at, 1, "\xEF\xBF\xBD");
    return Add(JsonValue::kString, std::move(s));
  }
  bool binary(nlohmann::json::binary_t&) { return false; }
  bool start_object(size_t) { return Open(JsonValue::kObject); }
  bool key(std::string& k) {
    keys_.push_back(std::move(k));
    return true;
  }
  bool end_object() { return Close(); }
  bool start_array(size_t) { return Open(JsonValue::kArray); }
  bool end_array() { return Close(); }
  bool parse_error(size_t position, const std::string&, const nlohmann::detail::exception& e) {
    // "[json.exception.parse_error.101] parse error at line 3, column 1: what"
    std::string what = e.what();
    size_t colon = what.find(": ");
    what = colon == std::string::npos ? what : what.substr(colon + 2);
    size_t at = std::min(position == 0 ? 0 : position - 1, text_.size());
    std::string_view before = text_.substr(0, at);
    int line = 1 + static_cast<int>(std::count(before.begin(), before.end(), '\n'));
    size_t line_start = before.rfind('\n');
    int column = static_cast<int>(at - (line_start == std::string_view::npos ? 0 : line_start + 1)) + 1;
    return Fail(line, column, sj("JSONの構文の誤り：") + what);
  }

  std::optional<JsonValue> Document() { return std::move(document_); }

 private:
  bool Fail(int line, int column, std::string what) {
    if (error_.what.empty()) error_ = {line, column, std::move(what)};
    return false;
  }

  // The line of the value just read; a number's end is known only from the
  // character after it.
  int Line(bool number) const { return read_.line - (number && read_.last == '\n' ? 1 : 0); }

  bool Add(JsonValue::Kind kind, std::string text, bool number = false) {
    JsonValue v;
    v.kind = kind;
    v.text = std::move(text);
    v.line = Line(number);
    return Place(std::move(v));
  }
  bool AddNumber(std::string text) { return Add(JsonValue::kNumber, std::move(text), true); }

  bool Place(JsonValue v) {
    if (open_.empty()) {
      document_ = std::move(v);
    } else if (open_.back().kind == JsonValue::kArray) {
      open_.back().items.push_back(std::move(v));
    } else {
      open_.back().members.push_back({std::move(keys_.back()), std::move(v)});
      keys_.pop_back();
    }
    return true;
  }

  bool Open(JsonValue::Kind kind) {
    if (open_.size() >= kMaxNesting) return Fail(read_.line, 0, sj("JSONの入れ子が深すぎます"));
    JsonValue v;
    v.kind = kind;
    v.line = Line(false);
    open_.push_back(std::move(v));
    return true;
  }

  bool Close() {
    JsonValue v = std::move(open_.back());
    open_.pop_back();
    return Place(std::move(v));
  }

  std::string_view text_;
  const ReadPosition& read_;
  JsonError& error_;
  std::vector<JsonValue> open_;
  std::vector<std::string> keys_;
  std::optional<JsonValue> document_;
};

}  // namespace

std::optional<JsonValue> ParseJson(std::string_view text, JsonError& error) {
  error = {0, 0, {}};
  ReadPosition read;
  Builder builder(text, read, error);
  CountingIterator first{text.data(), &read}, last{text.data() + text.size(), &read};
  if (!nlohmann::json::sax_parse(first, last, &builder)) return std::nullopt;
  return builder.Document();
}

std::string JsonString(std::string_view utf8) {
  const std::string dumped =
      nlohmann::json(std::string(utf8)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  // The library writes backspace and form feed as \b and \f; the files
  // written so far hold \u0008 and \u000c, and they stay the same.
  std::string out;
  out.reserve(dumped.size());
  for (size_t i = 0; i < dumped.size(); ++i) {
    if (dumped[i] == '\\' && i + 1 < dumped.size()) {
      char e = dumped[++i];
      out += e == 'b' ? "\\u0008" : e == 'f' ? "\\u000c" : std::string{'\\', e};
    } else {
      out += dumped[i];
    }
  }
  return out;
}

}  // namespace pomeli2::exchange
