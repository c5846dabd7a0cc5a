// A site page's encoding, read from its own bytes.
#include <gtest/gtest.h>

#include "generate/site_pages.h"

namespace pomeli2::testing {
namespace {

TEST(SitePages, AnUndeclaredPageMustBeUtf8) {
  EXPECT_TRUE(std::holds_alternative<PageRefusal>(PageEncodingOf("<p>\xE0\x40\x41</p>")));
  EXPECT_EQ(std::get<PageEncoding>(PageEncodingOf("<p>\xE3\x81\x82 \xEF\xBF\xBD</p>")), PageEncoding::kUndeclared);
}

}  // namespace
}  // namespace pomeli2::testing
