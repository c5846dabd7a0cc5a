// Lenient number reading as the stored texts need it: leading digits count,
// anything else gives 0. Values saturate instead of overflowing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pomeli2 {

// Leading decimal digits of the text ("12ab" -> 12, "ab" -> 0, " 1" -> 0).
int LenientInt(std::string_view text);

// Like C's atoi: leading white space skipped, an optional sign, then digits.
int LenientSignedInt(std::string_view text);

// True when the text is non-empty and holds only the digits 0 to 9.
bool IsAllDigits(std::string_view text);

// Digits-only text as a saturated unsigned value (for depth fields).
std::uint64_t DigitsValue(std::string_view digits);

std::string ToText(long long value);

// The colour (0xRRGGBB) of a complete colour value, "#" and three or six
// hexadecimal digits in either case; nothing for any other text, the empty
// one included.
std::optional<unsigned> CompleteColour(std::string_view value);

// A colour a page can be written with: "#" and three or six hexadecimal
// digits, as browsers read them in attributes and style sheets alike.
bool UsableColour(std::string_view value);

}  // namespace pomeli2
