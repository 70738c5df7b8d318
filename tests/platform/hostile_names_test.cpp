// Names that a shell would interpret must reach the file system literally.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "platform/file_finder.h"
#include "platform/file_system.h"
#include "platform/test_files.h"
#include "support/file_contents.h"
#include "support/scratch_directory.h"

namespace {

const std::vector<std::string> kHostileNames = {
    "$(touch canary)",
    "`touch canary`",
    "\"; touch canary; echo \"",
    "'; touch canary; '",
    "back\\slash",
    "two  blanks ",
    "line\nbreak",
    "-rf",
    "--help",
    "$HOME",
    "a;b|c&d>e<f",
    "tab\there",
};

// Lists a directory with the finder's "*" enumeration: name → attributes.
std::vector<std::pair<std::string, uint32_t>> listed(const std::string& directory) {
  std::vector<std::pair<std::string, uint32_t>> entries;
  FileFinder finder;
  for (bool found = finder.reset(wide(directory + "/*")); found; found = finder.next()) {
    entries.emplace_back(narrow_lib(finder.name()), finder.attributes());
  }
  return entries;
}

}  // namespace

TEST(HostileNames, AreCreatedMovedProbedAndRemovedLiterally) {
  ScratchDirectory scratch("platform-", ".");
  // Any command smuggled in would run here and leave "canary" behind.
  const int previous = open(".", O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(0, chdir(scratch.path().c_str()));

  for (const std::string& name : kHostileNames) {
    SCOPED_TRACE(name);
    const std::string directory = scratch / name;
    EXPECT_EQ(0u, FileSystem::CreateDirectory(wide(directory + "/" + name)));
    EXPECT_EQ(183u, FileSystem::CreateDirectory(wide(directory)));
    const auto entries = listed(scratch.path());
    EXPECT_NE(entries.end(),
              std::find(entries.begin(), entries.end(), std::make_pair(name, uint32_t{16})));
    if (name.find('\\') == std::string::npos) {  // a backslash escapes in a pattern
      FileFinder probe;
      EXPECT_TRUE(probe.reset(wide(directory)));
      EXPECT_EQ(wide(name), probe.name());
    }

    const std::string file = directory + "/" + name + "/" + name;
    HANDLE handle = INVALID_HANDLE_VALUE;
    ASSERT_EQ(0u, FileSystem::CreateFile(wide(file), GENERIC_WRITE, 0, CREATE_ALWAYS, handle));
    unsigned int count = 0;
    FileSystem::WriteFile(handle, name.data(), static_cast<uint32_t>(name.size()), &count, nullptr);
    FileSystem::CloseHandle(handle);
    unsigned int size = 0;
    EXPECT_EQ(0u, FileSystem::GetFileSize(wide(file), &size));
    EXPECT_EQ(name.size(), size);

    const std::string moved = directory + "/moved " + name;
    EXPECT_EQ(0u, FileSystem::MoveFile(wide(file), wide(moved)));
    EXPECT_EQ(name, read_file(moved));
    WideString temporary;
    EXPECT_EQ(0u, FileSystem::GetTempFileName(wide(directory), wide(name), temporary));
    EXPECT_EQ(0u, narrow_lib(temporary).find(directory + "/" + name.substr(0, 5)));
    EXPECT_EQ(0u, FileSystem::DeleteFile(temporary));
    EXPECT_FALSE(exists(narrow_lib(temporary)));
    EXPECT_EQ(0u, FileSystem::MoveFile(wide(directory), wide(directory + ".moved")));
    EXPECT_EQ(0u, FileSystem::RemoveDirectory(wide(directory + ".moved")));
    EXPECT_FALSE(exists(directory + ".moved"));
  }
  EXPECT_FALSE(exists(scratch / "canary"));
  EXPECT_EQ(2u, listed(scratch.path()).size()) << "only . and .. are left";
  EXPECT_EQ(0, fchdir(previous));
  close(previous);
}
