// What the journal and the run loop need to know about a path beyond the
// Win32-style file layer: its kind, times and identity from one status
// query, and saving and putting back a directory's times. Plain functions;
// any thread.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <string>

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

struct FileIdentity;
// One status query of `path` without following a link: its kind and what
// identifies it. False when it cannot be queried (then it counts as missing).
bool identify_path(const std::string& path, PathKind& kind, FileIdentity& identity);
// The times of a directory as a journal records them; false when unreadable.
bool read_directory_times(const std::string& path, int64_t times[4]);
// Sets a directory's access and modification times again; failures ignored.
void restore_directory_times(const std::string& path, const int64_t times[4]);
