// Helpers of the kit tests: container bytes written field by field, and a
// scratch directory that is also the reader's temporary directory and checks
// that a test leaves no file open. Test thread only.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kit/install_data.h"
#include "kit/lz_compressor.h"
#include "support/directory_names.h"
#include "support/faulty_file_system.h"
#include "support/file_contents.h"
#include "support/scratch_directory.h"

// The program's reader, over the layer that fails what a FileFaults asks for.
using Reader = config::InstallData<BasicLZCompressor<FaultyFileSystem>, FaultyFileSystem>;
using Entry = config::FileData<FaultyFileSystem>;

// Container fields: a little-endian number, a counted UTF-16LE text, and a
// record (its size word, the fields, `padding` zeros).
std::string u32(uint32_t value);
std::string text(const std::u16string& value);
std::string record(const std::string& fields, uint32_t padding = 0);
std::string file_fields(const std::u16string& name, uint32_t offset, uint32_t size,
                        _FILETIME time = {0, 0});
// A multi-language container with one "en" product and the entries (name,
// content), their data one after the other.
std::string simple_container(const std::vector<std::pair<std::u16string, std::string>>& entries);
// A stored deflate block, not the last one, holding `bytes` (below 64 KiB):
// compressed data whose end or damage lies exactly where a test wants it.
std::string stored_block(const std::string& bytes);

class KitTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string path(const std::string& name) const { return m_scratch / name; }
  WideString wpath(const std::string& name) const { return widen_lib(path(name)); }
  // Compresses `container` into the kit file `name`; returns its path.
  std::string write_kit(const std::string& container, const std::string& name = "kit.pkd");
  uint32_t open(Reader& reader, const std::string& container, const std::string& name = "kit.pkd") {
    return reader.open(widen_lib(write_kit(container, name)));
  }
  // The reader's temporary files left now.
  std::vector<std::string> temp_files() const { return directory_names(path("tmp")); }

 private:
  ScratchDirectory m_scratch{"kit_test."};
  size_t m_openFiles = 0;
};
