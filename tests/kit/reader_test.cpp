// The kit's head: both layouts, the language rules, and every damaged or
// unsafe head refused with 13 before anything is used.
#include "kit/entry_name.h"
#include "kit_test_support.h"

namespace {

class KitHead : public KitTest {};

std::string product(const std::u16string& lang, const std::u16string& title,
                    const std::u16string& readme, uint32_t padding = 0) {
  return record(text(lang) + text(title) + text(u"vendor " + title) + text(readme), padding);
}

TEST_F(KitHead, RecordsAreReadToTheirDeclaredEndAndLanguagesFallBackToEnglish) {
  // Any non-zero format word selects the multi-language layout. A record may
  // be longer than its fields, even longer than the 1 MiB read of it.
  const _FILETIME epoch{0xD53E8000u, 0x019DB1DEu};
  Reader reader;
  ASSERT_EQ(open(reader, u32(7) + u32(5) + product(u"uk", u"U", u"uk.txt", 13) +
                             product(u"ru", u"R", u"", 1) + product(u"en", u"E", u"en.txt") +
                             product(u"ru", u"R2", u"other.txt") + product(u"de", u"D", u"de.txt") +
                             u32(2) + record(file_fields(u"dir\\one", 0, 2, epoch), 3 * 0x100000) +
                             record(file_fields(u"two", 2, 3), 9) + "12abc"),
            0u);
  // The first record of a language counts; an empty or missing readme is
  // the English one.
  const std::u16string shown[][4] = {{u"RU", u"R", u"vendor R", u"en.txt"},
                                     {u"Uk", u"U", u"vendor U", u"uk.txt"},
                                     {u"de", u"D", u"vendor D", u"de.txt"},
                                     {u"EN", u"E", u"vendor E", u"en.txt"},
                                     {u"fr", u"", u"", u"en.txt"}};
  for (const auto& [lang, title, vendor, readme] : shown) {
    WideString shownTitle = u"old", shownVendor = u"old";
    reader.getTitles(lang, shownTitle, shownVendor);
    EXPECT_EQ(shownTitle + u"|" + shownVendor + u"|" + reader.getReadme(lang),
              title + u"|" + vendor + u"|" + readme);
  }
  ASSERT_EQ(reader.count(), 2u);
  Entry entry;
  reader.get(0, entry);
  EXPECT_EQ(entry.name, u"dir\\one");
  ASSERT_EQ(reader.copy(0, wpath("one")), 0u);
  ASSERT_EQ(reader.copy(1, wpath("two")), 0u);
  EXPECT_EQ(read_file(path("one")) + read_file(path("two")), "12abc");
  EXPECT_EQ(modification_seconds(path("one")), 0);

  Reader german, single;
  ASSERT_EQ(open(german, u32(1) + u32(1) + product(u"de", u"D", u"") + u32(0), "de.pkd"), 0u);
  EXPECT_EQ(german.getReadme(u"de"), u"");  // no English product to fall back on
  // The single-product layout is English; its readme serves every language.
  ASSERT_EQ(open(single, u32(0) + text(u"T") + text(u"V") + text(u"r.txt") + u32(0), "1.pkd"), 0u);
  WideString title, vendor;
  single.getTitles(u"EN", title, vendor);
  EXPECT_EQ(title + vendor + single.getReadme(u"ru"), u"TVr.txt");
  single.getTitles(u"ru", title, vendor);
  EXPECT_EQ(title + vendor, u"");
}

TEST(EntryName, RefusesEveryEscapeAndAcceptsOrdinaryNames) {
  for (const std::u16string& name : std::vector<std::u16string>{
           u"", u"/etc/passwd", u"\\etc\\passwd", u"..", u"../x", u"..\\x", u"a/../b", u"a\\..\\b",
           u"a/..", u"a\\..", u"a/..\\b", u"/", u"\\", std::u16string(u"a\0b", 3)}) {
    EXPECT_FALSE(is_safe_entry_name(name)) << narrow_lib(name);
  }
  for (const std::u16string name : {u"a", u"a..b", u"..a", u"a..", u".x", u"./a", u"...",
                                    u"dir\\sub/f", u"\u00fc\u0431\u4e2d.txt"}) {
    EXPECT_TRUE(is_safe_entry_name(name)) << narrow_lib(name);
  }
}

TEST_F(KitHead, EveryDamagedOrUnsafeHeadIsInvalidDataAndLeavesNothingOpen) {
  const std::string en = record(text(u"en") + text(u"T") + text(u"V") + text(u""));
  const std::string oneProduct = u32(1) + u32(1) + en, x40(40, 'x');
  const std::pair<const char*, std::string> cases[] = {
      {"empty container", ""},
      {"short format word", std::string("\1\0", 2)},
      {"no product count", u32(1)},
      {"huge product count", u32(1) + u32(0xFFFFFFFF) + en},
      {"product record size 3", u32(1) + u32(1) + u32(3) + x40},
      {"product record past the end", u32(1) + u32(1) + u32(1000) + x40},
      {"product text past its record", u32(1) + u32(1) + u32(20) + text(u"en") + u32(50) + x40},
      {"readme one unit past its record",
       u32(1) + u32(1) +
           record(text(u"en") + text(u"T") + text(u"V") + u32(2) + std::string("r\0", 2)) + u32(0)},
      {"single text past the end", u32(0) + u32(1000) + "ab"},
      {"single text count overflowing", u32(0) + u32(0x80000001) + x40},
      {"single text over 1 MiB", u32(0) + u32(0x80001) + std::string(0x100002, 'x')},
      {"no file count", oneProduct},
      {"huge file count", oneProduct + u32(0x7FFFFFFF) + record(file_fields(u"a", 0, 0))},
      {"huge file record", oneProduct + u32(1) + u32(0xFFFFFFF0) + x40},
      {"catalogue ends early", oneProduct + u32(2) + record(file_fields(u"a", 0, 0))},
      {"file record size 3", oneProduct + u32(1) + u32(3) + x40},
      {"file numbers beyond the record", oneProduct + u32(1) + u32(22) + file_fields(u"a", 0, 0)},
      {"file name past its record", oneProduct + u32(1) + u32(24) + u32(40) + x40},
      {"name with a .. component", oneProduct + u32(2) + record(file_fields(u"a", 0, 1)) +
                                       record(file_fields(u"b\\..\\..", 1, 1)) + "12"},
      {"entry beyond 4 GiB", oneProduct + u32(1) + record(file_fields(u"a", 0xFFFFFF00, 0x200))},
      {"entry end overflowing",
       oneProduct + u32(1) + record(file_fields(u"a", 0xFFFFFFFF, 2)) + "abc"},
  };
  for (const auto& [label, container] : cases) {
    Reader reader;
    EXPECT_EQ(open(reader, container), ERROR_INVALID_DATA) << label;
    EXPECT_EQ(reader.count(), 0u) << label;
    EXPECT_TRUE(temp_files().empty()) << label;
  }
  // An empty file, a damaged stream, and no file at all.
  for (const std::string& bytes : {std::string(), std::string("\xff\xff\xff\xff")}) {
    write_file(path("raw.pkd"), bytes);
    Reader reader;
    EXPECT_EQ(reader.open(wpath("raw.pkd")), ERROR_INVALID_DATA) << bytes.size();
  }
  Reader reader;
  EXPECT_EQ(reader.open(wpath("missing.pkd")), ERROR_FILE_NOT_FOUND);
}

}  // namespace
