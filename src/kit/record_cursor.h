// Reads the little-endian numbers and counted UTF-16LE strings of one kit
// record held in memory, refusing to reach past the record's end. Plain
// object; one thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/wide_string.h"

class RecordCursor {
 public:
  RecordCursor(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

  // Each throws ERROR_INVALID_DATA (as uint32_t) when the field does not fit
  // in what is left of the record.
  uint32_t number();
  WideString text();

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_used = 0;
};

// The 32-bit little-endian number at `data`.
uint32_t read_le32(const uint8_t* data);
// `count` UTF-16LE units starting at `data`.
WideString read_utf16le(const uint8_t* data, size_t count);
