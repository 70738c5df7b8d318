// The install worker thread: it calls the routine until it returns false or
// a stop is asked for, and is waited for by join and by its destructor.
#include "install/install_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

TEST(InstallThread, RunsTheRoutineUntilItReturnsFalse) {
  InstallThread thread;
  EXPECT_FALSE(thread.finished());
  thread.join();                     // nothing started: returns at once
  for (const int wanted : {3, 1}) {  // a second start runs again from a clean state
    std::atomic<int> calls{0};
    ASSERT_EQ(0, thread.start([&] { return ++calls < wanted; }));
    thread.join();
    EXPECT_TRUE(thread.finished());
    EXPECT_EQ(wanted, calls.load());
  }
}

// A stop lets the call in progress end and prevents the next one; the
// thread is finished only once it has left its loop, and its destructor
// waits for that.
TEST(InstallThread, StopPreventsTheNextCallAndTheDestructorWaits) {
  std::atomic<bool> release{false};
  std::atomic<int> calls{0};
  std::atomic<bool> ended{false};
  {
    InstallThread thread;
    ASSERT_EQ(0, thread.start([&] {
      for (++calls; !release;) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      ended = true;
      return true;
    }));
    while (calls == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    thread.stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(thread.finished());
    release = true;
  }
  EXPECT_TRUE(ended);
  EXPECT_EQ(1, calls.load());
}
