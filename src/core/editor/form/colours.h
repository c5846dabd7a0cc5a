// Colour values (#RRGGBB as typed) and colour numbers (red in the low byte).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "editor/view/notifier.h"
#include "text/numbers.h"

namespace pomeli2 {

// A colour field's length: "#" and six hexadecimal digits.
inline constexpr size_t kColourLength = 7;

struct ColourCheck {
  bool acceptable = true;
  // The value is exactly "#" and six hexadecimal digits: its colour.
  std::optional<unsigned> complete;
};

// Checks a typed colour value and repairs it in place: a missing "#" is put
// in front, bytes that are no hexadecimal digits are dropped, each with its
// message (one per check). The dialog variant also refuses, without
// shortening, a value longer than kColourLength.
ColourCheck CheckColour(std::string& value, bool dialog_variant, Notifier& notify);

// 0xRRGGBB as "#RRGGBB" in upper case.
std::string ColourText(unsigned rgb);
// 0xRRGGBB as a colour number, and back.
int ColourNumberOfRgb(unsigned rgb);
// The colour of a label written on 0xRRGGBB: black or white, whichever
// stands out more by the colours' lightness.
unsigned LabelColourOn(unsigned rgb);

}  // namespace pomeli2
