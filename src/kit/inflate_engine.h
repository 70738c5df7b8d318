// The two decompressors of raw deflate data behind one small interface:
// ISA-L, the fast one the kit reader uses, and zlib, kept as the reference
// that tests compare it with. One engine per stream; one thread at a time.
#pragma once

#include <cstdint>
#include <memory>

enum class InflateEngineKind { kIsal, kZlib };

class InflateEngine {
 public:
  enum class Step { kGoOn, kEnd, kDamaged };
  virtual ~InflateEngine() = default;
  // Decompresses from `input` into `output`, moving both on, until one of
  // them runs out (kGoOn), the end-of-stream marker has been passed and
  // everything before it written (kEnd), or the data is corrupt (kDamaged).
  virtual Step run(const uint8_t*& input, uint32_t& inputSize, uint8_t*& output,
                   uint32_t& outputSize) = 0;
};

// A fresh engine for one raw stream (no header, no checksum, 32 KiB window);
// null when it cannot be set up.
std::unique_ptr<InflateEngine> make_inflate_engine(InflateEngineKind kind);
