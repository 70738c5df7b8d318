// Decompression ahead of its reader: a thread of the pipe's own fills a small
// ring of blocks from a producer (the kit's inflater), and one consumer reads
// the bytes in order, waiting only when it has caught up. Where no thread can
// be started, the consumer runs the producer itself. The consumer side may be
// used by one thread at a time; the pipe synchronises with its own thread
// internally.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class InflatePipe {
 public:
  // Fills `block` with up to `capacity` bytes and sets `produced`; sets
  // `ended` after the last byte. Returns 0 or an error code, which ends the
  // stream after the bytes produced with it.
  using Producer =
      std::function<uint32_t(uint8_t* block, uint32_t capacity, uint32_t& produced, bool& ended)>;

  // Starts the pipe's thread, which runs `producer` until the stream ends,
  // `blockCount` blocks of `blockSize` bytes ahead of the consumer at most.
  // Without `threaded`, the consumer runs the producer itself.
  InflatePipe(Producer producer, uint32_t blockSize, uint32_t blockCount, bool threaded = true);
  // Stops the thread, also in the middle of the stream.
  ~InflatePipe();
  InflatePipe(const InflatePipe&) = delete;
  InflatePipe& operator=(const InflatePipe&) = delete;

  // Waits until bytes at the current position are decompressed. Returns 0
  // with `data` and `size` set to them (`size` is 0 at the end of the
  // stream), or the producer's error code once every byte before the damage
  // has been consumed.
  uint32_t peek(const uint8_t*& data, size_t& size);
  // Moves the position `count` bytes on; `count` is at most the `size` of
  // the last peek.
  void consume(size_t count);
  // Bytes consumed since the start of the stream.
  uint64_t position() const { return m_position; }

 private:
  struct Block {
    std::unique_ptr<uint8_t[]> bytes;
    uint32_t size = 0;
  };

  void produce();
  // Fills the next block; the caller may write it (the ring has room).
  bool produceBlock(Block& block);

  Producer m_producer;
  const uint32_t m_blockSize;
  std::vector<Block> m_blocks;

  std::mutex m_mutex;
  std::condition_variable m_filled;
  std::condition_variable m_emptied;
  // Blocks filled and blocks consumed since the start; the block being
  // filled is m_blocks[m_produced % size], the one being read
  // m_blocks[m_consumed % size].
  uint64_t m_produced = 0;
  uint64_t m_consumed = 0;
  bool m_ended = false;
  uint32_t m_error = 0;
  bool m_stopping = false;

  // Consumer side only.
  uint32_t m_offsetInBlock = 0;
  uint64_t m_position = 0;

  std::thread m_thread;
  // Whether the producer runs inside peek, for want of a thread.
  bool m_inline = false;
};
