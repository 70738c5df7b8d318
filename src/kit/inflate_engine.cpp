#include "kit/inflate_engine.h"

#include <isa-l/igzip_lib.h>
#include <zlib.h>

namespace {

// Runs one call of `inflate` on `state`, a z_stream or an inflate_state (their
// buffer fields have the same names), over the caller's buffers, which it
// moves on past what was used; returns the call's result.
template <class State, class Inflate>
int run_over(State& state, Inflate inflate, const uint8_t*& input, uint32_t& inputSize,
             uint8_t*& output, uint32_t& outputSize) {
  state.next_in = const_cast<uint8_t*>(input);
  state.avail_in = inputSize;
  state.next_out = output;
  state.avail_out = outputSize;
  const int result = inflate(state);
  input = state.next_in;
  inputSize = state.avail_in;
  output = state.next_out;
  outputSize = state.avail_out;
  return result;
}

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
    const int result = run_over(
        m_stream, [](z_stream& stream) { return inflate(&stream, Z_NO_FLUSH); }, input, inputSize,
        output, outputSize);
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
    const int result = run_over(
        m_state, [](inflate_state& state) { return isal_inflate(&state); }, input, inputSize,
        output, outputSize);
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
