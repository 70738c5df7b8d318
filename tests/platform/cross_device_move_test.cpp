// Moves between the disk and a tmpfs mounted in a private mount namespace of
// a child process, so rename fails with EXDEV and the copy path is taken.
#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

#include "platform/file_system.h"
#include "platform/test_files.h"
#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/private_tmpfs.h"
#include "support/scratch_directory.h"

namespace {

// Content, mode, modification time and link target of a path, as one line.
std::string describe(const std::string& path) {
  const struct stat status = statusOf(path);
  std::ostringstream line;
  line << std::oct << (status.st_mode & 07777) << std::dec << " " << status.st_mtim.tv_sec << "."
       << status.st_mtim.tv_nsec;
  if (S_ISREG(status.st_mode)) {
    line << " " << read_file(path);
  } else if (S_ISLNK(status.st_mode)) {
    char target[256] = {};
    line << " ->" << std::string(target, readlink(path.c_str(), target, sizeof target));
  }
  return line.str() + "\n";
}

void makeFile(const std::string& path, const std::string& content, mode_t mode, long seconds) {
  write_file(path, content);
  chmod(path.c_str(), mode);
  setTimes(path, seconds, 250000000);
}

void makeTree(const std::string& root) {
  FileSystem::CreateDirectory(wide(root + "/sub/empty"));
  makeFile(root + "/a.txt", "alpha", 0640, 1000000000);
  makeFile(root + "/sub/run.sh", "#!/bin/sh\n", 04755, 1100000000);
  symlink("../a.txt", (root + "/sub/link").c_str());
  setTimes(root + "/sub/link", 1200000000, 0);
  chmod((root + "/sub/empty").c_str(), 0700);
  setTimes(root + "/sub/empty", 1300000000, 0);
  chmod((root + "/sub").c_str(), 0750);
  setTimes(root + "/sub", 1400000000, 0);
  setTimes(root, 1500000000, 0);
}

std::string describeTree(const std::string& root) {
  std::string all;
  for (const char* name : {"", "/a.txt", "/sub", "/sub/run.sh", "/sub/link", "/sub/empty"}) {
    all += name + std::string(": ") + describe(root + name);
  }
  return all;
}

}  // namespace

TEST(CrossDeviceMove, KeepsContentModeAndTimeOfFilesAndTrees) {
  ScratchDirectory scratch("platform-", ".");
  const std::string disk = scratch / "disk";
  const std::string memory = scratch / "memory";
  FileSystem::CreateDirectory(wide(disk));
  makeFile(disk + "/file", "file content", 0754, 1234567890);
  makeFile(disk + "/replacement", "new", 0600, 1600000000);
  makeTree(disk + "/tree");
  const std::string expectedFile = describe(disk + "/file");
  const std::string expectedReplacement = describe(disk + "/replacement");
  const std::string expectedTree = describeTree(disk + "/tree");

  const std::string report = run_in_child([&] {
    const std::string failure = mount_private_tmpfs(memory, "size=4m");
    if (!failure.empty()) return "skip: " + failure;
    std::ostringstream out;
    out << "rename gives EXDEV: "
        << (rename((disk + "/file").c_str(), (memory + "/probe").c_str()) == -1 && errno == EXDEV)
        << "\n";
    write_file(memory + "/replaced", "old content");
    out << FileSystem::MoveFile(wide(disk + "/file"), wide(memory + "/file")) << " "
        << describe(memory + "/file") << exists(disk + "/file") << "\n";
    out << FileSystem::MoveFile(wide(disk + "/replacement"), wide(memory + "/replaced")) << " "
        << describe(memory + "/replaced");
    out << FileSystem::MoveFile(wide(disk + "/tree"), wide(memory + "/tree")) << " "
        << exists(disk + "/tree") << "\n"
        << describeTree(memory + "/tree");
    out << FileSystem::MoveFile(wide(memory + "/tree"), wide(disk + "/back")) << "\n"
        << describeTree(disk + "/back");
    out << FileSystem::MoveFile(wide(disk + "/gone"), wide(memory + "/gone")) << "\n";
    FileSystem::CreateDirectory(wide(memory + "/full/x"));
    out << FileSystem::MoveFile(wide(disk + "/back"), wide(memory + "/full")) << " "
        << exists(disk + "/back") << "\n";
    out << "in tmpfs: " << joined_names(directory_names(memory), " ") << "\n";
    return out.str();
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ("rename gives EXDEV: 1\n0 " + expectedFile + "0\n0 " + expectedReplacement + "0 0\n" +
                expectedTree + "0\n" + expectedTree + "2\n2 1\n" + "in tmpfs: file full replaced \n",
            report);
}
