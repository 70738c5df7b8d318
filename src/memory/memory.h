// Entry points of the process-wide memory manager: the manager and the three
// buffer pools, created on first use, and the allocation functions behind the
// global operators new and delete. Every function may be used by any thread
// once the first allocation (made before main) has created the manager.
#pragma once

#include <cstddef>

#include "memory/buffer_pool.h"
#include "memory/memory_heap.h"

namespace nuke {

IMemoryManager* memory_manager();

// The pools of 8192, 16384 and 32768-byte buffers, in that order.
BufferPool* buffer_pools();

// Creates the manager, its heap and the pools unless they exist. The manager
// keeps statistics and hooks unless p8_dont_use_memory_stat is set.
void create_memory_manager();

// A new manager chosen by p8_dont_use_memory_stat, in zero-filled memory from
// malloc; the caller owns it.
IMemoryManager* make_memory_manager();

namespace details {

// Throws std::bad_alloc when no memory is available.
void* alloc(std::size_t size);
void* alloc_aligned(std::size_t size, std::size_t alignment);
// Null when no memory is available.
void* alloc_nothrow(std::size_t size) noexcept;
void* alloc_aligned_nothrow(std::size_t size, std::size_t alignment) noexcept;
// Null is ignored.
void free(void* block) noexcept;

}  // namespace details
}  // namespace nuke
