// The two heaps: a plain one over an allocation policy, and one that can also
// keep statistics and ask hooks about every allocation and release. Both are
// used by every thread without a lock; statistics are updated atomically.
#pragma once

#include <atomic>

#include "memory/memory_heap.h"

namespace nuke {

template <class Policy>
class MemoryHeap : public IMemoryHeap {
 public:
  void* alloc(std::size_t size) override { return Policy::allocate(size); }
  void free(void* block) override {
    if (block != nullptr) Policy::release(block);
  }
  std::size_t usableSize(void* block) override { return Policy::usableSize(block); }
  void compact() override {}
  std::size_t goodSize(std::size_t size) override { return size; }
  void* allocAligned(std::size_t size, std::size_t alignment) override {
    return Policy::allocateAligned(size, alignment);
  }
};

template <class Policy>
class StatMemoryHeap : public IMemoryHeap {
 public:
  void* alloc(std::size_t size) override { return account(Policy::allocate(size)); }
  void* allocAligned(std::size_t size, std::size_t alignment) override {
    return account(Policy::allocateAligned(size, alignment));
  }

  void free(void* block) override {
    if (block == nullptr) return;
    const bool counting = m_statistics.load(std::memory_order_relaxed);
    const ReleaseHook hook = m_releaseHook.load(std::memory_order_relaxed);
    const std::size_t size = (counting || hook != nullptr) ? Policy::usableSize(block) : 0;
    Policy::release(block);
    if (counting) {
      m_liveAllocations.fetch_sub(1, std::memory_order_relaxed);
      m_liveBytes.fetch_sub(size, std::memory_order_relaxed);
    }
    if (hook != nullptr) hook(size);
  }

  std::size_t usableSize(void* block) override { return Policy::usableSize(block); }
  void compact() override {}
  std::size_t goodSize(std::size_t size) override { return size; }

  void enableStatistics(bool enable) { m_statistics.store(enable, std::memory_order_relaxed); }

  void statistics(MemoryStatistics& result) const {
    result.liveAllocations = m_liveAllocations.load(std::memory_order_relaxed);
    result.liveBytes = m_liveBytes.load(std::memory_order_relaxed);
  }

  void setHooks(AllocationHook allocationHook, ReleaseHook releaseHook) {
    m_allocationHook.store(allocationHook, std::memory_order_relaxed);
    m_releaseHook.store(releaseHook, std::memory_order_relaxed);
  }

 private:
  // Lets the allocation hook refuse a fresh block and counts it if kept.
  void* account(void* block) {
    if (block == nullptr) return nullptr;
    const bool counting = m_statistics.load(std::memory_order_relaxed);
    const AllocationHook hook = m_allocationHook.load(std::memory_order_relaxed);
    std::size_t size = 0;
    if (counting || hook != nullptr) {
      size = Policy::usableSize(block);
      if (hook != nullptr && !hook(size)) {
        Policy::release(block);
        return nullptr;
      }
    }
    if (counting) {
      m_liveAllocations.fetch_add(1, std::memory_order_relaxed);
      m_liveBytes.fetch_add(size, std::memory_order_relaxed);
    }
    return block;
  }

  std::atomic<bool> m_statistics{false};
  std::atomic<std::uint64_t> m_liveAllocations{0};
  std::atomic<std::uint64_t> m_liveBytes{0};
  std::atomic<AllocationHook> m_allocationHook{nullptr};
  std::atomic<ReleaseHook> m_releaseHook{nullptr};
};

}  // namespace nuke
