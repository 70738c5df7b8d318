// The allocation stack: blocks rounded to four bytes and cut from pool
// buffers in turn, large blocks from the heap, and the two ways of clearing.
#include "memory/ob_stack.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "live_blocks.h"

namespace {

constexpr std::uint32_t kBufferSize = 8192;
using ObStackTest = LiveBlocksTest;

TEST_F(ObStackTest, RoundsToFourAndFillsOneBufferAfterAnother) {
  nuke::BufferPool pool(kBufferSize);
  nuke::ObStack stack(&pool);
  char* start = static_cast<char*>(stack.alloc(1));
  EXPECT_EQ(stack.alloc(1), start + 4);
  EXPECT_EQ(stack.alloc(5), start + 8);
  EXPECT_EQ(stack.alloc(4), start + 16);
  char* rest = static_cast<char*>(stack.alloc(kBufferSize - 20));
  EXPECT_EQ(rest, start + 20) << "a block that exactly fills the buffer stays in it";
  std::memset(rest, 1, kBufferSize - 20);
  char* next = static_cast<char*>(stack.alloc(1));
  EXPECT_EQ(next, start + kBufferSize) << "the pool's next buffer, from its beginning";
  EXPECT_EQ(stack.alloc(kBufferSize - 4), next + 4);

  // Larger blocks come from the heap, each counted there, never from the pool.
  const std::uint64_t before = liveBlocks();
  for (int i = 0; i < 9; ++i) std::memset(stack.alloc(kBufferSize + 1), i, kBufferSize + 4);
  EXPECT_EQ(liveBlocks() - before, 9u + 1u);  // and the table that holds them
  EXPECT_EQ(pool.alloc(), start + 2 * kBufferSize);
}

TEST_F(ObStackTest, ClearKeepsOrReturnsThePoolBuffersAndFreesLargeBlocks) {
  nuke::BufferPool pool(kBufferSize);
  std::set<void*> buffers;
  {
    nuke::ObStack stack(&pool);
    void* filled[3];
    for (void*& buffer : filled) buffers.insert(buffer = stack.alloc(kBufferSize));
    ASSERT_EQ(buffers.size(), 3u);
    stack.alloc(3 * kBufferSize);
    stack.alloc(3 * kBufferSize);
    const std::uint64_t before = liveBlocks();
    stack.clear(false);
    EXPECT_EQ(liveBlocks(), before - 2) << "clear(false) frees the large blocks";
    for (void* buffer : filled) EXPECT_EQ(stack.alloc(kBufferSize), buffer);

    stack.clear(true);
    void* first = stack.alloc(4);
    std::set<void*> returned{first, pool.alloc(), pool.alloc()};
    EXPECT_EQ(returned, buffers) << "clear(true) gives every buffer but a fresh first back";
    for (void* buffer : returned) {
      if (buffer != first) pool.free(buffer);
    }
  }
  std::set<void*> again{pool.alloc(), pool.alloc(), pool.alloc()};
  EXPECT_EQ(again, buffers) << "the destructor gives back the buffer the stack held";
}

}  // namespace
