#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <new>

#include "memory/jemalloc.h"
#include "memory/memory.h"
#include "memory/memory_manager.h"

namespace {

using PlainManager = nuke::MemoryManager<nuke::MemoryHeap<nuke::JEMalloc> >;
using StatManager = nuke::MemoryManager<nuke::StatMemoryHeap<nuke::JEMalloc> >;

nuke::MemoryStatistics read_statistics(nuke::IMemoryManager& manager) {
  nuke::MemoryStatistics result{~0ull, ~0ull};
  manager.statistics(result);
  return result;
}

void destroy(nuke::IMemoryManager* manager) {
  manager->~IMemoryManager();
  std::free(manager);
}

constexpr std::size_t kRefusedSize = 1 << 20;
bool refuse_large(std::size_t usableSize) { return usableSize < kRefusedSize; }

std::size_t g_released = 0;
void remember_release(std::size_t usableSize) { g_released += usableSize; }

// Bytes the C library holds for live blocks, heap and mapped ones together.
std::size_t library_bytes_in_use() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

TEST(StatMemoryHeap, CountsLiveBlocksAndBytesOnlyWhileEnabled) {
  StatManager manager;
  nuke::IMemoryHeap* heap = manager.heap();
  void* uncounted = heap->alloc(64);
  EXPECT_EQ(read_statistics(manager).liveAllocations, 0u);

  manager.enableStatistics(true);
  void* first = heap->alloc(100);
  void* second = heap->alloc(200);
  void* third = heap->allocAligned(300, 256);
  ASSERT_TRUE(first && second && third);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(third) % 256, 0u);
  heap->free(second);
  nuke::MemoryStatistics now = read_statistics(manager);
  EXPECT_EQ(now.liveAllocations, 2u);
  EXPECT_EQ(now.liveBytes, heap->usableSize(first) + heap->usableSize(third));
  EXPECT_GE(now.liveBytes, 400u);

  heap->free(nullptr);
  heap->free(first);
  heap->free(third);
  now = read_statistics(manager);
  EXPECT_EQ(now.liveAllocations, 0u);
  EXPECT_EQ(now.liveBytes, 0u);

  manager.enableStatistics(false);
  heap->free(uncounted);
  EXPECT_EQ(read_statistics(manager).liveAllocations, 0u);
}

TEST(StatMemoryHeap, HooksRefuseWithoutLeakingAndHearOfReleases) {
  StatManager manager;
  nuke::IMemoryHeap* heap = manager.heap();
  manager.enableStatistics(true);
  manager.setHooks(refuse_large, remember_release);

  const std::size_t before = library_bytes_in_use();
  for (int i = 0; i < 64; ++i) EXPECT_EQ(heap->alloc(kRefusedSize), nullptr);
  EXPECT_EQ(heap->allocAligned(kRefusedSize, 64), nullptr);
  EXPECT_LT(library_bytes_in_use(), before + kRefusedSize) << "refused blocks must be freed";
  EXPECT_EQ(read_statistics(manager).liveAllocations, 0u);

  g_released = 0;
  void* kept = heap->alloc(1000);
  ASSERT_NE(kept, nullptr);
  const std::size_t usable = heap->usableSize(kept);
  heap->free(kept);
  EXPECT_EQ(g_released, usable);
}

TEST(MemoryManager, ChoosesThePlainHeapWhenStatisticsAreSwitchedOff) {
  setenv("p8_dont_use_memory_stat", "", 1);
  nuke::IMemoryManager* plain = nuke::make_memory_manager();
  unsetenv("p8_dont_use_memory_stat");
  nuke::IMemoryManager* counting = nuke::make_memory_manager();

  ASSERT_NE(dynamic_cast<PlainManager*>(plain), nullptr);
  ASSERT_NE(dynamic_cast<StatManager*>(counting), nullptr);

  // The plain heap is malloc and free: no statistics, no hooks.
  plain->enableStatistics(true);
  plain->setHooks(refuse_large, nullptr);
  void* block = plain->heap()->alloc(kRefusedSize);
  ASSERT_NE(block, nullptr);
  EXPECT_GE(plain->heap()->usableSize(block), kRefusedSize);
  nuke::MemoryStatistics now = read_statistics(*plain);
  EXPECT_EQ(now.liveAllocations, 0u);
  EXPECT_EQ(now.liveBytes, 0u);
  plain->heap()->free(block);
  plain->heap()->free(nullptr);

  // A fresh statistics manager starts disabled and without hooks.
  block = counting->heap()->alloc(kRefusedSize);
  EXPECT_NE(block, nullptr);
  EXPECT_EQ(read_statistics(*counting).liveAllocations, 0u);
  counting->heap()->free(block);

  destroy(plain);
  destroy(counting);
}

TEST(MemoryManager, GlobalAllocationThrowsOrReturnsNullWhenRefused) {
  if (std::getenv("p8_dont_use_memory_stat") != nullptr) GTEST_SKIP() << "plain heap has no hooks";
  nuke::IMemoryManager* manager = nuke::memory_manager();
  ASSERT_EQ(manager, nuke::memory_manager());

  volatile std::size_t impossible = SIZE_MAX / 2;
  EXPECT_THROW(nuke::details::alloc(impossible), std::bad_alloc);
  EXPECT_EQ(nuke::details::alloc_nothrow(impossible), nullptr);
  EXPECT_THROW(nuke::details::alloc_aligned(impossible, 64), std::bad_alloc);
  nuke::details::free(nullptr);

  manager->setHooks(refuse_large, nullptr);
  const std::size_t before = library_bytes_in_use();
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(nuke::details::alloc_nothrow(kRefusedSize), nullptr);
    EXPECT_EQ(nuke::details::alloc_aligned_nothrow(kRefusedSize, 64), nullptr);
    EXPECT_THROW(nuke::details::alloc(kRefusedSize), std::bad_alloc);
  }
  EXPECT_LT(library_bytes_in_use(), before + kRefusedSize);
  void* small = nuke::details::alloc_nothrow(16);
  manager->setHooks(nullptr, nullptr);
  EXPECT_NE(small, nullptr);
  nuke::details::free(small);

  void* block = nuke::details::alloc(kRefusedSize);
  EXPECT_NE(block, nullptr);
  nuke::details::free(block);
}

}  // namespace
