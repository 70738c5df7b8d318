// The install worker thread: it calls the routine until it returns false or
// a stop is asked for, and is waited for by join and by its destructor.
#include "install/install_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

// Runs until the routine returns false, again from a clean state on a second
// start; a stop lets the call in progress end and prevents the next, and the
// destructor waits for the thread to leave its loop.
TEST(InstallThread, RunsUntilFalseOrStopAndIsWaitedFor) {
  const auto sleep = [](int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  };
  std::atomic<int> calls{0};
  std::atomic<bool> release{false}, ended{false};
  {
    InstallThread thread;
    thread.join();  // nothing started: returns at once
    for (const int wanted : {3, 1, -1}) {
      calls = 0;
      ASSERT_EQ(0, thread.start([&] {
        if (wanted > 0) return ++calls < wanted;
        for (++calls; !release;) sleep(1);
        sleep(50);
        return ended = true;
      }));
      if (wanted > 0) thread.join();
      while (calls == 0) sleep(1);
      if (wanted < 0) {
        thread.stop();
        sleep(20);
      }
      EXPECT_EQ(std::make_pair(wanted > 0, std::max(wanted, 1)),
                std::make_pair(thread.finished(), calls.load()));
    }
    release = true;
  }
  EXPECT_TRUE(ended);
  EXPECT_EQ(1, calls.load());
}
