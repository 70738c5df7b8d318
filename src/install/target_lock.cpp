#include "install/target_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "platform/last_error.h"
#include "platform/posix_call.h"

namespace {

constexpr int kRetryMilliseconds = 50;

}  // namespace

uint32_t TargetLock::acquire(const std::string& directory, int waitMilliseconds) {
  release();
  const int descriptor =
      retryOnInterrupt([&] { return open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
  if (descriptor == -1) return errno == ENOENT ? ERROR_PATH_NOT_FOUND : translateErrNo(errno);
  for (int waited = 0;; waited += kRetryMilliseconds) {
    if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
      m_descriptor = descriptor;
      return ERROR_SUCCESS;
    }
    if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= waitMilliseconds) break;
    const timespec pause{0, kRetryMilliseconds * 1000000L};
    nanosleep(&pause, nullptr);
  }
  close(descriptor);
  return ERROR_SHARING_VIOLATION;
}

void TargetLock::release() {
  if (m_descriptor == -1) return;
  close(m_descriptor);
  m_descriptor = -1;
}

HANDLE TargetLock::handle() const {
  return m_descriptor == -1 ? INVALID_HANDLE_VALUE : handleOf(m_descriptor);
}
