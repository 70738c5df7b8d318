// The interfaces of the process-wide heap and of the manager that owns it,
// with the statistics record and the hook types. Heaps and managers are used
// by every thread; their operations take no lock.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nuke {

// Told the usable size of a block just obtained; returning false refuses it.
using AllocationHook = bool (*)(std::size_t usableSize);
// Told the usable size of each released block.
using ReleaseHook = void (*)(std::size_t usableSize);

struct MemoryStatistics {
  std::uint64_t liveAllocations;
  std::uint64_t liveBytes;  // sum of the usable sizes of live blocks
};

class IMemoryHeap {
 public:
  virtual ~IMemoryHeap() = default;
  // Null when no memory is available.
  virtual void* alloc(std::size_t size) = 0;
  // Releases a block of alloc or allocAligned; null is ignored.
  virtual void free(void* block) = 0;
  virtual std::size_t usableSize(void* block) = 0;
  // Would give memory the heap keeps but no longer uses back to the system;
  // the heaps over the C library keep none, so it does nothing, and nothing
  // needs to call it.
  virtual void compact() = 0;
  // The size a container should ask for when it needs `size` bytes, so as to
  // use the whole block it gets: the request itself for these heaps.
  virtual std::size_t goodSize(std::size_t size) = 0;
  // Alignment is a power of two; null when no memory is available.
  virtual void* allocAligned(std::size_t size, std::size_t alignment) = 0;
};

class IMemoryManager {
 public:
  virtual ~IMemoryManager() = default;
  virtual IMemoryHeap* heap() = 0;
  virtual void enableStatistics(bool enable) = 0;
  virtual void statistics(MemoryStatistics& result) = 0;
  virtual void setHooks(AllocationHook allocationHook, ReleaseHook releaseHook) = 0;
};

}  // namespace nuke
