#include "memory/memory.h"

#include <cstdlib>
#include <new>

#include "memory/jemalloc.h"
#include "memory/memory_manager.h"
#include "memory/memory_stat_report.h"
#include "memory/mutex_monitor.h"

namespace nuke {
namespace {

// Plain pointers are set before any constructor runs, so the first allocation
// may come from any static initialiser, in any order.
IMemoryManager* g_manager = nullptr;
IMemoryHeap* g_heap = nullptr;
BufferPool* g_pools = nullptr;

constexpr unsigned kPoolBufferSizes[] = {8192, 16384, 32768};
constexpr std::size_t kPoolCount = sizeof(kPoolBufferSizes) / sizeof(kPoolBufferSizes[0]);

// Builds an object in zero-filled memory from malloc, out of reach of the
// operators that it is about to serve.
template <class T>
T* create_in_raw_memory() {
  void* memory = std::calloc(1, sizeof(T));
  if (memory == nullptr) throw std::bad_alloc();
  return new (memory) T();
}

IMemoryHeap* heap() {
  if (g_heap == nullptr) create_memory_manager();
  return g_heap;
}

}  // namespace

IMemoryManager* make_memory_manager() {
  if (std::getenv("p8_dont_use_memory_stat") != nullptr) {
    return create_in_raw_memory<MemoryManager<MemoryHeap<JEMalloc> > >();
  }
  return create_in_raw_memory<MemoryManager<StatMemoryHeap<JEMalloc> > >();
}

void create_memory_manager() {
  if (g_manager != nullptr) return;
  g_manager = make_memory_manager();
  g_heap = g_manager->heap();

  void* pools = std::calloc(kPoolCount, sizeof(BufferPool));
  if (pools == nullptr) throw std::bad_alloc();
  g_pools = static_cast<BufferPool*>(pools);
  for (std::size_t i = 0; i < kPoolCount; ++i) new (&g_pools[i]) BufferPool(kPoolBufferSizes[i]);

  start_memory_stat_report_if_requested(g_manager);
  start_mutex_monitors();
}

IMemoryManager* memory_manager() {
  if (g_manager == nullptr) create_memory_manager();
  return g_manager;
}

BufferPool* buffer_pools() {
  if (g_pools == nullptr) create_memory_manager();
  return g_pools;
}

namespace details {

void* alloc(std::size_t size) {
  void* block = heap()->alloc(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void* alloc_aligned(std::size_t size, std::size_t alignment) {
  void* block = heap()->allocAligned(size, alignment);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

// The manager is created here too, so that a nothrow new may come first.
void* alloc_nothrow(std::size_t size) noexcept {
  try {
    return heap()->alloc(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void* alloc_aligned_nothrow(std::size_t size, std::size_t alignment) noexcept {
  try {
    return heap()->allocAligned(size, alignment);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void free(void* block) noexcept {
  if (block != nullptr) g_heap->free(block);
}

}  // namespace details
}  // namespace nuke
