// A fixture for tests that watch the process-wide manager's count of live
// blocks: the test executable links the replaced global operators, so every
// new and delete shows there, as do the pools' chunks. Test thread only.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "memory/memory.h"

class LiveBlocksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("p8_dont_use_memory_stat") != nullptr) GTEST_SKIP() << "plain heap";
    nuke::memory_manager()->enableStatistics(true);
  }
  static nuke::MemoryStatistics statistics() {
    nuke::MemoryStatistics now{};
    nuke::memory_manager()->statistics(now);
    return now;
  }
  static std::uint64_t liveBlocks() { return statistics().liveAllocations; }
};
