#include "kit_test_support.h"

#include <sys/stat.h>

#include <cstdlib>

#include "kit/deflate_writer.h"

std::string u32(uint32_t value) {
  return {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}

std::string text(const std::u16string& value) {
  std::string bytes = u32(static_cast<uint32_t>(value.size()));
  for (char16_t unit : value) bytes += {char(unit & 0xFF), char(unit >> 8)};
  return bytes;
}

std::string record(const std::string& fields, uint32_t padding) {
  return u32(static_cast<uint32_t>(fields.size() + 4 + padding)) + fields +
         std::string(padding, '\0');
}

std::string file_fields(const std::u16string& name, uint32_t offset, uint32_t size,
                        _FILETIME time) {
  return text(name) + u32(time.dwLowDateTime) + u32(time.dwHighDateTime) + u32(offset) + u32(size);
}

std::string simple_container(const std::vector<std::pair<std::u16string, std::string>>& entries) {
  std::string head = u32(1) + u32(1) + record(text(u"en") + text(u"T") + text(u"V") + text(u""));
  head += u32(static_cast<uint32_t>(entries.size()));
  std::string data;
  for (const auto& [name, content] : entries) {
    head += record(file_fields(name, uint32_t(data.size()), uint32_t(content.size())));
    data += content;
  }
  return head + data;
}

std::string stored_block(const std::string& bytes) {
  const auto length = static_cast<uint16_t>(bytes.size());
  return std::string(1, '\0') + u32(length | uint32_t(uint16_t(~length)) << 16) + bytes;
}

void KitTest::SetUp() {
  ASSERT_EQ(mkdir(path("tmp").c_str(), 0700), 0);
  setenv("TMPDIR", path("tmp").c_str(), 1);
  m_openFiles = directory_names("/proc/self/fd").size();
}

void KitTest::TearDown() {
  EXPECT_EQ(directory_names("/proc/self/fd").size(), m_openFiles) << "a file was left open";
  unsetenv("TMPDIR");
}

std::string KitTest::write_kit(const std::string& container, const std::string& name) {
  EXPECT_EQ(deflate_to_file(container, path(name), 6), "");
  return path(name);
}
