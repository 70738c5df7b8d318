#include "platform/lock_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/last_error.h"
#include "platform/posix_call.h"
#include "platform/win32_types.h"

uint32_t LockFile::acquire(const std::string& path) {
  release();
  // O_NONBLOCK: a pipe put in the lock file's place cannot hold up the open.
  const int descriptor = retryOnInterrupt([&] {
    return open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  });
  if (descriptor == -1) return translateErrNo(errno);
  if (retryOnInterrupt([&] { return flock(descriptor, LOCK_EX); }) != 0) {
    const uint32_t code = translateErrNo(errno);
    close(descriptor);
    return code;
  }
  m_descriptor = descriptor;
  return ERROR_SUCCESS;
}

void LockFile::release() {
  if (m_descriptor == -1) return;
  close(m_descriptor);
  m_descriptor = -1;
}
