// Narrow and wide text: lossless conversions, numbers, string and path helpers.
#include "text/wide_string.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <utility>

TEST(WideString, WholeStringConversionsKeepEveryByte) {
  const std::pair<std::string, WideString> roundTrips[] = {
      {"/tmp/Шаблоны/შაბლონები/Tệp", u"/tmp/Шаблоны/შაბლონები/Tệp"},
      {"dir/\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF", u"dir/\xD83D\xDE00\xDBFF\xDFFF"},  // up to U+10FFFF
      {std::string("a\0b", 3), WideString(u"a\0b", 3)},
      // Latin-1, a cut sequence and overlong forms of "/" and "." stay raw bytes.
      {"caf\xE9/\xE2\x82/\xC0\xAF\xE0\x80\xAE",
       u"caf\xDCE9/\xDCE2\xDC82/\xDCC0\xDCAF\xDCE0\xDC80\xDCAE"},
      // So do an encoded surrogate, a value beyond U+10FFFF and a byte no sequence starts with.
      {"\xED\xA0\x80\xF4\x90\x80\x80\xF8", u"\xDCED\xDCA0\xDC80\xDCF4\xDC90\xDC80\xDC80\xDCF8"},
  };
  for (const auto& [bytes, units] : roundTrips) {
    EXPECT_EQ(widen_lib(bytes), units) << bytes;
    EXPECT_EQ(narrow_lib(units), bytes) << bytes;
  }
  // Lone surrogates standing for no raw byte keep their three bytes: none becomes . / or \.
  EXPECT_EQ(narrow_lib(u"\xDC00..\xDC2E\xDC2F\xDC5C\xDC7F\xD800/"),
            "\xED\xB0\x80..\xED\xB0\xAE\xED\xB0\xAF\xED\xB1\x9C\xED\xB1\xBF\xED\xA0\x80/");
}

TEST(WideString, NumbersAndComparisonsWithoutCaseOrTrailingSeparators) {
  EXPECT_EQ(string_ito(INT32_MIN, 10) + u" " + string_ito(-1, 16) + u" " + string_ito(35, 36) +
                u" " + string_ito(0, 2),
            u"-2147483648 ffffffff z 0");
  const std::pair<WideString, uint32_t> numbers[] = {
      {u"90", 90}, {u"4294967295", 4294967295u}, {u"4294967296", 0}, {u"-1", 0}, {u" 7", 0}};
  for (const auto& [text, value] : numbers) EXPECT_EQ(string_toul(text), value) << narrow_lib(text);
  EXPECT_EQ(compare_nocase(u"Temp", u"tEMP"), 0);
  EXPECT_LT(compare_nocase(u"a", u"B"), 0);
  EXPECT_TRUE(endsWithPathSeparator(u"/a/") && endsWithPathSeparator(u"a\\"));
  EXPECT_FALSE(endsWithPathSeparator(u"") || endsWithPathSeparator(u"/a"));
}

TEST(WideString, ReplaceAllNeverOverlapsNorRescans) {
  // The text, what is replaced with what, the result and the count.
  const std::tuple<WideString, WideString, WideString, WideString, int> cases[] = {
      {u"aaaa", u"aa", u"a", u"aa", 2},
      {u"aaa", u"a", u"aa", u"aaaaaa", 3},  // inserted text is not searched again
      {u"aab", u"ab", u"aa", u"aaa", 1},    // nor is a match that the replacement creates
      {u"cut-me-cut", u"cut", u"", u"-me-", 2},
      {u"a\\b\\", u"\\", u"/", u"a/b/", 2},
      {u"text", u"", u"x", u"text", 0},
  };
  for (const auto& [original, what, with, expected, count] : cases) {
    WideString text = original;
    EXPECT_EQ(replace_all(text, what, with), count) << narrow_lib(original);
    EXPECT_EQ(text, expected) << narrow_lib(original);
  }
}
