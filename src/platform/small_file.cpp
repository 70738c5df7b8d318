#include "platform/small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/last_error.h"
#include "platform/posix_call.h"

namespace {

SmallFile failed(SmallFileFault fault, uint32_t code) {
  SmallFile file;
  file.fault = fault;
  file.code = code;
  return file;
}

SmallFile failed_by_errno(int errnoValue) {
  if (errnoValue == ENOENT) return failed(SmallFileFault::kMissing, ERROR_FILE_NOT_FOUND);
  // O_NOFOLLOW met a symbolic link.
  if (errnoValue == ELOOP) return failed(SmallFileFault::kNotRegular, ERROR_CANT_RESOLVE_FILENAME);
  return failed(SmallFileFault::kUnreadable, translateErrNo(errnoValue));
}

}  // namespace

SmallFile read_small_file(HANDLE directory, const std::string& name, size_t limit) {
  // Opening never waits: not for a pipe's writer, not for a device.
  const int fd = retryOnInterrupt([&] {
    return openat(atDescriptor(directory), name.c_str(),
                  O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
  });
  if (fd < 0) return failed_by_errno(errno);
  SmallFile file;
  if (fstat(fd, &file.status) != 0) {
    file = failed_by_errno(errno);
  } else if (!S_ISREG(file.status.st_mode)) {
    file = failed(SmallFileFault::kNotRegular, ERROR_INVALID_DATA);
  } else {
    // One byte more than allowed tells a file too large, whatever its size said.
    file.content.resize(limit + 1);
    size_t got = 0;
    while (got < file.content.size()) {
      const ssize_t n =
          retryOnInterrupt([&] { return read(fd, &file.content[got], file.content.size() - got); });
      if (n <= 0) {
        if (n < 0) file = failed_by_errno(errno);
        break;
      }
      got += static_cast<size_t>(n);
    }
    if (file.fault == SmallFileFault::kNone) {
      file.content.resize(got);
      if (got > limit) file = failed(SmallFileFault::kTooLarge, ERROR_INVALID_DATA);
    }
  }
  close(fd);
  return file;
}
