// Stored values made fit for the "HTML5" page. The other modes write what
// the author stored byte for byte; a conforming document cannot take every
// such value, so here each one is mended the way a browser would read it,
// or left out when nothing it could mean is valid. All take CP932 text; the
// results are CP932 too (URLs come out as ASCII).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pomeli2 {

// A link or image path as a valid URL that reaches what the Shift-JIS page
// reached. The stored value stood in an attribute there, so the references
// &amp; &lt; &gt; &quot; &apos; and numeric ones for ASCII characters are
// read first, as the browser read them. Then white space around it and line breaks inside go, as browsers drop
// them; "\" becomes "/" in the path (not in a scheme such as javascript:,
// which browsers leave alone); characters a URL cannot hold are
// percent-encoded: in the path and the fragment as UTF-8, in the query as
// Shift-JIS where the browser encoded it in the page's encoding (relative
// links and http, https, ftp and file), else as UTF-8; a "%" without two
// hexadecimal digits becomes "%25". Empty when nothing is left.
std::string MendUrl(std::string_view url);
// The scheme of an absolute URL (a letter, then letters, digits, "+", "-"
// and ".", then ":"), in lower case; empty for a relative one.
std::string UrlScheme(std::string_view url);
// Whether MendUrl gives `url` back as it is, and an attribute can hold it
// unescaped: it is not empty, and holds only letters, digits and the marks
// that stand for themselves everywhere in a URL.
bool UrlNeedsNoMending(std::string_view url);

// A stored text for a double-quoted attribute value: " becomes &quot;, and
// an & that does not start one of the references &amp; &lt; &gt; &quot;
// &apos; &nbsp; or a numeric one for a character a page may hold becomes
// &amp;, so that no & is left for the browser to guess about.
std::string Html5Attribute(std::string_view text);

// "#" and 3 or 6 hexadecimal digits as stored; nullopt for anything else.
std::optional<std::string> Html5Colour(std::string_view colour);

// Whether `lang` is a language tag: letters, then subtags of letters and
// digits after "-" (as "ja", "en-US", "zh-Hant-TW").
bool IsLanguageTag(std::string_view lang);
// The page's lang: `lang` when it is a language tag, else "ja".
std::string Html5Lang(std::string_view lang);

// The colours of the dark palette, from a valid colour (Html5Colour) or a
// fallback as "#RRGGBB": a background at most 0.03 in relative luminance,
// and a text colour at least 0.35, of the same hue, so that any text on any
// such background has a contrast of 5:1 or more.
std::string DarkBackground(std::string_view colour);
std::string DarkText(std::string_view colour);

// A CSS font size: a non-negative number with a unit, or a size keyword. A
// bare number gets "px", which is what the quirks-mode pages made of it.
// Nullopt for anything else, negative sizes included.
std::optional<std::string> Html5FontSize(std::string_view size);

// A link target: a browsing context name, or one of the keywords _blank,
// _self, _parent and _top in any case (written in lower case). Another name
// that starts with "_" cannot be valid: it becomes "_blank", a new window,
// which is where browsers sent it. Empty for an empty target.
std::string Html5Target(std::string_view target);

// The last non-empty path segment of a link, without its query and
// fragment; empty when there is none.
std::string LinkFileName(std::string_view link);

// What the page calls an item whose title shows no text (CP932, not
// escaped): the file name of the link it writes for it, else "(無題)".
std::string UntitledName(std::string_view written_link);

}  // namespace pomeli2
