// A pool of equal buffers carved from 4 MiB chunks of the process heap and
// handed out from a free list in constant time. Any thread may allocate and
// free; the free list is guarded by a spin mutex. Chunks return to the heap
// only when the pool is destroyed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "memory/spin_mutex.h"

namespace nuke {

class BufferPool {
 public:
  static constexpr std::size_t kChunkSize = 0x400000;

  // bufferSize: a power of two from 16 to half the chunk size.
  explicit BufferPool(std::uint32_t bufferSize);
  ~BufferPool();
  BufferPool(const BufferPool&) = delete;
  BufferPool& operator=(const BufferPool&) = delete;

  // Throws std::bad_alloc when a new chunk cannot be obtained.
  void* alloc();
  void free(void* buffer);

  std::uint32_t bufferSize() const { return m_bufferSize; }

 private:
  SpinMutex m_lock;
  std::uint32_t m_bufferSize;
  void* m_chunks = nullptr;    // first word of each chunk links to the next
  void* m_freeList = nullptr;  // first word of each free buffer links to the next
};

}  // namespace nuke
