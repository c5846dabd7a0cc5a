// A number setting of the page (Start, Left, Row, Indent, Speed) as it was
// typed or read: its text is what the project file and the page keep, byte
// for byte; its value is what the page computes with. Both rules are
// settled once, when the text is set.
#pragma once

#include <string>
#include <string_view>

namespace pomeli2 {

class NumberText {
 public:
  NumberText() = default;
  // Any text: one that makes no number is kept all the same.
  NumberText(std::string text);
  NumberText(const char* text) : NumberText(std::string(text)) {}

  const std::string& text() const { return text_; }
  // As C's atoi reads it: white space, a sign, then the digits that follow,
  // saturated; 0 without digits. " 12" is 12, "+3" 3, "1e3" 1, "１" 0.
  int value() const { return value_; }
  // A number a page can rely on: spaces, a sign, then digits and nothing
  // else. "" and "1e3" are none; " -0" is one.
  bool IsNumber() const { return number_; }
  // What the form's digit fields let through: digits and, since they cannot
  // be typed, control bytes; the empty text too.
  static bool TypableDigits(std::string_view text);

  bool operator==(const NumberText& other) const { return text_ == other.text_; }

 private:
  std::string text_;
  int value_ = 0;
  bool number_ = false;
};

}  // namespace pomeli2
