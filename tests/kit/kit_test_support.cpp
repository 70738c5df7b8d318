#include "kit_test_support.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "kit/deflate_writer.h"

Bytes& Bytes::number(uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) m_bytes.push_back(static_cast<char>(value >> shift));
  return *this;
}

Bytes& Bytes::text(const std::u16string& value) {
  number(static_cast<uint32_t>(value.size()));
  for (char16_t unit : value) {
    m_bytes.push_back(static_cast<char>(unit & 0xFF));
    m_bytes.push_back(static_cast<char>(unit >> 8));
  }
  return *this;
}

Bytes& Bytes::record(const Bytes& fields, uint32_t padding) {
  number(static_cast<uint32_t>(fields.size() + 4 + padding));
  m_bytes += fields.str();
  m_bytes.append(padding, '\0');
  return *this;
}

Bytes& Bytes::raw(const std::string& value) {
  m_bytes += value;
  return *this;
}

Bytes file_fields(const std::u16string& name, uint32_t offset, uint32_t size, _FILETIME time) {
  return Bytes()
      .text(name)
      .number(time.dwLowDateTime)
      .number(time.dwHighDateTime)
      .number(offset)
      .number(size);
}

std::string simple_container(const std::vector<std::pair<std::u16string, std::string>>& entries) {
  Bytes bytes;
  bytes.number(1).number(1).record(Bytes().text(u"en").text(u"T").text(u"V").text(u""));
  bytes.number(static_cast<uint32_t>(entries.size()));
  std::string data;
  for (const auto& entry : entries) {
    bytes.record(file_fields(entry.first, static_cast<uint32_t>(data.size()),
                             static_cast<uint32_t>(entry.second.size())));
    data += entry.second;
  }
  return bytes.raw(data).str();
}

void ScratchTest::SetUp() {
  ASSERT_EQ(mkdir(path("tmp").c_str(), 0700), 0);
  const char* saved = getenv("TMPDIR");
  m_hadTmpDir = saved != nullptr;
  if (m_hadTmpDir) m_savedTmpDir = saved;
  setenv("TMPDIR", path("tmp").c_str(), 1);
}

void ScratchTest::TearDown() {
  if (m_hadTmpDir) {
    setenv("TMPDIR", m_savedTmpDir.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
}

std::string ScratchTest::write_kit(const std::string& container, const std::string& name) {
  const std::string kit = path(name);
  EXPECT_EQ(deflate_to_file(container, kit, 6), "");
  return kit;
}

std::vector<std::string> ScratchTest::temp_files() const { return list_directory(path("tmp")); }


std::vector<std::string> list_directory(const std::string& path) { return directory_names(path); }
