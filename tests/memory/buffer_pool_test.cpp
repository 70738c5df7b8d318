#include "memory/buffer_pool.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

#include "memory/memory.h"

namespace {

std::uint64_t heap_live_allocations() {
  nuke::MemoryStatistics now{};
  nuke::memory_manager()->statistics(now);
  return now.liveAllocations;
}

TEST(BufferPool, ServesEveryBufferOfAChunkBeforeTakingTheNext) {
  if (std::getenv("p8_dont_use_memory_stat") != nullptr) GTEST_SKIP() << "needs statistics";
  nuke::memory_manager()->enableStatistics(true);
  const struct {
    std::uint32_t bufferSize;
    std::size_t buffersPerChunk;
  } cases[] = {{8192, 511}, {16384, 255}, {32768, 127}};

  for (const auto& c : cases) {
    SCOPED_TRACE(c.bufferSize);
    const std::uint64_t before = heap_live_allocations();
    {
      nuke::BufferPool pool(c.bufferSize);
      EXPECT_EQ(heap_live_allocations(), before) << "chunks are taken on demand";
      std::vector<char*> buffers;
      for (std::size_t i = 0; i < c.buffersPerChunk; ++i) {
        buffers.push_back(static_cast<char*>(pool.alloc()));
        // Every buffer is fully usable: the header slot lies before them.
        std::memset(buffers.back(), 0xA5, c.bufferSize);
      }
      EXPECT_EQ(heap_live_allocations(), before + 1);
      for (std::size_t i = 1; i < buffers.size(); ++i) {
        ASSERT_EQ(buffers[i], buffers[0] + i * c.bufferSize);
      }
      char* const chunk = buffers[0] - c.bufferSize;
      char* extra = static_cast<char*>(pool.alloc());
      EXPECT_EQ(heap_live_allocations(), before + 2);
      EXPECT_TRUE(extra < chunk || extra >= chunk + nuke::BufferPool::kChunkSize);

      pool.free(buffers[7]);
      EXPECT_EQ(pool.alloc(), buffers[7]) << "a freed buffer is handed out next";
    }
    EXPECT_EQ(heap_live_allocations(), before) << "the destructor returns every chunk";
  }
  nuke::memory_manager()->enableStatistics(false);
}

TEST(BufferPool, GlobalPoolsHaveTheThreeSizes) {
  nuke::BufferPool* pools = nuke::buffer_pools();
  ASSERT_EQ(pools, nuke::buffer_pools());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pools[i].bufferSize(), 8192u << i) << i;
  void* buffer = pools[2].alloc();
  std::memset(buffer, 0, 32768);
  pools[2].free(buffer);
}

TEST(BufferPool, TwoThreadsNeverShareABuffer) {
  nuke::BufferPool pool(8192);
  constexpr std::size_t kPerThread = 400;  // more than one chunk between them
  std::vector<char*> taken[2];
  auto work = [&](int id) {
    for (int round = 0; round < 3; ++round) {
      for (std::size_t i = 0; i < kPerThread; ++i) {
        taken[id].push_back(static_cast<char*>(pool.alloc()));
        std::memset(taken[id].back(), id + 1, 8192);
      }
      if (round < 2) {
        for (char* buffer : taken[id]) pool.free(buffer);
        taken[id].clear();
      }
    }
  };
  std::thread first(work, 0);
  std::thread second(work, 1);
  first.join();
  second.join();

  std::set<char*> distinct;
  for (int id = 0; id < 2; ++id) {
    for (char* buffer : taken[id]) {
      distinct.insert(buffer);
      EXPECT_EQ(buffer[0], id + 1);
      EXPECT_EQ(buffer[8191], id + 1);
    }
  }
  EXPECT_EQ(distinct.size(), 2 * kPerThread);
}

}  // namespace
