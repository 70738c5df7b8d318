#include "kit/record_cursor.h"

#include "platform/win32_types.h"

uint32_t read_le32(const uint8_t* data) {
  return static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
         static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
}

WideString read_utf16le(const uint8_t* data, size_t count) {
  WideString text(count, u'\0');
  for (size_t i = 0; i < count; ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }
  return text;
}

uint32_t RecordCursor::number() {
  if (m_size - m_used < 4) throw ERROR_INVALID_DATA;
  const uint32_t value = read_le32(m_data + m_used);
  m_used += 4;
  return value;
}

WideString RecordCursor::text() {
  const uint64_t units = number();
  if ((m_size - m_used) / 2 < units) throw ERROR_INVALID_DATA;
  WideString value = read_utf16le(m_data + m_used, static_cast<size_t>(units));
  m_used += static_cast<size_t>(units) * 2;
  return value;
}
