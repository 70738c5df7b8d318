#include "kit/kit_file_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/last_error.h"

namespace {

// Large pieces keep the reads few; the kit is read once, front to back.
constexpr size_t kPieceSize = 0x100000;

}  // namespace

KitFileReader::KitFileReader(HANDLE file, std::function<void(HANDLE)> close)
    : m_file(file), m_close(std::move(close)), m_buffer(new uint8_t[kPieceSize]) {}

KitFileReader::~KitFileReader() { m_close(m_file); }

uint32_t KitFileReader::next(const uint8_t*& data, size_t& size) {
  // A handle carries the file descriptor.
  const int descriptor = static_cast<int>(reinterpret_cast<intptr_t>(m_file));
  ssize_t got;
  do {
    got = ::pread64(descriptor, m_buffer.get(), kPieceSize, static_cast<off64_t>(m_position));
  } while (got < 0 && errno == EINTR);
  if (got < 0) return translateErrNo(errno);
  m_position += static_cast<uint64_t>(got);
  data = m_buffer.get();
  size = static_cast<size_t>(got);
  return 0;
}
