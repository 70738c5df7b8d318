// An exclusive advisory lock (flock) on a lock file that stays in place, for
// files that several runs of this program read, change and rewrite: whoever
// holds it reads and writes them alone. The system drops the lock with the
// process, also after a kill, so a stale lock never blocks anyone. Owned by
// one thread.
#pragma once

#include <cstdint>
#include <string>

class LockFile {
 public:
  LockFile() = default;
  ~LockFile() { release(); }
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;

  // Opens the file at `path`, creating it empty (mode 0600 less the umask)
  // when missing, never through a symbolic link, and waits as long as
  // another holder keeps its lock. Returns 0, or the code of why the file
  // cannot be opened or locked; the lock is then not held.
  uint32_t acquire(const std::string& path);
  void release();
  bool held() const { return m_descriptor != -1; }

 private:
  int m_descriptor = -1;
};
