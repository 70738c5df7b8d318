// The durability operations of FileSystem: flushing one file, a whole file
// system (now, or ahead of the flush that counts), and hard links (saving a
// file under a second name costs neither a copy nor space).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_system.h"
#include "platform/last_error.h"
#include "platform/posix_call.h"

uint32_t FileSystem::FlushFileBuffers(HANDLE handle) {
  setLastError(ERROR_SUCCESS);
  if (handle == INVALID_HANDLE_VALUE) return setLastError(ERROR_INVALID_HANDLE);
  if (retryOnInterrupt([&] { return fsync(descriptorOf(handle)); }) != 0) {
    return setLastErrorByErrNo(errno);
  }
  return ERROR_SUCCESS;
}

uint32_t FileSystem::FlushFileSystem(HANDLE handle) {
  setLastError(ERROR_SUCCESS);
  if (handle == INVALID_HANDLE_VALUE) return setLastError(ERROR_INVALID_HANDLE);
  if (retryOnInterrupt([&] { return syncfs(descriptorOf(handle)); }) != 0) {
    return setLastErrorByErrNo(errno);
  }
  return ERROR_SUCCESS;
}

void FileSystem::FlushFileSystemAhead(HANDLE directory) {
  if (directory == INVALID_HANDLE_VALUE) return;
  // A new open file description, not a duplicate: a write-back error is
  // reported once to each description that existed when it happened, and
  // this flush must not take it from the one the commit flushes through.
  const int own = openat(descriptorOf(directory), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (own < 0) return;
  retryOnInterrupt([&] { return syncfs(own); });
  close(own);
}

uint32_t FileSystem::CreateHardLink(const WideString& newPath, const WideString& existingPath) {
  const std::string target = narrow_lib(newPath);
  const std::string source = narrow_lib(existingPath);
  if (linkat(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), 0) == 0) return ERROR_SUCCESS;
  return errno == EEXIST ? ERROR_ALREADY_EXISTS : translateErrNo(errno);
}
