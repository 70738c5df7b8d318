// The file layer's handles: dispositions, reads and writes, seeks past 4 GiB,
// truncation, file times and the last error.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <tuple>
#include <utility>

#include "platform/file_system.h"
#include "platform/last_error.h"
#include "platform/test_files.h"

TEST(FileHandles, DispositionsReadsWritesAndTheLastError) {
  ScratchDirectory scratch = platform_scratch();
  const std::string path = scratch / "ten";
  write_file(path, "0123456789");
  ASSERT_EQ(0, symlink(path.c_str(), (scratch / "link").c_str()));
  HANDLE handle = INVALID_HANDLE_VALUE;
  ASSERT_EQ(0u, FileSystem::CreateFile(wide(path), GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS,
                                       handle));
  EXPECT_TRUE(fcntl(static_cast<int>(reinterpret_cast<intptr_t>(handle)), F_GETFD) & FD_CLOEXEC);
  unsigned int count = 0;
  EXPECT_EQ(0u, FileSystem::WriteFile(handle, "abcd", 4, &count, nullptr));
  EXPECT_EQ(8u, FileSystem::SetFilePointer(handle, -2, nullptr, FILE_END)) << "not cut on open";
  char buffer[16];
  EXPECT_EQ(0u, FileSystem::ReadFile(handle, buffer, sizeof buffer, &count, nullptr));
  EXPECT_EQ("89", std::string(buffer, count));
  EXPECT_EQ(INVALID_SET_FILE_POINTER, FileSystem::SetFilePointer(handle, -5, nullptr, FILE_BEGIN));
  EXPECT_EQ(87u, FileSystem::GetLastError()) << "a failed seek must not read as success";
  EXPECT_EQ(4u, FileSystem::SetFilePointer(handle, 4, nullptr, FILE_BEGIN));
  EXPECT_EQ(0u, FileSystem::SetEndOfFile(handle));
  EXPECT_EQ(0u, FileSystem::GetLastError());
  EXPECT_EQ("abcd", read_file(path)) << "written over, then cut";
  EXPECT_EQ(0, FileSystem::CloseHandle(std::exchange(handle, INVALID_HANDLE_VALUE)));
  // A link at the name is refused, not written through; a failed open keeps the handle
  // and names its reason.
  for (const auto& [name, disposition, code] :
       {std::tuple{scratch / "link", CREATE_ALWAYS, 1921u}, {path, CREATE_NEW, 183u},
        {path + "/below", OPEN_EXISTING, 3u}, {scratch.path(), CREATE_ALWAYS, 183u},
        {scratch / std::string(300, 'n'), CREATE_ALWAYS, 206u}}) {
    EXPECT_EQ(code, FileSystem::CreateFile(wide(name), GENERIC_WRITE, 0, disposition, handle));
    EXPECT_EQ(code, FileSystem::GetLastError());
  }
  // What is opened for reading alone is never waited on: a pipe or a device is
  // refused at once. A time stamp that does not take is a failure.
  ASSERT_EQ(0, mkfifo((scratch / "pipe").c_str(), 0600));
  for (const std::string& special : {scratch / "pipe", std::string("/dev/zero")}) {
    EXPECT_EQ(ERROR_BAD_FILE_TYPE,
              FileSystem::CreateFile(wide(special), GENERIC_READ, 0, OPEN_EXISTING, handle));
  }
  const int pathOnly = open(path.c_str(), O_PATH | O_CLOEXEC);
  const _FILETIME stamp = EpochToFileTime(1600000000);
  EXPECT_EQ(ERROR_INVALID_PARAMETER,
            FileSystem::SetFileTime(reinterpret_cast<HANDLE>(static_cast<intptr_t>(pathOnly)),
                                    nullptr, nullptr, &stamp));
  close(pathOnly);
  for (const auto& [errnoValue, code] :
       {std::pair{EACCES, 5u}, {EPERM, 5u}, {EROFS, 19u}, {EIO, 1117u}, {ENOTEMPTY, 183u},
        {EMFILE, 4u}, {ENFILE, 4u}, {ENOMEM, 8u}, {EXDEV, 17u}, {EBUSY, 170u}, {ETXTBSY, 170u},
        {EDQUOT, 112u}, {EINVAL, 87u}, {EDOM, 87u}}) {
    EXPECT_EQ(code, translateErrNo(errnoValue)) << errnoValue;
  }
  EXPECT_EQ(2u, FileSystem::CreateFile(wide(scratch / "missing"), 0, 0, OPEN_EXISTING, handle));
  EXPECT_EQ(INVALID_HANDLE_VALUE, handle);
  EXPECT_EQ("abcd", read_file(path));
  EXPECT_EQ(6u, FileSystem::ReadFile(handle, buffer, 1, &count, nullptr));
  EXPECT_EQ(6u, FileSystem::GetLastError());
}

TEST(FileHandles, OffsetsBeyond4GiBAndTimesBeyond2038WithoutWrapping) {
  ScratchDirectory scratch = platform_scratch();
  HANDLE handle = INVALID_HANDLE_VALUE;
  ASSERT_EQ(0u, FileSystem::CreateFile(wide(scratch / "sparse"), GENERIC_READ | GENERIC_WRITE, 0,
                                       CREATE_ALWAYS, handle));
  long high = 1;  // 7 GiB: the low word, 3 GiB, is taken unsigned, not as -1 GiB
  EXPECT_EQ(0xC0000000u, FileSystem::SetFilePointer(handle, static_cast<int32_t>(0xC0000000u),
                                                    &high, FILE_BEGIN));
  EXPECT_EQ(1, high);
  EXPECT_EQ(0u, FileSystem::SetEndOfFile(handle));
  high = -1;  // one high word back: 7 GiB - 4 GiB + 16
  EXPECT_EQ(0xC0000010u, FileSystem::SetFilePointer(handle, 16, &high, FILE_CURRENT));
  EXPECT_EQ(0, high);
  const long year2100 = 4102444800;
  const _FILETIME stamp = EpochToFileTime(year2100);
  const uint64_t ticks = (uint64_t{stamp.dwHighDateTime} << 32) | stamp.dwLowDateTime;
  EXPECT_EQ((11644473600u + year2100) * 10000000u, ticks) << "100 ns ticks since 1601";
  const _FILETIME fraction{static_cast<uint32_t>(ticks + 9999999),  // 0.9999999 s later
                           static_cast<uint32_t>((ticks + 9999999) >> 32)};
  EXPECT_EQ(0u, FileSystem::SetFileTime(handle, nullptr, nullptr, &fraction));
  FileSystem::CloseHandle(handle);
  const struct stat status = status_of(scratch / "sparse");
  EXPECT_EQ(0x1C0000000, status.st_size);
  EXPECT_EQ(year2100, status.st_mtim.tv_sec);
  EXPECT_EQ(0, status.st_mtim.tv_nsec);
  EXPECT_EQ(year2100, status.st_atim.tv_sec);
  uint64_t size = 0;
  EXPECT_EQ(0u, FileSystem::GetFileSize(wide(scratch / "sparse"), &size));
  EXPECT_EQ(0x1C0000000u, size) << "all 64 bits of the size";
  for (const long seconds : {-2208988800L, -1L, 2147483648L, 32503680000L})
    EXPECT_EQ(seconds, FileTimeToEpoch(EpochToFileTime(seconds))) << seconds;
}
