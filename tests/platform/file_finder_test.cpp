// The finder: a plain path is a probe for one entry, a wildcard in the last
// component enumerates the matches, hidden names and "." and ".." included.
#include "platform/file_finder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "platform/file_system.h"
#include "platform/test_files.h"

namespace {

// "name attributes;" for every entry the finder reports for `path`, sorted.
std::string found(FileFinder& finder, const std::string& path) {
  std::vector<std::string> entries;
  for (bool more = finder.reset(wide(path)); more; more = finder.next()) {
    entries.push_back(narrow_lib(finder.name()) + " " + std::to_string(finder.attributes()));
  }
  std::sort(entries.begin(), entries.end());
  return joined_names(entries, ";");
}

}  // namespace

TEST(FileFinder, ProbesPlainPathsAndEnumeratesWildcardsHiddenNamesIncluded) {
  ScratchDirectory scratch = platform_scratch();
  mkdir((scratch / "one").c_str(), 0700);
  mkdir((scratch / "one/sub").c_str(), 0700);
  for (const char* name : {"one/b.txt", "one/.hidden.txt", "one/file"})
    write_file(scratch / name, "x");
  symlink("nowhere", (scratch / "dangling").c_str());
  FileFinder finder;
  EXPECT_EQ(u"", finder.name());
  EXPECT_EQ(0u, finder.attributes());
  const std::pair<std::string, std::string> cases[] = {
      {"one/b.txt", "b.txt 0;"},
      {"one", "one 16;"},
      {"one/[a-c].t?t", "b.txt 0;"},
      {"one/*.txt", ".hidden.txt 0;b.txt 0;"},
      {"one/*", ". 16;.. 16;.hidden.txt 0;b.txt 0;file 0;sub 16;"},
      {"missing", ""},
      {"missing/b.txt", ""},
      {"one/", ""},
      {"dangling", ""},  // its status cannot be read
  };
  for (const auto& [path, entries] : cases) {
    EXPECT_EQ(found(finder, scratch / path), entries) << path;
  }
  found(finder, scratch / "one");
  EXPECT_EQ(u"", finder.name()) << "closed after the end";
  EXPECT_FALSE(finder.reset(u"/etc")) << "the directory part of a root entry is empty";
}
