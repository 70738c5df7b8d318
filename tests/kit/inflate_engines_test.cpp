// ISA-L against zlib, the reference: the same bytes from every sound stream,
// fed whole or in small pieces, and the same verdict on cut or damaged ones;
// the check in pieces on two threads never judging otherwise.
#include <zlib.h>

#include <cstring>
#include <random>

#include "kit/piecewise_check.h"
#include "kit/raw_inflater.h"
#include "kit_test_support.h"

namespace {

// The code and the bytes of `stream` decompressed, handed out in pieces of at most `piece` bytes.
std::pair<uint32_t, std::string> decode(const std::string& stream, InflateEngineKind kind,
                                        size_t piece) {
  size_t handedOut = 0;
  RawInflater inflater(
      [&](const uint8_t*& data, size_t& size) {
        size = std::min(piece, stream.size() - handedOut);
        data = reinterpret_cast<const uint8_t*>(stream.data()) + handedOut;
        handedOut += size;
        return 0u;
      },
      kind);
  uint32_t code = 0;
  std::string bytes, block(65536, '\0');
  for (bool ended = false; !ended && code == 0;) {
    uint32_t produced = 0;
    code = inflater.inflateInto(reinterpret_cast<uint8_t*>(block.data()),
                                static_cast<uint32_t>(block.size()), produced, ended);
    bytes.append(block, 0, produced);
  }
  return {code, bytes};
}

class InflateEngines : public KitTest {};

TEST_F(InflateEngines, GiveTheSameBytesAndTheSameVerdicts) {
  std::mt19937 random(11);
  std::string text, noise(300000, '\0');
  for (int i = 0; i < 40000; ++i) text += "<item id=\"" + std::to_string(random() % 997) + "\"/>\n";
  for (char& byte : noise) byte = static_cast<char>(random());
  std::vector<std::string> streams = {stored_block("stored", true) + "after the end"};
  for (const std::string& content : {text, noise, std::string(3 << 20, '\0'), std::string()}) {
    for (const int level : {0, 1, 9}) streams.push_back(read_file(write_kit(content, "s", level)));
  }
  int damaged = 0;
  for (const std::string& sound : streams) {
    const auto [referenceCode, reference] = decode(sound, InflateEngineKind::kZlib, sound.size());
    ASSERT_EQ(referenceCode, 0u);
    // Small streams are also fed in pieces of 7 bytes, and damaged.
    const bool small = sound.size() < 400000;
    for (const size_t piece : {size_t{1} << 30, small ? size_t{7} : size_t{1} << 20}) {
      const auto [code, bytes] = decode(sound, InflateEngineKind::kIsal, piece);
      EXPECT_EQ(code, 0u);
      EXPECT_TRUE(bytes == reference) << sound.size() << " bytes in pieces of " << piece;
    }
    // Cut, and changed in one byte, at positions spread over the stream.
    for (size_t at = 0; small && at < sound.size(); at += 1 + sound.size() / 40) {
      std::string changed = sound;
      changed[at] = static_cast<char>(changed[at] ^ (1 << (at % 8)));
      for (const std::string& variant : {sound.substr(0, at), changed}) {
        const auto [expectedCode, expected] = decode(variant, InflateEngineKind::kZlib, 1 << 20);
        const auto [code, bytes] = decode(variant, InflateEngineKind::kIsal, 1 << 20);
        EXPECT_EQ(code, expectedCode) << "at " << at << " of " << sound.size();
        // The same bytes up to the shorter output: ISA-L may find damage a little later.
        const size_t common = std::min(bytes.size(), expected.size());
        EXPECT_TRUE(expectedCode == 0 || bytes.compare(0, common, expected, 0, common) == 0) << at;
        damaged += expectedCode != 0;
      }
    }
  }
  EXPECT_GT(damaged, 10);
}

// `data` deflated with `flush` after every `interval` bytes.
std::string deflate_flushed(const std::string& data, int flush, size_t interval) {
  z_stream stream{};
  EXPECT_EQ(deflateInit2(&stream, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string out(data.size() + data.size() / 8 + 4096, '\0');
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  for (size_t at = 0; at < data.size() || at == 0; at += interval) {
    const size_t size = std::min(interval, data.size() - at);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + at));
    stream.avail_in = static_cast<uInt>(size);
    deflate(&stream, at + size >= data.size() ? Z_FINISH : flush);
  }
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

// The check in pieces of `stream`, cut into pieces of `pieceSize`, whose reads fail from
// `failFrom` on, told to stop at once with `stop`.
PiecewiseVerdict check(const std::string& stream, uint64_t pieceSize, uint64_t failFrom = ~0ull,
                       bool stop = false) {
  return check_in_pieces(
      [&](uint8_t* buffer, uint32_t count, uint64_t offset, uint32_t& got) {
        if (offset + count > failFrom) return uint32_t{ERROR_SHARING_VIOLATION};
        got = static_cast<uint32_t>(std::min<uint64_t>(count, stream.size() - offset));
        std::memcpy(buffer, stream.data() + offset, got);
        return 0u;
      },
      stream.size(), [stop] { return !stop; }, pieceSize);
}

TEST_F(InflateEngines, PiecesDecideOnlyWhatTheReferenceDecodesAndSplitAtFullFlushes) {
  std::mt19937 random(5);
  std::string text;
  while (text.size() < 600000) text += "<row n=\"" + std::to_string(random() % 5000) + "\"/>\n";
  const std::string fullFlushes = deflate_flushed(text, Z_FULL_FLUSH, 8192);
  // A stored block whose length and its complement disagree, at a sync point half-way.
  std::string damaged = fullFlushes;
  damaged.insert(damaged.find(std::string("\0\0\xff\xff", 4), damaged.size() / 2) + 4,
                 std::string("\0\x05\0\0\0", 5));
  // A marker inside stored data, followed there by a whole stream of its own: the piece that
  // ends at it ends inside a block, and must not make the next one count.
  const std::string inner = deflate_flushed("a stream inside stored data", Z_FINISH, 1 << 20);
  const std::string marker("\0\0\xff\xff", 4);
  const std::string stored = std::string(5000, 'x') + marker + inner + "tail";
  const std::string kitFile = read_file(write_kit(text + text + text + text, "writer.pkd", 9));
  struct Case {
    std::string label, stream;
    uint64_t pieceSize;
    bool decided;
    uint64_t minimumPieces;
  } cases[] = {
      {"full flushes", fullFlushes, 4096, true, 10},
      {"the kit writer's sync points", kitFile, 65536, true, 2},
      {"no flush: one piece", deflate_flushed(text, Z_NO_FLUSH, 8192), 4096, true, 1},
      {"sync flushes reach back", deflate_flushed(text, Z_SYNC_FLUSH, 8192), 4096, false, 0},
      {"cut short", fullFlushes.substr(0, fullFlushes.size() * 2 / 3), 4096, true, 10},
      {"damaged", damaged, 4096, false, 0},
      {"marker in stored data", stored_block(stored) + stored_block("end", true), 4096, false, 0},
      {"bytes after the end", fullFlushes + marker + "trailing", 4096, true, 10},
      {"empty", "", 4096, true, 0},
  };
  for (const Case& c : cases) {
    const auto [code, bytes] = decode(c.stream, InflateEngineKind::kZlib, 1 << 20);
    const PiecewiseVerdict verdict = check(c.stream, c.pieceSize);
    EXPECT_EQ(verdict.decided, c.decided) << c.label;
    EXPECT_FALSE(verdict.stopped) << c.label;
    if (verdict.decided) {
      EXPECT_EQ(code, 0u) << c.label;
      EXPECT_EQ(verdict.length, bytes.size()) << c.label;
      EXPECT_GE(verdict.pieces, c.minimumPieces) << c.label;
    }
  }
  // A read error leaves the verdict open; a stop asked for at the first question is told, on
  // two threads and on one (a single piece, decoded in one call).
  EXPECT_FALSE(check(fullFlushes, 4096, fullFlushes.size() / 2).decided);
  for (const uint64_t pieceSize : {uint64_t{4096}, uint64_t{1} << 30}) {
    const PiecewiseVerdict stopped = check(fullFlushes, pieceSize, ~0ull, true);
    EXPECT_TRUE(stopped.stopped && !stopped.decided) << pieceSize;
  }
}

}  // namespace
