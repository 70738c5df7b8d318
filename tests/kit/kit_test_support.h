// Helpers of the kit tests: a builder of container bytes, a scratch
// directory that is also the temporary directory of the reader, and small
// file utilities. Test thread only.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kit/install_data.h"
#include "kit/lz_compressor.h"
#include "platform/file_system.h"
#include "support/directory_names.h"
#include "support/scratch_directory.h"

using Reader = config::InstallData<LZCompressor, FileSystem>;

// Little-endian container bytes, field by field.
class Bytes {
 public:
  Bytes& number(uint32_t value);
  Bytes& text(const std::u16string& value);
  // A record: its size (fields + 4 + `padding`), the fields, `padding` zeros.
  Bytes& record(const Bytes& fields, uint32_t padding = 0);
  Bytes& raw(const std::string& value);
  const std::string& str() const { return m_bytes; }
  size_t size() const { return m_bytes.size(); }

 private:
  std::string m_bytes;
};

// The fields of a file record.
Bytes file_fields(const std::u16string& name, uint32_t offset, uint32_t size,
                  _FILETIME time = {0, 0});
// A multi-language container with one "en" product and the given entries
// (name, content), contents stored one after the other.
std::string simple_container(const std::vector<std::pair<std::u16string, std::string>>& entries);

// A fresh directory, removed with everything in it at the end. TMPDIR points
// at its "tmp" subdirectory while it lives, so the reader's temporary
// containers land there.
class ScratchTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string path(const std::string& name) const { return m_scratch / name; }
  WideString wpath(const std::string& name) const { return widen_lib(path(name)); }
  // Compresses `container` into a kit file and returns its path.
  std::string write_kit(const std::string& container, const std::string& name = "kit.pkd");
  // Names of the files left in the temporary directory.
  std::vector<std::string> temp_files() const;

 private:
  ScratchDirectory m_scratch{"kit_test."};
  std::string m_savedTmpDir;
  bool m_hadTmpDir = false;
};

// Modification time in whole seconds.
std::vector<std::string> list_directory(const std::string& path);
