// The kit's head: both layouts, the language rules, and every damaged or
// unsafe head refused with 13 before anything is used.
#include <tuple>

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
  write_kit(u32(7) + u32(5) + product(u"uk", u"U", u"uk.txt", 13) + product(u"ru", u"R", u"", 1) +
                product(u"en", u"E", u"en.txt") + product(u"ru", u"R2", u"other.txt") +
                product(u"de", u"D", u"de.txt") + u32(2) +
                record(file_fields(u"dir\\one", 0, 2), 3 * 0x100000) +
                record(file_fields(u"two", 2, 3), 9) + "12abc",
            "multi.pkd");
  write_kit(u32(1) + u32(1) + product(u"de", u"D", u"") + u32(0), "de.pkd");
  write_kit(u32(0) + text(u"T") + text(u"V") + text(u"r.txt") + u32(0), "single.pkd");
  // The first record of a language counts; an empty or missing readme is the
  // English one, if any. The single layout is English; its readme serves all.
  const std::tuple<const char*, std::u16string, std::u16string> shown[] = {
      {"multi.pkd", u"RU", u"R|vendor R|en.txt"}, {"multi.pkd", u"Uk", u"U|vendor U|uk.txt"},
      {"multi.pkd", u"de", u"D|vendor D|de.txt"}, {"multi.pkd", u"EN", u"E|vendor E|en.txt"},
      {"multi.pkd", u"fr", u"||en.txt"},          {"de.pkd", u"de", u"D|vendor D|"},
      {"single.pkd", u"EN", u"T|V|r.txt"},        {"single.pkd", u"ru", u"||r.txt"}};
  for (const auto& [kit, lang, expected] : shown) {
    Reader reader;
    ASSERT_EQ(reader.open(wpath(kit)), 0u);
    WideString title = u"old", vendor = u"old";
    reader.getTitles(lang, title, vendor);
    EXPECT_EQ(title + u"|" + vendor + u"|" + reader.getReadme(lang), expected) << kit;
  }
  Reader reader;
  ASSERT_EQ(reader.open(wpath("multi.pkd")), 0u);
  ASSERT_EQ(reader.count(), 2u);
  ASSERT_EQ(reader.copy(0, wpath("one")) + reader.copy(1, wpath("two")), 0u);
  EXPECT_EQ(read_file(path("one")) + read_file(path("two")), "12abc");
  // Opened again, with or without a close, the head is there once; its size is the
  // opened kit's, whatever is at its path later; a failed open leaves nothing.
  reader.close();
  ASSERT_EQ(reader.open(wpath("multi.pkd")) + reader.open(wpath("multi.pkd")), 0u);
  EXPECT_EQ(reader.getProducts().size() * 10 + reader.count(), 52u);
  const uint64_t size = static_cast<uint64_t>(status_of(path("multi.pkd")).st_size);
  ASSERT_EQ(rename(path("de.pkd").c_str(), path("multi.pkd").c_str()), 0);
  EXPECT_EQ(reader.kitFileSize(), size);
  EXPECT_EQ(reader.open(wpath("missing.pkd")), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reader.getProducts().size() + reader.count() + reader.kitFileSize(), 0u);
}

TEST(EntryName, RefusesEveryEscapeAndAcceptsOrdinaryNames) {
  for (const std::u16string& name : std::vector<std::u16string>{
           u"", u"/etc/passwd", u"\\etc\\passwd", u"..", u"a/../b", u"a\\..\\b", u"a/..\\b",
           std::u16string(u"a\0b", 3), u".", u"./a", u"sub/", u"sub\\.", u"a//b", u"a\\.\\b"}) {
    EXPECT_FALSE(is_safe_entry_name(name)) << narrow_lib(name);
  }
  for (const std::u16string name :
       {u"a", u"a..b", u"..a", u"a..", u".x", u"...", u"dir\\sub/f", u"\u00fc\u0431\u4e2d.txt"}) {
    EXPECT_TRUE(is_safe_entry_name(name)) << narrow_lib(name);
  }
}

TEST_F(KitHead, EveryDamagedOrUnsafeHeadIsInvalidDataAndLeavesNothingOpen) {
  const std::string fields = text(u"en") + text(u"T") + text(u"V"), en = record(fields + u32(0));
  const std::string oneProduct = u32(1) + u32(1) + en, x40(40, 'x');
  // Names of 70 MB in all: more memory than the head may take.
  std::string tooLarge = oneProduct + u32(70);
  for (int i = 0; i < 70; ++i) tooLarge += record(file_fields(std::u16string(500000, u'a'), 0, 0));
  const std::pair<const char*, std::string> cases[] = {
      {"huge product count", u32(1) + u32(0xFFFFFFFF) + en},
      {"product record size 3", u32(1) + u32(1) + u32(3) + x40},
      {"readme one unit past its record",
       u32(1) + u32(1) + u32(30) + fields + u32(2) + "rr" + u32(0)},
      {"single text count overflowing", u32(0) + u32(0x80000001) + x40},
      {"single text over 1 MiB", u32(0) + u32(0x80001) + std::string(0x100002, 'x')},
      {"huge file count", oneProduct + u32(0x7FFFFFFF) + record(file_fields(u"a", 0, 0))},
      {"catalogue too large for memory", tooLarge},
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
    EXPECT_EQ(reader.open(widen_lib(write_kit(container))), ERROR_INVALID_DATA) << label;
    EXPECT_EQ(reader.count(), 0u) << label;
  }
  Reader missing;
  EXPECT_EQ(missing.open(wpath("missing.pkd")), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(path("missing.pkd"), missing.failedPath());
}

}  // namespace
