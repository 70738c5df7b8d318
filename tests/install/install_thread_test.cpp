#include "install/install_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

TEST(InstallThread, RunsTheWorkerUntilItReturnsFalseAndCanBeJoined) {
  InstallThread thread;
  EXPECT_FALSE(thread.finished());
  thread.join();  // nothing started: returns at once

  std::atomic<int> calls{0};
  ASSERT_EQ(0, thread.start([&] { return ++calls < 3; }));
  thread.join();
  EXPECT_TRUE(thread.finished());
  EXPECT_EQ(3, calls.load());

  // A second start runs the worker again from a clean state.
  calls = 0;
  ASSERT_EQ(0, thread.start([&] { return ++calls < 1; }));
  thread.join();
  EXPECT_EQ(1, calls.load());
}

// A stop request does not interrupt a call in progress; it only prevents the
// next one. finished() turns true only when the thread has left its loop.
TEST(InstallThread, StopPreventsTheNextCallOnly) {
  std::atomic<bool> release{false};
  std::atomic<int> calls{0};
  InstallThread thread;
  ASSERT_EQ(0, thread.start([&] {
    ++calls;
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
  }));
  while (calls == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  thread.stop();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(thread.finished());
  release = true;
  thread.join();
  EXPECT_TRUE(thread.finished());
  EXPECT_EQ(1, calls.load());
}

// The destructor waits for the worker, so an owner that goes away never
// leaves a thread running on its members.
TEST(InstallThread, DestructorWaitsForTheWorker) {
  std::atomic<bool> workerEnded{false};
  {
    InstallThread thread;
    ASSERT_EQ(0, thread.start([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      workerEnded = true;
      return false;
    }));
  }
  EXPECT_TRUE(workerEnded);
}
