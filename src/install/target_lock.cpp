#include "install/target_lock.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "platform/last_error.h"
#include "platform/posix_call.h"

namespace {

constexpr int kRetryMilliseconds = 50;

int open_directory(const std::string& path) {
  return retryOnInterrupt([&] { return open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
}

}  // namespace

uint32_t TargetLock::acquire(const std::string& directory, int waitMilliseconds) {
  release();
  const int descriptor = open_directory(directory);
  if (descriptor == -1) return errno == ENOENT ? ERROR_PATH_NOT_FOUND : translateErrNo(errno);
  // The directories above, as resolved: a link on the way leads to the
  // same directories another run reaches by their own names.
  char resolved[PATH_MAX];
  if (realpath(directory.c_str(), resolved) != nullptr) {
    const std::string path = resolved;
    for (size_t slash = 0; slash != std::string::npos && slash + 1 < path.size();
         slash = path.find('/', slash + 1)) {
      const int above = open_directory(slash == 0 ? "/" : path.substr(0, slash));
      if (above != -1) m_above.push_back(above);
    }
  }
  m_descriptor = descriptor;
  for (int waited = 0;; waited += kRetryMilliseconds) {
    if (tryLocks()) return ERROR_SUCCESS;
    if (waited >= waitMilliseconds) break;
    const timespec pause{0, kRetryMilliseconds * 1000000L};
    nanosleep(&pause, nullptr);
  }
  release();
  return ERROR_SHARING_VIOLATION;
}

bool TargetLock::tryLocks() {
  size_t taken = 0;
  // From the root down, then the target: every run takes them in one order.
  for (; taken < m_above.size(); ++taken) {
    if (flock(m_above[taken], LOCK_SH | LOCK_NB) != 0) break;
  }
  if (taken == m_above.size() && flock(m_descriptor, LOCK_EX | LOCK_NB) == 0) return true;
  for (size_t i = 0; i < taken; ++i) flock(m_above[i], LOCK_UN);
  return false;
}

void TargetLock::release() {
  for (const int above : m_above) close(above);
  m_above.clear();
  if (m_descriptor == -1) return;
  close(m_descriptor);
  m_descriptor = -1;
}

HANDLE TargetLock::handle() const {
  return m_descriptor == -1 ? INVALID_HANDLE_VALUE : handleOf(m_descriptor);
}
