// A site page's encoding and its marker, read from its own bytes.
#include <gtest/gtest.h>

#include "generate/site_pages.h"

namespace pomeli2::testing {
namespace {

TEST(SitePages, AnUndeclaredPageMustBeUtf8) {
  EXPECT_TRUE(std::holds_alternative<PageRefusal>(PageEncodingOf("<p>\xE0\x40\x41</p>")));
  EXPECT_EQ(std::get<PageEncoding>(PageEncodingOf("<p>\xE3\x81\x82 \xEF\xBF\xBD</p>")), PageEncoding::kUndeclared);
}

// The marker is found as a browser reads the tag: an attribute whose name
// starts with "=" is an attribute like any other, and names match in any case.
TEST(SitePages, TheMarkerIsReadAsABrowserReadsTheTag) {
  const std::string page = "<div =\"x\" ID=\"pomeli2-menu\">old</div>";
  const auto marker = FindMenuMarker(page);
  ASSERT_TRUE(marker);
  EXPECT_EQ(page.substr(marker->begin, marker->end - marker->begin), "old");
  EXPECT_FALSE(FindMenuMarker("<div data-id=\"pomeli2-menu\">old</div>"));
}

}  // namespace
}  // namespace pomeli2::testing
