#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <set>
#include <utility>

#include "platform/file_finder.h"
#include "platform/file_system.h"
#include "platform/test_files.h"
#include "support/file_contents.h"
#include "support/scratch_directory.h"

namespace {

// Sets TMPDIR for one scope and restores the previous value.
class TemporaryDirectoryVariable {
 public:
  explicit TemporaryDirectoryVariable(const char* value) {
    const char* const old = getenv("TMPDIR");
    m_hadValue = old != nullptr;
    m_oldValue = m_hadValue ? old : "";
    value ? setenv("TMPDIR", value, 1) : unsetenv("TMPDIR");
  }
  ~TemporaryDirectoryVariable() {
    m_hadValue ? setenv("TMPDIR", m_oldValue.c_str(), 1) : unsetenv("TMPDIR");
  }

 private:
  bool m_hadValue;
  std::string m_oldValue;
};

}  // namespace

TEST(PathOperations, CreateDirectoryBuildsChainsAndReportsWhatIsThere) {
  ScratchDirectory scratch("platform-", ".");
  EXPECT_EQ(0u, FileSystem::CreateDirectory(wide(scratch / "a/b//c/")));
  EXPECT_TRUE(S_ISDIR(statusOf(scratch / "a/b/c").st_mode));
  EXPECT_EQ(183u, FileSystem::CreateDirectory(wide(scratch / "a/b")));
  symlink("a", (scratch / "link").c_str());
  EXPECT_EQ(183u, FileSystem::CreateDirectory(wide(scratch / "link")));
  write_file(scratch / "file", "x");
  EXPECT_EQ(2u, FileSystem::CreateDirectory(wide(scratch / "file")));
  EXPECT_EQ(2u, FileSystem::CreateDirectory(wide(scratch / "file/below")));
  EXPECT_EQ(2u, FileSystem::CreateDirectory(WideString()));
}

TEST(PathOperations, MoveRenamesReplacesAndReportsMissingSource) {
  ScratchDirectory scratch("platform-", ".");
  EXPECT_EQ(2u, FileSystem::MoveFile(wide(scratch / "missing"), wide(scratch / "target")));
  EXPECT_FALSE(exists(scratch / "target"));

  write_file(scratch / "new", "new");
  write_file(scratch / "old", "old");
  EXPECT_EQ(0u, FileSystem::MoveFile(wide(scratch / "new"), wide(scratch / "old")));
  EXPECT_EQ("new", read_file(scratch / "old"));
  EXPECT_FALSE(exists(scratch / "new"));

  FileSystem::CreateDirectory(wide(scratch / "tree/inner"));
  write_file(scratch / "tree/inner/f", "f");
  EXPECT_EQ(0u, FileSystem::MoveFile(wide(scratch / "tree"), wide(scratch / "moved")));
  EXPECT_EQ("f", read_file(scratch / "moved/inner/f"));
  EXPECT_EQ(2u, FileSystem::MoveFile(wide(scratch / "old"), wide(scratch / "nowhere/x")));
}

TEST(PathOperations, DeleteAndRemoveNeverFollowLinks) {
  ScratchDirectory scratch("platform-", ".");
  FileSystem::CreateDirectory(wide(scratch / "outside/deep"));
  write_file(scratch / "outside/keep", "keep");
  write_file(scratch / "outside/deep/keep", "keep");
  FileSystem::CreateDirectory(wide(scratch / "tree/sub/subsub"));
  write_file(scratch / "tree/sub/subsub/f", "f");
  write_file(scratch / "tree/.hidden", "h");
  symlink((scratch / "outside").c_str(), (scratch / "tree/absolute").c_str());
  symlink("../../outside", (scratch / "tree/sub/relative").c_str());
  symlink((scratch / "outside/keep").c_str(), (scratch / "file-link").c_str());
  symlink((scratch / "outside").c_str(), (scratch / "dir-link").c_str());

  EXPECT_EQ(0u, FileSystem::RemoveDirectory(wide(scratch / "tree/")));
  EXPECT_FALSE(exists(scratch / "tree"));
  EXPECT_EQ(0u, FileSystem::DeleteFile(wide(scratch / "file-link")));
  EXPECT_FALSE(exists(scratch / "file-link"));
  EXPECT_EQ(0u, FileSystem::RemoveDirectory(wide(scratch / "dir-link")));
  EXPECT_FALSE(exists(scratch / "dir-link"));
  EXPECT_EQ(0u, FileSystem::RemoveDirectory(wide(scratch / "outside/deep/..")));
  EXPECT_EQ(0u, FileSystem::RemoveDirectory(wide(scratch / "outside/.")));
  EXPECT_EQ("keep", read_file(scratch / "outside/keep"));
  EXPECT_EQ("keep", read_file(scratch / "outside/deep/keep"));

  EXPECT_EQ(0u, FileSystem::DeleteFile(wide(scratch / "missing")));
  EXPECT_EQ(0u, FileSystem::DeleteFile(wide(scratch / "outside")));
  EXPECT_TRUE(exists(scratch / "outside")) << "unlink does not remove directories";
  EXPECT_EQ(0u, FileSystem::RemoveDirectory(wide(scratch / "outside/keep")));
  EXPECT_FALSE(exists(scratch / "outside/keep"));
}

TEST(PathOperations, TempFileIsNewUniqueAndInTheNamedDirectory) {
  ScratchDirectory scratch("platform-", ".");
  FileSystem::CreateDirectory(wide(scratch / "named"));
  FileSystem::CreateDirectory(wide(scratch / "environment"));
  TemporaryDirectoryVariable variable((scratch / "environment").c_str());

  std::set<WideString> names;
  for (int i = 0; i < 50; ++i) {
    WideString name;
    ASSERT_EQ(0u, FileSystem::GetTempFileName(wide(scratch / "named/"), u"kptlong", name));
    names.insert(name);
    const std::string narrow = narrow_lib(name);
    EXPECT_EQ(0u, narrow.find(scratch / "named/kptlo")) << narrow;
    EXPECT_EQ(0, statusOf(narrow).st_size);
  }
  EXPECT_EQ(50u, names.size());
  FileFinder finder;
  EXPECT_FALSE(finder.reset(wide(scratch / "environment/k*")));

  WideString name = u"unchanged";
  EXPECT_EQ(1013u, FileSystem::GetTempFileName(wide(scratch / "absent"), u"Orbe", name));
  EXPECT_EQ(1013u, FileSystem::GetTempFileName(wide(scratch / "named"), u"../x", name));
  EXPECT_EQ(u"unchanged", name);
}

TEST(PathOperations, TempPathFollowsAUsableTmpdir) {
  ScratchDirectory scratch("platform-", ".");
  const std::string file = scratch / "file", own = scratch.path() + "/";
  write_file(file, "x");
  const std::pair<const char*, std::string> cases[] = {
      {file.c_str(), "/tmp/"}, {"/var/tmp", "/var/tmp/"}, {own.c_str(), own}, {nullptr, "/tmp/"}};
  for (const auto& [value, expected] : cases) {
    TemporaryDirectoryVariable variable(value);
    WideString path;
    EXPECT_EQ(0u, FileSystem::GetTempPath(path));
    EXPECT_EQ(wide(expected), path) << (value ? value : "unset");
  }
}

TEST(PathOperations, SizeAndFreeSpaceChecksTheirArguments) {
  ScratchDirectory scratch("platform-", ".");
  write_file(scratch / "seven", "1234567");
  unsigned int value = 99;
  EXPECT_EQ(1u, FileSystem::GetFileSize(wide(scratch / "seven"), nullptr));
  EXPECT_EQ(1u, FileSystem::GetFileSize(wide(scratch / "missing"), &value));
  EXPECT_EQ(0u, FileSystem::GetFileSize(wide(scratch / "seven"), &value));
  EXPECT_EQ(7u, value);
  EXPECT_EQ(87u, FileSystem::GetFreeSpaceTmpDir(nullptr));

  // The disk holding the build tree has more than 4 GiB free on any usable
  // build machine; the count must saturate rather than wrap.
  TemporaryDirectoryVariable variable(scratch.path().c_str());
  struct statvfs disk;
  ASSERT_EQ(0, statvfs(scratch.path().c_str(), &disk));
  if (static_cast<double>(disk.f_frsize) * disk.f_bfree <= 0xFFFFFFFFu) {
    GTEST_SKIP() << "less than 4 GiB free on the build disk";
  }
  EXPECT_EQ(0u, FileSystem::GetFreeSpaceTmpDir(&value));
  EXPECT_EQ(0xFFFFFFFFu, value);
}
