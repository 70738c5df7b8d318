// The Win32-style file API over POSIX: handles carrying file descriptors, path
// operations done with system calls (never a shell), and one process-wide
// last-error cell. All operations are static so the class can be passed as a
// template argument (the kit reader takes it). Any thread; the last-error cell
// is shared, so only one thread should do handle operations at a time.
#pragma once

#include <cstdint>

#include "platform/win32_types.h"
#include "text/wide_string.h"

class FileSystem {
 public:
  // Handle operations: each sets the last error to 0, then to the failure's code.
  static uint32_t CreateFile(const WideString& path, uint32_t desiredAccess, uint32_t shareMode,
                             uint32_t creationDisposition, HANDLE& handle);
  static uint32_t ReadFile(HANDLE handle, void* buffer, uint32_t count, unsigned int* bytesRead,
                           _OVERLAPPED* overlapped);
  static uint32_t WriteFile(HANDLE handle, const void* buffer, uint32_t count,
                            unsigned int* bytesWritten, _OVERLAPPED* overlapped);
  // Returns the low 32 bits of the new position, all ones on failure. With
  // `distanceHigh` the distance is (high << 32) + (uint32_t)low, and the new
  // position's high word is written back.
  static uint32_t SetFilePointer(HANDLE handle, int32_t distance, long* distanceHigh,
                                 uint32_t moveMethod);
  static int CloseHandle(HANDLE handle);
  static uint32_t GetFileTime(HANDLE handle, _FILETIME* creation, _FILETIME* lastAccess,
                              _FILETIME* lastWrite);
  static uint32_t SetFileTime(HANDLE handle, const _FILETIME* creation,
                              const _FILETIME* lastAccess, const _FILETIME* lastWrite);
  static uint32_t SetEndOfFile(HANDLE handle);

  // Path operations: they return their code and leave the last error alone.
  static uint32_t GetFileSize(const WideString& path, unsigned int* size);  // 0 or 1
  static uint32_t DeleteFile(const WideString& path);                        // always 0
  static uint32_t MoveFile(const WideString& existing, const WideString& target);
  static uint32_t RemoveDirectory(const WideString& path);  // always 0
  static uint32_t CreateDirectory(const WideString& path);
  static uint32_t GetTempFileName(const WideString& directory, const WideString& prefix,
                                  WideString& fileName);
  static uint32_t GetTempPath(WideString& directory);  // always 0; ends with "/"
  static uint32_t GetFreeSpaceTmpDir(unsigned int* freeBytes);

  static uint32_t GetLastError();
};

// Translates an errno value into a Win32 code and stores it as the last error.
uint32_t setLastErrorByErrNo(int errnoValue);

long FileTimeToEpoch(const _FILETIME& fileTime);
_FILETIME EpochToFileTime(const long& seconds);
