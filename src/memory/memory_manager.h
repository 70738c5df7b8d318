// The manager that owns the process-wide heap, one instantiation per heap
// type. Created once before any second thread exists; used by every thread.
#pragma once

#include "memory/memory_heap.h"
#include "memory/memory_heaps.h"

namespace nuke {

// The plain heap has neither statistics nor hooks: those operations do nothing.
template <class Heap>
class MemoryManager : public IMemoryManager {
 public:
  IMemoryHeap* heap() override { return &m_heap; }
  void enableStatistics(bool) override {}
  void statistics(MemoryStatistics& result) override { result = MemoryStatistics{0, 0}; }
  void setHooks(AllocationHook, ReleaseHook) override {}

 private:
  Heap m_heap;
};

template <class Policy>
class MemoryManager<StatMemoryHeap<Policy> > : public IMemoryManager {
 public:
  IMemoryHeap* heap() override { return &m_heap; }
  void enableStatistics(bool enable) override { m_heap.enableStatistics(enable); }
  void statistics(MemoryStatistics& result) override { m_heap.statistics(result); }
  void setHooks(AllocationHook allocationHook, ReleaseHook releaseHook) override {
    m_heap.setHooks(allocationHook, releaseHook);
  }

 private:
  StatMemoryHeap<Policy> m_heap;
};

}  // namespace nuke
