#include "memory/spin_mutex.h"

#include <sched.h>
#include <time.h>

namespace nuke {
namespace {

void pause_processor() {
#if defined(__i386__) || defined(__x86_64__)
  __builtin_ia32_pause();
#endif
}

void sleep_nanoseconds(long nanoseconds) {
  timespec delay{0, nanoseconds};
  nanosleep(&delay, nullptr);
}

// The longer the lock stays taken, the less processor time a waiter burns.
void back_off(unsigned attempt) {
  if (attempt < 10) {
    pause_processor();
  } else if (attempt < 20) {
    for (int i = 0; i < 50; ++i) pause_processor();
  } else if (attempt < 22) {
    sched_yield();
  } else if (attempt < 24) {
    sleep_nanoseconds(0);
  } else if (attempt < 26) {
    sleep_nanoseconds(1000000);
  } else {
    sleep_nanoseconds(10000000);
  }
}

}  // namespace

void SpinMutex::lock() {
  for (unsigned attempt = 0;; ++attempt) {
    std::uint32_t expected = 0;
    if (m_word.load(std::memory_order_relaxed) == 0 &&
        m_word.compare_exchange_weak(expected, 1, std::memory_order_acquire,
                                     std::memory_order_relaxed)) {
      return;
    }
    back_off(attempt);
  }
}

void SpinMutex::unlock() { m_word.store(0, std::memory_order_release); }

}  // namespace nuke
