// The one reader of HTML's own syntax in bytes that are not parsed as a
// whole: character references ("&amp;", "&#38;", "&#x26;") and the
// attributes of a start tag. The generator and the exchange formats both
// read them here; each caller decides what it accepts.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pomeli2 {

struct CharReference {
  char32_t code;    // as written; 0x110000 for any number beyond Unicode
  size_t length;    // from "&" to ";" inclusive
  size_t digits;    // of a numeric reference; 0 for a named one
};

// The reference that starts at `text[0]`, or nothing. Named references are
// the common ones (amp, lt, gt, quot, apos, nbsp, copy, ...), in lower case
// as HTML spells them; a reference ends with ";" within 12 characters.
std::optional<CharReference> CharReferenceAt(std::string_view text);

// The character a reference stands for, where a number that is none (0, a
// surrogate, beyond Unicode) stands for U+FFFD.
char32_t CharacterOf(const CharReference& ref);

// Whether a conforming page may hold the reference as written: one of the
// names every browser and checker knows (amp, lt, gt, quot, apos, nbsp), or
// a number of at most 8 digits for a character that is no control,
// surrogate or noncharacter.
bool IsConformingReference(const CharReference& ref);

// "&#x" and the code point in upper-case hexadecimal digits and ";": how
// the program writes a character that the text's encoding cannot hold.
void AppendHexReference(std::string& out, char32_t c);

// The attributes of a start tag as the HTML tokenizer reads them, from just
// after the tag's name: names and values as written (the quotes taken off,
// the references left as they are, the names in their own letter case). A
// quoted value may hold ">"; a tag that the text ends inside ends with it.
class StartTagReader {
 public:
  StartTagReader(std::string_view html, size_t after_name) : html_(html), at_(after_name) {}

  struct Attribute {
    std::string_view name, value;
  };
  // The next attribute, or nothing at the tag's end.
  std::optional<Attribute> Next();
  // Reads the rest of the tag.
  void Finish() {
    while (Next()) {
    }
  }

  // Once Next has given nothing: where the tag ends (after its ">", or the
  // text's end), and whether it closes itself ("/>").
  size_t End() const { return at_; }
  bool SelfClosing() const { return self_closing_; }

 private:
  std::string_view html_;
  size_t at_;
  bool self_closing_ = false;
};

// The value of the first attribute named `name` (in any letter case) in the
// start tag `tag`, which begins with "<" and its name; nothing when the tag
// has none.
std::optional<std::string_view> AttributeOf(std::string_view tag, std::string_view name);

}  // namespace pomeli2
