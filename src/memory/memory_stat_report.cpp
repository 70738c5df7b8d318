#include "memory/memory_stat_report.h"

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace nuke {
namespace {

IMemoryManager* g_reportedManager = nullptr;
std::atomic<std::uint64_t> g_allocationCount{0};
std::atomic<std::uint64_t> g_liveBytes{0};
std::atomic<std::uint64_t> g_peakLiveBytes{0};

bool count_allocation(std::size_t usableSize) {
  g_allocationCount.fetch_add(1, std::memory_order_relaxed);
  const std::uint64_t live =
      g_liveBytes.fetch_add(usableSize, std::memory_order_relaxed) + usableSize;
  std::uint64_t peak = g_peakLiveBytes.load(std::memory_order_relaxed);
  while (live > peak &&
         !g_peakLiveBytes.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
  }
  return true;
}

void count_release(std::size_t usableSize) {
  g_liveBytes.fetch_sub(usableSize, std::memory_order_relaxed);
}

void print_report() {
  if (std::getenv("p8_dont_use_memory_stat") != nullptr) {
    std::fputs("memory statistics: off (p8_dont_use_memory_stat is set)\n", stderr);
    return;
  }
  MemoryStatistics live{};
  g_reportedManager->statistics(live);
  std::fprintf(stderr,
               "memory statistics: %" PRIu64 " allocations, peak %" PRIu64
               " live bytes, at exit %" PRIu64 " blocks of %" PRIu64 " bytes live\n",
               g_allocationCount.load(), g_peakLiveBytes.load(), live.liveAllocations,
               live.liveBytes);
}

}  // namespace

void start_memory_stat_report_if_requested(IMemoryManager* manager) {
  if (std::getenv("p8_print_memory_stat") == nullptr || g_reportedManager != nullptr) return;
  g_reportedManager = manager;
  manager->enableStatistics(true);
  manager->setHooks(count_allocation, count_release);
  std::atexit(print_report);
}

}  // namespace nuke
