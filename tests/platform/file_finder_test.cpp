#include "platform/file_finder.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/file_system.h"
#include "platform/test_files.h"
#include "support/file_contents.h"
#include "support/scratch_directory.h"

TEST(FileFinder, ProbesPlainPathsAndRefusesWhatCannotBeOpened) {
  ScratchDirectory scratch("platform-", ".");
  write_file(scratch / "file.txt", "x");
  FileSystem::CreateDirectory(wide(scratch / "dir"));
  symlink("nowhere", (scratch / "dangling").c_str());

  FileFinder finder;
  EXPECT_EQ(u"", finder.name());
  EXPECT_EQ(0u, finder.attributes());
  EXPECT_TRUE(finder.reset(wide(scratch / "file.txt")));
  EXPECT_EQ(u"file.txt", finder.name());
  EXPECT_EQ(0u, finder.attributes());
  EXPECT_FALSE(finder.next());
  EXPECT_EQ(u"", finder.name()) << "closed after the end";

  EXPECT_TRUE(finder.reset(wide(scratch / "dir")));
  EXPECT_EQ(16u, finder.attributes());
  EXPECT_FALSE(finder.reset(wide(scratch / "missing")));
  EXPECT_FALSE(finder.reset(wide(scratch / "missing/file.txt")));
  EXPECT_FALSE(finder.reset(wide(scratch / "dir/")));
  EXPECT_EQ(u"", finder.name());
  EXPECT_FALSE(finder.reset(u"/etc")) << "the directory part of a root entry is empty";
  EXPECT_FALSE(finder.reset(wide(scratch / "dangling"))) << "its status cannot be read";
}

TEST(FileFinder, EnumeratesMatchesIncludingDotEntries) {
  ScratchDirectory scratch("platform-", ".");
  FileSystem::CreateDirectory(wide(scratch / "one/sub"));
  write_file(scratch / "one/file", "x");
  FileFinder finder;
  std::set<std::pair<WideString, uint32_t>> seen;
  for (bool found = finder.reset(wide(scratch / "one/*")); found; found = finder.next()) {
    seen.emplace(finder.name(), finder.attributes());
  }
  EXPECT_EQ((std::set<std::pair<WideString, uint32_t>>{
                {u".", 16}, {u"..", 16}, {u"file", 0}, {u"sub", 16}}),
            seen);

  write_file(scratch / "one/.hidden.txt", "x");
  write_file(scratch / "one/b.txt", "x");
  std::set<WideString> texts;
  for (bool found = finder.reset(wide(scratch / "one/*.txt")); found; found = finder.next()) {
    texts.insert(finder.name());
  }
  EXPECT_EQ((std::set<WideString>{u".hidden.txt", u"b.txt"}), texts);
  EXPECT_TRUE(finder.reset(wide(scratch / "one/[a-c].t?t")));
  EXPECT_EQ(u"b.txt", finder.name());
  EXPECT_FALSE(finder.next());
}
