// The tags of an HTML or XML text, found in one pass: enough to read
// outlines, bookmark files and a page's lists, not a whole parser. Text
// between tags is left in the source; a tag knows where it stands.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pomeli2::exchange {

struct Tag {
  enum Kind { kStart, kEnd, kOther } kind;  // kOther: comment, declaration, processing instruction
  std::string name;                          // lower case in HTML, as written in XML
  std::vector<std::pair<std::string, std::string>> attributes;  // values as written, entities left in
  bool self_closing = false;
  size_t begin = 0, end = 0;  // the "<" and just past the ">"
  int line = 1;
};

struct MarkupError {
  int line;
  std::string what;  // CP932
};

struct TagScan {
  std::vector<Tag> tags;
  std::optional<MarkupError> error;  // XML only: HTML is read as browsers read it
};

// In HTML, the content of script and style elements is skipped, and what
// cannot be a tag is text; XML reports it.
TagScan ScanTags(std::string_view text, bool xml);

// An attribute's value as written, or nothing.
const std::string* AttributeOf(const Tag& tag, std::string_view name);

// The line of a byte offset, counted from 1.
int LineAt(std::string_view text, size_t offset);

}  // namespace pomeli2::exchange
