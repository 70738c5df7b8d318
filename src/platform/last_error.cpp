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
    case EACCES:
    case EPERM:
      return ERROR_ACCESS_DENIED;
    case EROFS:
      return ERROR_WRITE_PROTECT;
    case EIO:
      return ERROR_IO_DEVICE;
    case EEXIST:
    case EISDIR:
    case ENOTEMPTY:
      return ERROR_ALREADY_EXISTS;
    // Names are opened without following links: a link stands in the way.
    case ELOOP:
      return ERROR_CANT_RESOLVE_FILENAME;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EXDEV:
      return ERROR_NOT_SAME_DEVICE;
    case EBUSY:
    case ETXTBSY:
      return ERROR_BUSY;
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
