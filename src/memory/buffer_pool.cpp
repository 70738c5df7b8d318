#include "memory/buffer_pool.h"

#include <cassert>
#include <mutex>
#include <new>

#include "memory/memory.h"

namespace nuke {
namespace {

void*& link_of(void* block) { return *static_cast<void**>(block); }

}  // namespace

BufferPool::BufferPool(std::uint32_t bufferSize) : m_bufferSize(bufferSize) {
  assert(bufferSize >= 2 * sizeof(void*) && bufferSize <= kChunkSize / 2 &&
         (bufferSize & (bufferSize - 1)) == 0);
}

BufferPool::~BufferPool() {
  IMemoryHeap* heap = memory_manager()->heap();
  while (m_chunks != nullptr) {
    void* next = link_of(m_chunks);
    heap->free(m_chunks);
    m_chunks = next;
  }
}

void* BufferPool::alloc() {
  std::lock_guard<SpinMutex> guard(m_lock);
  if (m_freeList == nullptr) {
    // The first buffer-sized slot is the chunk's header; the rest become buffers.
    auto* chunk = static_cast<char*>(memory_manager()->heap()->alloc(kChunkSize));
    if (chunk == nullptr) throw std::bad_alloc();
    link_of(chunk) = m_chunks;
    link_of(chunk + sizeof(void*)) = nullptr;
    m_chunks = chunk;
    char* const end = chunk + kChunkSize;
    for (char* buffer = chunk + m_bufferSize; buffer < end; buffer += m_bufferSize) {
      link_of(buffer) = buffer + m_bufferSize < end ? buffer + m_bufferSize : nullptr;
    }
    m_freeList = chunk + m_bufferSize;
  }
  void* buffer = m_freeList;
  m_freeList = link_of(buffer);
  return buffer;
}

void BufferPool::free(void* buffer) {
  std::lock_guard<SpinMutex> guard(m_lock);
  link_of(buffer) = m_freeList;
  m_freeList = buffer;
}

}  // namespace nuke
