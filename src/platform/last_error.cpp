#include "platform/last_error.h"

#include <atomic>
#include <cerrno>

#include "platform/file_system.h"
#include "platform/win32_types.h"

namespace {

// Relaxed atomic: one shared cell, as the callers expect, without a data race
// when the main thread and the installer touch it at different times.
std::atomic<uint32_t> ms_lastError{ERROR_SUCCESS};

}  // namespace

uint32_t translateErrNo(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    default:
      return ERROR_INVALID_PARAMETER;
  }
}

uint32_t setLastError(uint32_t code) {
  ms_lastError.store(code, std::memory_order_relaxed);
  return code;
}

uint32_t setLastErrorByErrNo(int errnoValue) { return setLastError(translateErrNo(errnoValue)); }

uint32_t FileSystem::GetLastError() { return ms_lastError.load(std::memory_order_relaxed); }
