#include "kit/raw_inflater.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <utility>

#include "platform/win32_types.h"

RawInflater::RawInflater(Source source) : m_source(std::move(source)) {
  // Negative window bits: raw deflate.
  m_ready = inflateInit2(&m_stream, -15) == Z_OK;
}

RawInflater::~RawInflater() {
  if (m_ready) inflateEnd(&m_stream);
}

uint32_t RawInflater::inflateInto(uint8_t* output, uint32_t capacity, uint32_t& produced,
                                  bool& ended) {
  produced = 0;
  ended = false;
  if (!m_ready) return ERROR_INVALID_DATA;
  m_stream.next_out = output;
  m_stream.avail_out = capacity;
  while (m_stream.avail_out != 0) {
    if (m_stream.avail_in == 0 && !m_inputDone) {
      const uint8_t* data = nullptr;
      size_t size = 0;
      const uint32_t code = m_source(data, size);
      if (code != 0) return code;
      m_inputDone = size == 0;
      m_stream.next_in = const_cast<Bytef*>(data);
      m_stream.avail_in = static_cast<uInt>(size);
    }
    const int result = inflate(&m_stream, Z_NO_FLUSH);
    produced = capacity - m_stream.avail_out;
    // Running out of input is the end of a truncated stream, not an error.
    const bool starved = m_stream.avail_in == 0 && m_inputDone;
    if ((result == Z_OK || result == Z_BUF_ERROR) && starved && m_stream.avail_out != 0) {
      ended = true;
      return 0;
    }
    // Z_STREAM_END (and Z_NEED_DICT, which raw streams cannot ask for) end
    // the stream; every other negative result is damage.
    if (result > 0) {
      ended = true;
      return 0;
    }
    if (result < 0 && result != Z_BUF_ERROR) return ERROR_INVALID_DATA;
  }
  return 0;
}

RawInflater::Source memory_source(const uint8_t* data, size_t size) {
  auto handedOut = std::make_shared<size_t>(0);
  return [data, size, handedOut](const uint8_t*& piece, size_t& pieceSize) {
    // zlib counts input in 32-bit units.
    pieceSize = std::min<size_t>(size - *handedOut, UINT_MAX);
    piece = data + *handedOut;
    *handedOut += pieceSize;
    return 0u;
  };
}
