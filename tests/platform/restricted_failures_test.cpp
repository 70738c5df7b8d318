// Failures the installer meets in practice: a directory the user may not
// write, and a full file system. Each runs in a child that drops to the
// unprivileged user or mounts a tiny tmpfs in a private mount namespace.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <sstream>
#include <vector>

#include "platform/file_finder.h"
#include "platform/file_system.h"
#include "platform/test_files.h"
#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/nobody_user.h"
#include "support/private_tmpfs.h"
#include "support/scratch_directory.h"

TEST(RestrictedFailures, UnprivilegedUserGetsTheDocumentedCodes) {
  ScratchDirectory scratch("platform-", ".");
  chmod(scratch.path().c_str(), 0755);
  const std::string locked = scratch / "locked";  // readable, not writable
  const std::string closed = scratch / "closed";  // not even searchable
  const std::string open = scratch / "open";      // world-writable, as TMPDIR
  for (const auto& [path, mode] : {std::pair{locked, 0755}, {closed, 0700}, {open, 0777}}) {
    mkdir(path.c_str(), 0700);
    chmod(path.c_str(), mode);
  }
  write_file(locked + "/file", "root's");
  chmod((locked + "/file").c_str(), 0600);
  mkdir((locked + "/tree").c_str(), 0755);
  write_file(closed + "/hidden", "x");

  const std::string report = run_in_child([&] {
    const std::string failure = become_nobody();
    if (!failure.empty()) return "skip: " + failure;
    setenv("TMPDIR", open.c_str(), 1);
    std::ostringstream out;
    HANDLE handle = INVALID_HANDLE_VALUE;
    out << "create "
        << FileSystem::CreateFile(wide(locked + "/new"), GENERIC_WRITE, 0, CREATE_ALWAYS, handle);
    out << " read "
        << FileSystem::CreateFile(wide(locked + "/file"), GENERIC_READ, 0, OPEN_EXISTING, handle);
    out << " last " << FileSystem::GetLastError();
    out << " mkdir " << FileSystem::CreateDirectory(wide(locked + "/a/b"));
    out << " move " << FileSystem::MoveFile(wide(locked + "/file"), wide(open + "/file"));
    WideString name;
    out << " temp " << FileSystem::GetTempFileName(wide(locked), u"Orbe", name);
    out << " delete " << FileSystem::DeleteFile(wide(locked + "/file"));
    out << " rmdir " << FileSystem::RemoveDirectory(wide(locked + "/tree"));
    unsigned int size = 0;
    out << " size " << FileSystem::GetFileSize(wide(closed + "/hidden"), &size);
    FileFinder finder;
    out << " find " << finder.reset(wide(closed + "/*"));
    out << " open-temp " << FileSystem::GetTempFileName(wide(open), u"Orbe", name);
    return out.str();
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ(
      "create 87 read 87 last 87 mkdir 2 move 2 temp 1013 delete 0 rmdir 0 size 1 find 0 "
      "open-temp 0",
      report);
  EXPECT_EQ("file tree ", joined_names(directory_names(locked), " "))
      << "nothing was removed or added";
  EXPECT_EQ("root's", read_file(locked + "/file"));
  const std::vector<std::string> created = directory_names(open);
  ASSERT_EQ(1u, created.size()) << "one temporary file only";
  EXPECT_EQ(0u, created[0].rfind("Orbe", 0)) << created[0];
}

TEST(RestrictedFailures, FullFileSystemReportsDiskFull) {
  ScratchDirectory scratch("platform-", ".");
  const std::string tiny = scratch / "tiny";
  const std::string big = scratch / "big";
  write_file(big, std::string(256 * 1024, 'b'));

  const std::string report = run_in_child([&] {
    const std::string failure = mount_private_tmpfs(tiny, "size=64k");
    if (!failure.empty()) return "skip: " + failure;
    std::ostringstream out;
    setenv("TMPDIR", tiny.c_str(), 1);
    unsigned int freeBytes = 0;
    out << "free " << FileSystem::GetFreeSpaceTmpDir(&freeBytes) << " " << freeBytes;
    HANDLE handle = INVALID_HANDLE_VALUE;
    FileSystem::CreateFile(wide(tiny + "/fill"), GENERIC_WRITE, 0, CREATE_ALWAYS, handle);
    const std::vector<char> block(128 * 1024, 'x');
    unsigned int written = 0;
    out << " write "
        << FileSystem::WriteFile(handle, block.data(), block.size(), &written, nullptr);
    out << " last " << FileSystem::GetLastError() << " partial " << (written < block.size());
    FileSystem::CloseHandle(handle);
    FileSystem::DeleteFile(wide(tiny + "/fill"));
    out << " move " << FileSystem::MoveFile(wide(big), wide(tiny + "/big"));
    out << " left [" << joined_names(directory_names(tiny), " ") << "]";
    return out.str();
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ("free 0 65536 write 112 last 112 partial 1 move 112 left []", report);
  EXPECT_EQ(256u * 1024, statusOf(big).st_size) << "the source stays when the copy fails";
}
