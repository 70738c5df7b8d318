// The install worker thread: it calls the routine until it returns false or
// a stop is asked for, and is waited for by join and by its destructor.
#include "install/install_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

// Runs until the routine returns false, again from a clean state on a second
// start; a stop lets the call in progress end and prevents the next, and the
// destructor waits for the thread to leave its loop.
TEST(InstallThread, RunsUntilFalseOrStopAndIsWaitedFor) {
  std::atomic<int> calls{0}, stoppedCalls{0};
  std::atomic<bool> release{false}, ended{false};
  {
    InstallThread thread;
    thread.join();  // nothing started: returns at once
    for (const int wanted : {3, 1}) {
      calls = 0;
      ASSERT_EQ(0, thread.start([&] { return ++calls < wanted; }));
      thread.join();
      EXPECT_EQ(std::make_pair(true, wanted), std::make_pair(thread.finished(), calls.load()));
    }
    ASSERT_EQ(0, thread.start([&] {
      for (++stoppedCalls; !release;) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      return ended = true;
    }));
    while (stoppedCalls == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    thread.stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(thread.finished());
    release = true;
  }
  EXPECT_EQ(std::make_pair(true, 1), std::make_pair(ended.load(), stoppedCalls.load()));
}
