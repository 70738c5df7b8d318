// Incremental decompression of one raw deflate stream (no header, no
// checksum, 32 KiB window), pulling its compressed bytes from a source and
// decompressing block by block into buffers the caller provides, with ISA-L
// or, for comparison, zlib. One thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "kit/inflate_engine.h"

class RawInflater {
 public:
  // Hands out the next piece of compressed input: returns 0 with `data` and
  // `size` set (`size` 0 when there is no more), or an error code. A piece
  // stays valid until the next call.
  using Source = std::function<uint32_t(const uint8_t*& data, size_t& size)>;

  explicit RawInflater(Source source, InflateEngineKind kind = InflateEngineKind::kIsal);
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
  std::unique_ptr<InflateEngine> m_engine;
  const uint8_t* m_input = nullptr;
  uint32_t m_inputSize = 0;
  // Whether the source has handed out its last piece.
  bool m_inputDone = false;
};

// A source handing out `size` bytes at `data` (in pieces zlib can count).
RawInflater::Source memory_source(const uint8_t* data, size_t size);
