// What a title shows as text: the one rule by which the program names,
// finds, checks and exports an item, with a named option for each way in
// which those readers really differ.
#pragma once

#include <string>
#include <string_view>

namespace pomeli2::exchange {

// How a title's markup is read.
enum class TitleMarkup {
  // The tags cut out at their brackets and everything else as written,
  // references included, in the title's own encoding (CP932 and UTF-8
  // alike). The text is still HTML: it goes back into a page (a site page's
  // path to itself), or stands for what the author typed (the find, the
  // check's item names).
  kAsWritten,
  // As the HTML standard's parser reads it (UTF-8): references read, the
  // content of a <template> left out, as a page shows it. For text that
  // leaves HTML (the exchange formats) and for whether a title shows text.
  kParsed,
};

// What becomes of an image title ("file:" + picture [+ ":" + text]).
enum class TitlePicture {
  // Only the text after the picture: the picture is no text.
  kLeftOut,
  // The picture kept before the text, as written, for a file that brings
  // it back (the exports).
  kKept,
};

// Whether an <img>'s alt counts as text (read with kParsed only). A reader
// hears it, so it names an item on a page; a page's textContent, which the
// exports take, leaves it out.
enum class ImageAlt { kLeftOut, kShown };

std::string ShownText(std::string_view title, TitleMarkup markup, TitlePicture picture,
                      ImageAlt alt = ImageAlt::kLeftOut);

// Whether a stored title (CP932) shows text on a page: its parsed text,
// alts included, holds more than white space, no-break and full-width
// spaces.
bool TitleShowsText(std::string_view title);

}  // namespace pomeli2::exchange
