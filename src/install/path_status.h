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
