// What the journal and the run loop need to know about a path beyond the
// Win32-style file layer: its kind, times and identity from one status
// query, a directory creation that fails when the name exists, and saving and
// putting back a directory's times. Plain functions; any thread.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>

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

// mkdir of exactly this path: 0 when created, 183 when the name exists, else
// the translated errno (2 or 87).
uint32_t create_directory_exclusive(const WideString& path);

// The access and modification times of a directory, to be put back after a
// rollback has added and removed entries in it.
struct DirectoryTimes {
  WideString path;
  timespec access{};
  timespec modification{};
};

// False when the directory's status cannot be read.
bool read_directory_times(const WideString& path, DirectoryTimes& times);
// Sets the saved times again; failures are ignored.
void restore_directory_times(const DirectoryTimes& times);
