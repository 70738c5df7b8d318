#include "text/wide_string.h"

#include <gtest/gtest.h>

TEST(WideString, RoundTripsCyrillicNonBmpAndInvalidBytes) {
  const std::string cyrillic = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";  // Привет
  EXPECT_EQ(widen_lib(cyrillic).size(), 6u);
  EXPECT_EQ(narrow_lib(widen_lib(cyrillic)), cyrillic);

  const std::string smiley = "\xF0\x9F\x98\x80";  // U+1F600
  const WideString wide = widen_lib(smiley);
  ASSERT_EQ(wide.size(), 2u);
  EXPECT_EQ(wide[0], 0xD83D);
  EXPECT_EQ(wide[1], 0xDE00);
  EXPECT_EQ(narrow_lib(wide), smiley);

  const std::string invalid = "a\xFF\xC0\xAF b\xED\xA0\x80";
  EXPECT_EQ(narrow_lib(widen_lib(invalid)), invalid);
}
