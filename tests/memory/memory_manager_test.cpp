// The process-wide memory manager: the replaced global operators and the heap
// behind them (every form counted, refusals by the hook, the report at exit),
// the buffer pools fed from that heap and the allocation stack cut from them.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <set>
#include <utility>

#include "memory/jemalloc.h"
#include "memory/memory.h"
#include "memory/memory_heaps.h"
#include "memory/ob_stack.h"

namespace {

void* volatile g_sink;  // keeps the compiler from eliding allocations
std::size_t g_released = 0;

struct alignas(256) Aligned {
  char bytes[300];
};

// Taken by a static initialiser, before main, the way the language tables are built.
nuke::IMemoryManager* const g_earlyManager = nuke::memory_manager();

// With the replaced operators linked in, every new, delete and pool chunk is counted.
class MemoryManager : public ::testing::Test {
 protected:
  void SetUp() override { nuke::memory_manager()->enableStatistics(true); }
  using Figures = std::pair<std::uint64_t, std::uint64_t>;  // live blocks, live bytes
  static Figures figures() {
    nuke::MemoryStatistics now{};
    nuke::memory_manager()->statistics(now);
    return {now.liveAllocations, now.liveBytes};
  }
};

TEST_F(MemoryManager, EveryFormIsCountedOnce) {
  EXPECT_EQ(g_earlyManager, nuke::memory_manager()) << "one manager for the process";
  const Figures before = figures();
  // Counts `block` of at least `bytes`, aligned to `alignment`, then releases it.
  auto check = [&](void* block, std::size_t bytes, std::size_t alignment, void (*release)(void*)) {
    const std::size_t usable = malloc_usable_size(block);
    EXPECT_EQ(figures(), Figures(before.first + 1, before.second + usable)) << bytes;
    EXPECT_GE(usable, bytes);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignment, 0u) << bytes;
    release(g_sink = block);
    EXPECT_EQ(figures(), before) << bytes;
  };
  // Between them the calls use each allocation and release operator.
  constexpr auto a256 = std::align_val_t(256), a512 = std::align_val_t(512);
  constexpr std::size_t kPlain = alignof(std::max_align_t);
  const auto& nt = std::nothrow;
  check(new int, 4, 4, [](void* p) { delete static_cast<int*>(p); });
  check(new int[9], 36, 4, [](void* p) { delete[] static_cast<int*>(p); });
  check(new (nt) int[2], 8, 4, [](void* p) { ::operator delete[](p, nt); });
  check(new (nt) int, 4, 4, [](void* p) { ::operator delete(p, nt); });
  check(new Aligned, 300, 256, [](void* p) { delete static_cast<Aligned*>(p); });
  check(new Aligned[2], 600, 256, [](void* p) { delete[] static_cast<Aligned*>(p); });
  check(new (nt) Aligned, 300, 256, [](void* p) { ::operator delete(p, a256); });
  check(new (nt) Aligned[3], 900, 256, [](void* p) { ::operator delete[](p, 900, a256); });
  check(::operator new(100), 100, kPlain, [](void* p) { ::operator delete(p); });
  check(::operator new[](101), 101, kPlain, [](void* p) { ::operator delete[](p, 101); });
  check(::operator new(102, a512, nt), 102, 512, [](void* p) { ::operator delete(p, a512, nt); });
  check(::operator new[](9, a512, nt), 9, 512, [](void* p) { ::operator delete[](p, a512, nt); });
  check(::operator new(0), 1, kPlain, [](void* p) { ::operator delete (p, std::size_t{0}); });
  // Both heaps advise the size asked for, and have nothing to give back.
  nuke::MemoryHeap<nuke::JEMalloc> plain;
  for (nuke::IMemoryHeap* heap :
       {g_earlyManager->heap(), static_cast<nuke::IMemoryHeap*>(&plain)}) {
    heap->compact();
    for (std::size_t size : {0, 1, 24, 4097}) EXPECT_EQ(heap->goodSize(size), size);
  }
  EXPECT_EQ(figures(), before);
}

TEST_F(MemoryManager, ReportsAtExitHooksRefuseAndListenAndCountingStopsWhenOff) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  setenv("p8_print_memory_stat", "1", 1);  // read by the child's manager as it is made
  EXPECT_EXIT((g_sink = new char[200000], std::exit(0)), ::testing::ExitedWithCode(0),
              "memory statistics: [1-9][0-9]+ allocations, peak [0-9]{6,} live bytes");
  unsetenv("p8_print_memory_stat");
  const Figures before = figures();
  nuke::memory_manager()->setHooks([](std::size_t size) { return size < 4096; },
                                   [](std::size_t size) { g_released += size; });
  EXPECT_THROW(g_sink = new char[4096], std::bad_alloc);
  EXPECT_THROW(g_sink = ::operator new(4096, std::align_val_t(64)), std::bad_alloc);
  EXPECT_EQ(new (std::nothrow) char[4096], nullptr);
  EXPECT_EQ(::operator new(4096, std::align_val_t(64), std::nothrow), nullptr);
  char* const kept = new char[1000];
  const std::size_t usable = malloc_usable_size(kept);
  delete[] kept;
  EXPECT_EQ(g_released, usable);
  nuke::memory_manager()->setHooks(nullptr, nullptr);
  EXPECT_EQ(figures(), before);
  nuke::memory_manager()->enableStatistics(false);
  char* const uncounted = new char[100];
  EXPECT_EQ(figures(), before) << "nothing is counted while off";
  delete[] uncounted;
  EXPECT_EQ(figures(), before);
  nuke::memory_manager()->enableStatistics(true);
}

TEST_F(MemoryManager, PoolServesEveryBufferOfAChunkBeforeTakingTheNext) {
  constexpr std::uint32_t kSize = 16;
  const std::uint64_t before = figures().first;
  {
    nuke::BufferPool pool(kSize);
    EXPECT_EQ(figures().first, before) << "chunks are taken on demand";
    char* const first = static_cast<char*>(pool.alloc());
    for (std::size_t i = 1; i < nuke::BufferPool::kChunkSize / kSize - 1; ++i) {  // less the header
      ASSERT_EQ(pool.alloc(), first + i * kSize);
    }
    EXPECT_EQ(figures().first, before + 1);
    char* const next = static_cast<char*>(pool.alloc());
    ASSERT_EQ(figures().first, before + 2) << "the chunk's last buffer ends the free list";
    EXPECT_EQ(pool.alloc(), next + kSize);
    pool.free(first + 7 * kSize);
    pool.free(first);
    EXPECT_EQ(pool.alloc(), first) << "freed buffers are handed out last in, first out";
    EXPECT_EQ(pool.alloc(), first + 7 * kSize);
  }
  EXPECT_EQ(figures().first, before) << "the destructor returns every chunk";
  for (int i = 0; i < 3; ++i) EXPECT_EQ(nuke::buffer_pools()[i].bufferSize(), 8192u << i);
}

TEST_F(MemoryManager, StackFillsOneBufferAfterAnotherAndClearsBothWays) {
  constexpr std::uint32_t kSize = 8192;
  nuke::BufferPool pool(kSize);
  char *start, *next;
  {
    nuke::ObStack stack(&pool);
    start = static_cast<char*>(stack.alloc(1));
    EXPECT_EQ(stack.alloc(1), start + 4);
    EXPECT_EQ(stack.alloc(5), start + 8);
    EXPECT_EQ(stack.alloc(kSize - 16), start + 16) << "a block that exactly fills the buffer";
    next = static_cast<char*>(stack.alloc(1));
    EXPECT_EQ(next, start + kSize) << "the pool's next buffer, from its beginning";
    const std::uint64_t before = figures().first;
    for (int i = 0; i < 3; ++i) std::memset(stack.alloc(kSize + 1), i, kSize + 4);
    EXPECT_EQ(figures().first, before + 3 + 1) << "from the heap, with the table that holds them";
    stack.clear(false);
    EXPECT_EQ(figures().first, before + 1) << "clear(false) frees the large blocks";
    EXPECT_EQ(stack.alloc(kSize), start);
    EXPECT_EQ(stack.alloc(kSize), next) << "clear(false) keeps the pool buffers";
    stack.clear(true);
    void* const fresh = stack.alloc(4);
    void* const returned = pool.alloc();
    EXPECT_EQ(std::set<void*>({fresh, returned}), std::set<void*>({start, next}));
    pool.free(returned);
  }
  EXPECT_EQ(std::set<void*>({pool.alloc(), pool.alloc()}), std::set<void*>({start, next}))
      << "the destructor gives back the buffer the stack held";
}

}  // namespace
