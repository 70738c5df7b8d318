// ISA-L against zlib, the reference: the same bytes from every sound stream,
// fed whole or in small pieces, and the same verdict on cut or damaged ones.
#include <random>

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

}  // namespace
