#include "text/wide_string.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <iterator>

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

TEST(WideString, FileNamesInEveryScriptSurviveARoundTrip) {
  struct Name {
    std::string bytes;
    WideString units;
  };
  const Name names[] = {
      {"/tmp/Шаблоны/отчёт.txt", u"/tmp/Шаблоны/отчёт.txt"},
      {"შაბლონები/ფაილი", u"შაბლონები/ფაილი"},
      {"Thư mục mẫu/Tệp.cfg", u"Thư mục mẫu/Tệp.cfg"},
      {"dir/\xF0\x9D\x84\x9E\xF0\x9F\x93\x81", u"dir/\U0001D11E\U0001F4C1"},
      // Latin-1 bytes, a cut sequence and an overlong slash stay raw bytes.
      {"caf\xE9/\xE2\x82/\xC0\xAF", u"caf\xDCE9/\xDCE2\xDC82/\xDCC0\xDCAF"},
  };
  for (const Name& name : names) {
    SCOPED_TRACE(name.bytes);
    EXPECT_EQ(widen_lib(name.bytes), name.units);
    EXPECT_EQ(narrow_lib(name.units), name.bytes);
  }
  // An embedded zero byte does not end a whole-string conversion.
  const std::string withZero("a\0b", 3);
  EXPECT_EQ(narrow_lib(widen_lib(withZero)), withZero);
}

TEST(WideString, Win32ShapedConversionsCountAndStoreWithinTheBuffer) {
  const char* narrow = "Готово";  // six letters, twelve bytes
  EXPECT_EQ(MultiByteToWideChar(0, 0, narrow, 12, nullptr, 0), 6);
  char16_t units[8] = {u'x', u'x', u'x', u'x', u'x', u'x', u'x', u'x'};
  EXPECT_EQ(MultiByteToWideChar(0, 0, narrow, 12, units, 0), 6);
  EXPECT_EQ(units[0], u'x');  // a buffer size of 0 only counts
  EXPECT_EQ(MultiByteToWideChar(0, 0, narrow, 12, units, 3), 6);
  EXPECT_EQ(WideString(units, 4),
            u"Гот"
            u"x");                                                 // three stored, no terminator
  EXPECT_EQ(MultiByteToWideChar(0, 0, "ab\0cd", 5, units, 8), 2);  // reads up to the zero byte

  const char16_t wide[] = u"Да\0нет";
  char bytes[8];
  std::fill(std::begin(bytes), std::end(bytes), 'x');
  EXPECT_EQ(WideCharToMultiByte(0, 0, wide, 6, bytes, 8, nullptr, nullptr), 4);  // stops at zero
  EXPECT_EQ(std::string(bytes, 8), std::string("Да\0\0\0\0", 8));                // rest zero-filled
  std::fill(std::begin(bytes), std::end(bytes), 'x');
  EXPECT_EQ(WideCharToMultiByte(0, 0, wide, 6, bytes, 2, nullptr, nullptr), 4);
  EXPECT_EQ(std::string(bytes, 3),
            "Д"
            "x");  // at most bufferSize bytes written
}

TEST(WideString, NumbersToTextAndBack) {
  EXPECT_EQ(string_ito(-5, 10), u"-5");
  EXPECT_EQ(string_ito(255, 16), u"ff");
  EXPECT_EQ(string_ito(0, 2), u"0");
  EXPECT_EQ(string_ito(5, 2), u"101");
  EXPECT_EQ(string_ito(35, 36), u"z");
  EXPECT_EQ(string_ito(INT32_MIN, 10), u"-2147483648");
  EXPECT_EQ(string_ito(INT32_MAX, 10), u"2147483647");
  EXPECT_EQ(string_ito(-1, 16), u"ffffffff");
  EXPECT_EQ(string_ito(-1, 8), u"37777777777");
  EXPECT_EQ(string_uito(2147483648u, 10), u"2147483648");
  EXPECT_EQ(string_uito(4294967295u, 10), u"4294967295");
  EXPECT_EQ(string_uito(0, 10), u"0");

  EXPECT_EQ(string_toul(u"42abc"), 42u);
  EXPECT_EQ(string_toul(u"-1"), 0u);
  EXPECT_EQ(string_toul(u""), 0u);
  EXPECT_EQ(string_toul(u" 7"), 0u);
  EXPECT_EQ(string_toul(u"4294967295"), 4294967295u);
  EXPECT_EQ(string_toul(u"4294967296"), 0u);  // 32-bit wrap-around
  EXPECT_EQ(string_toul(u"\uFF11"), 0u);      // a full-width digit is no digit
}

TEST(WideString, ReplaceAllNeverOverlapsNorRescans) {
  struct Case {
    WideString text, what, with, expected;
    int count;
  };
  const Case cases[] = {
      {u"aaaa", u"aa", u"a", u"aa", 2},
      {u"aaa", u"aa", u"b", u"ba", 1},
      {u"aaa", u"a", u"aa", u"aaaaaa", 3},  // inserted text is not searched again
      {u"aab", u"ab", u"aa", u"aaa", 1},    // nor is a match that the replacement creates
      {u"abab", u"ab", u"ba", u"baba", 2},
      {u"C:\\kit\\dir\\", u"\\", u"/", u"C:/kit/dir/", 3},
      {u"no match", u"xyz", u"", u"no match", 0},
      {u"no match", u"xy", u"z", u"no match", 0},
      {u"cut-me-cut", u"cut", u"", u"-me-", 2},
      {u"text", u"", u"x", u"text", 0},
      {u"", u"a", u"b", u"", 0},
  };
  for (const Case& c : cases) {
    WideString text = c.text;
    EXPECT_EQ(replace_all(text, c.what, c.with), c.count) << narrow_lib(c.text);
    EXPECT_EQ(text, c.expected) << narrow_lib(c.text);
  }
}

TEST(WideString, ComparisonsAndRootTest) {
  EXPECT_EQ(compare_nocase(u"EN", u"en"), 0);
  EXPECT_EQ(compare_nocase(u"Temp", u"tEMP"), 0);
  EXPECT_LT(compare_nocase(u"a", u"B"), 0);
  EXPECT_GT(compare_nocase(u"b", u"A"), 0);
  EXPECT_NE(compare_nocase(u"en", u"ena"), 0);

  EXPECT_EQ(kPathSeparator, u"/");
  EXPECT_EQ(kBadPathSeparator, u"\\");
  EXPECT_TRUE(isDiskRoot(u"/"));
  EXPECT_FALSE(isDiskRoot(u"//"));
  EXPECT_FALSE(isDiskRoot(u""));
  EXPECT_FALSE(isDiskRoot(u"/home"));
  EXPECT_FALSE(isDiskRoot(u"\\"));
  EXPECT_TRUE(endsWithPathSeparator(u"/a/") && endsWithPathSeparator(u"a\\"));
  EXPECT_FALSE(endsWithPathSeparator(u"") || endsWithPathSeparator(u"/a"));
}
