#include "model/number_text.h"

#include <algorithm>

#include "text/numbers.h"

namespace pomeli2 {

NumberText::NumberText(std::string text) : text_(std::move(text)), value_(LenientSignedInt(text_)) {
  size_t i = text_.find_first_not_of(' ');
  if (i == std::string::npos) i = text_.size();
  if (i < text_.size() && (text_[i] == '+' || text_[i] == '-')) ++i;
  number_ = IsAllDigits(std::string_view(text_).substr(i));
}

bool NumberText::TypableDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= '0' && b <= '9') || b < 0x20 || b == 0x7F;
  });
}

}  // namespace pomeli2
