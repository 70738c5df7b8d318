// ISA-L against zlib, the reference: the same bytes from every sound stream,
// fed whole or in small pieces, and the same verdict on cut or damaged ones.
#include <random>

#include "kit/kit_tree.h"
#include "kit/kit_writer.h"
#include "kit/raw_inflater.h"
#include "kit_test_support.h"

namespace {

struct Decoded {
  uint32_t code;
  std::string bytes;
};

// Decompresses `stream` handed out in pieces of at most `piece` bytes.
Decoded decode(const std::string& stream, InflateEngineKind kind, size_t piece) {
  size_t handedOut = 0;
  RawInflater inflater(
      [&](const uint8_t*& data, size_t& size) {
        size = std::min(piece, stream.size() - handedOut);
        data = reinterpret_cast<const uint8_t*>(stream.data()) + handedOut;
        handedOut += size;
        return 0u;
      },
      kind);
  Decoded decoded{0, ""};
  std::string block(65536, '\0');
  for (bool ended = false; !ended && decoded.code == 0;) {
    uint32_t produced = 0;
    decoded.code = inflater.inflateInto(reinterpret_cast<uint8_t*>(block.data()),
                                        static_cast<uint32_t>(block.size()), produced, ended);
    decoded.bytes.append(block, 0, produced);
  }
  return decoded;
}

class InflateEngines : public KitTest {};

TEST_F(InflateEngines, GiveTheSameBytesAndTheSameVerdicts) {
  std::mt19937 random(11);
  std::string text, noise(300000, '\0');
  for (int i = 0; i < 40000; ++i) text += "<item id=\"" + std::to_string(random() % 997) + "\"/>\n";
  for (char& byte : noise) byte = static_cast<char>(random());
  KitLayout sample{false, {{u"en", u"Templates", u"Vendor", u"readme.html"}}, {}};
  ASSERT_EQ(scan_kit_tree(EXAMPLES_DIR "/templates", sample.entries), "");
  ASSERT_EQ(::write_kit(sample, path("sample.pkd"), 9, nullptr), "");
  std::vector<std::string> streams = {read_file(path("sample.pkd")),
                                      stored_block("stored", true) + "after the end"};
  for (const std::string& content : {text, noise, std::string(3 << 20, '\0'), std::string()}) {
    for (const int level : {0, 1, 9}) streams.push_back(read_file(write_kit(content, "s", level)));
  }
  int damaged = 0;
  for (const std::string& sound : streams) {
    const Decoded reference = decode(sound, InflateEngineKind::kZlib, sound.size() + 1);
    ASSERT_EQ(reference.code, 0u);
    // Small streams are also fed in pieces of 7 bytes, and damaged.
    const bool small = sound.size() < 400000;
    for (const size_t piece : {size_t{1} << 30, small ? size_t{7} : size_t{1} << 20}) {
      const Decoded fast = decode(sound, InflateEngineKind::kIsal, piece);
      EXPECT_EQ(fast.code, 0u);
      EXPECT_TRUE(fast.bytes == reference.bytes) << sound.size() << " bytes in pieces of " << piece;
    }
    // Cut, and changed in one byte, at positions spread over the stream.
    for (size_t at = 0; small && at < sound.size(); at += 1 + sound.size() / 40) {
      std::string changed = sound;
      changed[at] = static_cast<char>(changed[at] ^ (1 << (at % 8)));
      for (const std::string& variant : {sound.substr(0, at), changed}) {
        const Decoded expected = decode(variant, InflateEngineKind::kZlib, 1 << 20);
        const Decoded fast = decode(variant, InflateEngineKind::kIsal, 1 << 20);
        EXPECT_EQ(fast.code, expected.code) << "at " << at << " of " << sound.size();
        // Both decode the same bytes before damage, though ISA-L may find it a
        // little later. A cut, or a change that leaves a valid stream, may end
        // a few bytes apart: the kit's own checks judge what it yields.
        const size_t common = std::min(fast.bytes.size(), expected.bytes.size());
        EXPECT_TRUE(expected.code == 0 || fast.bytes.compare(0, common, expected.bytes, 0,
                                                             common) == 0) << at;
        damaged += expected.code != 0;
      }
    }
  }
  EXPECT_GT(damaged, 10);
}

}  // namespace
