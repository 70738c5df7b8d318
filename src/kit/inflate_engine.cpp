#include "kit/inflate_engine.h"

#include <isa-l/igzip_lib.h>
#include <zlib.h>

namespace {

class ZlibEngine : public InflateEngine {
 public:
  ZlibEngine() {
    // Negative window bits: raw deflate.
    m_ready = inflateInit2(&m_stream, -15) == Z_OK;
  }
  ~ZlibEngine() override {
    if (m_ready) inflateEnd(&m_stream);
  }
  bool ready() const { return m_ready; }

  Step run(const uint8_t*& input, uint32_t& inputSize, uint8_t*& output,
           uint32_t& outputSize) override {
    m_stream.next_in = const_cast<Bytef*>(input);
    m_stream.avail_in = inputSize;
    m_stream.next_out = output;
    m_stream.avail_out = outputSize;
    const int result = inflate(&m_stream, Z_NO_FLUSH);
    input = m_stream.next_in;
    inputSize = m_stream.avail_in;
    output = m_stream.next_out;
    outputSize = m_stream.avail_out;
    // Z_STREAM_END (and Z_NEED_DICT, which raw streams cannot ask for) end
    // the stream; a buffer error only says that no progress was possible.
    if (result > 0) return Step::kEnd;
    return result == Z_OK || result == Z_BUF_ERROR ? Step::kGoOn : Step::kDamaged;
  }

 private:
  z_stream m_stream{};
  bool m_ready = false;
};

class IsalEngine : public InflateEngine {
 public:
  IsalEngine() {
    isal_inflate_init(&m_state);
    m_state.crc_flag = ISAL_DEFLATE;
  }

  Step run(const uint8_t*& input, uint32_t& inputSize, uint8_t*& output,
           uint32_t& outputSize) override {
    m_state.next_in = const_cast<uint8_t*>(input);
    m_state.avail_in = inputSize;
    m_state.next_out = output;
    m_state.avail_out = outputSize;
    const int result = isal_inflate(&m_state);
    input = m_state.next_in;
    inputSize = m_state.avail_in;
    output = m_state.next_out;
    outputSize = m_state.avail_out;
    if (result < 0) return Step::kDamaged;
    return m_state.block_state == ISAL_BLOCK_FINISH ? Step::kEnd : Step::kGoOn;
  }

 private:
  // Set up by isal_inflate_init; its large buffers need no clearing.
  inflate_state m_state;
};

}  // namespace

std::unique_ptr<InflateEngine> make_inflate_engine(InflateEngineKind kind) {
  if (kind == InflateEngineKind::kIsal) return std::make_unique<IsalEngine>();
  auto engine = std::make_unique<ZlibEngine>();
  return engine->ready() ? std::move(engine) : nullptr;
}
