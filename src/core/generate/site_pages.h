// The pages of a site's folder as the site's menu reads them: which pages
// there are, the marker element whose content becomes the menu, and the
// encoding each page is written in.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "io/file_io.h"

namespace pomeli2 {

// The program's own folder in the site and the two files in it.
inline constexpr char kSiteFolder[] = "pomeli2";
inline constexpr char kSiteScript[] = "menu.js";
inline constexpr char kSiteStyle[] = "menu.css";
// The id of the element whose content becomes the menu.
inline constexpr char kMenuMarkerId[] = "pomeli2-menu";

// How a page's text is written: as it declares (BOM, else <meta charset>),
// or, when it declares nothing and is valid UTF-8, in ASCII alone with
// character references, since the browser may read it as anything.
enum class PageEncoding { kUtf8, kShiftJis, kUndeclared };
// Why a page is left as it is: UTF-16, an encoding other than UTF-8 and
// Shift_JIS (its name, lower case), or none declared and not UTF-8.
struct PageRefusal {
  enum Kind { kUtf16, kEncoding, kUndeclared } kind;
  std::string encoding;
};
std::string Describe(const PageRefusal& refusal);  // in English
// The page's encoding, or why it cannot be written.
std::variant<PageEncoding, PageRefusal> PageEncodingOf(std::string_view page);

// The bytes between the marker's start and end tags; nullopt without one.
struct MarkerContent {
  size_t begin, end;
};
std::optional<MarkerContent> FindMenuMarker(std::string_view page);

namespace site {

// The start tags named `name` in a lower-cased page, as their texts.
std::vector<std::string_view> StartTags(std::string_view lower, std::string_view name);

// The pages under the site's folder, outside the program's own, from the
// site's folder with "/" between folders, sorted; nullopt when the folder
// cannot be read.
std::optional<std::vector<std::string>> ListPages(const std::filesystem::path& site);

// A page as read, with the stamp its file had just before.
struct Page {
  std::string site_path;  // from the site's folder, "/" between folders
  std::string system_path;
  std::optional<std::string> bytes;  // nothing when it could not be read
  std::optional<FileStamp> stamp;
};

// Every page of the site's folder (`site` absolute and normal) read, or
// nullopt when the folder cannot be read. The bytes of a page whose file
// still has the stamp it had in `earlier` are taken from there rather than
// read again.
std::optional<std::vector<Page>> ReadPages(const std::filesystem::path& site, std::vector<Page>* earlier = nullptr);

}  // namespace site
}  // namespace pomeli2
