#include "kit/entry_name.h"

#include "kit_test_support.h"

namespace {

const std::u16string kUnsafeNames[] = {
    u"",       u"/etc/passwd", u"\\etc\\passwd", u"..",    u"../x",    u"..\\x",
    u"a/../b", u"a\\..\\b",    u"a/..",          u"a\\..", u"a/..\\b", std::u16string(u"a\0b", 3),
    u"/",      u"\\"};

TEST(EntryName, RejectsEveryEscapeAndAcceptsOrdinaryNames) {
  for (const std::u16string& name : kUnsafeNames) {
    EXPECT_FALSE(is_safe_entry_name(name)) << narrow_lib(name);
  }
  for (const std::u16string name : {u"a", u"a..b", u"..a", u"a..", u".x", u"./a", u"dir\\sub/f",
                                    u"\u00fc\u0431\u4e2d.txt", u"..."}) {
    EXPECT_TRUE(is_safe_entry_name(name)) << narrow_lib(name);
  }
}

class UnsafeKit : public ScratchTest {};

TEST_F(UnsafeKit, OpenRefusesEveryUnsafeNameAndLeavesNoContainer) {
  for (const std::u16string& name : kUnsafeNames) {
    const std::string kit = write_kit(simple_container({{u"fine", "1"}, {name, "22"}}));
    Reader reader;
    EXPECT_EQ(reader.open(widen_lib(kit)), ERROR_INVALID_DATA) << narrow_lib(name);
    EXPECT_EQ(reader.count(), 0u);
    EXPECT_TRUE(temp_files().empty());
  }
}

}  // namespace
