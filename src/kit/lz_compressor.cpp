#include "kit/lz_compressor.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <memory>

uint32_t inflate_raw(const uint8_t* data, size_t size, InflateSink& sink) {
  z_stream stream{};
  // Raw deflate: no header, no checksum, 32 KiB window.
  if (inflateInit2(&stream, -15) != Z_OK) return ERROR_INVALID_DATA;
  std::unique_ptr<uint8_t[]> output(new uint8_t[kBufferSize]);
  uint32_t code = 0;
  size_t consumed = 0;
  for (;;) {
    // zlib counts input in 32-bit units; feed huge mappings in slices.
    if (stream.avail_in == 0 && consumed < size) {
      const size_t slice = std::min<size_t>(size - consumed, UINT_MAX);
      stream.next_in = const_cast<Bytef*>(data + consumed);
      stream.avail_in = static_cast<uInt>(slice);
      consumed += slice;
    }
    stream.next_out = output.get();
    stream.avail_out = kBufferSize;
    int result = inflate(&stream, Z_NO_FLUSH);
    // Running out of input is the end of a truncated stream, not an error.
    if (result == Z_BUF_ERROR && stream.avail_in == 0 && consumed == size) result = Z_OK;
    const uint32_t produced = kBufferSize - stream.avail_out;
    if (produced > 0) {
      code = sink.write(output.get(), produced);
      if (code != 0) break;
    }
    if (result != Z_OK) {
      code = result < 0 ? ERROR_INVALID_DATA : 0;
      break;
    }
    if (stream.avail_out != 0 && stream.avail_in == 0 && consumed == size) break;
  }
  inflateEnd(&stream);
  return code;
}
