// Small helpers for calling POSIX functions from the platform sources: retrying
// a call interrupted by a signal, and turning handles into descriptors. Any
// thread.
#pragma once

#include <fcntl.h>

#include <cerrno>
#include <cstdint>

#include "platform/win32_types.h"

// Repeats `call` while it fails with EINTR; returns its last result.
template <typename Call>
auto retryOnInterrupt(Call call) -> decltype(call()) {
  decltype(call()) result;
  do {
    result = call();
  } while (result == -1 && errno == EINTR);
  return result;
}

inline int descriptorOf(HANDLE handle) {
  return static_cast<int>(reinterpret_cast<intptr_t>(handle));
}

// The directory an *At operation starts from: INVALID_HANDLE_VALUE stands
// for the current directory, so that the name may then be a whole path.
inline int atDescriptor(HANDLE directory) {
  return directory == INVALID_HANDLE_VALUE ? AT_FDCWD : descriptorOf(directory);
}

inline HANDLE handleOf(int descriptor) {
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(descriptor));
}
