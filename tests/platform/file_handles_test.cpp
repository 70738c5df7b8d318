#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/file_system.h"
#include "platform/test_files.h"
#include "support/file_contents.h"
#include "support/scratch_directory.h"

namespace {

HANDLE openPath(const std::string& path, uint32_t access, uint32_t disposition) {
  HANDLE handle = INVALID_HANDLE_VALUE;
  EXPECT_EQ(0u, FileSystem::CreateFile(wide(path), access, 0, disposition, handle)) << path;
  return handle;
}

}  // namespace

TEST(FileHandles, ReadStopsAtEndAndChecksItsArguments) {
  ScratchDirectory scratch("platform-", ".");
  write_file(scratch / "data", std::string(100, 'x'));
  HANDLE handle = openPath(scratch / "data", GENERIC_READ, OPEN_EXISTING);
  char buffer[100];
  unsigned int got = 7;
  _OVERLAPPED* const someOverlapped = reinterpret_cast<_OVERLAPPED*>(buffer);

  EXPECT_EQ(87u, FileSystem::ReadFile(handle, buffer, 10, nullptr, nullptr));
  EXPECT_EQ(87u, FileSystem::GetLastError());
  EXPECT_EQ(0u, FileSystem::ReadFile(handle, buffer, 10, nullptr, someOverlapped));
  EXPECT_EQ(0u, FileSystem::GetLastError());
  EXPECT_EQ(0u, FileSystem::SetFilePointer(handle, 0, nullptr, FILE_CURRENT)) << "read nothing";

  EXPECT_EQ(60u, FileSystem::SetFilePointer(handle, -40, nullptr, FILE_END));
  EXPECT_EQ(0u, FileSystem::ReadFile(handle, buffer, 100, &got, nullptr));
  EXPECT_EQ(40u, got);
  EXPECT_EQ(0u, FileSystem::ReadFile(handle, buffer, 100, &got, nullptr));
  EXPECT_EQ(0u, got);

  // A descriptor opened for reading cannot be written: errno EBADF gives 87.
  EXPECT_EQ(87u, FileSystem::WriteFile(handle, "abc", 3, &got, nullptr));
  EXPECT_EQ(0, FileSystem::CloseHandle(handle));
  EXPECT_EQ(-1, FileSystem::CloseHandle(handle));
}

TEST(FileHandles, CreateAlwaysKeepsLengthUntilSetEndOfFile) {
  ScratchDirectory scratch("platform-", ".");
  const std::string path = scratch / "ten";
  write_file(path, "0123456789");
  HANDLE handle = openPath(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  unsigned int written = 0;
  EXPECT_EQ(0u, FileSystem::WriteFile(handle, "abcd", 4, &written, nullptr));
  EXPECT_EQ(4u, written);
  EXPECT_EQ("abcd456789", read_file(path));
  EXPECT_EQ(0u, FileSystem::SetEndOfFile(handle));
  EXPECT_EQ("abcd", read_file(path));
  // Descriptors must not leak into commands the program starts.
  EXPECT_TRUE(fcntl(reinterpret_cast<intptr_t>(handle), F_GETFD) & FD_CLOEXEC);
  FileSystem::CloseHandle(handle);

  HANDLE truncating = openPath(path, GENERIC_WRITE, TRUNCATE_EXISTING);
  EXPECT_EQ("", read_file(path));
  FileSystem::CloseHandle(truncating);

  const mode_t mask = umask(0);
  umask(mask);
  FileSystem::CloseHandle(openPath(scratch / "new", GENERIC_WRITE, CREATE_ALWAYS));
  EXPECT_EQ(0660u & ~mask, statusOf(scratch / "new").st_mode & 0777);

  // A link at the name is refused, never written through; CREATE_NEW takes
  // only a free name.
  ASSERT_EQ(0, symlink(path.c_str(), (scratch / "link").c_str()));
  HANDLE refused = INVALID_HANDLE_VALUE;
  for (const uint32_t disposition : {CREATE_ALWAYS, CREATE_NEW}) {
    EXPECT_NE(0u, FileSystem::CreateFile(wide(scratch / "link"), GENERIC_WRITE, 0, disposition,
                                         refused));
  }
  EXPECT_NE(0u, FileSystem::CreateFile(wide(path), GENERIC_WRITE, 0, CREATE_NEW, refused));
  EXPECT_EQ("", read_file(path));
}

TEST(FileHandles, FailuresSetAndClearTheLastError) {
  ScratchDirectory scratch("platform-", ".");
  write_file(scratch / "plain", "x");
  HANDLE untouched = reinterpret_cast<HANDLE>(intptr_t{1234});
  EXPECT_EQ(2u, FileSystem::CreateFile(wide(scratch / "missing"), GENERIC_READ, 0, OPEN_EXISTING,
                                       untouched));
  EXPECT_EQ(2u, FileSystem::GetLastError());
  EXPECT_EQ(reinterpret_cast<HANDLE>(intptr_t{1234}), untouched);
  EXPECT_EQ(87u, FileSystem::CreateFile(wide(scratch / "plain/below"), GENERIC_READ, 0,
                                        OPEN_EXISTING, untouched));

  // Path operations leave the cell alone.
  FileSystem::MoveFile(wide(scratch / "missing"), wide(scratch / "elsewhere"));
  FileSystem::CreateDirectory(wide(scratch / "made"));
  EXPECT_EQ(87u, FileSystem::GetLastError());

  unsigned int count = 0;
  char byte;
  _FILETIME time{};
  const HANDLE bad = INVALID_HANDLE_VALUE;
  EXPECT_EQ(6u, FileSystem::ReadFile(bad, &byte, 1, &count, nullptr));
  EXPECT_EQ(6u, FileSystem::WriteFile(bad, &byte, 1, &count, nullptr));
  EXPECT_EQ(6u, FileSystem::GetFileTime(bad, nullptr, nullptr, &time));
  EXPECT_EQ(6u, FileSystem::SetFileTime(bad, nullptr, nullptr, &time));
  EXPECT_EQ(6u, FileSystem::SetEndOfFile(bad));
  EXPECT_EQ(INVALID_SET_FILE_POINTER, FileSystem::SetFilePointer(bad, 0, nullptr, FILE_BEGIN));
  EXPECT_EQ(6u, FileSystem::GetLastError());
  EXPECT_EQ(-1, FileSystem::CloseHandle(bad));

  HANDLE handle = openPath(scratch / "plain", GENERIC_READ, OPEN_EXISTING);
  EXPECT_EQ(0u, FileSystem::GetLastError());
  EXPECT_EQ(INVALID_SET_FILE_POINTER, FileSystem::SetFilePointer(handle, -5, nullptr, FILE_BEGIN));
  EXPECT_EQ(87u, FileSystem::GetLastError()) << "a failed seek must not read as success";
  EXPECT_EQ(87u, FileSystem::SetFileTime(handle, &time, &time, nullptr));
  FileSystem::CloseHandle(handle);
}

TEST(FileHandles, HighWordReachesEveryOffsetAndLengthBeyond4GiB) {
  ScratchDirectory scratch("platform-", ".");
  HANDLE handle = openPath(scratch / "sparse", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  long high = 0;
  // 3 GiB: the low word is taken unsigned, not as -1 GiB.
  EXPECT_EQ(0xC0000000u, FileSystem::SetFilePointer(handle, static_cast<int32_t>(0xC0000000u),
                                                    &high, FILE_BEGIN));
  EXPECT_EQ(0, high);
  EXPECT_EQ(0xC0000000, lseek(reinterpret_cast<intptr_t>(handle), 0, SEEK_CUR));
  high = 1;
  EXPECT_EQ(0x40000000u, FileSystem::SetFilePointer(handle, 0x40000000, &high, FILE_BEGIN));
  EXPECT_EQ(1, high);
  EXPECT_EQ(0u, FileSystem::SetEndOfFile(handle));
  EXPECT_EQ(0x140000000, statusOf(scratch / "sparse").st_size);
  high = -1;  // one high word back: 5 GiB - 4 GiB + 16
  EXPECT_EQ(0x40000010u, FileSystem::SetFilePointer(handle, 16, &high, FILE_CURRENT));
  EXPECT_EQ(0, high);
  unsigned int size = 0;
  EXPECT_EQ(0u, FileSystem::GetFileSize(wide(scratch / "sparse"), &size));
  EXPECT_EQ(0x40000000u, size) << "the low 32 bits of the size";
  FileSystem::CloseHandle(handle);
}

TEST(FileHandles, FileTimesUseWholeSecondsBeyond2038) {
  ScratchDirectory scratch("platform-", ".");
  HANDLE handle = openPath(scratch / "stamped", GENERIC_WRITE, CREATE_ALWAYS);
  const long year2100 = 4102444800;
  const _FILETIME stamp = EpochToFileTime(year2100);
  const uint64_t ticks =
      ((uint64_t{stamp.dwHighDateTime} << 32) | stamp.dwLowDateTime) + 9999999;  // 0.9999999 s
  const _FILETIME fraction{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
  EXPECT_EQ(0u, FileSystem::SetFileTime(handle, nullptr, nullptr, &fraction));
  const struct stat status = statusOf(scratch / "stamped");
  EXPECT_EQ(year2100, status.st_mtim.tv_sec);
  EXPECT_EQ(0, status.st_mtim.tv_nsec);
  EXPECT_EQ(year2100, status.st_atim.tv_sec);

  _FILETIME written{}, accessed{};
  EXPECT_EQ(0u, FileSystem::GetFileTime(handle, nullptr, &accessed, &written));
  EXPECT_EQ(stamp.dwHighDateTime, written.dwHighDateTime);
  EXPECT_EQ(stamp.dwLowDateTime, written.dwLowDateTime);
  EXPECT_EQ(year2100, FileTimeToEpoch(accessed));
  FileSystem::CloseHandle(handle);
}

TEST(FileTime, ConvertsBothWaysWithout32BitWrap) {
  const _FILETIME epoch = EpochToFileTime(0);
  EXPECT_EQ(0x019DB1DEu, epoch.dwHighDateTime);
  EXPECT_EQ(0xD53E8000u, epoch.dwLowDateTime);
  EXPECT_EQ(0, FileTimeToEpoch(epoch));
  EXPECT_EQ(-11644473600L, FileTimeToEpoch(_FILETIME{0, 0}));
  for (const long seconds : {-2208988800L, -1L, 1L, 2147483647L, 2147483648L, 32503680000L}) {
    EXPECT_EQ(seconds, FileTimeToEpoch(EpochToFileTime(seconds))) << seconds;
  }
}
