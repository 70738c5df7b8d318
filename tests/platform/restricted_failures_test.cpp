// What only the real kernel shows: moves to a tmpfs mounted in a private mount
// namespace of a forked child (another device, so rename fails with EXDEV and
// the copy path is taken), and a full file system.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <sstream>

#include "platform/file_system.h"
#include "platform/test_files.h"
#include "support/child_process.h"
#include "support/private_tmpfs.h"

namespace {

// Mode, modification time, and content or link target of every entry of a
// tree, one line each.
std::string describe(const std::string& root) {
  std::ostringstream lines;
  for (const char* name : {"", "/a.txt", "/sub", "/sub/run.sh", "/sub/link", "/sub/empty"}) {
    const std::string path = root + name;
    const struct stat status = statusOf(path);
    lines << name << " " << std::oct << (status.st_mode & 07777) << std::dec << " "
          << status.st_mtim.tv_sec << "." << status.st_mtim.tv_nsec << " ";
    char target[256] = {};
    if (S_ISLNK(status.st_mode)) lines << std::string(target, readlink(path.c_str(), target, 255));
    if (S_ISREG(status.st_mode)) lines << read_file(path);
    lines << "\n";
  }
  return lines.str();
}

void makeTree(const std::string& root) {
  for (const char* directory : {"", "/sub", "/sub/empty"}) mkdir((root + directory).c_str(), 0700);
  write_file(root + "/a.txt", "alpha");
  write_file(root + "/sub/run.sh", "#!/bin/sh\n");
  symlink("../a.txt", (root + "/sub/link").c_str());
  const std::pair<const char*, mode_t> modes[] = {
      {"/a.txt", 0640}, {"/sub/run.sh", 04755}, {"/sub", 0750}, {"", 0755}};
  for (const auto& [name, mode] : modes) chmod((root + name).c_str(), mode);
  long seconds = 1000000000;
  for (const char* name : {"/a.txt", "/sub/run.sh", "/sub/link", "/sub/empty", "/sub", ""}) {
    setTimes(root + name, seconds += 1000000, 250000000);
  }
}

}  // namespace

TEST(RestrictedFailures, MovesAcrossFileSystemsCopyEverythingOrNothing) {
  ScratchDirectory scratch = platform_scratch();
  const std::string disk = scratch / "disk", memory = scratch / "memory";
  makeTree(disk);
  write_file(scratch / "big", std::string(256 * 1024, 'b'));
  const std::string expected = describe(disk);
  const std::string report = run_in_child([&] {
    const std::string failure = mount_private_tmpfs(memory, "size=64k");
    if (!failure.empty()) return "skip: " + failure;
    setenv("TMPDIR", memory.c_str(), 1);
    std::ostringstream out;
    unsigned int freeBytes = 0;
    out << "free " << FileSystem::GetFreeSpaceTmpDir(&freeBytes) << " " << freeBytes << "\n";
    const int at = open(scratch.path().c_str(), O_RDONLY | O_DIRECTORY);
    const int into = open(memory.c_str(), O_RDONLY | O_DIRECTORY);
    out << "at "
        << FileSystem::MoveFileAt(reinterpret_cast<HANDLE>(intptr_t{at}), "big",
                                  reinterpret_cast<HANDLE>(intptr_t{into}), "big");
    out << " tree " << FileSystem::MoveFile(wide(disk), wide(memory + "/tree")) << exists(disk);
    const std::string moved = describe(memory + "/tree");
    mkdir((scratch / "occupied").c_str(), 0700);
    write_file(scratch / "occupied/x", "x");
    out << " onto an occupied directory "
        << FileSystem::MoveFile(wide(memory + "/tree"), wide(scratch / "occupied"));
    out << " back " << FileSystem::MoveFile(wide(memory + "/tree"), wide(disk)) << "\n"
        << (moved == describe(disk) ? "same\n" : moved);
    out << "missing " << FileSystem::MoveFile(wide(scratch / "gone"), wide(memory + "/gone"));
    write_file(memory + "/big", "old");
    out << " big " << FileSystem::MoveFile(wide(scratch / "big"), wide(memory + "/big"));
    out << " " << read_file(memory + "/big") << " " << statusOf(scratch / "big").st_size;
    HANDLE handle = INVALID_HANDLE_VALUE;
    FileSystem::CreateFile(wide(memory + "/fill"), GENERIC_WRITE, 0, CREATE_NEW, handle);
    const std::string block(128 * 1024, 'x');
    unsigned int written = 0;
    out << " write " << FileSystem::WriteFile(handle, block.data(), block.size(), &written, nullptr)
        << " " << FileSystem::GetLastError() << " " << (written < block.size());
    FileSystem::CloseHandle(handle);
    FileSystem::DeleteFile(wide(memory + "/fill"));
    return out.str() + " left " + joined_names(directory_names(memory), " ") + "and " +
           joined_names(directory_names(scratch.path()), " ");
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ(
      "free 0 65536\nat 17 tree 00 onto an occupied directory 2 back 0\nsame\n"
      "missing 2 big 112 old 262144 write 112 112 1 left big and big disk memory occupied ",
      report);
  EXPECT_EQ(expected, describe(disk));
}
