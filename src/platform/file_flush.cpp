// The durability operations of FileSystem: flushing one file, a whole file
// system, starting write-back early, and hard links (saving a file under a
// second name costs neither a copy nor space).
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

void FileSystem::StartWriteBack(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE) return;
  sync_file_range(descriptorOf(handle), 0, 0, SYNC_FILE_RANGE_WRITE);
}

uint32_t FileSystem::CreateHardLink(const WideString& newPath, const WideString& existingPath) {
  const std::string target = narrow_lib(newPath);
  const std::string source = narrow_lib(existingPath);
  if (linkat(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), 0) == 0) return ERROR_SUCCESS;
  return errno == EEXIST ? ERROR_ALREADY_EXISTS : translateErrNo(errno);
}
