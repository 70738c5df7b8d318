// The replaced global operators: every form is served by the manager, a
// refused or impossible request fails the way its form promises, and the
// figures stay exact across threads, before main and at exit.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "live_blocks.h"

namespace {

void* volatile g_sink;  // keeps the compiler from eliding allocations

struct alignas(256) Aligned {
  char bytes[300];
};

// Built by a static initialiser, before main, the way the language tables are.
struct EarlyTable {
  std::string entry = std::string(60, 'c');
  nuke::IMemoryManager* manager = nuke::memory_manager();
} const g_earlyTable;

using GlobalOperators = LiveBlocksTest;

TEST_F(GlobalOperators, EveryFormIsServedByTheManager) {
  constexpr auto a256 = std::align_val_t(256), a512 = std::align_val_t(512);
  constexpr std::size_t kPlain = alignof(std::max_align_t);
  const auto& nt = std::nothrow;
  // Between them the forms call each of the eight allocation and twelve
  // release operators at least once.
  const struct {
    void* (*allocate)();
    void (*release)(void*);
    std::size_t bytes, alignment;
  } forms[] = {
      {[]() -> void* { return new int; },  //
       [](void* p) { delete static_cast<int*>(p); }, 4, 4},
      {[]() -> void* { return new int[9]; },  //
       [](void* p) { delete[] static_cast<int*>(p); }, 36, 4},
      {[]() -> void* { return new (nt) int; },  //
       [](void* p) { ::operator delete(p, nt); }, 4, 4},
      {[]() -> void* { return new (nt) int[9]; },  //
       [](void* p) { ::operator delete[](p, nt); }, 36, 4},
      {[]() -> void* { return new Aligned; },  //
       [](void* p) { delete static_cast<Aligned*>(p); }, 300, 256},
      {[]() -> void* { return new Aligned[2]; }, [](void* p) { delete[] static_cast<Aligned*>(p); },
       600, 256},
      {[]() -> void* { return new (nt) Aligned; },  //
       [](void* p) { ::operator delete(p, a256); }, 300, 256},
      {[]() -> void* { return new (nt) Aligned[2]; },
       [](void* p) { ::operator delete[](p, 600, a256); }, 600, 256},
      {[] { return ::operator new(100); },  //
       [](void* p) { ::operator delete(p); }, 100, kPlain},
      {[] { return ::operator new[](100); },  //
       [](void* p) { ::operator delete[](p, 100); }, 100, kPlain},
      {[] { return ::operator new(100, a512, nt); },
       [](void* p) { ::operator delete(p, a512, nt); }, 100, 512},
      {[] { return ::operator new[](9, a512, nt); },
       [](void* p) { ::operator delete[](p, a512, nt); }, 9, 512},
      {[] { return ::operator new(0); },  //
       [](void* p) { ::operator delete (p, std::size_t{0}); }, 1, kPlain},
  };
  for (const auto& form : forms) {
    SCOPED_TRACE(&form - forms);
    const nuke::MemoryStatistics before = statistics();
    void* block = g_sink = form.allocate();
    const nuke::MemoryStatistics during = statistics();
    EXPECT_EQ(during.liveAllocations - before.liveAllocations, 1u);
    EXPECT_GE(during.liveBytes - before.liveBytes, form.bytes);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % form.alignment, 0u);
    form.release(block);
    EXPECT_EQ(statistics().liveAllocations, before.liveAllocations);
    EXPECT_EQ(statistics().liveBytes, before.liveBytes);
  }
  void* first = ::operator new(0);
  EXPECT_NE(first, g_sink = ::operator new(0)) << "zero bytes still give distinct blocks";
  ::operator delete(first);
  ::operator delete(g_sink);
}

TEST_F(GlobalOperators, RefusedAndImpossibleRequestsThrowOrGiveNull) {
  const std::uint64_t before = liveBlocks();
  nuke::memory_manager()->setHooks([](std::size_t size) { return size < 4096; }, nullptr);
  EXPECT_THROW(g_sink = new char[4096], std::bad_alloc);
  EXPECT_THROW(g_sink = ::operator new(4096, std::align_val_t(64)), std::bad_alloc);
  EXPECT_EQ(new (std::nothrow) char[4096], nullptr);
  EXPECT_EQ(::operator new(4096, std::align_val_t(64), std::nothrow), nullptr);
  nuke::memory_manager()->setHooks(nullptr, nullptr);
  EXPECT_EQ(liveBlocks(), before);
  volatile std::size_t impossible = SIZE_MAX / 4;
  EXPECT_THROW(g_sink = new char[impossible], std::bad_alloc);
  EXPECT_EQ(new (std::nothrow) char[impossible], nullptr);
  EXPECT_THROW(g_sink = ::operator new(impossible, std::align_val_t(64)), std::bad_alloc);
}

TEST_F(GlobalOperators, FiguresStayExactAcrossThreadsBeforeMainAndAtExit) {
  EXPECT_EQ(g_earlyTable.entry, std::string(60, 'c'));
  EXPECT_EQ(g_earlyTable.manager, nuke::memory_manager()) << "one manager for the process";
  const nuke::MemoryStatistics before = statistics();
  auto churn = [] {
    for (int round = 0; round < 2000; ++round) {
      g_sink = std::vector<std::string>(20, std::string(40 + round % 50, 'w')).data();
    }
  };
  std::thread first(churn), second(churn);
  first.join();
  second.join();
  EXPECT_EQ(statistics().liveAllocations, before.liveAllocations);
  EXPECT_EQ(statistics().liveBytes, before.liveBytes);

  GTEST_FLAG_SET(death_test_style, "threadsafe");
  setenv("p8_print_memory_stat", "1", 1);
  EXPECT_EXIT((g_sink = std::vector<std::string>(1000, std::string(100, 'w')).data(), std::exit(0)),
              ::testing::ExitedWithCode(0),
              "memory statistics: [1-9][0-9]+ allocations, peak [1-9][0-9]{5,} live bytes");
  unsetenv("p8_print_memory_stat");
}

}  // namespace
