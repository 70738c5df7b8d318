// The decompress-ahead pipe: order across blocks, back-pressure, errors after
// the bytes before them, and stopping in the middle of a stream.
#include "kit/inflate_pipe.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "platform/win32_types.h"
#include "support/child_process.h"
#include "support/nobody_user.h"

namespace {

// Produces the bytes i % 251 for i below `length`, then ends, or fails with
// `error` there when it is not 0. Counts the blocks it produced.
InflatePipe::Producer counting_producer(uint64_t length, uint32_t error,
                                        std::shared_ptr<std::atomic<int>> blocks) {
  auto position = std::make_shared<uint64_t>(0);
  return [=](uint8_t* block, uint32_t capacity, uint32_t& produced, bool& ended) {
    produced = static_cast<uint32_t>(std::min<uint64_t>(capacity, length - *position));
    for (uint32_t i = 0; i < produced; ++i) block[i] = static_cast<uint8_t>((*position + i) % 251);
    *position += produced;
    ++*blocks;
    ended = *position == length && error == 0;
    return *position == length ? error : 0u;
  };
}

// Reads everything in steps of `step` bytes, checking the pattern; returns
// the code that ended the stream.
uint32_t drain(InflatePipe& pipe, size_t step) {
  for (;;) {
    const uint8_t* data = nullptr;
    size_t size = 0;
    const uint32_t code = pipe.peek(data, size);
    if (code != 0 || size == 0) return code;
    const size_t taken = std::min(size, step);
    for (size_t i = 0; i < taken; ++i) {
      EXPECT_EQ(data[i], (pipe.position() + i) % 251) << pipe.position() + i;
    }
    pipe.consume(taken);
  }
}

TEST(InflatePipe, DeliversEveryByteInOrderAndReportsTheEnd) {
  for (const uint32_t error : {0u, uint32_t{ERROR_INVALID_DATA}}) {
    for (const size_t step : {size_t{1}, size_t{7}, size_t{4096}, size_t{1} << 20}) {
      auto blocks = std::make_shared<std::atomic<int>>(0);
      InflatePipe pipe(counting_producer(100003, error, blocks), 4096, 3);
      EXPECT_EQ(drain(pipe, step), error);
      EXPECT_EQ(pipe.position(), 100003u);
      // The end stays the end.
      const uint8_t* data = nullptr;
      size_t size = 1;
      EXPECT_EQ(pipe.peek(data, size), error);
      EXPECT_EQ(size, 0u);
    }
  }
}

TEST(InflatePipe, StaysAFewBlocksAheadAndStopsInTheMiddle) {
  auto blocks = std::make_shared<std::atomic<int>>(0);
  {
    InflatePipe pipe(counting_producer(uint64_t{1} << 40, 0, blocks), 4096, 3);
    const uint8_t* data = nullptr;
    size_t size = 0;
    ASSERT_EQ(pipe.peek(data, size), 0u);
    pipe.consume(size);
    ASSERT_EQ(pipe.peek(data, size), 0u);
    // The producer may fill the three blocks and then has to wait; the
    // destructor stops it there.
    for (int wait = 0; wait < 100 && *blocks < 4; ++wait) usleep(1000);
    usleep(20000);
    EXPECT_EQ(*blocks, 4);
  }
  EXPECT_EQ(*blocks, 4);
}

TEST(InflatePipe, WorksWithoutAThreadWhereNoneCanStart) {
  const std::string report = run_in_child([] {
    const std::string dropped = become_nobody();
    if (!dropped.empty()) return "skip: " + dropped;
    const rlimit one{1, 1};
    if (setrlimit(RLIMIT_NPROC, &one) != 0) return std::string("skip: no process limit");
    try {
      std::thread([] {}).join();
      return std::string("skip: threads still start");
    } catch (const std::system_error&) {
    }
    auto blocks = std::make_shared<std::atomic<int>>(0);
    InflatePipe pipe(counting_producer(100003, 0, blocks), 4096, 3);
    const uint32_t code = drain(pipe, 1000);
    if (code != 0 || pipe.position() != 100003) return std::string("stream cut short");
    return ::testing::Test::HasFailure() ? std::string("wrong bytes") : std::string("ok");
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ(report, "ok");
}

}  // namespace
