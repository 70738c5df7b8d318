// Incremental decompression of one raw deflate stream (no header, no
// checksum, 32 KiB window), pulling its compressed bytes from a source and
// decompressing block by block into buffers the caller provides. One thread
// at a time.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <functional>

class RawInflater {
 public:
  // Hands out the next piece of compressed input: returns 0 with `data` and
  // `size` set (`size` 0 when there is no more), or an error code. A piece
  // stays valid until the next call.
  using Source = std::function<uint32_t(const uint8_t*& data, size_t& size)>;

  explicit RawInflater(Source source);
  ~RawInflater();
  RawInflater(const RawInflater&) = delete;
  RawInflater& operator=(const RawInflater&) = delete;

  // Decompresses into `output` until it is full or the stream ends, and sets
  // `produced`. `ended` becomes true at the end-of-stream marker and also
  // when the input runs out before it (a truncated stream ends where its data
  // ends). Returns 0, ERROR_INVALID_DATA (13) for corrupt data, or the
  // source's error code; `produced` then still counts the bytes decoded
  // before the failure.
  uint32_t inflateInto(uint8_t* output, uint32_t capacity, uint32_t& produced, bool& ended);

 private:
  Source m_source;
  z_stream m_stream{};
  bool m_ready = false;
  bool m_inputDone = false;
};

// A source handing out `size` bytes at `data` (in pieces zlib can count).
RawInflater::Source memory_source(const uint8_t* data, size_t size);
