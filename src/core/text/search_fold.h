// Text folded for finding: letter case, full and half width and the kinds of
// space do not count.
#pragma once

#include <string>
#include <string_view>

namespace pomeli2 {

// CP932 text as UTF-8 in which full-width ASCII is ASCII, half-width
// katakana is full-width (voiced marks joined), every space is " ", and
// ASCII letters are small. Bytes that are no character are dropped.
std::string FoldForSearch(std::string_view sjis);

}  // namespace pomeli2
