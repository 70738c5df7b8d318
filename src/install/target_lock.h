// One installation per target directory: an exclusive lock (flock) on a
// descriptor of the directory itself, held for the whole run. The system
// drops it with the process, also after a kill, so a stale lock never blocks
// the next run. The descriptor also serves to flush the directory and its
// file system. Owned by one thread.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32_types.h"

class TargetLock {
 public:
  TargetLock() = default;
  ~TargetLock() { release(); }
  TargetLock(const TargetLock&) = delete;
  TargetLock& operator=(const TargetLock&) = delete;

  // Opens `directory` and takes its lock, trying again for up to
  // `waitMilliseconds`. Returns 0; 32 when another process keeps holding
  // it; 3 when the directory is missing, else the code of why it cannot be
  // opened.
  uint32_t acquire(const std::string& directory, int waitMilliseconds);
  void release();

  bool held() const { return m_descriptor != -1; }
  // The directory's handle while the lock is held.
  HANDLE handle() const;

 private:
  int m_descriptor = -1;
};
