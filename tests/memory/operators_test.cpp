#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <new>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "memory/memory.h"
#include "static_allocation.h"

namespace {

void* volatile g_sink;  // keeps the compiler from eliding allocations

struct alignas(256) Aligned {
  char bytes[300];
};

constexpr std::size_t kRefusedSize = 1 << 20;
bool refuse_large(std::size_t usableSize) { return usableSize < kRefusedSize; }

nuke::MemoryStatistics snapshot() {
  nuke::MemoryStatistics now{};
  nuke::memory_manager()->statistics(now);
  return now;
}

class GlobalOperators : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("p8_dont_use_memory_stat") != nullptr) GTEST_SKIP() << "needs statistics";
    nuke::memory_manager()->enableStatistics(true);
  }
  void TearDown() override { nuke::memory_manager()->enableStatistics(false); }
};

// One block is counted while allocated and nothing is left after its release.
template <class Allocate, class Release>
void expect_counted(Allocate allocate, Release release, std::size_t bytes, std::size_t alignment) {
  const nuke::MemoryStatistics before = snapshot();
  void* block = allocate();
  g_sink = block;
  const nuke::MemoryStatistics during = snapshot();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(during.liveAllocations - before.liveAllocations, 1u);
  EXPECT_GE(during.liveBytes - before.liveBytes, bytes);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignment, 0u);
  release(block);
  const nuke::MemoryStatistics after = snapshot();
  EXPECT_EQ(after.liveAllocations, before.liveAllocations);
  EXPECT_EQ(after.liveBytes, before.liveBytes);
}

// Plain and nothrow new expressions for one object and for an array of `N`.
template <class T, std::size_t N>
void expect_expression_forms() {
  const std::nothrow_t& nt = std::nothrow;
  auto one = [](void* p) { delete static_cast<T*>(p); };
  auto many = [](void* p) { delete[] static_cast<T*>(p); };
  expect_counted([] { return new T(); }, one, sizeof(T), alignof(T));
  expect_counted([] { return new T[N]; }, many, N * sizeof(T), alignof(T));
  expect_counted([&] { return new (nt) T(); }, one, sizeof(T), alignof(T));
  expect_counted([&] { return new (nt) T[N]; }, many, N * sizeof(T), alignof(T));
}

TEST_F(GlobalOperators, EveryFormIsServedByTheManager) {
  using std::align_val_t;
  const std::nothrow_t& nt = std::nothrow;
  const auto a512 = align_val_t(512);

  expect_expression_forms<int, 10>();
  expect_expression_forms<Aligned, 2>();
  expect_counted([] { return ::operator new(100); }, [](void* p) { ::operator delete(p, 100); },
                 100, alignof(std::max_align_t));
  expect_counted([] { return ::operator new[](100); }, [](void* p) { ::operator delete[](p, 100); },
                 100, alignof(std::max_align_t));
  expect_counted([&] { return ::operator new(100, nt); },
                 [&](void* p) { ::operator delete(p, nt); }, 100, alignof(std::max_align_t));
  expect_counted([&] { return ::operator new[](100, nt); },
                 [&](void* p) { ::operator delete[](p, nt); }, 100, alignof(std::max_align_t));
  expect_counted([&] { return ::operator new(100, a512); },
                 [&](void* p) { ::operator delete(p, a512); }, 100, 512);
  expect_counted([&] { return ::operator new(100, a512); },
                 [&](void* p) { ::operator delete(p, 100, a512); }, 100, 512);
  expect_counted([&] { return ::operator new[](100, a512); },
                 [&](void* p) { ::operator delete[](p, a512); }, 100, 512);
  expect_counted([&] { return ::operator new[](100, a512); },
                 [&](void* p) { ::operator delete[](p, 100, a512); }, 100, 512);
  expect_counted([&] { return ::operator new(100, a512, nt); },
                 [&](void* p) { ::operator delete(p, a512, nt); }, 100, 512);
  expect_counted([&] { return ::operator new[](100, a512, nt); },
                 [&](void* p) { ::operator delete[](p, a512, nt); }, 100, 512);

  // Zero bytes still give distinct blocks; deleting null does nothing.
  void* first = ::operator new(0);
  void* second = ::operator new(0);
  EXPECT_NE(first, nullptr);
  EXPECT_NE(first, second);
  ::operator delete(first);
  ::operator delete(second);
  const nuke::MemoryStatistics before = snapshot();
  delete static_cast<int*>(nullptr);
  delete[] static_cast<int*>(nullptr);
  EXPECT_EQ(snapshot().liveAllocations, before.liveAllocations);
}

// Builds and drops a mix of containers, the way the program uses them.
std::size_t churn_containers(int seed) {
  std::size_t total = 0;
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> words;
    std::map<int, std::u16string> byNumber;
    std::unordered_map<std::string, int> byWord;
    for (int i = 0; i < 40; ++i) {
      words.push_back(std::string(20 + (i + seed) % 30, static_cast<char>('a' + i % 26)));
      byNumber[i * seed] = std::u16string(25, u'x');
      byWord[words.back()] = i;
    }
    total += words.size() + byNumber.size() + byWord.size();
  }
  return total;
}

TEST_F(GlobalOperators, ContainersOnTwoThreadsLeaveExactStatistics) {
  const nuke::MemoryStatistics before = snapshot();
  {
    std::vector<std::string> held(100, std::string(100, 'x'));
    const nuke::MemoryStatistics during = snapshot();
    EXPECT_GE(during.liveAllocations - before.liveAllocations, 101u);
    EXPECT_GE(during.liveBytes - before.liveBytes, 100u * 101u);
  }
  std::size_t totals[2] = {0, 0};
  std::thread first([&] { totals[0] = churn_containers(1); });
  std::thread second([&] { totals[1] = churn_containers(2); });
  first.join();
  second.join();
  EXPECT_GT(totals[0], 0u);
  EXPECT_GT(totals[1], 0u);
  const nuke::MemoryStatistics after = snapshot();
  EXPECT_EQ(after.liveAllocations, before.liveAllocations);
  EXPECT_EQ(after.liveBytes, before.liveBytes);
}

TEST_F(GlobalOperators, RefusingHookMakesNewThrowWithoutLeaking) {
  nuke::IMemoryManager* manager = nuke::memory_manager();
  const struct mallinfo2 start = mallinfo2();
  manager->setHooks(refuse_large, nullptr);
  for (int i = 0; i < 32; ++i) {
    EXPECT_THROW(g_sink = new char[kRefusedSize], std::bad_alloc);
    EXPECT_EQ(new (std::nothrow) char[kRefusedSize], nullptr);
    EXPECT_THROW(g_sink = ::operator new(kRefusedSize, std::align_val_t(64)), std::bad_alloc);
  }
  const struct mallinfo2 end = mallinfo2();
  manager->setHooks(nullptr, nullptr);
  EXPECT_LT(end.uordblks + end.hblkhd, start.uordblks + start.hblkhd + kRefusedSize);

  char* accepted = new char[kRefusedSize];
  accepted[kRefusedSize - 1] = 1;
  delete[] accepted;

  volatile std::size_t impossible = SIZE_MAX / 4;
  EXPECT_THROW(g_sink = new char[impossible], std::bad_alloc);
  EXPECT_EQ(new (std::nothrow) char[impossible], nullptr);
}

TEST(GlobalOperatorsStart, ServeStaticInitialisersBeforeMain) {
  ASSERT_EQ(early_table().size(), 3u);
  EXPECT_EQ(early_table()[0], std::string(40, 'a'));
  EXPECT_EQ(early_table()[2], std::string(60, 'c'));
  EXPECT_NE(manager_after_early_table(), nullptr);
  EXPECT_EQ(manager_after_early_table(), nuke::memory_manager()) << "one manager for the process";
}

TEST(GlobalOperatorsStart, PrintStatisticsAtExitWhenAsked) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  unsetenv("p8_dont_use_memory_stat");
  setenv("p8_print_memory_stat", "1", 1);
  EXPECT_EXIT(
      {
        std::vector<std::string> words(1000, std::string(100, 'w'));
        g_sink = words.data();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0),
      "memory statistics: [1-9][0-9]+ allocations, peak [1-9][0-9]{5,} live bytes");
  unsetenv("p8_print_memory_stat");
}

// The address sanitizer still sees every block of the replaced operators.
#if defined(__SANITIZE_ADDRESS__)
__attribute__((noinline)) void leak_one_block() {
  char* volatile block = new char[4096];
  block[0] = 1;
}

TEST(GlobalOperatorsUnderAddressSanitizer, OverflowsAndLeaksAreStillReported) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        char* volatile block = new char[16];
        block[16] = 1;
      },
      "heap-buffer-overflow");
  EXPECT_EXIT(
      {
        leak_one_block();
        std::exit(0);
      },
      [](int status) { return status != 0; },
      "Direct leak of 4096 byte\\(s\\) in 1 object\\(s\\) allocated");
}
#endif

}  // namespace
