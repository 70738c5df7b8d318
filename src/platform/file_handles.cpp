// The handle operations of FileSystem: each clears the last error first and
// stores the code of a failure in it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_system.h"
#include "platform/last_error.h"
#include "platform/posix_call.h"

uint32_t FileSystem::CreateFile(const WideString& path, uint32_t desiredAccess,
                                uint32_t /*shareMode*/, uint32_t creationDisposition,
                                HANDLE& handle) {
  setLastError(ERROR_SUCCESS);
  int flags = O_RDONLY;
  if (desiredAccess & GENERIC_WRITE) {
    flags = (desiredAccess & GENERIC_READ) ? O_RDWR : O_WRONLY;
  }
  if (creationDisposition == TRUNCATE_EXISTING) {
    flags |= O_TRUNC;
  } else if (creationDisposition == CREATE_ALWAYS) {
    // An existing file keeps its length until the writer calls SetEndOfFile;
    // a symbolic link at the name is refused, never written through.
    flags |= O_CREAT | O_NOFOLLOW;
  } else if (creationDisposition == CREATE_NEW) {
    // Only a name that is free: never an existing file, never through a link.
    flags |= O_CREAT | O_EXCL | O_NOFOLLOW;
  }
  // What is opened for reading alone is never waited on: a pipe or a device
  // put where a file is expected is refused.
  const bool readOnly = flags == O_RDONLY;
  const std::string narrowPath = narrow_lib(path);
  const int fd = retryOnInterrupt([&] {
    return open(narrowPath.c_str(), flags | O_CLOEXEC | (readOnly ? O_NONBLOCK : 0), 0660);
  });
  if (fd == -1) {
    return setLastErrorByErrNo(errno);
  }
  if (readOnly) {
    struct stat status;
    if (fstat(fd, &status) != 0 || !(S_ISREG(status.st_mode) || S_ISDIR(status.st_mode))) {
      close(fd);
      return setLastError(ERROR_BAD_FILE_TYPE);
    }
    fcntl(fd, F_SETFL, O_RDONLY);
  }
  handle = handleOf(fd);
  return ERROR_SUCCESS;
}

uint32_t FileSystem::ReadFile(HANDLE handle, void* buffer, uint32_t count, unsigned int* bytesRead,
                              _OVERLAPPED* overlapped) {
  setLastError(ERROR_SUCCESS);
  if (bytesRead == nullptr) {
    return overlapped == nullptr ? setLastError(ERROR_INVALID_PARAMETER) : ERROR_SUCCESS;
  }
  if (handle == INVALID_HANDLE_VALUE) {
    return setLastError(ERROR_INVALID_HANDLE);
  }
  const int fd = descriptorOf(handle);
  char* const bytes = static_cast<char*>(buffer);
  *bytesRead = 0;
  while (*bytesRead < count) {
    const ssize_t got =
        retryOnInterrupt([&] { return read(fd, bytes + *bytesRead, count - *bytesRead); });
    if (got == -1) {
      return setLastErrorByErrNo(errno);
    }
    if (got == 0) {
      break;
    }
    *bytesRead += static_cast<unsigned int>(got);
  }
  return ERROR_SUCCESS;
}

uint32_t FileSystem::WriteFile(HANDLE handle, const void* buffer, uint32_t count,
                               unsigned int* bytesWritten, _OVERLAPPED* overlapped) {
  setLastError(ERROR_SUCCESS);
  if (bytesWritten == nullptr && overlapped == nullptr) {
    return setLastError(ERROR_INVALID_PARAMETER);
  }
  if (handle == INVALID_HANDLE_VALUE) {
    return setLastError(ERROR_INVALID_HANDLE);
  }
  if (bytesWritten == nullptr) {
    return ERROR_SUCCESS;
  }
  // A short write is continued, so a failure is always reported with the
  // errno of the write that could not proceed.
  const int fd = descriptorOf(handle);
  const char* const bytes = static_cast<const char*>(buffer);
  *bytesWritten = 0;
  while (*bytesWritten < count) {
    const ssize_t put =
        retryOnInterrupt([&] { return write(fd, bytes + *bytesWritten, count - *bytesWritten); });
    if (put == -1) {
      return setLastErrorByErrNo(errno);
    }
    *bytesWritten += static_cast<unsigned int>(put);
  }
  return ERROR_SUCCESS;
}

uint32_t FileSystem::SetFilePointer(HANDLE handle, int32_t distance, long* distanceHigh,
                                    uint32_t moveMethod) {
  setLastError(ERROR_SUCCESS);
  if (handle == INVALID_HANDLE_VALUE) {
    setLastError(ERROR_INVALID_HANDLE);
    return INVALID_SET_FILE_POINTER;
  }
  int whence = SEEK_SET;
  if (moveMethod == FILE_CURRENT) {
    whence = SEEK_CUR;
  } else if (moveMethod == FILE_END) {
    whence = SEEK_END;
  }
  // With a high word the low word is unsigned, so every offset below 4 GiB is
  // reachable; without one the low word alone is a signed distance.
  int64_t offset = distance;
  if (distanceHigh != nullptr) {
    const uint64_t combined =
        (static_cast<uint64_t>(*distanceHigh) << 32) + static_cast<uint32_t>(distance);
    offset = static_cast<int64_t>(combined);
  }
  const off64_t position = lseek64(descriptorOf(handle), offset, whence);
  if (position == -1) {
    // Recorded, so that a caller who sees the failure value and asks for the
    // last error does not read success.
    setLastErrorByErrNo(errno);
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh != nullptr) {
    *distanceHigh = static_cast<long>(static_cast<uint64_t>(position) >> 32);
  }
  return static_cast<uint32_t>(position);
}

int FileSystem::CloseHandle(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE) {
    return -1;
  }
  // Never retried: after an interrupted close the descriptor is already gone.
  return close(descriptorOf(handle));
}

uint32_t FileSystem::GetFileTime(HANDLE handle, _FILETIME* creation, _FILETIME* lastAccess,
                                 _FILETIME* lastWrite) {
  setLastError(ERROR_SUCCESS);
  struct stat64 status;
  if (handle == INVALID_HANDLE_VALUE || fstat64(descriptorOf(handle), &status) != 0) {
    return setLastError(ERROR_INVALID_HANDLE);
  }
  if (creation != nullptr) {
    *creation = EpochToFileTime(status.st_ctime);
  }
  if (lastAccess != nullptr) {
    *lastAccess = EpochToFileTime(status.st_atime);
  }
  if (lastWrite != nullptr) {
    *lastWrite = EpochToFileTime(status.st_mtime);
  }
  return ERROR_SUCCESS;
}

uint32_t FileSystem::SetFileTime(HANDLE handle, const _FILETIME* /*creation*/,
                                 const _FILETIME* /*lastAccess*/, const _FILETIME* lastWrite) {
  setLastError(ERROR_SUCCESS);
  if (handle == INVALID_HANDLE_VALUE) {
    return setLastError(ERROR_INVALID_HANDLE);
  }
  if (lastWrite == nullptr) {
    return setLastError(ERROR_INVALID_PARAMETER);
  }
  // Access and modification time both become the whole second given. A
  // time that does not take is a failure: the file would look newer than
  // the kit it came from and never be updated again.
  const timespec stamp{FileTimeToEpoch(*lastWrite), 0};
  const timespec times[2] = {stamp, stamp};
  if (futimens(descriptorOf(handle), times) != 0) return setLastErrorByErrNo(errno);
  return ERROR_SUCCESS;
}

uint32_t FileSystem::SetEndOfFile(HANDLE handle) {
  setLastError(ERROR_SUCCESS);
  if (handle == INVALID_HANDLE_VALUE) {
    return setLastError(ERROR_INVALID_HANDLE);
  }
  const int fd = descriptorOf(handle);
  const off64_t position = lseek64(fd, 0, SEEK_CUR);
  if (position == -1 || retryOnInterrupt([&] { return ftruncate64(fd, position); }) != 0) {
    return setLastErrorByErrNo(errno);
  }
  return ERROR_SUCCESS;
}
