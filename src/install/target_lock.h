// One installation per tree of target directories: an exclusive lock
// (flock) on a descriptor of the target itself and a shared one on each
// directory above it (as resolved, from the root down), held for the whole
// run. So a run into T and a run into T/sub never overlap, while runs into
// T/a and T/b may. The system drops the locks with the process, also after
// a kill, so a stale lock never blocks the next run. The target's
// descriptor also serves to flush the directory and its file system. Owned
// by one thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32_types.h"

class TargetLock {
 public:
  TargetLock() = default;
  ~TargetLock() { release(); }
  TargetLock(const TargetLock&) = delete;
  TargetLock& operator=(const TargetLock&) = delete;

  // Opens `directory` and takes its locks, trying again for up to
  // `waitMilliseconds`. Returns 0; 32 when another installation keeps
  // holding the target, a directory above it or one below it; 3 when the
  // directory is missing, else the code of why it cannot be opened. A
  // directory above that cannot be opened for reading goes unlocked.
  uint32_t acquire(const std::string& directory, int waitMilliseconds);
  void release();

  bool held() const { return m_descriptor != -1; }
  // The directory's handle while the lock is held.
  HANDLE handle() const;

 private:
  // Takes every lock once, without waiting; false (and none kept) when
  // one is held by another installation.
  bool tryLocks();

  int m_descriptor = -1;
  std::vector<int> m_above;
};
