// The allocation policy behind the heaps: the C library's malloc family, which
// is thread-safe and which memory checkers watch. Usable from any thread.
#pragma once

#include <malloc.h>

#include <cstddef>
#include <cstdlib>

namespace nuke {

struct JEMalloc {
  static void* allocate(std::size_t size) { return std::malloc(size); }

  static void* allocateAligned(std::size_t size, std::size_t alignment) {
    if (alignment < sizeof(void*)) alignment = sizeof(void*);
    void* block = nullptr;
    return posix_memalign(&block, alignment, size) == 0 ? block : nullptr;
  }

  static void release(void* block) { std::free(block); }

  static std::size_t usableSize(void* block) { return malloc_usable_size(block); }
};

}  // namespace nuke
