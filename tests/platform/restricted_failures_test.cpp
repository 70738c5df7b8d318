// Moves onto a tmpfs mounted privately in a forked child: another device, so
// rename fails with EXDEV and the copy is taken, and a full file system; and
// flushes the kernel fails or traps for a child that filters its system calls.
#include <gtest/gtest.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstddef>
#include <initializer_list>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/last_error.h"
#include "platform/test_files.h"
#include "support/child_process.h"

namespace {

const char* const kTree[] = {"", "/a.txt", "/sub", "/sub/run.sh", "/sub/link", "/sub/empty"};

// Mode, modification time, and content or link target of each entry, a line each.
std::string describe(const std::string& root) {
  std::ostringstream lines;
  for (const char* name : kTree) {
    const std::string path = root + name;
    const struct stat status = status_of(path);
    lines << name << " " << std::oct << (status.st_mode & 07777) << std::dec << " "
          << status.st_mtim.tv_sec << "." << status.st_mtim.tv_nsec << " ";
    char target[256] = {};
    if (S_ISLNK(status.st_mode)) lines << std::string(target, readlink(path.c_str(), target, 255));
    if (S_ISREG(status.st_mode)) lines << read_file(path);
    lines << "\n";
  }
  return lines.str();
}

// Filters the calling process's system calls: each call of `rules` returns
// what its rule says instead of running, every other call runs. False when the
// kernel filters none.
bool filter_calls(std::initializer_list<std::pair<int, uint32_t>> rules) {
  std::vector<sock_filter> filter = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
  for (const auto& [call, result] : rules) {
    filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<uint32_t>(call), 0, 1));
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, result));
  }
  filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
  sock_fprog program = {static_cast<unsigned short>(filter.size()), filter.data()};
  return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
         prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

}  // namespace

TEST(RestrictedFailures, MovesAcrossFileSystemsCopyEverythingOrNothing) {
  ScratchDirectory scratch = platform_scratch();
  const std::string disk = scratch / "disk", memory = scratch / "memory";
  for (const char* directory : {"", "/sub", "/sub/empty"}) mkdir((disk + directory).c_str(), 0700);
  for (const char* file : {"/a.txt", "/sub/run.sh"}) write_file(disk + file, file);
  symlink("../a.txt", (disk + "/sub/link").c_str());
  for (const auto& [name, mode] :
       {std::pair{"/a.txt", 0640}, {"/sub/run.sh", 04755}, {"/sub", 0750}, {"", 0755}}) {
    chmod((disk + name).c_str(), mode);
  }
  long seconds = 1000000000;
  for (const char* name : kTree) {
    const timespec times[2] = {{seconds += 1000000, 250000000}, {seconds, 250000000}};
    utimensat(AT_FDCWD, (disk + name).c_str(), times, AT_SYMLINK_NOFOLLOW);
  }
  write_file(scratch / "big", std::string(256 * 1024, 'b'));
  const std::string expected = describe(disk);
  const std::string report = run_in_child([&] {
    const std::string failure = mount_private_tmpfs(memory, "size=64k");
    if (!failure.empty()) return "skip: " + failure;
    setenv("TMPDIR", memory.c_str(), 1);
    std::ostringstream out;
    unsigned int freeBytes = 0;
    out << "free " << FileSystem::GetFreeSpaceTmpDir(&freeBytes) << " " << freeBytes << "\n";
    const auto at = [](const std::string& directory) {
      return reinterpret_cast<HANDLE>(intptr_t{open(directory.c_str(), O_RDONLY | O_DIRECTORY)});
    };
    out << "at " << FileSystem::MoveFileAt(at(scratch.path()), "big", at(memory), "big");
    out << " tree " << FileSystem::MoveFile(wide(disk), wide(memory + "/tree")) << exists(disk);
    const std::string moved = describe(memory + "/tree");
    out << " back " << FileSystem::MoveFile(wide(memory + "/tree"), wide(disk)) << "\n"
        << (moved == describe(disk) ? "same\n" : moved);
    write_file(memory + "/big", "old");
    out << "big " << FileSystem::MoveFile(wide(scratch / "big"), wide(memory + "/big"));
    out << " " << read_file(memory + "/big") << " " << status_of(scratch / "big").st_size;
    return out.str() + " left " + joined_names(directory_names(memory), " ") + "and " +
           joined_names(directory_names(scratch.path()), " ");
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ(
      "free 0 65536\nat 17 tree 00 back 0\nsame\nbig 112 old 262144 left big and big disk memory ",
      report);
  EXPECT_EQ(expected, describe(disk));
}

// A flush of one file and one of its whole file system are each their own call, and
// each call's failure is reported: the child fails `fsync` as a read-only file system
// and `syncfs` as an input/output error.
TEST(RestrictedFailures, EachFlushReportsItsOwnFailure) {
  ScratchDirectory scratch = platform_scratch();
  write_file(scratch / "file", "x");
  const std::string report = run_in_child([&] {
    if (!filter_calls({{__NR_fsync, SECCOMP_RET_ERRNO | EROFS},
                       {__NR_syncfs, SECCOMP_RET_ERRNO | EIO}})) {
      return std::string("skip: no system call filter");
    }
    const HANDLE file = reinterpret_cast<HANDLE>(intptr_t{open((scratch / "file").c_str(), O_RDONLY)});
    return std::to_string(FileSystem::FlushFileBuffers(file)) + " " +
           std::to_string(FileSystem::FlushFileSystem(file));
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ(std::to_string(ERROR_WRITE_PROTECT) + " " + std::to_string(ERROR_IO_DEVICE), report);
}

namespace {

// What a child's trapped syncfs was asked: the descriptor, and whether it
// named a directory then.
volatile long g_syncfsDescriptor = -1;
volatile bool g_syncfsOnDirectory = false;

void trap_syncfs(int, siginfo_t* info, void* context) {
  auto* registers = static_cast<ucontext_t*>(context)->uc_mcontext.gregs;
  if (info->si_syscall != __NR_syncfs) return;
  g_syncfsDescriptor = registers[REG_RDI];
  struct stat status;
  g_syncfsOnDirectory =
      fstat(static_cast<int>(g_syncfsDescriptor), &status) == 0 && S_ISDIR(status.st_mode);
  registers[REG_RAX] = 0;
}

}  // namespace

// A flush ahead of the one that counts reaches syncfs through a description of
// its own of the directory (a write-back error is then still reported to the
// flush that counts), closes it, and leaves the given handle and the last
// error alone.
TEST(RestrictedFailures, AFlushAheadUsesADescriptionOfItsOwn) {
  ScratchDirectory scratch = platform_scratch();
  const std::string report = run_in_child([&] {
    struct sigaction action = {};
    action.sa_sigaction = trap_syncfs;
    action.sa_flags = SA_SIGINFO;
    if (sigaction(SIGSYS, &action, nullptr) != 0 ||
        !filter_calls({{__NR_syncfs, SECCOMP_RET_TRAP}})) {
      return std::string("skip: no system call filter");
    }
    const int directory = open(scratch.path().c_str(), O_RDONLY | O_DIRECTORY);
    const int next = dup(directory);
    close(next);
    setLastError(ERROR_DISK_FULL);
    FileSystem::FlushFileSystemAhead(reinterpret_cast<HANDLE>(intptr_t{directory}));
    const int after = dup(directory);
    std::ostringstream out;
    out << (g_syncfsDescriptor == directory ? "given" : g_syncfsOnDirectory ? "own" : "none")
        << " " << FileSystem::GetLastError() << (fcntl(directory, F_GETFD) >= 0 ? " open" : "")
        << (after == next ? " closed" : " leaked");
    return out.str();
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ("own " + std::to_string(ERROR_DISK_FULL) + " open closed", report);
}
