#include "memory/ob_stack.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

constexpr std::uint32_t kBufferSize = 8192;

TEST(ObStack, RoundsToFourAndFillsOneBufferAfterAnother) {
  nuke::BufferPool pool(kBufferSize);
  nuke::ObStack stack(&pool);
  char* start = static_cast<char*>(stack.alloc(1));
  EXPECT_EQ(stack.alloc(1), start + 4);
  EXPECT_EQ(stack.alloc(5), start + 8);
  EXPECT_EQ(stack.alloc(3), start + 16);
  EXPECT_EQ(stack.alloc(4), start + 20);
  char* rest = static_cast<char*>(stack.alloc(kBufferSize - 24));
  EXPECT_EQ(rest, start + 24);
  std::memset(rest, 1, kBufferSize - 24);

  // The buffer is full: the next block starts the next buffer at its beginning.
  char* next = static_cast<char*>(stack.alloc(1));
  EXPECT_TRUE(next < start || next >= start + kBufferSize);
  EXPECT_EQ(stack.alloc(kBufferSize - 4), next + 4);
}

TEST(ObStack, LargeBlocksComeFromTheHeapNotThePool) {
  nuke::BufferPool pool(kBufferSize);
  nuke::ObStack stack(&pool);
  std::set<char*> large;
  for (int i = 0; i < 9; ++i) {  // enough to grow the table of large blocks
    char* block = static_cast<char*>(stack.alloc(kBufferSize + 1));
    std::memset(block, i, kBufferSize + 4);
    large.insert(block);
  }
  EXPECT_EQ(large.size(), 9u);

  char* first = static_cast<char*>(stack.alloc(4));
  // A fresh pool hands out its chunk's buffers in order: the stack took only the first.
  EXPECT_EQ(pool.alloc(), first + kBufferSize);
}

TEST(ObStack, ClearKeepsOrReturnsThePoolBuffers) {
  nuke::BufferPool pool(kBufferSize);
  std::set<void*> buffers;
  {
    nuke::ObStack stack(&pool);
    void* filled[3];
    for (void*& buffer : filled) {
      buffer = stack.alloc(kBufferSize);
      buffers.insert(buffer);
    }
    stack.alloc(3 * kBufferSize);
    ASSERT_EQ(buffers.size(), 3u);

    stack.clear(false);
    for (void* buffer : filled) EXPECT_EQ(stack.alloc(kBufferSize), buffer);
    stack.alloc(3 * kBufferSize);

    stack.clear(true);
    void* first = stack.alloc(4);
    EXPECT_EQ(buffers.count(first), 1u);
    std::set<void*> returned{first, pool.alloc(), pool.alloc()};
    EXPECT_EQ(returned, buffers) << "clear(true) gives every buffer back to the pool";
    for (void* buffer : returned) {
      if (buffer != first) pool.free(buffer);
    }
  }
  // The destructor gives back the one buffer the stack still held.
  std::set<void*> again{pool.alloc(), pool.alloc(), pool.alloc()};
  EXPECT_EQ(again, buffers);
}

}  // namespace
