#include "memory/ob_stack.h"

#include <new>

namespace nuke {

ObStack::ObStack(BufferPool* pool) : m_pool(pool) { start(); }

ObStack::~ObStack() { releaseAll(); }

void ObStack::start() {
  m_buffers.assign(1, nullptr);  // the table first, so that the buffer cannot leak
  m_buffers[0] = static_cast<char*>(m_pool->alloc());
  m_current = 0;
  m_room = m_pool->bufferSize();
}

void* ObStack::alloc(std::size_t size) {
  const std::uint32_t bufferSize = m_pool->bufferSize();
  if (size > bufferSize) {
    if (size > SIZE_MAX - 3) throw std::bad_alloc();
    m_largeBlocks.push_back(nullptr);  // grow the table first so that the block cannot leak
    m_largeBlocks.back() = new char[(size + 3) & ~std::size_t{3}];
    return m_largeBlocks.back();
  }
  // The buffer size is a multiple of 4, so the rounded size still fits one buffer.
  const auto rounded = static_cast<std::uint32_t>((size + 3) & ~std::size_t{3});
  if (rounded <= m_room) {
    char* block = m_buffers[m_current] + (bufferSize - m_room);
    m_room -= rounded;
    return block;
  }
  const std::size_t next = m_current + 1;
  if (next == m_buffers.size()) m_buffers.resize(2 * next, nullptr);
  if (m_buffers[next] == nullptr) m_buffers[next] = static_cast<char*>(m_pool->alloc());
  m_current = next;
  m_room = bufferSize - rounded;
  return m_buffers[m_current];
}

void ObStack::clear(bool release) {
  if (release) {
    releaseAll();
    start();
    return;
  }
  freeLargeBlocks();
  m_current = 0;
  m_room = m_pool->bufferSize();
}

void ObStack::freeLargeBlocks() {
  for (char* block : m_largeBlocks) delete[] block;
  m_largeBlocks.clear();
}

void ObStack::releaseAll() {
  freeLargeBlocks();
  for (char* buffer : m_buffers) {
    if (buffer != nullptr) m_pool->free(buffer);
  }
  m_buffers.clear();
}

}  // namespace nuke
