#include "kit/raw_inflater.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <utility>

#include "platform/win32_types.h"

RawInflater::RawInflater(Source source, InflateEngineKind kind)
    : m_source(std::move(source)), m_engine(make_inflate_engine(kind)) {}

uint32_t RawInflater::inflateInto(uint8_t* output, uint32_t capacity, uint32_t& produced,
                                  bool& ended) {
  produced = 0;
  ended = false;
  if (m_engine == nullptr) return ERROR_INVALID_DATA;
  uint8_t* next = output;
  uint32_t room = capacity;
  while (room != 0) {
    if (m_inputSize == 0 && !m_inputDone) {
      const uint8_t* data = nullptr;
      size_t size = 0;
      const uint32_t code = m_source(data, size);
      if (code != 0) return code;
      m_inputDone = size == 0;
      m_input = data;
      m_inputSize = static_cast<uint32_t>(size);
    }
    const InflateEngine::Step step = m_engine->run(m_input, m_inputSize, next, room);
    produced = capacity - room;
    if (step == InflateEngine::Step::kDamaged) return ERROR_INVALID_DATA;
    // Running out of input is the end of a truncated stream, not an error.
    if (step == InflateEngine::Step::kEnd || (m_inputSize == 0 && m_inputDone && room != 0)) {
      ended = true;
      return 0;
    }
  }
  return 0;
}

RawInflater::Source memory_source(const uint8_t* data, size_t size) {
  auto handedOut = std::make_shared<size_t>(0);
  return [data, size, handedOut](const uint8_t*& piece, size_t& pieceSize) {
    // Both engines count input in 32-bit units.
    pieceSize = std::min<size_t>(size - *handedOut, UINT_MAX);
    piece = data + *handedOut;
    *handedOut += pieceSize;
    return 0u;
  };
}
