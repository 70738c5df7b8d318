// A mutex made of one process-private POSIX semaphore of count 1, and the
// guard that holds it for one scope (also when an exception passes). Any
// thread; the guard belongs to the thread that made it.
#pragma once

#include <semaphore.h>

class SemaphoreMutex {
 public:
  SemaphoreMutex();
  ~SemaphoreMutex();
  SemaphoreMutex(const SemaphoreMutex&) = delete;
  SemaphoreMutex& operator=(const SemaphoreMutex&) = delete;

  // Waits until the semaphore can be taken (a wait interrupted by a signal is
  // resumed).
  void lock();
  void unlock();

 private:
  sem_t m_semaphore;
};

class SemaphoreGuard {
 public:
  explicit SemaphoreGuard(SemaphoreMutex& mutex) : m_mutex(mutex) { m_mutex.lock(); }
  ~SemaphoreGuard() { m_mutex.unlock(); }
  SemaphoreGuard(const SemaphoreGuard&) = delete;
  SemaphoreGuard& operator=(const SemaphoreGuard&) = delete;

 private:
  SemaphoreMutex& m_mutex;
};
