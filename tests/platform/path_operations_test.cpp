// The path operations and the operations relative to an open directory:
// directories made with their parents, moves, removals that never follow a
// link, temporary files and the temporary directory.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <set>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/test_files.h"

namespace {

// Sets TMPDIR for one scope and restores the previous value.
class TemporaryDirectoryVariable {
 public:
  explicit TemporaryDirectoryVariable(const char* value) : m_had(getenv("TMPDIR") != nullptr) {
    if (m_had) m_old = getenv("TMPDIR");
    value ? setenv("TMPDIR", value, 1) : unsetenv("TMPDIR");
  }
  ~TemporaryDirectoryVariable() { m_had ? setenv("TMPDIR", m_old.c_str(), 1) : unsetenv("TMPDIR"); }

 private:
  bool m_had;
  std::string m_old;
};

// Each pair: the expected code, then the code the operation returned.
void expect_codes(const std::vector<std::pair<uint32_t, uint32_t>>& codes) {
  for (size_t i = 0; i < codes.size(); ++i) EXPECT_EQ(codes[i].first, codes[i].second) << "#" << i;
}

}  // namespace

TEST(PathOperations, MakeMoveAndRemoveWithoutFollowingLinks) {
  ScratchDirectory scratch = platform_scratch();
  EXPECT_EQ(0u, FileSystem::CreateDirectory(wide(scratch / "a/b//c/")));
  EXPECT_TRUE(S_ISDIR(statusOf(scratch / "a/b/c").st_mode));
  write_file(scratch / "a/b/c/f", "f");
  write_file(scratch / "file", "new");
  write_file(scratch / "outside", "keep");
  symlink("a", (scratch / "dir-link").c_str());
  symlink((scratch / "outside").c_str(), (scratch / "a/b/absolute").c_str());
  symlink("../../outside", (scratch / "a/b/relative").c_str());
  expect_codes({
      {183, FileSystem::CreateDirectory(wide(scratch / "a/b"))},
      {183, FileSystem::CreateDirectory(wide(scratch / "dir-link"))},
      {2, FileSystem::CreateDirectory(wide(scratch / "file"))},
      {2, FileSystem::CreateDirectory(wide(scratch / "file/below"))},
      {2, FileSystem::CreateDirectory(WideString())},
      {2, FileSystem::MoveFile(wide(scratch / "missing"), wide(scratch / "target"))},
      {2, FileSystem::MoveFile(wide(scratch / "file"), wide(scratch / "nowhere/x"))},
      {0, FileSystem::MoveFile(wide(scratch / "file"), wide(scratch / "outside-copy"))},
      {0, FileSystem::MoveFile(wide(scratch / "a"), wide(scratch / "moved"))},
      {0, FileSystem::DeleteFile(wide(scratch / "dir-link"))},
      {0, FileSystem::DeleteFile(wide(scratch / "missing"))},
      {0, FileSystem::DeleteFile(wide(scratch / "moved"))},  // unlink removes no directory
      {0, FileSystem::RemoveDirectory(wide(scratch / "moved/b/.."))},
      {0, FileSystem::RemoveDirectory(wide(scratch / "moved/."))},
  });
  EXPECT_EQ("f", read_file(scratch / "moved/b/c/f"));
  EXPECT_EQ(0u, FileSystem::RemoveDirectory(wide(scratch / "moved/")));
  EXPECT_EQ("outside|outside-copy|", joined_names(directory_names(scratch.path()), "|"));
  EXPECT_EQ("keep", read_file(scratch / "outside"));
  EXPECT_EQ("new", read_file(scratch / "outside-copy"));
  EXPECT_EQ(0u, FileSystem::MoveFile(wide(scratch / "outside-copy"), wide(scratch / "outside")));
  EXPECT_EQ("new", read_file(scratch / "outside")) << "a move replaces its target";
}

TEST(PathOperations, OperationsAtAnOpenDirectoryNeverFollowALink) {
  ScratchDirectory scratch = platform_scratch();
  mkdir((scratch / "dir").c_str(), 0755);
  write_file(scratch / "file", "x");
  symlink("dir", (scratch / "link").c_str());
  const int fd = open(scratch.path().c_str(), O_RDONLY | O_DIRECTORY);
  const HANDLE at = reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd));
  HANDLE opened = INVALID_HANDLE_VALUE;
  expect_codes({
      {3, FileSystem::OpenDirectoryAt(at, "link", opened)},
      {3, FileSystem::OpenDirectoryAt(at, "file", opened)},
      {2, FileSystem::OpenDirectoryAt(at, "missing", opened)},
      {183, FileSystem::CreateFileAt(at, "link", 0600, opened)},
      {183, FileSystem::CreateDirectoryAt(at, "dir", 0700)},
      {183, FileSystem::CreateHardLinkAt(at, "file", at, "link")},
      {0, FileSystem::CreateHardLinkAt(at, "second", at, "link")},
      {0, FileSystem::MoveFileAt(at, "file", at, "second")},
      {0, FileSystem::CreateDirectoryAt(at, "made", 0700)},
      {0, FileSystem::RemoveDirectoryAt(at, "dir")},
      {0, FileSystem::DeleteFileAt(at, "link")},
  });
  EXPECT_EQ(INVALID_HANDLE_VALUE, opened);
  EXPECT_EQ("made|second|", joined_names(directory_names(scratch.path()), "|"));
  EXPECT_EQ(S_IFDIR | 0700u, statusOf(scratch / "made").st_mode);
  ASSERT_EQ(0u, FileSystem::OpenDirectoryAt(at, "made", opened));
  HANDLE file = INVALID_HANDLE_VALUE;
  ASSERT_EQ(0u, FileSystem::CreateFileAt(opened, "new", 0600, file));
  EXPECT_EQ(0u, FileSystem::SetFileMode(file, 0604));
  EXPECT_EQ(S_IFREG | 0604u, statusOf(scratch / "made/new").st_mode);
  FileSystem::CloseHandle(file);
  FileSystem::CloseHandle(opened);
  close(fd);
}

TEST(PathOperations, TemporaryFilesAndDirectory) {
  ScratchDirectory scratch = platform_scratch();
  const std::string file = scratch / "file", own = scratch.path() + "/";
  write_file(file, "x");
  std::set<WideString> names;
  for (int i = 0; i < 20; ++i) {
    WideString name;
    ASSERT_EQ(0u, FileSystem::GetTempFileName(wide(own), u"kptlong", name));
    names.insert(name);
    const std::string made = narrow_lib(name);
    EXPECT_EQ(scratch / "kptlo", made.substr(0, made.size() - 6)) << made;  // five, and six random
    EXPECT_EQ(S_IFREG, statusOf(made).st_mode & (S_IFMT | 0077));
  }
  EXPECT_EQ(20u, names.size());
  WideString name = u"unchanged";
  EXPECT_EQ(1013u, FileSystem::GetTempFileName(wide(scratch / "absent"), u"Orbe", name));
  EXPECT_EQ(1013u, FileSystem::GetTempFileName(wide(scratch.path()), u"../x", name));
  EXPECT_EQ(u"unchanged", name);

  const std::pair<const char*, std::string> cases[] = {
      {file.c_str(), "/tmp/"}, {"/var/tmp", "/var/tmp/"}, {own.c_str(), own}, {nullptr, "/tmp/"}};
  for (const auto& [value, expected] : cases) {
    TemporaryDirectoryVariable variable(value);
    WideString path;
    EXPECT_EQ(0u, FileSystem::GetTempPath(path));
    EXPECT_EQ(wide(expected), path) << (value ? value : "unset");
  }
  EXPECT_EQ(87u, FileSystem::GetFreeSpaceTmpDir(nullptr));
  // The build disk has more than 4 GiB free on any usable build machine; the
  // count must saturate rather than wrap.
  TemporaryDirectoryVariable variable(scratch.path().c_str());
  struct statvfs disk;
  ASSERT_EQ(0, statvfs(scratch.path().c_str(), &disk));
  if (static_cast<double>(disk.f_frsize) * disk.f_bfree <= 0xFFFFFFFFu) GTEST_SKIP() << "< 4 GiB";
  unsigned int freeBytes = 0;
  EXPECT_EQ(0u, FileSystem::GetFreeSpaceTmpDir(&freeBytes));
  EXPECT_EQ(0xFFFFFFFFu, freeBytes);
}
