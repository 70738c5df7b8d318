// Narrow and wide text: the lossless conversions, the Win32-shaped ones, the
// number helpers and the small string and path helpers.
#include "text/wide_string.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

TEST(WideString, WholeStringConversionsKeepEveryByte) {
  const std::pair<std::string, WideString> roundTrips[] = {
      {"/tmp/Шаблоны/отчёт.txt", u"/tmp/Шаблоны/отчёт.txt"},
      {"შაბლონები/Tệp", u"შაბლონები/Tệp"},
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
  // Lone surrogates that stand for no raw byte keep their three-byte form, so
  // none of them can narrow to ".", "/" or "\".
  const std::pair<WideString, std::string> loneSurrogates[] = {
      {u"\xDC00", "\xED\xB0\x80"}, {u"..\xDC2E", "..\xED\xB0\xAE"}, {u"\xDC2F", "\xED\xB0\xAF"},
      {u"\xDC5C", "\xED\xB1\x9C"}, {u"\xDC7F", "\xED\xB1\xBF"},     {u"\xD800/", "\xED\xA0\x80/"},
  };
  for (const auto& [units, bytes] : loneSurrogates) EXPECT_EQ(narrow_lib(units), bytes) << bytes;
}

TEST(WideString, Win32ShapedConversionsCountAndStoreWithinTheBuffer) {
  char16_t units[4] = {u'x', u'x', u'x', u'x'};
  EXPECT_EQ(MultiByteToWideChar(0, 0, "Готово", 12, units, 0), 6);  // a size of 0 only counts
  EXPECT_EQ(MultiByteToWideChar(0, 0, "Готово", 12, units, 3), 6);
  EXPECT_EQ(WideString(units, 4), u"Готx");  // three stored, no terminator
  EXPECT_EQ(MultiByteToWideChar(0, 0, "ab\0cd", 5, units, 4), 2);
  char bytes[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(WideCharToMultiByte(0, 0, u"Да\0нет", 6, bytes, 2, nullptr, nullptr), 4);
  EXPECT_EQ(std::string(bytes, 3), "Дx");  // at most bufferSize bytes written
  EXPECT_EQ(WideCharToMultiByte(0, 0, u"Да\0нет", 6, bytes, 8, nullptr, nullptr), 4);
  EXPECT_EQ(std::string(bytes, 8), std::string("Да\0\0\0\0", 8));  // stops at zero, rest zeroed
}

TEST(WideString, NumbersToTextAndBack) {
  const std::pair<WideString, WideString> texts[] = {
      {string_ito(-5, 10), u"-5"},
      {string_ito(255, 16), u"ff"},
      {string_ito(0, 2), u"0"},
      {string_ito(35, 36), u"z"},
      {string_ito(INT32_MIN, 10), u"-2147483648"},
      {string_ito(-1, 16), u"ffffffff"},
      {string_ito(INT32_MAX, 10), u"2147483647"},
      {string_uito(4294967295u, 10), u"4294967295"},
  };
  for (const auto& [text, expected] : texts) EXPECT_EQ(text, expected);
  const std::pair<WideString, uint32_t> numbers[] = {
      {u"42abc", 42},     {u"90", 90},    {u"4294967295", 4294967295u},
      {u"4294967296", 0}, {u"-1", 0},     {u"", 0},
      {u" 7", 0},         {u"\uFF11", 0},  // a full-width digit is no digit
  };
  for (const auto& [text, value] : numbers) EXPECT_EQ(string_toul(text), value) << narrow_lib(text);
}

TEST(WideString, ReplaceAllNeverOverlapsNorRescans) {
  struct Case {
    WideString text, what, with, expected;
    int count;
  };
  const Case cases[] = {
      {u"aaaa", u"aa", u"a", u"aa", 2},         {u"aaa", u"aa", u"b", u"ba", 1},
      {u"aaa", u"a", u"aa", u"aaaaaa", 3},  // inserted text is not searched again
      {u"aab", u"ab", u"aa", u"aaa", 1},    // nor is a match that the replacement creates
      {u"abab", u"ab", u"ba", u"baba", 2},      {u"a\\b\\", u"\\", u"/", u"a/b/", 2},
      {u"cut-me-cut", u"cut", u"", u"-me-", 2}, {u"no match", u"xy", u"z", u"no match", 0},
      {u"text", u"", u"x", u"text", 0},         {u"", u"a", u"b", u"", 0},
  };
  for (const Case& c : cases) {
    WideString text = c.text;
    EXPECT_EQ(replace_all(text, c.what, c.with), c.count) << narrow_lib(c.text);
    EXPECT_EQ(text, c.expected) << narrow_lib(c.text);
  }
}

TEST(WideString, ComparisonWithoutCaseAndPathTests) {
  EXPECT_EQ(compare_nocase(u"Temp", u"tEMP"), 0);
  EXPECT_LT(compare_nocase(u"a", u"B"), 0);
  EXPECT_GT(compare_nocase(u"b", u"A"), 0);
  EXPECT_LT(compare_nocase(u"en", u"ena"), 0);
  EXPECT_TRUE(isDiskRoot(u"/"));
  for (const WideString path : {u"//", u"", u"/home", u"\\"}) EXPECT_FALSE(isDiskRoot(path));
  EXPECT_TRUE(endsWithPathSeparator(u"/a/") && endsWithPathSeparator(u"a\\"));
  EXPECT_FALSE(endsWithPathSeparator(u"") || endsWithPathSeparator(u"/a"));
}
