// How the run loop compares an installed file's time with a kit entry's:
// both as _FILETIME tick counts. Plain functions; any thread.
#pragma once

#include <cstdint>

#include "platform/win32_types.h"

// Whether `a` is strictly earlier than `b`, as unsigned 64-bit tick counts.
inline bool earlier(const _FILETIME& a, const _FILETIME& b) {
  const uint64_t left = (static_cast<uint64_t>(a.dwHighDateTime) << 32) | a.dwLowDateTime;
  const uint64_t right = (static_cast<uint64_t>(b.dwHighDateTime) << 32) | b.dwLowDateTime;
  return left < right;
}
