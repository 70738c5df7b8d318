// Decompression of kit files into containers.
#include <unistd.h>

#include "injecting_file_system.h"
#include "kit_test_support.h"
#include "support/file_contents.h"

namespace {

class Decompression : public ScratchTest {};

std::string sample(size_t size) {
  std::string text;
  for (size_t i = 0; text.size() < size; ++i) text += "line " + std::to_string(i * i % 9973) + "\n";
  text.resize(size);
  return text;
}

TEST_F(Decompression, EmptyInputsGiveAnEmptyContainerThatDoesNotOpen) {
  const LZCompressor compressor;
  write_file(path("empty.pkd"), "");
  for (const std::string& kit : {path("empty.pkd"), write_kit("")}) {
    SCOPED_TRACE(kit);
    write_file(path("out"), "old content");
    EXPECT_EQ(compressor.unpack(widen_lib(kit), wpath("out")), 0u);
    EXPECT_EQ(read_file(path("out")), "");
    Reader reader;
    EXPECT_EQ(reader.open(widen_lib(kit)), ERROR_INVALID_DATA);
    EXPECT_TRUE(temp_files().empty());
  }
}

TEST_F(Decompression, TruncatedStreamYieldsWhatWasDecodedAndCorruptOneFails) {
  const std::string content = sample(3 * kBufferSize + 123);
  const std::string kit = read_file(write_kit(content));
  const LZCompressor compressor;

  // Whole stream, with bytes after its end that are ignored.
  write_file(path("whole.pkd"), kit + "trailing garbage");
  ASSERT_EQ(compressor.unpack(wpath("whole.pkd"), wpath("whole")), 0u);
  EXPECT_EQ(read_file(path("whole")), content);

  write_file(path("cut.pkd"), kit.substr(0, kit.size() / 2));
  ASSERT_EQ(compressor.unpack(wpath("cut.pkd"), wpath("cut")), 0u);
  const std::string decoded = read_file(path("cut"));
  EXPECT_GT(decoded.size(), 0u);
  EXPECT_LT(decoded.size(), content.size());
  EXPECT_EQ(decoded, content.substr(0, decoded.size()));

  // Block type 3 does not exist.
  write_file(path("corrupt.pkd"), std::string("\xff\xff\xff\xff", 4) + kit);
  EXPECT_EQ(compressor.unpack(wpath("corrupt.pkd"), wpath("corrupt")), ERROR_INVALID_DATA);
  Reader reader;
  EXPECT_EQ(reader.open(wpath("corrupt.pkd")), ERROR_INVALID_DATA);
  EXPECT_TRUE(temp_files().empty());
}

TEST_F(Decompression, WriteFailureOfTheContainerIsReported) {
  // Entry b copied first leaves entry a behind the stream: a needs the
  // container, whose writes fail.
  const std::string kit =
      write_kit(simple_container({{u"a", sample(5 * kBufferSize / 4)}, {u"b", "b"}}));
  using FailingReader =
      config::InstallData<BasicLZCompressor<InjectingFileSystem>, InjectingFileSystem>;
  for (int failing : {0, 1, -1}) {
    FailingReader reader;
    ASSERT_EQ(reader.open(widen_lib(kit)), 0u);
    ASSERT_EQ(reader.copy(1, wpath("b")), 0u);
    InjectingFileSystem::reset();
    InjectingFileSystem::failingWrite = failing;
    const uint32_t code = reader.copy(0, wpath("a"));
    if (failing < 0) {
      EXPECT_EQ(code, 0u);
      EXPECT_EQ(read_file(path("a")), sample(5 * kBufferSize / 4));
      // Output leaves in blocks of at most kBufferSize bytes.
      for (uint32_t size : InjectingFileSystem::writeSizes) EXPECT_LE(size, kBufferSize);
      EXPECT_EQ(temp_files().size(), 1u);
    } else {
      EXPECT_EQ(code, ERROR_DISK_FULL);
      EXPECT_EQ(InjectingFileSystem::writeSizes.size(), static_cast<size_t>(failing + 1));
      EXPECT_TRUE(temp_files().empty());
      // The kit stays open: entry b streams from its start again.
      EXPECT_EQ(reader.copy(1, wpath("b")), 0u);
      EXPECT_EQ(read_file(path("b")), "b");
    }
  }
}

// Whether the process has `name` mapped, or open as a file descriptor.
bool is_mapped(const std::string& name) {
  return read_file("/proc/self/maps").find(name) != std::string::npos;
}
bool is_open(const std::string& name) {
  for (const std::string& descriptor : list_directory("/proc/self/fd")) {
    char target[4096];
    const ssize_t length =
        readlink(("/proc/self/fd/" + descriptor).c_str(), target, sizeof target - 1);
    if (length > 0 && std::string(target, length).find(name) != std::string::npos) return true;
  }
  return false;
}

TEST_F(Decompression, KitIsReleasedAfterUseAndNeverMappedWhileStreaming) {
  const std::string kit = write_kit(sample(100000), "mapped kit.pkd");
  ASSERT_EQ(LZCompressor().unpack(widen_lib(kit), wpath("out")), 0u);
  EXPECT_FALSE(is_mapped("mapped kit.pkd"));
  EXPECT_FALSE(is_open("mapped kit.pkd"));
  {
    const std::string readable = write_kit(simple_container({{u"a", "1"}}), "mapped kit.pkd");
    Reader reader;
    ASSERT_EQ(reader.open(widen_lib(readable)), 0u);
    EXPECT_FALSE(is_mapped("mapped kit.pkd"));
    EXPECT_TRUE(is_open("mapped kit.pkd"));
  }
  EXPECT_FALSE(is_open("mapped kit.pkd"));
}

TEST_F(Decompression, PackNeverTouchesItsFiles) {
  write_file(path("source"), "data");
  EXPECT_EQ(LZCompressor().pack(wpath("source"), wpath("target")), 1u);
  EXPECT_EQ(read_file(path("source")), "data");
  EXPECT_EQ(list_directory(path("")), (std::vector<std::string>{"source", "tmp"}));
}

}  // namespace
