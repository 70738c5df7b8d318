// A FileSystem that counts reads and writes and can fail the Nth of them
// with a chosen code, passed as the file interface of the kit reader and
// the decompressor. Test thread only; call reset() before each use.
#pragma once

#include <vector>

#include "platform/file_system.h"

struct InjectingFileSystem : FileSystem {
  static inline int failingRead = -1;  // index of the read to fail, -1 none
  static inline int failingWrite = -1;
  static inline uint32_t failureCode = ERROR_DISK_FULL;
  static inline int reads = 0;
  static inline std::vector<uint32_t> writeSizes;
  static inline uint32_t injected = 0;

  static void reset() {
    failingRead = failingWrite = -1;
    failureCode = ERROR_DISK_FULL;
    reads = 0;
    writeSizes.clear();
    injected = 0;
  }

  static uint32_t ReadFile(HANDLE handle, void* buffer, uint32_t count, unsigned int* bytesRead,
                           _OVERLAPPED* overlapped) {
    injected = reads++ == failingRead ? failureCode : 0;
    if (injected != 0) return injected;
    return FileSystem::ReadFile(handle, buffer, count, bytesRead, overlapped);
  }

  static uint32_t WriteFile(HANDLE handle, const void* buffer, uint32_t count,
                            unsigned int* bytesWritten, _OVERLAPPED* overlapped) {
    injected = static_cast<int>(writeSizes.size()) == failingWrite ? failureCode : 0;
    writeSizes.push_back(count);
    if (injected != 0) return injected;
    return FileSystem::WriteFile(handle, buffer, count, bytesWritten, overlapped);
  }

  static uint32_t GetLastError() { return injected != 0 ? injected : FileSystem::GetLastError(); }
};
