// Damaged and hostile container heads: every one must fail to open with 13
// and leave nothing behind.
#include "kit_test_support.h"
#include "support/file_contents.h"

namespace {

class ReaderValidation : public ScratchTest {};

Bytes en_product() { return Bytes().text(u"en").text(u"T").text(u"V").text(u"r"); }
Bytes one_product() { return Bytes().number(1).number(1).record(en_product()); }

TEST_F(ReaderValidation, EveryMalformedContainerIsInvalidData) {
  const std::string valid = simple_container({{u"a", "abc"}, {u"b", "de"}});
  const std::pair<const char*, std::string> cases[] = {
      {"empty container", ""},
      {"short format word", "\1\0"},
      {"no product count", Bytes().number(1).str()},
      {"huge product count", Bytes().number(1).number(0xFFFFFFFF).record(en_product()).str()},
      {"product record size 0",
       Bytes().number(1).number(1).number(0).raw(std::string(40, 'x')).str()},
      {"product record size 3",
       Bytes().number(1).number(1).number(3).raw(std::string(40, 'x')).str()},
      {"product record past the end",
       Bytes().number(1).number(1).number(1000).raw(std::string(40, 'x')).str()},
      {"product text past its record", Bytes()
                                           .number(1)
                                           .number(1)
                                           .number(20)
                                           .text(u"en")
                                           .number(50)
                                           .number(0)
                                           .raw(std::string(120, 'x'))
                                           .str()},
      {"product fields beyond a short record", Bytes()
                                                   .number(1)
                                                   .number(1)
                                                   .number(12)
                                                   .text(u"en")
                                                   .number(0)
                                                   .number(0)
                                                   .number(0)
                                                   .number(0)
                                                   .str()},
      {"single text past the end", Bytes().number(0).number(1000).raw("ab").str()},
      {"single text count overflowing",
       Bytes().number(0).number(0x80000001).raw(std::string(64, 'x')).str()},
      {"no file count", one_product().str()},
      {"huge file count", one_product().number(0x7FFFFFFF).record(file_fields(u"a", 0, 0)).str()},
      {"huge file record", one_product().number(1).number(0xFFFFFFF0).raw(file_fields(u"a", 0, 0).str()).str()},
      {"long single text", Bytes().number(0).number(0x80001).raw(std::string(0x100002, 'x')).str()},
      {"catalogue ends early", one_product().number(2).record(file_fields(u"a", 0, 0)).str()},
      {"file record size 3", one_product().number(1).number(3).raw(std::string(40, 'x')).str()},
      {"file numbers beyond the record",
       one_product().number(1).number(22).raw(file_fields(u"a", 0, 0).str()).str()},
      {"file name past its record",
       one_product().number(1).number(24).number(40).raw(std::string(60, 'x')).str()},
      {"entry beyond 4 GiB", one_product().number(1).record(file_fields(u"a", 0xFFFFFF00, 0x200)).str()},
      {"entry end overflowing",
       one_product().number(1).record(file_fields(u"a", 0xFFFFFFFF, 2)).raw("abc").str()},
  };
  for (const auto& test : cases) {
    Reader reader;
    EXPECT_EQ(reader.open(widen_lib(write_kit(test.second))), ERROR_INVALID_DATA) << test.first;
    EXPECT_EQ(reader.count(), 0u) << test.first;
    EXPECT_TRUE(temp_files().empty()) << test.first;
  }
  Reader reader;
  EXPECT_EQ(reader.open(widen_lib(write_kit(valid))), 0u);
}

TEST_F(ReaderValidation, EntriesOutsideTheDataFailWhenCopied) {
  // The head is sound, so the kit opens; the data is checked as it streams.
  const std::pair<const char*, std::string> cases[] = {
      {"entry past the data area",
       one_product().number(1).record(file_fields(u"a", 1, 3)).raw("abc").str()},
      {"entry offset past the data area",
       one_product().number(1).record(file_fields(u"a", 9, 0)).raw("abc").str()},
  };
  for (const auto& test : cases) {
    Reader reader;
    ASSERT_EQ(reader.open(widen_lib(write_kit(test.second))), 0u) << test.first;
    EXPECT_EQ(reader.copy(0, wpath("out")), ERROR_INVALID_DATA) << test.first;
  }
  // A record longer than its fields is read past, however long.
  const std::string padded =
      one_product().number(1).record(file_fields(u"a", 0, 3), 3 * 0x100000).raw("xyz").str();
  Reader reader;
  ASSERT_EQ(reader.open(widen_lib(write_kit(padded))), 0u);
  ASSERT_EQ(reader.copy(0, wpath("out")), 0u);
  EXPECT_EQ(read_file(path("out")), "xyz");
}

TEST_F(ReaderValidation, MissingKitGivesFileNotFound) {
  Reader reader;
  EXPECT_EQ(reader.open(wpath("no such kit.pkd")), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(temp_files().empty());
}

}  // namespace
