// The buffer pool: chunks taken on demand and cut into buffers in order, a
// free list, the global pools, and the spin mutex that guards them.
#include "memory/buffer_pool.h"

#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "live_blocks.h"

using BufferPoolTest = LiveBlocksTest;

TEST_F(BufferPoolTest, ServesEveryBufferOfAChunkBeforeTakingTheNext) {
  for (const std::uint32_t bufferSize : {16u, 8192u, 32768u}) {
    SCOPED_TRACE(bufferSize);
    const std::size_t perChunk = nuke::BufferPool::kChunkSize / bufferSize - 1;  // less the header
    std::vector<char*> buffers;
    buffers.reserve(perChunk);
    const std::uint64_t before = liveBlocks();
    {
      nuke::BufferPool pool(bufferSize);
      EXPECT_EQ(liveBlocks(), before) << "chunks are taken on demand";
      for (std::size_t i = 0; i < perChunk; ++i) {
        buffers.push_back(static_cast<char*>(pool.alloc()));
        std::memset(buffers.back(), 0xA5, bufferSize);  // the header lies before every buffer
        ASSERT_EQ(buffers.back(), buffers.front() + i * bufferSize);
      }
      EXPECT_EQ(liveBlocks(), before + 1);
      char* const next = static_cast<char*>(pool.alloc());
      ASSERT_EQ(liveBlocks(), before + 2) << "the chunk's last buffer ends the free list";
      EXPECT_EQ(pool.alloc(), next + bufferSize);
      pool.free(buffers[7]);
      pool.free(buffers[3]);
      EXPECT_EQ(pool.alloc(), buffers[3]) << "freed buffers are handed out last in, first out";
      EXPECT_EQ(pool.alloc(), buffers[7]);
    }
    EXPECT_EQ(liveBlocks(), before) << "the destructor returns every chunk";
  }
  nuke::BufferPool* pools = nuke::buffer_pools();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pools[i].bufferSize(), 8192u << i) << i;
}

TEST(BufferPool, TwoThreadsNeverShareABufferNorLoseACount) {
  nuke::BufferPool pool(8192);
  std::vector<char*> taken[2];
  nuke::SpinMutex mutex;
  long counter = 0;
  auto work = [&](int id) {
    for (int round = 0; round < 3; ++round) {
      for (char* buffer : taken[id]) pool.free(buffer);
      taken[id].clear();
      for (int i = 0; i < 400; ++i) {  // more than one chunk between the two threads
        taken[id].push_back(static_cast<char*>(pool.alloc()));
        std::memset(taken[id].back(), id + 1, 8192);
      }
    }
    for (int i = 0; i < 200000; ++i) {
      std::lock_guard<nuke::SpinMutex> guard(mutex);
      ++counter;
    }
  };
  std::thread first(work, 0);
  std::thread second(work, 1);
  first.join();
  second.join();
  EXPECT_EQ(counter, 400000);
  std::set<char*> distinct;
  for (int id = 0; id < 2; ++id) {
    for (char* buffer : taken[id]) {
      distinct.insert(buffer);
      EXPECT_TRUE(buffer[0] == id + 1 && buffer[8191] == id + 1);
    }
  }
  EXPECT_EQ(distinct.size(), 800u);
}
