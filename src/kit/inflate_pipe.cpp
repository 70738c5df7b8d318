#include "kit/inflate_pipe.h"

#include <system_error>

InflatePipe::InflatePipe(Producer producer, uint32_t blockSize, uint32_t blockCount,
                         bool threaded)
    : m_producer(std::move(producer)), m_blockSize(blockSize), m_blocks(blockCount) {
  for (Block& block : m_blocks) block.bytes.reset(new uint8_t[blockSize]);
  m_inline = !threaded;
  if (m_inline) return;
  try {
    m_thread = std::thread([this] { produce(); });
  } catch (const std::system_error&) {
    m_inline = true;
  }
}

InflatePipe::~InflatePipe() {
  if (m_inline) return;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_emptied.notify_one();
  m_thread.join();
}

void InflatePipe::produce() {
  for (;;) {
    Block* block = nullptr;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_emptied.wait(lock, [this] { return m_stopping || m_produced - m_consumed < m_blocks.size(); });
      if (m_stopping) return;
      block = &m_blocks[m_produced % m_blocks.size()];
    }
    const bool more = produceBlock(*block);
    m_filled.notify_one();
    if (!more) return;
  }
}

bool InflatePipe::produceBlock(Block& block) {
  // The block is the producer's alone until it is counted as produced.
  uint32_t produced = 0;
  bool ended = false;
  const uint32_t code = m_producer(block.bytes.get(), m_blockSize, produced, ended);
  block.size = produced;
  std::lock_guard<std::mutex> lock(m_mutex);
  if (produced > 0) ++m_produced;
  m_error = code;
  m_ended = ended || code != 0;
  return !m_ended;
}

uint32_t InflatePipe::peek(const uint8_t*& data, size_t& size) {
  if (m_inline) {
    // Every block before the next one has been read: it is free.
    while (m_consumed == m_produced && !m_ended) {
      produceBlock(m_blocks[m_produced % m_blocks.size()]);
    }
  }
  std::unique_lock<std::mutex> lock(m_mutex);
  m_filled.wait(lock, [this] { return m_consumed < m_produced || m_ended; });
  if (m_consumed == m_produced) {
    data = nullptr;
    size = 0;
    return m_error;
  }
  const Block& block = m_blocks[m_consumed % m_blocks.size()];
  data = block.bytes.get() + m_offsetInBlock;
  size = block.size - m_offsetInBlock;
  return 0;
}

void InflatePipe::consume(size_t count) {
  if (count == 0) return;
  m_position += count;
  m_offsetInBlock += static_cast<uint32_t>(count);
  bool released = false;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_offsetInBlock == m_blocks[m_consumed % m_blocks.size()].size) {
      ++m_consumed;
      m_offsetInBlock = 0;
      released = true;
    }
  }
  if (released) m_emptied.notify_one();
}
