// The pipe that decompresses ahead of its reader on a thread of its own: order, back-pressure,
// errors after the bytes before them, stopping in the middle, and working without a thread.
#include "kit/inflate_pipe.h"
#include "kit/kit_check.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <system_error>

#include "platform/win32_types.h"
#include "support/child_process.h"

namespace {

// Produces the bytes i % 251 up to `length`, then the end or `error`; counts the blocks made.
InflatePipe::Producer counting_producer(uint64_t length, uint32_t error, std::atomic<int>& blocks) {
  auto position = std::make_shared<uint64_t>(0);
  return [=, &blocks](uint8_t* block, uint32_t capacity, uint32_t& produced, bool& ended) {
    produced = static_cast<uint32_t>(std::min<uint64_t>(capacity, length - *position));
    for (uint32_t i = 0; i < produced; ++i) block[i] = static_cast<uint8_t>((*position + i) % 251);
    *position += produced;
    ++blocks;
    ended = *position == length && error == 0;
    return *position == length ? error : 0u;
  };
}

// Reads pipes of 4096-byte blocks to their end or error in steps of several sizes: "" or a fault.
std::string drain_pipes(bool threaded = true) {
  std::atomic<int> blocks{0};
  for (const uint32_t error : {0u, uint32_t{ERROR_INVALID_DATA}}) {
    for (const size_t step : {1, 7, 5000}) {
      InflatePipe pipe(counting_producer(100003, error, blocks), 4096, 3, threaded);
      const uint8_t* data = nullptr;
      size_t size = 0, wrong = 0;
      uint32_t code = 0;
      while ((code = pipe.peek(data, size)) == 0 && size != 0) {
        const size_t taken = std::min(size, step);
        for (size_t i = 0; i < taken; ++i) wrong += data[i] != (pipe.position() + i) % 251;
        pipe.consume(taken);
      }
      // The end, or the error after the last byte, stays.
      if (wrong != 0 || code != error || pipe.position() != 100003 ||
          pipe.peek(data, size) != error || size != 0) {
        return "error " + std::to_string(error) + ", steps of " + std::to_string(step);
      }
    }
  }
  return "";
}

TEST(InflatePipe, StaysThreeBlocksAheadAndStopsInTheMiddle) {
  std::atomic<int> blocks{0};
  {
    InflatePipe pipe(counting_producer(uint64_t{1} << 40, 0, blocks), 4096, 3);
    const uint8_t* data = nullptr;
    size_t size = 0;
    ASSERT_EQ(pipe.peek(data, size), 0u);
    pipe.consume(size);
    // One block read: the producer refills it, waits with three ready, stops.
    for (int wait = 0; wait < 5000 && blocks < 4; ++wait) usleep(1000);
    usleep(20000);
    EXPECT_EQ(blocks, 4);
  }
  EXPECT_EQ(blocks, 4);
}

TEST(InflatePipe, DeliversEveryByteInOrderThenTheEndOrTheErrorForGood) {
  EXPECT_EQ(drain_pipes() + drain_pipes(false), "");
  // Where no thread can start, the consumer runs the producer itself, and a
  // check of the kit runs when it is waited for.
  const std::string report = run_in_child([] {
    const std::string dropped = become_nobody();
    if (!dropped.empty()) return "skip: " + dropped;
    const rlimit one{1, 1};
    if (setrlimit(RLIMIT_NPROC, &one) != 0) return std::string("skip: no process limit");
    try {
      std::thread([] {}).join();
      return std::string("skip: threads still start");
    } catch (const std::system_error&) {
      KitCheck check;
      check.start([](const std::atomic<bool>&, std::atomic<uint64_t>&) { return 13u; }, 1);
      std::string report = drain_pipes() + (check.finished() ? "checked early " : "");
      report += std::to_string(check.wait());
      return report + " at " + std::to_string(check.progress());
    }
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ(report, "13 at 100");
}

}  // namespace
