// The operations of FileSystem that look at files without changing their
// content: status queries, directory listings, positioned reads, and the
// setting of times by name.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/directory_listing.h"
#include "platform/file_system.h"
#include "platform/last_error.h"
#include "platform/posix_call.h"

namespace {

uint32_t resultOf(int result) { return result == 0 ? ERROR_SUCCESS : translateErrNo(errno); }

}  // namespace

uint32_t FileSystem::StatusAt(HANDLE directory, const std::string& name, FileStatus& status,
                              bool followLink) {
  const int flags = name.empty() ? AT_EMPTY_PATH : followLink ? 0 : AT_SYMLINK_NOFOLLOW;
  return resultOf(fstatat(atDescriptor(directory), name.c_str(), &status, flags));
}

uint32_t FileSystem::StatusOfPath(const std::string& path, bool followLinks, FileStatus& status) {
  return resultOf(followLinks ? stat(path.c_str(), &status) : lstat(path.c_str(), &status));
}

uint32_t FileSystem::SetTimesAt(HANDLE directory, const std::string& name,
                                const timespec times[2]) {
  if (name.empty()) return resultOf(futimens(descriptorOf(directory), times));
  return resultOf(utimensat(atDescriptor(directory), name.c_str(), times, AT_SYMLINK_NOFOLLOW));
}

uint32_t FileSystem::CheckWritable(const std::string& path) {
  return resultOf(faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS));
}

uint32_t FileSystem::ListDirectory(const std::string& path, std::vector<std::string>& names) {
  const int failure = listDirectory(path, names);
  return failure == 0 ? ERROR_SUCCESS : translateErrNo(failure);
}

uint32_t FileSystem::ReadFileAt(HANDLE handle, void* buffer, uint32_t count, uint64_t offset,
                                unsigned int* bytesRead) {
  const ssize_t got = retryOnInterrupt(
      [&] { return pread(descriptorOf(handle), buffer, count, static_cast<off_t>(offset)); });
  if (got < 0) return translateErrNo(errno);
  *bytesRead = static_cast<unsigned int>(got);
  return ERROR_SUCCESS;
}
