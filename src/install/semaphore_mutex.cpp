#include "install/semaphore_mutex.h"

#include <cerrno>

// Count 1 is far below SEM_VALUE_MAX and the semaphore is process-private, the
// two conditions under which sem_init can fail.
SemaphoreMutex::SemaphoreMutex() { sem_init(&m_semaphore, 0, 1); }

SemaphoreMutex::~SemaphoreMutex() { sem_destroy(&m_semaphore); }

void SemaphoreMutex::lock() {
  while (sem_wait(&m_semaphore) != 0 && errno == EINTR) {
  }
}

void SemaphoreMutex::unlock() { sem_post(&m_semaphore); }
