// The mutex monitor that checks for recursive locking, unlocking by a thread
// that is not the holder, upgrading a shared lock and destroying a held mutex.
// One monitor is shared by all threads that use its mutex; each thread keeps
// its own table of the monitors it holds shared.
#pragma once

#include <pthread.h>

#include <atomic>
#include <cstdint>
#include <exception>

#include "memory/mutex_monitor.h"

namespace nuke {

// Thrown on every broken rule; the reason is not carried.
class DebugMonitorException : public std::exception {
 public:
  const char* what() const noexcept override { return "mutex monitor: rule broken"; }
};

class DebugMutexMonitor : public IMutexMonitor {
 public:
  enum Error {
    ReaderStateError = 0,  // shared holding of the calling thread is wrong here
    ReadersPresent = 1,    // readers remain where none may be
    RecursiveLock = 2,     // the calling thread already holds it exclusively
    WriterPresent = 3,     // a writer is present where none may be
    NotOwner = 4,          // exclusive unlock by a thread that is not the writer
  };

  DebugMutexMonitor() = default;
  // A monitor destroyed while held cannot throw out of its destructor: the
  // reason is written to stderr and the process ends through std::terminate.
  ~DebugMutexMonitor() override;

  void lock(void* mutex, LockFunction lockFunction) override;
  void unlock(void* mutex, LockFunction unlockFunction) override;
  void lockShared(void* mutex, LockFunction lockFunction) override;
  void unlockShared(void* mutex, LockFunction unlockFunction) override;

  // True when the environment variable p8_use_mutex_monitor is set.
  static bool useMonitors();

  // The calling thread's table of monitors it holds shared.
  bool hasThreadReader() const;
  void setThreadReader();
  void clearThreadReader();

  [[noreturn]] static void raiseError(Error error);

  static bool s_use;            // monitors are wanted
  static pthread_key_t s_slot;  // per thread: table of monitors held shared

 private:
  std::atomic<std::int32_t> m_readers{0};
  std::atomic<pthread_t> m_writer{0};
};

}  // namespace nuke
