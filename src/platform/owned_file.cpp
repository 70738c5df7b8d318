#include "platform/owned_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/last_error.h"
#include "platform/posix_call.h"
#include "platform/win32_types.h"

uint32_t check_owned(const struct stat& status, bool directory) {
  if (directory ? !S_ISDIR(status.st_mode) : !S_ISREG(status.st_mode)) return ERROR_BAD_FILE_TYPE;
  if (status.st_uid != geteuid() || (status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    return ERROR_INVALID_OWNER;
  }
  return ERROR_SUCCESS;
}

uint32_t read_owned_file(int directoryFd, const std::string& name, uint64_t bound,
                         std::string& bytes) {
  bytes.clear();
  const int descriptor = retryOnInterrupt([&] {
    return openat(directoryFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  });
  if (descriptor == -1) {
    if (errno == ENOENT) return ERROR_FILE_NOT_FOUND;
    return errno == ELOOP ? ERROR_BAD_FILE_TYPE : translateErrNo(errno);
  }
  struct stat status;
  uint32_t code = fstat(descriptor, &status) == 0 ? check_owned(status, false) : translateErrNo(errno);
  if (code == 0 && static_cast<uint64_t>(status.st_size) > bound) code = ERROR_FILE_TOO_LARGE;
  if (code == 0) {
    bytes.resize(static_cast<size_t>(status.st_size));
    size_t done = 0;
    // A file that grows meanwhile is read only up to the size seen.
    while (done < bytes.size()) {
      const ssize_t got = retryOnInterrupt(
          [&] { return pread(descriptor, &bytes[done], bytes.size() - done, static_cast<off_t>(done)); });
      if (got < 0) code = translateErrNo(errno);
      if (got <= 0) break;
      done += static_cast<size_t>(got);
    }
    bytes.resize(done);
  }
  close(descriptor);
  if (code != 0) bytes.clear();
  return code;
}

int open_regular_for_append(const std::string& path, mode_t mode) {
  const int descriptor = retryOnInterrupt([&] {
    return open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                mode);
  });
  if (descriptor == -1) return -1;
  struct stat status;
  const bool statused = fstat(descriptor, &status) == 0;
  if (!statused || !S_ISREG(status.st_mode)) {
    const int error = statused ? EINVAL : errno;
    close(descriptor);
    errno = error;
    return -1;
  }
  fcntl(descriptor, F_SETFL, O_WRONLY | O_APPEND);
  return descriptor;
}
