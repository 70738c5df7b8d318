// The heap with statistics and hooks, over a policy that counts its own
// blocks, and the manager's choice of heap.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <utility>

#include "memory/jemalloc.h"
#include "memory/memory.h"
#include "memory/memory_manager.h"

namespace {

// The C library's allocator, counting the blocks it holds.
struct CountingPolicy : nuke::JEMalloc {
  static inline int live = 0;
  static void* allocate(std::size_t size) { return ++live, std::malloc(size); }
  static void* allocateAligned(std::size_t size, std::size_t alignment) {
    return ++live, JEMalloc::allocateAligned(size, alignment);
  }
  static void release(void* block) { --live, std::free(block); }
};

constexpr std::size_t kRefusedSize = 1 << 20;
bool refuse_large(std::size_t usableSize) { return usableSize < kRefusedSize; }
std::size_t g_released = 0;
void remember_release(std::size_t usableSize) { g_released += usableSize; }

// Live blocks and live bytes.
using Counts = std::pair<std::uint64_t, std::uint64_t>;
template <class Heap>
Counts counts(Heap& heap) {
  nuke::MemoryStatistics now{~0ull, ~0ull};
  heap.statistics(now);
  return {now.liveAllocations, now.liveBytes};
}

}  // namespace

TEST(StatMemoryHeap, CountsOnlyWhileEnabledAndLetsTheHooksRefuseAndListen) {
  nuke::StatMemoryHeap<CountingPolicy> heap;
  void* uncounted = heap.alloc(64);
  heap.enableStatistics(true);
  void* first = heap.alloc(100);
  void* aligned = heap.allocAligned(300, 256);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(aligned) % 256, 0u);
  heap.free(heap.alloc(200));
  heap.free(nullptr);
  EXPECT_EQ(counts(heap), Counts(2, heap.usableSize(first) + heap.usableSize(aligned)));
  heap.free(first);
  heap.free(aligned);
  EXPECT_EQ(counts(heap), Counts(0, 0));

  heap.setHooks(refuse_large, remember_release);
  EXPECT_EQ(heap.alloc(kRefusedSize), nullptr);
  EXPECT_EQ(heap.allocAligned(kRefusedSize, 64), nullptr);
  EXPECT_EQ(CountingPolicy::live, 1) << "a refused block is released at once";
  void* kept = heap.alloc(1000);
  const std::size_t usable = heap.usableSize(kept);
  g_released = 0;
  heap.free(kept);
  EXPECT_EQ(g_released, usable);
  heap.enableStatistics(false);
  heap.free(uncounted);
  EXPECT_EQ(counts(heap), Counts(0, 0));
  EXPECT_EQ(CountingPolicy::live, 0);
}

TEST(MemoryManager, ChoosesThePlainHeapWhenStatisticsAreSwitchedOff) {
  setenv("p8_dont_use_memory_stat", "", 1);
  nuke::IMemoryManager* plain = nuke::make_memory_manager();
  unsetenv("p8_dont_use_memory_stat");
  nuke::IMemoryManager* counting = nuke::make_memory_manager();
  EXPECT_NE(dynamic_cast<nuke::MemoryManager<nuke::MemoryHeap<nuke::JEMalloc>>*>(plain), nullptr);
  // The plain heap has neither statistics nor hooks; a fresh counting one starts with both off.
  plain->enableStatistics(true);
  plain->setHooks(refuse_large, nullptr);
  for (nuke::IMemoryManager* manager : {plain, counting}) {
    void* block = manager->heap()->alloc(kRefusedSize);
    EXPECT_GE(manager->heap()->usableSize(block), kRefusedSize);
    EXPECT_EQ(counts(*manager), Counts(0, 0));
    manager->heap()->free(block);
    manager->~IMemoryManager();
    std::free(manager);
  }
}
