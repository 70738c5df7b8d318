#include "memory/spin_mutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

TEST(SpinMutex, KeepsACounterExactUnderContentionFromTwoThreads) {
  nuke::SpinMutex mutex;
  volatile long counter = 0;
  constexpr long kIncrementsPerThread = 500000;
  std::atomic<int> ready{0};
  auto work = [&] {
    // Both threads start together so that they really compete for the lock.
    ++ready;
    while (ready.load() < 2) {
    }
    for (long i = 0; i < kIncrementsPerThread; ++i) {
      std::lock_guard<nuke::SpinMutex> guard(mutex);
      counter = counter + 1;
    }
  };
  std::thread first(work);
  std::thread second(work);
  first.join();
  second.join();
  EXPECT_EQ(counter, 2 * kIncrementsPerThread);
}

TEST(SpinMutex, WaiterBacksOffUntilALongHoldEnds) {
  nuke::SpinMutex mutex;
  mutex.lock();
  std::atomic<bool> acquired{false};
  std::thread waiter([&] {
    mutex.lock();
    acquired = true;
    mutex.unlock();
  });
  // Long enough for the waiter to reach the sleeping stages of its back-off.
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_FALSE(acquired);
  mutex.unlock();
  waiter.join();
  EXPECT_TRUE(acquired);

  // A free mutex is taken again at once by the same thread.
  mutex.lock();
  mutex.unlock();
}
