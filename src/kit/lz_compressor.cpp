#include "kit/lz_compressor.h"

#include <memory>

uint32_t inflate_raw(const uint8_t* data, size_t size, InflateSink& sink) {
  RawInflater inflater(memory_source(data, size));
  return inflate_all(inflater, sink);
}

uint32_t inflate_all(RawInflater& inflater, InflateSink& sink) {
  std::unique_ptr<uint8_t[]> output(new uint8_t[kBufferSize]);
  for (;;) {
    uint32_t produced = 0;
    bool ended = false;
    const uint32_t code = inflater.inflateInto(output.get(), kBufferSize, produced, ended);
    if (produced > 0) {
      const uint32_t written = sink.write(output.get(), produced);
      if (written != 0) return written;
    }
    if (code != 0 || ended) return code;
  }
}

std::unique_ptr<InflatePipe> inflate_pipe(std::shared_ptr<RawInflater> inflater, uint32_t blockSize,
                                          uint32_t blockCount, bool threaded) {
  return std::make_unique<InflatePipe>(
      [inflater](uint8_t* block, uint32_t capacity, uint32_t& produced, bool& ended) {
        return inflater->inflateInto(block, capacity, produced, ended);
      },
      blockSize, blockCount, threaded);
}
