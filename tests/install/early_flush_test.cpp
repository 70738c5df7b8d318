// Flushes ahead of the commit: asked for by the bytes written, run on their
// own thread, merged while one runs, and all of them over once ended.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "install/early_flush.h"

TEST(EarlyFlush, FlushesByTheBytesWrittenAndNoneAfterTheEnd) {
  struct Case {
    std::vector<uint64_t> runs[2];  // the bytes of two runs, one begin each
    int flushes;
  };
  const Case cases[] = {
      {{{99}, {}}, 0},           // short of a step
      {{{60, 40}, {}}, 1},       // a step made of two writes
      {{{250}, {}}, 1},          // one write over several steps: one flush
      {{{0, 0}, {}}, 0},         // empty files
      {{{60}, {60}}, 0},         // each run counts from nothing
      {{{100}, {30, 70}}, 2},    // a step in each run
  };
  for (const Case& test : cases) {
    std::atomic<int> flushes{0};
    EarlyFlush flush;
    flush.setStep(100);
    flush.wrote(1000);  // before any begin: nothing to flush with
    for (const auto& run : test.runs) {
      flush.begin([&flushes] {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ++flushes;
      });
      for (uint64_t bytes : run) flush.wrote(bytes);
      // Every flush asked for has run, whole, when the end returns.
      flush.end();
    }
    flush.wrote(1000);
    flush.end();
    EXPECT_EQ(flushes, test.flushes) << test.runs[0].size() << " " << test.runs[1].size();
  }
}

TEST(EarlyFlush, StepsReachedWhileOneRunsMakeOneMore) {
  std::mutex mutex;
  std::condition_variable changed;
  bool running = false;
  bool released = false;
  int flushes = 0;
  std::thread::id flusher;
  EarlyFlush flush;
  flush.setStep(10);
  flush.begin([&] {
    std::unique_lock<std::mutex> lock(mutex);
    flusher = std::this_thread::get_id();
    running = true;
    changed.notify_all();
    changed.wait(lock, [&] { return released; });
    ++flushes;
  });
  flush.wrote(10);
  {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return running; });
  }
  // Three more steps while the first flush waits: one more flush, after it.
  for (int step = 0; step != 3; ++step) flush.wrote(10);
  {
    std::lock_guard<std::mutex> lock(mutex);
    released = true;
  }
  changed.notify_all();
  flush.end();
  EXPECT_EQ(flushes, 2);
  EXPECT_NE(flusher, std::this_thread::get_id());
}
