#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
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

// A second thread that runs the given steps one at a time, each to its end.
class OtherThread {
 public:
  OtherThread() : m_thread([this] { serve(); }) {}
  ~OtherThread() {
    run(nullptr);
    m_thread.join();
  }

  void run(std::function<void()> step) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_step = std::move(step);
    m_pending = true;
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return !m_pending; });
  }

 private:
  void serve() {
    for (bool more = true; more;) {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_changed.wait(lock, [this] { return m_pending; });
      more = static_cast<bool>(m_step);
      if (more) m_step();
      m_pending = false;
      m_changed.notify_all();
    }
  }

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::function<void()> m_step;
  bool m_pending = false;
  std::thread m_thread;
};

class MutexMonitor : public ::testing::Test {
 protected:
  void SetUp() override {
    m_savedUse = DebugMutexMonitor::s_use;
    DebugMutexMonitor::s_use = true;
  }
  void TearDown() override { DebugMutexMonitor::s_use = m_savedUse; }

 private:
  bool m_savedUse = false;
};

TEST_F(MutexMonitor, IsCreatedOnlyWhenWanted) {
  DebugMutexMonitor::s_use = false;
  EXPECT_EQ(nuke::create_mutex_monitor(nullptr, 0), nullptr);
  DebugMutexMonitor::s_use = true;
  nuke::IMutexMonitor* monitor = nuke::create_mutex_monitor(nullptr, 0);
  ASSERT_NE(monitor, nullptr);
  EXPECT_NE(dynamic_cast<DebugMutexMonitor*>(monitor), nullptr);
  nuke::delete_mutex_monitor(monitor);
  nuke::delete_mutex_monitor(nullptr);

  setenv("p8_use_mutex_monitor", "", 1);
  EXPECT_TRUE(DebugMutexMonitor::useMonitors());
  unsetenv("p8_use_mutex_monitor");
  EXPECT_FALSE(DebugMutexMonitor::useMonitors());
}

TEST_F(MutexMonitor, EnforcesTheExclusiveRulesAcrossTwoThreads) {
  DebugMutexMonitor monitor;
  CountingMutex mutex;
  OtherThread other;

  monitor.lock(&mutex, count_lock);
  EXPECT_THROW(monitor.lock(&mutex, count_lock), DebugMonitorException);
  EXPECT_THROW(monitor.lockShared(&mutex, count_lock), DebugMonitorException);
  EXPECT_EQ(mutex.locks, 1) << "recursion must be caught before the real lock";
  EXPECT_THROW(monitor.unlockShared(&mutex, count_unlock), DebugMonitorException);

  other.run([&] {
    EXPECT_THROW(monitor.unlock(&mutex, count_unlock), DebugMonitorException);
    EXPECT_EQ(mutex.unlocks, 0);
    // Past the real lock, the writer of the first thread is still seen.
    EXPECT_THROW(monitor.lock(&mutex, count_lock), DebugMonitorException);
    EXPECT_THROW(monitor.lockShared(&mutex, count_lock), DebugMonitorException);
    EXPECT_FALSE(monitor.hasThreadReader());
  });
  EXPECT_EQ(mutex.locks, 3);

  // The foreign unlock changed nothing: the owner still unlocks normally.
  monitor.unlock(&mutex, count_unlock);
  EXPECT_EQ(mutex.unlocks, 1);
  EXPECT_THROW(monitor.unlock(&mutex, count_unlock), DebugMonitorException);

  other.run([&] {
    monitor.lock(&mutex, count_lock);
    monitor.unlock(&mutex, count_unlock);
  });
  EXPECT_EQ(mutex.unlocks, 2);
}

TEST_F(MutexMonitor, EnforcesTheSharedRulesAcrossTwoThreads) {
  DebugMutexMonitor monitor;
  DebugMutexMonitor unrelated;
  CountingMutex mutex;
  OtherThread other;

  monitor.lockShared(&mutex, count_lock);
  other.run([&] { monitor.lockShared(&mutex, count_lock); });
  EXPECT_TRUE(monitor.hasThreadReader());
  EXPECT_FALSE(unrelated.hasThreadReader());
  other.run([&] { EXPECT_TRUE(monitor.hasThreadReader()); });

  // A second shared lock or an upgrade in a reader thread: caught before the real lock.
  EXPECT_THROW(monitor.lockShared(&mutex, count_lock), DebugMonitorException);
  EXPECT_THROW(monitor.lock(&mutex, count_lock), DebugMonitorException);
  EXPECT_EQ(mutex.locks, 2);
  EXPECT_THROW(monitor.unlock(&mutex, count_unlock), DebugMonitorException);

  // A third thread that does not read gets past the real lock but meets two readers.
  std::thread([&] {
    EXPECT_THROW(monitor.lock(&mutex, count_lock), DebugMonitorException);
    EXPECT_THROW(monitor.unlockShared(&mutex, count_unlock), DebugMonitorException);
  }).join();
  EXPECT_EQ(mutex.locks, 3);
  EXPECT_EQ(mutex.unlocks, 0);

  // Each reader releases its own holding; the tables empty and the mutex is free again.
  monitor.unlockShared(&mutex, count_unlock);
  EXPECT_FALSE(monitor.hasThreadReader());
  EXPECT_THROW(monitor.unlockShared(&mutex, count_unlock), DebugMonitorException);
  EXPECT_THROW(monitor.lock(&mutex, count_lock), DebugMonitorException);  // one reader left
  EXPECT_EQ(mutex.locks, 4);
  other.run([&] {
    monitor.unlockShared(&mutex, count_unlock);
    EXPECT_FALSE(monitor.hasThreadReader());
  });
  EXPECT_EQ(mutex.unlocks, 2);
  monitor.lock(&mutex, count_lock);
  monitor.unlock(&mutex, count_unlock);
}

TEST_F(MutexMonitor, StaysQuietAroundARealSharedMutexUsedCorrectly) {
  std::shared_mutex mutex;
  nuke::IMutexMonitor* monitor = nuke::create_mutex_monitor(&mutex, 0);
  ASSERT_NE(monitor, nullptr);
  long counter = 0;
  std::atomic<int> failures{0};
  constexpr int kRounds = 20000;
  auto work = [&] {
    for (int i = 0; i < kRounds; ++i) {
      try {
        monitor->lock(&mutex, [](void* m) { static_cast<std::shared_mutex*>(m)->lock(); });
        ++counter;
        monitor->unlock(&mutex, [](void* m) { static_cast<std::shared_mutex*>(m)->unlock(); });
        monitor->lockShared(&mutex,
                            [](void* m) { static_cast<std::shared_mutex*>(m)->lock_shared(); });
        if (counter == 0) ++failures;
        monitor->unlockShared(&mutex,
                              [](void* m) { static_cast<std::shared_mutex*>(m)->unlock_shared(); });
      } catch (const DebugMonitorException&) {
        ++failures;
        return;
      }
    }
  };
  std::thread first(work);
  std::thread second(work);
  first.join();
  second.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(counter, 2L * kRounds);
  nuke::delete_mutex_monitor(monitor);
}

TEST_F(MutexMonitor, DestroyedWhileHeldEndsTheProcessWithTheReason) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  CountingMutex mutex;
  for (const bool shared : {false, true}) {
    EXPECT_DEATH(
        {
          nuke::IMutexMonitor* monitor = nuke::create_mutex_monitor(&mutex, 0);
          shared ? monitor->lockShared(&mutex, count_lock) : monitor->lock(&mutex, count_lock);
          nuke::delete_mutex_monitor(monitor);
        },
        shared ? "mutex monitor destroyed while held: readers present"
               : "mutex monitor destroyed while held: writer present");
  }
}

}  // namespace
