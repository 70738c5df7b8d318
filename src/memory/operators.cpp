// The program's global allocation and release operators, every replaceable
// form, all served by the process-wide memory manager. Linked as an object
// library so that an executable that links it is sure to use these.
#include <cstddef>
#include <new>

#include "memory/memory.h"

namespace {

// A request of zero bytes must still give a unique block.
std::size_t at_least_one(std::size_t size) { return size == 0 ? 1 : size; }

void* allocate(std::size_t size) { return nuke::details::alloc(at_least_one(size)); }

void* allocate(std::size_t size, std::align_val_t alignment) {
  return nuke::details::alloc_aligned(at_least_one(size), static_cast<std::size_t>(alignment));
}

void* allocate_nothrow(std::size_t size) noexcept {
  return nuke::details::alloc_nothrow(at_least_one(size));
}

void* allocate_nothrow(std::size_t size, std::align_val_t alignment) noexcept {
  return nuke::details::alloc_aligned_nothrow(at_least_one(size),
                                              static_cast<std::size_t>(alignment));
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return allocate_nothrow(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return allocate_nothrow(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return allocate(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return allocate(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return allocate_nothrow(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return allocate_nothrow(size, alignment);
}

void operator delete(void* block) noexcept { nuke::details::free(block); }
void operator delete[](void* block) noexcept { nuke::details::free(block); }
void operator delete(void* block, std::size_t) noexcept { nuke::details::free(block); }
void operator delete[](void* block, std::size_t) noexcept { nuke::details::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { nuke::details::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { nuke::details::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { nuke::details::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { nuke::details::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
  nuke::details::free(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
  nuke::details::free(block);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  nuke::details::free(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  nuke::details::free(block);
}
