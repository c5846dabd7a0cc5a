// The menu's own JSON, read with nlohmann/json into values that remember
// their line for messages, and the string form its writer uses.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pomeli2::exchange {

struct JsonMember;

struct JsonValue {
  enum Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = kNull;
  std::string text;  // a string's UTF-8, a number as written, "true"/"false"
  std::vector<JsonValue> items;
  // A vector of a type complete only below: a pair would need JsonValue
  // whole here.
  std::vector<JsonMember> members;
  int line = 1;

  const JsonValue* Member(std::string_view name) const;
};

struct JsonMember {
  std::string name;
  JsonValue value;
};

struct JsonError {
  int line;
  int column;
  std::string what;  // CP932
};

// The value of a whole document, or where it goes wrong. Nesting deeper
// than a few thousand levels is refused.
std::optional<JsonValue> ParseJson(std::string_view text, JsonError& error);

// A JSON string literal, quotes included.
std::string JsonString(std::string_view utf8);

}  // namespace pomeli2::exchange
