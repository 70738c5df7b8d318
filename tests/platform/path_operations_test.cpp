// Paths made, moved and removed, by name and at an open directory, never
// through a link; temporary files and directory; the finder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/file_finder.h"
#include "platform/file_system.h"
#include "platform/test_files.h"

TEST(PathOperations, MakeMoveAndRemoveByNameAndAtAnOpenDirectoryWithoutFollowingLinks) {
  ScratchDirectory scratch = platform_scratch();
  EXPECT_EQ(0u, FileSystem::CreateDirectory(wide(scratch / "a/b//c/")));
  write_file(scratch / "a/b/c/f", "f");
  write_file(scratch / "file", "new");
  write_file(scratch / "outside", "keep");
  symlink("a", (scratch / "dir-link").c_str());
  symlink((scratch / "outside").c_str(), (scratch / "a/b/absolute").c_str());
  symlink("../../outside", (scratch / "a/b/relative").c_str());
  EXPECT_EQ(183u, FileSystem::CreateDirectory(wide(scratch / "a/b")));
  EXPECT_EQ(183u, FileSystem::CreateDirectory(wide(scratch / "file/below"))) << "a file in the way";
  EXPECT_EQ(2u, FileSystem::MoveFile(wide(scratch / "missing"), wide(scratch / "target")));
  EXPECT_EQ(0u, FileSystem::MoveFile(wide(scratch / "a"), wide(scratch / "moved")));
  EXPECT_EQ(0u, FileSystem::DeleteFile(wide(scratch / "dir-link")));
  EXPECT_EQ(0u, FileSystem::DeleteFile(wide(scratch / "moved")));  // unlink removes no directory
  EXPECT_EQ(0u, FileSystem::RemoveDirectory(wide(scratch / "moved/b/..")));
  EXPECT_EQ("f", read_file(scratch / "moved/b/c/f")) << "a last component \"..\" is left alone";
  EXPECT_EQ(0u, FileSystem::RemoveDirectory(wide(scratch / "moved/")));
  EXPECT_EQ("file|outside|keep",
            joined_names(directory_names(scratch.path()), "|") + read_file(scratch / "outside"));
  EXPECT_EQ(0u, FileSystem::MoveFile(wide(scratch / "file"), wide(scratch / "outside")));
  EXPECT_EQ("new", read_file(scratch / "outside")) << "a move replaces its target";
  // At an open directory the same: a link at the name is neither followed nor replaced.
  mkdir((scratch / "dir").c_str(), 0755);
  write_file(scratch / "file", "x");
  symlink("dir", (scratch / "link").c_str());
  const int fd = open(scratch.path().c_str(), O_RDONLY | O_DIRECTORY);
  const HANDLE at = reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd));
  HANDLE opened = INVALID_HANDLE_VALUE;
  EXPECT_EQ(3u, FileSystem::OpenDirectoryAt(at, "link", opened));
  EXPECT_EQ(183u, FileSystem::CreateFileAt(at, "link", 0600, opened));
  EXPECT_EQ(183u, FileSystem::CreateDirectoryAt(at, "dir", 0700));
  EXPECT_EQ(INVALID_HANDLE_VALUE, opened);
  EXPECT_EQ(0u, FileSystem::CreateHardLinkAt(at, "second", at, "link"));
  // A move to a free name only: a link or directory there stays.
  for (const char* taken : {"link", "dir"}) {
    EXPECT_EQ(183u, FileSystem::MoveNewFileAt(at, "file", taken)) << taken;
  }
  EXPECT_EQ("x", read_file(scratch / "file"));
  EXPECT_EQ(0u, FileSystem::MoveFileAt(at, "file", at, "second"));
  EXPECT_EQ(0u, FileSystem::MoveNewFileAt(at, "second", "third"));
  EXPECT_EQ(0u, FileSystem::CreateDirectoryAt(at, "made", 0700));
  EXPECT_EQ(0u, FileSystem::RemoveDirectoryAt(at, "dir"));
  EXPECT_EQ(0u, FileSystem::DeleteFileAt(at, "link"));
  EXPECT_EQ("made|outside|third|", joined_names(directory_names(scratch.path()), "|"));
  close(fd);
}

TEST(PathOperations, TemporaryFilesAndDirectory) {
  ScratchDirectory scratch = platform_scratch();
  const std::string own = scratch.path() + "/";
  WideString name;
  ASSERT_EQ(0u, FileSystem::GetTempFileName(wide(own), u"kptlong", name));
  const std::string made = narrow_lib(name);
  EXPECT_EQ(scratch / "kptlo", made.substr(0, made.size() - 6)) << made;  // five, and six random
  EXPECT_EQ(S_IFREG, mode_of(made) & (S_IFMT | 0077));
  EXPECT_EQ(1013u, FileSystem::GetTempFileName(wide(scratch / "absent"), u"Orbe", name));
  EXPECT_EQ(1013u, FileSystem::GetTempFileName(wide(scratch.path()), u"../x", name));

  const std::pair<const char*, std::string> cases[] = {
      {"/dev/null", "/tmp/"}, {"/var/tmp", "/var/tmp/"}, {own.c_str(), own}, {nullptr, "/tmp/"}};
  for (const auto& [value, expected] : cases) {
    ScopedEnvironment variable("TMPDIR", value);
    WideString path;
    EXPECT_EQ(0u, FileSystem::GetTempPath(path));
    EXPECT_EQ(wide(expected), path) << (value ? value : "unset");
  }
}

// A plain path probes one entry; a wildcard lists all matches, hidden ones included.
TEST(FileFinder, ProbesPlainPathsAndEnumeratesWildcards) {
  ScratchDirectory scratch = platform_scratch();
  mkdir((scratch / "one").c_str(), 0700);
  for (const char* name : {"one/b.txt", "one/.hidden.txt"}) write_file(scratch / name, "x");
  symlink("nowhere", (scratch / "dangling").c_str());
  FileFinder finder;
  EXPECT_TRUE(finder.reset(wide(scratch / "one")) && finder.attributes() == 16);
  EXPECT_TRUE(finder.reset(wide(scratch / "one/b.txt")) && finder.attributes() == 0);
  EXPECT_FALSE(finder.reset(wide(scratch / "dangling"))) << "its status cannot be read";
  EXPECT_FALSE(finder.reset(wide(scratch / "missing/b.txt")));
  EXPECT_FALSE(finder.reset(wide(scratch / "one/"))) << "an empty pattern matches nothing";
  EXPECT_TRUE(finder.reset(u"/proc") && finder.name() == u"proc") << "an entry of the root";
  std::vector<std::string> names;
  for (bool more = finder.reset(wide(scratch / "one/*")); more; more = finder.next())
    names.push_back(narrow_lib(finder.name()));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(joined_names(names, " "), ". .. .hidden.txt b.txt ");
  EXPECT_EQ(finder.name(), u"") << "closed at the end";
}
