// The handle operations of the file layer: opening by disposition, reading,
// writing, seeking past 4 GiB, truncating, file times and the last error.
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/file_system.h"
#include "platform/test_files.h"

namespace {

HANDLE openPath(const std::string& path, uint32_t access, uint32_t disposition) {
  HANDLE handle = INVALID_HANDLE_VALUE;
  EXPECT_EQ(0u, FileSystem::CreateFile(wide(path), access, 0, disposition, handle)) << path;
  return handle;
}

}  // namespace

TEST(FileHandles, DispositionsReadsWritesAndTheLastError) {
  ScratchDirectory scratch = platform_scratch();
  const std::string path = scratch / "ten";
  write_file(path, "0123456789");
  ASSERT_EQ(0, symlink(path.c_str(), (scratch / "link").c_str()));
  HANDLE handle = openPath(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  EXPECT_TRUE(fcntl(static_cast<int>(reinterpret_cast<intptr_t>(handle)), F_GETFD) & FD_CLOEXEC);
  unsigned int count = 0;
  EXPECT_EQ(0u, FileSystem::WriteFile(handle, "abcd", 4, &count, nullptr));
  EXPECT_EQ("abcd456789", read_file(path)) << "an existing file keeps its length";
  EXPECT_EQ(8u, FileSystem::SetFilePointer(handle, -2, nullptr, FILE_END));
  char buffer[16];
  EXPECT_EQ(0u, FileSystem::ReadFile(handle, buffer, sizeof buffer, &count, nullptr));
  EXPECT_EQ(2u, count);
  EXPECT_EQ(87u, FileSystem::ReadFile(handle, buffer, 1, nullptr, nullptr));
  EXPECT_EQ(87u, FileSystem::GetLastError());
  EXPECT_EQ(INVALID_SET_FILE_POINTER, FileSystem::SetFilePointer(handle, -5, nullptr, FILE_BEGIN));
  EXPECT_EQ(87u, FileSystem::GetLastError()) << "a failed seek must not read as success";
  EXPECT_EQ(4u, FileSystem::SetFilePointer(handle, 4, nullptr, FILE_BEGIN));
  EXPECT_EQ(0u, FileSystem::SetEndOfFile(handle));
  EXPECT_EQ(0u, FileSystem::GetLastError());
  EXPECT_EQ("abcd", read_file(path));
  EXPECT_EQ(0, FileSystem::CloseHandle(handle));

  handle = openPath(path, GENERIC_READ, OPEN_EXISTING);
  EXPECT_EQ(87u, FileSystem::WriteFile(handle, "x", 1, &count, nullptr));  // EBADF
  FileSystem::CloseHandle(handle);
  FileSystem::CloseHandle(openPath(path, GENERIC_WRITE, TRUNCATE_EXISTING));
  EXPECT_EQ("", read_file(path));
  const mode_t mask = umask(022);
  FileSystem::CloseHandle(openPath(scratch / "new", GENERIC_WRITE, CREATE_NEW));
  umask(mask);
  EXPECT_EQ(S_IFREG | 0640u, statusOf(scratch / "new").st_mode);

  // A link at the name is refused, never written through; CREATE_NEW takes
  // only a free name; a failed open leaves the handle alone.
  const std::pair<std::string, uint32_t> refusals[] = {{scratch / "link", CREATE_ALWAYS},
                                                       {scratch / "link", CREATE_NEW},
                                                       {path, CREATE_NEW},
                                                       {scratch / "ten/below", OPEN_EXISTING}};
  for (const auto& [name, disposition] : refusals) {
    HANDLE untouched = handle;
    EXPECT_EQ(87u, FileSystem::CreateFile(wide(name), GENERIC_WRITE, 0, disposition, untouched));
    EXPECT_EQ(87u, FileSystem::GetLastError());
    EXPECT_EQ(handle, untouched);
  }
  EXPECT_EQ(2u, FileSystem::CreateFile(wide(scratch / "missing"), 0, 0, OPEN_EXISTING, handle));
  EXPECT_EQ("", read_file(path));

  _FILETIME time{};
  const HANDLE bad = INVALID_HANDLE_VALUE;
  EXPECT_EQ(6u, FileSystem::ReadFile(bad, buffer, 1, &count, nullptr));
  EXPECT_EQ(6u, FileSystem::WriteFile(bad, buffer, 1, &count, nullptr));
  EXPECT_EQ(6u, FileSystem::GetFileTime(bad, nullptr, nullptr, &time));
  EXPECT_EQ(6u, FileSystem::SetFileTime(bad, nullptr, nullptr, &time));
  EXPECT_EQ(6u, FileSystem::SetEndOfFile(bad));
  EXPECT_EQ(6u, FileSystem::FlushFileBuffers(bad));
  EXPECT_EQ(INVALID_SET_FILE_POINTER, FileSystem::SetFilePointer(bad, 0, nullptr, FILE_BEGIN));
  EXPECT_EQ(6u, FileSystem::GetLastError());
  EXPECT_EQ(-1, FileSystem::CloseHandle(bad));
}

TEST(FileHandles, HighWordReachesEveryOffsetAndLengthBeyond4GiB) {
  ScratchDirectory scratch = platform_scratch();
  HANDLE handle = openPath(scratch / "sparse", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  long high = 0;  // 3 GiB: the low word is taken unsigned, not as -1 GiB
  EXPECT_EQ(0xC0000000u, FileSystem::SetFilePointer(handle, static_cast<int32_t>(0xC0000000u),
                                                    &high, FILE_BEGIN));
  EXPECT_EQ(0, high);
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
  EXPECT_EQ(1u, FileSystem::GetFileSize(wide(scratch / "missing"), &size));
  EXPECT_EQ(1u, FileSystem::GetFileSize(wide(scratch / "sparse"), nullptr));
  FileSystem::CloseHandle(handle);
}

TEST(FileHandles, FileTimesAreWholeSecondsWithout32BitWrap) {
  ScratchDirectory scratch = platform_scratch();
  HANDLE handle = openPath(scratch / "stamped", GENERIC_WRITE, CREATE_ALWAYS);
  const long year2100 = 4102444800;
  const _FILETIME stamp = EpochToFileTime(year2100);
  const uint64_t ticks =
      ((uint64_t{stamp.dwHighDateTime} << 32) | stamp.dwLowDateTime) + 9999999;  // 0.9999999 s
  const _FILETIME fraction{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
  EXPECT_EQ(87u, FileSystem::SetFileTime(handle, &stamp, &stamp, nullptr));
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

  EXPECT_EQ(0x019DB1DEu, EpochToFileTime(0).dwHighDateTime);
  EXPECT_EQ(0xD53E8000u, EpochToFileTime(0).dwLowDateTime);
  EXPECT_EQ(-11644473600L, FileTimeToEpoch(_FILETIME{0, 0}));
  EXPECT_EQ(-11644473600L, FileTimeToEpoch(_FILETIME{9999999, 0}));
  for (const long seconds : {-2208988800L, -1L, 0L, 2147483648L, 32503680000L}) {
    EXPECT_EQ(seconds, FileTimeToEpoch(EpochToFileTime(seconds))) << seconds;
  }
}
