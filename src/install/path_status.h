// What the run loop needs to know about a path beyond the Win32-style file
// layer: its kind, time and identity from one status query. Plain functions;
// any thread.
#pragma once

#include <sys/types.h>

#include <cstdint>

#include "platform/win32_types.h"
#include "text/wide_string.h"

// Whether `a` is strictly earlier than `b`, as unsigned 64-bit tick counts.
inline bool earlier(const _FILETIME& a, const _FILETIME& b) {
  const uint64_t left = (static_cast<uint64_t>(a.dwHighDateTime) << 32) | a.dwLowDateTime;
  const uint64_t right = (static_cast<uint64_t>(b.dwHighDateTime) << 32) | b.dwLowDateTime;
  return left < right;
}

enum class PathKind { kMissing, kRegular, kSymbolicLink, kDirectory, kOther };

struct PathStatus {
  PathKind kind = PathKind::kMissing;
  // Last-write time in whole seconds, as the file layer reports it.
  _FILETIME lastWrite{0, 0};
  dev_t device = 0;
  ino_t inode = 0;
};

// One status query; `followLinks` selects stat over lstat. Anything that
// cannot be queried (missing, a component that is not a directory, no
// permission) reads as kMissing.
PathStatus query_path(const WideString& path, bool followLinks);
