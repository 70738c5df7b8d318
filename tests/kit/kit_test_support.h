// Helpers of the kit tests: container bytes written field by field, and a scratch directory
// that is the reader's temporary directory and checks that no file is left open. Test thread.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "kit/deflate_writer.h"
#include "kit/install_data.h"
#include "kit/lz_compressor.h"
#include "support/faulty_file_system.h"
#include "support/scratch_directory.h"
#include "support/test_files.h"

// The program's reader, over the layer that fails what a FileFaults asks for.
using Reader = config::InstallData<BasicLZCompressor<FaultyFileSystem>, FaultyFileSystem>;

// Container fields: a little-endian number, a counted UTF-16LE text, a record
// (size word, fields, `padding` zeros), a file record's fields.
inline std::string u32(uint32_t value) {
  return {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}
inline std::string text(const std::u16string& value) {
  std::string bytes = u32(static_cast<uint32_t>(value.size()));
  for (char16_t unit : value) bytes += {char(unit & 0xFF), char(unit >> 8)};
  return bytes;
}
inline std::string record(const std::string& fields, uint32_t padding = 0) {
  return u32(uint32_t(fields.size() + 4 + padding)) + fields + std::string(padding, '\0');
}
inline std::string file_fields(const std::u16string& name, uint32_t offset, uint32_t size,
                               _FILETIME time = {0, 0}) {
  return text(name) + u32(time.dwLowDateTime) + u32(time.dwHighDateTime) + u32(offset) + u32(size);
}

// A multi-language container: one "en" product, the entries and their data in order.
inline std::string simple_container(
    const std::vector<std::pair<std::u16string, std::string>>& entries) {
  std::string data, head = u32(1) + u32(1) + record(text(u"en") + text(u"T") + text(u"V") + u32(0));
  head += u32(uint32_t(entries.size()));
  for (const auto& [name, content] : entries) {
    head += record(file_fields(name, uint32_t(data.size()), uint32_t(content.size())));
    data += content;
  }
  return head + data;
}

// A stored deflate block of `bytes` (below 64 KiB), the stream's last or not.
inline std::string stored_block(const std::string& bytes, bool last = false) {
  const auto length = static_cast<uint16_t>(bytes.size());
  return std::string(1, char(last)) + u32(length | uint32_t(uint16_t(~length)) << 16) + bytes;
}

class KitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(mkdir(path("tmp").c_str(), 0700), 0);
    m_openFiles = directory_names("/proc/self/fd").size();
  }
  void TearDown() override {
    EXPECT_EQ(directory_names("/proc/self/fd").size(), m_openFiles) << "a file was left open";
  }

  std::string path(const std::string& name) const { return m_scratch / name; }
  WideString wpath(const std::string& name) const { return widen_lib(path(name)); }
  // Compresses `container` into the kit file `name`; returns its path.
  std::string write_kit(const std::string& container, const std::string& name = "kit.pkd",
                        int level = 6) {
    EXPECT_EQ(deflate_to_file(container, path(name), level), "");
    return path(name);
  }
  // The reader's temporary files left now.
  std::vector<std::string> temp_files() const { return directory_names(path("tmp")); }

 private:
  ScratchDirectory m_scratch{"kit_test."};
  ScopedEnvironment m_temporaryDirectory{"TMPDIR", path("tmp").c_str()};
  size_t m_openFiles = 0;
};
