// An allocation stack: small blocks are cut in turn from buffers of a pool,
// larger ones come from new[]; everything is released at once by clear or by
// the destructor. Blocks are aligned to 4 bytes. One thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "memory/buffer_pool.h"

namespace nuke {

class ObStack {
 public:
  explicit ObStack(BufferPool* pool);
  ~ObStack();
  ObStack(const ObStack&) = delete;
  ObStack& operator=(const ObStack&) = delete;

  // Size is rounded up to a multiple of 4. Throws std::bad_alloc.
  void* alloc(std::size_t size);

  // false: start again at the first buffer, keeping the pool buffers for reuse
  // and freeing the large blocks; true: give everything back and start afresh.
  void clear(bool release);

 private:
  void start();
  void releaseAll();
  void freeLargeBlocks();

  BufferPool* m_pool;
  std::uint32_t m_room = 0;      // bytes still free at the end of the current buffer
  std::size_t m_current = 0;     // index of the buffer being filled
  std::vector<char*> m_buffers;  // pool buffers taken so far; null where not yet taken
  std::vector<char*> m_largeBlocks;
};

}  // namespace nuke
