#include "kit/lz_compressor.h"

#include <memory>

uint32_t inflate_raw(const uint8_t* data, size_t size, InflateSink& sink) {
  RawInflater inflater(memory_source(data, size));
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
