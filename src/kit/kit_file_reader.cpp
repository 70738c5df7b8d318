#include "kit/kit_file_reader.h"

#include <cstdint>

namespace {

// Large pieces keep the reads few; the kit is read once, front to back.
constexpr size_t kPieceSize = 0x100000;

}  // namespace

KitFileReader::KitFileReader(HANDLE file, ReadAt read, std::function<void(HANDLE)> close,
                             std::shared_ptr<KitDigest> digest)
    : m_file(file),
      m_read(read),
      m_close(std::move(close)),
      m_buffer(new uint8_t[kPieceSize]),
      m_digest(std::move(digest)) {}

KitFileReader::~KitFileReader() { m_close(m_file); }

uint32_t KitFileReader::next(const uint8_t*& data, size_t& size) {
  uint32_t got = 0;
  const uint32_t code = nextInto(m_buffer.get(), kPieceSize, got);
  data = m_buffer.get();
  size = got;
  return code;
}

uint32_t KitFileReader::nextInto(uint8_t* buffer, uint32_t capacity, uint32_t& size) {
  unsigned int got = 0;
  size = 0;
  const uint32_t code = m_read(m_file, buffer, capacity, m_position, &got);
  if (code != 0) return code;
  m_position += got;
  size = got;
  if (m_digest != nullptr) m_digest->update(buffer, size);
  return 0;
}

uint32_t KitFileReader::readToEnd(const std::atomic<bool>* stop, std::atomic<uint64_t>* read) {
  for (;;) {
    if (stop != nullptr && *stop) return ERROR_CANCELLED;
    const uint8_t* data = nullptr;
    size_t size = 0;
    const uint32_t code = next(data, size);
    if (code != 0 || size == 0) return code;
    if (read != nullptr) *read += size;
  }
}
