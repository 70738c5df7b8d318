// Parsing of well-formed containers and the language rules.
#include "kit_test_support.h"
#include "support/file_contents.h"

namespace {

class ReaderFormat : public ScratchTest {
 protected:
  uint32_t open(Reader& reader, const std::string& container) {
    return reader.open(widen_lib(write_kit(container)));
  }
};

const unsigned char kSingleExample[22] = {0, 0, 0, 0, 1, 0, 0, 0, 0x41, 0, 0,
                                          0, 0, 0, 0, 0, 0, 0, 0, 0,    0, 0};
const unsigned char kMultiExample[67] = {
    0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x1a, 0x00, 0x00, 0x00, 0x02, 0x00,
    0x00, 0x00, 0x65, 0x00, 0x6e, 0x00, 0x01, 0x00, 0x00, 0x00, 0x41, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x1a, 0x00, 0x00, 0x00,
    0x01, 0x00, 0x00, 0x00, 0x61, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x78, 0x79, 0x7a};

TEST_F(ReaderFormat, WorkedExamplesParseByteForByte) {
  Reader single;
  ASSERT_EQ(open(single, std::string(reinterpret_cast<const char*>(kSingleExample), 22)), 0u);
  ASSERT_EQ(single.getProducts().size(), 1u);
  EXPECT_EQ(single.getProducts()[0].lang, u"en");
  EXPECT_EQ(single.getProducts()[0].title, u"A");
  EXPECT_EQ(single.getProducts()[0].vendor, u"");
  EXPECT_EQ(single.getProducts()[0].readme, u"");
  EXPECT_EQ(single.count(), 0u);

  Reader multi;
  ASSERT_EQ(open(multi, std::string(reinterpret_cast<const char*>(kMultiExample), 67)), 0u);
  ASSERT_EQ(multi.getProducts().size(), 1u);
  EXPECT_EQ(multi.getProducts()[0].lang, u"en");
  EXPECT_EQ(multi.getProducts()[0].title, u"A");
  ASSERT_EQ(multi.count(), 1u);
  config::FileData<FileSystem> entry;
  multi.get(0, entry);
  EXPECT_EQ(entry.name, u"a");
  EXPECT_EQ(entry.offset, 64u);
  EXPECT_EQ(entry.size, 3u);
  EXPECT_EQ(entry.time.dwLowDateTime, 0u);
  EXPECT_EQ(entry.time.dwHighDateTime, 0u);
  ASSERT_EQ(multi.copy(0, wpath("a")), 0u);
  EXPECT_EQ(read_file(path("a")), "xyz");
}

TEST_F(ReaderFormat, SingleProductLanguageRules) {
  Reader reader;
  ASSERT_EQ(open(reader, Bytes()
                             .number(0)
                             .text(u"Title")
                             .text(u"Vendor")
                             .text(u"docs\\readme.txt")
                             .number(0)
                             .str()),
            0u);
  WideString title = u"old", vendor = u"old";
  reader.getTitles(u"EN", title, vendor);
  EXPECT_EQ(title, u"Title");
  EXPECT_EQ(vendor, u"Vendor");
  reader.getTitles(u"ru", title, vendor);
  EXPECT_EQ(title, u"");
  EXPECT_EQ(vendor, u"");
  EXPECT_EQ(reader.getReadme(u"ru"), u"docs\\readme.txt");
}

Bytes product(const std::u16string& lang, const std::u16string& title,
              const std::u16string& readme) {
  return Bytes().text(lang).text(title).text(u"vendor " + title).text(readme);
}

TEST_F(ReaderFormat, MultiLanguageRules) {
  // Any non-zero format word selects this layout; an empty readme for ru
  // falls back to English, a missing language too.
  Reader fallback;
  ASSERT_EQ(open(fallback, Bytes()
                               .number(7)
                               .number(2)
                               .record(product(u"ru", u"R", u""))
                               .record(product(u"en", u"E", u"en.txt"))
                               .number(0)
                               .str()),
            0u);
  WideString title, vendor;
  fallback.getTitles(u"RU", title, vendor);
  EXPECT_EQ(title, u"R");
  EXPECT_EQ(vendor, u"vendor R");
  fallback.getTitles(u"de", title, vendor);
  EXPECT_EQ(title, u"");
  EXPECT_EQ(fallback.getReadme(u"ru"), u"en.txt");
  EXPECT_EQ(fallback.getReadme(u"de"), u"en.txt");

  // A non-empty readme of the language wins wherever English stands; the
  // first record of a language counts.
  for (bool englishFirst : {true, false}) {
    Bytes bytes;
    bytes.number(1).number(3);
    if (englishFirst) bytes.record(product(u"en", u"E", u"en.txt"));
    bytes.record(product(u"ru", u"R", u"ru.txt")).record(product(u"ru", u"R2", u"other.txt"));
    if (!englishFirst) bytes.record(product(u"en", u"E", u"en.txt"));
    Reader reader;
    ASSERT_EQ(open(reader, bytes.number(0).str()), 0u);
    EXPECT_EQ(reader.getReadme(u"Ru"), u"ru.txt");
    EXPECT_EQ(reader.getReadme(u"EN"), u"en.txt");
    reader.getTitles(u"ru", title, vendor);
    EXPECT_EQ(title, u"R");
  }

  // No products at all: nothing to show, nothing to open.
  Reader empty;
  ASSERT_EQ(open(empty, Bytes().number(1).number(0).number(0).str()), 0u);
  empty.getTitles(u"en", title, vendor);
  EXPECT_EQ(title, u"");
  EXPECT_EQ(empty.getReadme(u"en"), u"");
  EXPECT_EQ(empty.count(), 0u);

  // No English product to fall back on.
  Reader noEnglish;
  ASSERT_EQ(open(noEnglish,
                 Bytes().number(1).number(1).record(product(u"de", u"D", u"")).number(0).str()),
            0u);
  EXPECT_EQ(noEnglish.getReadme(u"ru"), u"");
}

TEST_F(ReaderFormat, OversizedRecordsAreSkippedToTheirDeclaredEnd) {
  Reader reader;
  const _FILETIME time{0xD53E8000u, 0x019DB1DEu};
  ASSERT_EQ(open(reader, Bytes()
                             .number(1)
                             .number(2)
                             .record(product(u"en", u"E", u"r"), 13)
                             .record(product(u"ru", u"R", u""), 1)
                             .number(2)
                             .record(file_fields(u"dir\\one", 0, 2, time), 9)
                             .record(file_fields(u"two", 2, 3))
                             .raw("12abc")
                             .str()),
            0u);
  ASSERT_EQ(reader.getProducts().size(), 2u);
  EXPECT_EQ(reader.getProducts()[1].title, u"R");
  ASSERT_EQ(reader.count(), 2u);
  config::FileData<FileSystem> entry;
  reader.get(0, entry);
  EXPECT_EQ(entry.name, u"dir\\one");
  EXPECT_EQ(entry.time.dwHighDateTime, time.dwHighDateTime);
  EXPECT_EQ(entry.time.dwLowDateTime, time.dwLowDateTime);
  reader.get(1, entry);
  EXPECT_EQ(entry.name, u"two");
  ASSERT_EQ(reader.copy(0, wpath("one")), 0u);
  ASSERT_EQ(reader.copy(1, wpath("two")), 0u);
  EXPECT_EQ(read_file(path("one")), "12");
  EXPECT_EQ(read_file(path("two")), "abc");
  EXPECT_EQ(modification_seconds(path("one")), 0);
}

TEST_F(ReaderFormat, ContainerIsDeletedWithTheReader) {
  {
    Reader reader;
    ASSERT_EQ(open(reader, simple_container({{u"a", "1"}, {u"b", "2"}})), 0u);
    EXPECT_TRUE(temp_files().empty());
    ASSERT_EQ(reader.copy(1, wpath("b")), 0u);
    ASSERT_EQ(reader.copy(0, wpath("a")), 0u);
    const std::vector<std::string> left = temp_files();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].compare(0, 3, "kpt"), 0);
  }
  EXPECT_TRUE(temp_files().empty());
}

}  // namespace
