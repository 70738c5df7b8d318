// The debug mutex monitor: every broken rule is caught (before the real lock
// where the calling thread's own state shows it), correct use stays quiet,
// and a monitor destroyed while held ends the process.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <shared_mutex>
#include <thread>

#include "memory/debug_mutex_monitor.h"

namespace {

using nuke::DebugMonitorException;
using nuke::DebugMutexMonitor;

// Counts the calls of the real lock functions; the mutex itself is imaginary.
struct CountingMutex {
  std::atomic<int> locks{0};
  std::atomic<int> unlocks{0};
};
void count_lock(void* mutex) { ++static_cast<CountingMutex*>(mutex)->locks; }
void count_unlock(void* mutex) { ++static_cast<CountingMutex*>(mutex)->unlocks; }

TEST(MutexMonitor, CatchesEveryBrokenRuleOfExclusiveAndSharedLocking) {
  DebugMutexMonitor monitor;
  CountingMutex mutex;
  monitor.lock(&mutex, count_lock);
  EXPECT_THROW(monitor.lock(&mutex, count_lock), DebugMonitorException);
  EXPECT_THROW(monitor.lockShared(&mutex, count_lock), DebugMonitorException);
  EXPECT_THROW(monitor.unlockShared(&mutex, count_unlock), DebugMonitorException);
  EXPECT_EQ(mutex.locks, 1) << "recursion is caught before the real lock";
  std::thread([&] {
    EXPECT_THROW(monitor.unlock(&mutex, count_unlock), DebugMonitorException);  // not the owner
    // Past the real lock, the writer of the first thread is seen.
    EXPECT_THROW(monitor.lock(&mutex, count_lock), DebugMonitorException);
    EXPECT_THROW(monitor.lockShared(&mutex, count_lock), DebugMonitorException);
  }).join();
  EXPECT_EQ(mutex.locks, 3);
  monitor.unlock(&mutex, count_unlock);
  EXPECT_THROW(monitor.unlock(&mutex, count_unlock), DebugMonitorException);
  EXPECT_EQ(mutex.unlocks, 1);

  monitor.lockShared(&mutex, count_lock);
  EXPECT_TRUE(monitor.hasThreadReader());
  // A second shared lock or an upgrade in a reader thread: caught before the real lock.
  EXPECT_THROW(monitor.lockShared(&mutex, count_lock), DebugMonitorException);
  EXPECT_THROW(monitor.lock(&mutex, count_lock), DebugMonitorException);
  EXPECT_THROW(monitor.unlock(&mutex, count_unlock), DebugMonitorException);
  EXPECT_EQ(mutex.locks, 4);
  std::thread([&] {
    EXPECT_FALSE(monitor.hasThreadReader()) << "each thread has a table of its own";
    EXPECT_THROW(monitor.lock(&mutex, count_lock), DebugMonitorException);  // a reader is present
    EXPECT_THROW(monitor.unlockShared(&mutex, count_unlock), DebugMonitorException);
  }).join();
  EXPECT_EQ(mutex.locks, 5);
  monitor.unlockShared(&mutex, count_unlock);
  EXPECT_FALSE(monitor.hasThreadReader());
  EXPECT_THROW(monitor.unlockShared(&mutex, count_unlock), DebugMonitorException);
  monitor.lock(&mutex, count_lock);
  monitor.unlock(&mutex, count_unlock);
  EXPECT_EQ(mutex.unlocks, 3);
}

TEST(MutexMonitor, IsMadeOnlyWhenWantedAndStaysQuietAroundCorrectUse) {
  setenv("p8_use_mutex_monitor", "", 1);
  EXPECT_TRUE(DebugMutexMonitor::useMonitors());
  unsetenv("p8_use_mutex_monitor");
  EXPECT_FALSE(DebugMutexMonitor::useMonitors());
  const bool savedUse = DebugMutexMonitor::s_use;
  DebugMutexMonitor::s_use = false;
  EXPECT_EQ(nuke::create_mutex_monitor(nullptr, 0), nullptr);
  DebugMutexMonitor::s_use = true;
  std::shared_mutex mutex;
  nuke::IMutexMonitor* monitor = nuke::create_mutex_monitor(&mutex, 0);
  DebugMutexMonitor::s_use = savedUse;
  ASSERT_NE(dynamic_cast<DebugMutexMonitor*>(monitor), nullptr);

  std::atomic<int> failures{0};
  auto work = [&] {
    using Mutex = std::shared_mutex;
    for (int i = 0; i < 20000; ++i) {
      try {
        monitor->lock(&mutex, [](void* m) { static_cast<Mutex*>(m)->lock(); });
        monitor->unlock(&mutex, [](void* m) { static_cast<Mutex*>(m)->unlock(); });
        monitor->lockShared(&mutex, [](void* m) { static_cast<Mutex*>(m)->lock_shared(); });
        monitor->unlockShared(&mutex, [](void* m) { static_cast<Mutex*>(m)->unlock_shared(); });
      } catch (const DebugMonitorException&) {
        ++failures;
        return;  // the mutex may still be held
      }
    }
  };
  std::thread first(work);
  std::thread second(work);
  first.join();
  second.join();
  EXPECT_EQ(failures, 0);
  nuke::delete_mutex_monitor(monitor);
  nuke::delete_mutex_monitor(nullptr);
}

TEST(MutexMonitor, DestroyedWhileHeldEndsTheProcessWithTheReason) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const bool shared : {false, true}) {
    EXPECT_DEATH(
        {
          CountingMutex mutex;
          auto* monitor = new DebugMutexMonitor();
          shared ? monitor->lockShared(&mutex, count_lock) : monitor->lock(&mutex, count_lock);
          delete monitor;
        },
        shared ? "destroyed while held: readers present" : "destroyed while held: writer present");
  }
}

}  // namespace
