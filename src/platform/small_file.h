// A small file that someone else may have put in place (a signature, a
// public key), read whole: never through a symbolic link, never waiting on
// a pipe or a device, never more than a set number of bytes. Any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/file_system.h"
#include "platform/win32_types.h"

enum class SmallFileFault {
  kNone,
  kMissing,
  // A symbolic link, a directory, a pipe, a device or a socket.
  kNotRegular,
  kTooLarge,
  // Could not be opened or read for another reason (`code` says why).
  kUnreadable,
};

struct SmallFile {
  SmallFileFault fault = SmallFileFault::kNone;
  // The Win32 code of the failure: 2 when missing, else the translated errno.
  uint32_t code = 0;
  std::string content;
  // The status of the file read (owner and mode for trust decisions).
  FileStatus status{};
};

// Reads the regular file `name` in `directory` (INVALID_HANDLE_VALUE: the
// current directory, and `name` may be a whole path) when it holds at most
// `limit` bytes. Anything else is opened without waiting and not read.
SmallFile read_small_file(HANDLE directory, const std::string& name, size_t limit);
