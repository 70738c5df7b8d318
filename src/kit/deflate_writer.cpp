#include "kit/deflate_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/write_all.h"

namespace {

constexpr size_t kOutputSize = 1 << 20;

}  // namespace

DeflateWriter::DeflateWriter(int descriptor, int level)
    : m_descriptor(descriptor), m_output(new unsigned char[kOutputSize]) {
  m_ready = deflateInit2(&m_stream, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) == Z_OK;
}

DeflateWriter::~DeflateWriter() {
  if (m_ready) deflateEnd(&m_stream);
}

std::string DeflateWriter::write(const void* data, size_t size) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const size_t slice = std::min(size, kSyncInterval - m_sinceSync);
    m_stream.next_in = const_cast<unsigned char*>(bytes);
    m_stream.avail_in = static_cast<uInt>(slice);
    m_sinceSync += slice;
    const bool sync = m_sinceSync == kSyncInterval;
    if (sync) m_sinceSync = 0;
    std::string error = run(sync ? Z_FULL_FLUSH : Z_NO_FLUSH);
    if (!error.empty()) return error;
    bytes += slice;
    size -= slice;
  }
  return std::string();
}

std::string DeflateWriter::finish() { return run(Z_FINISH); }

std::string DeflateWriter::run(int flush) {
  if (!m_ready) return "cannot initialise the compressor";
  for (;;) {
    m_stream.next_out = m_output.get();
    m_stream.avail_out = kOutputSize;
    const int result = deflate(&m_stream, flush);
    if (result == Z_STREAM_ERROR) return "compressor failure";
    if (!write_all(m_descriptor, m_output.get(), kOutputSize - m_stream.avail_out)) {
      return std::string("cannot write the kit: ") + std::strerror(errno);
    }
    if (flush == Z_FINISH) {
      if (result == Z_STREAM_END) return std::string();
    } else if (m_stream.avail_in == 0 && (flush == Z_NO_FLUSH || m_stream.avail_out != 0)) {
      // A flush is complete once it has left room in the output.
      return std::string();
    }
  }
}

std::string deflate_to_file(const std::string& data, const std::string& path, int level) {
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (descriptor < 0) return "cannot create " + path + ": " + std::strerror(errno);
  std::string error;
  {
    DeflateWriter writer(descriptor, level);
    error = writer.write(data.data(), data.size());
    if (error.empty()) error = writer.finish();
  }
  if (::close(descriptor) != 0 && error.empty()) error = std::strerror(errno);
  return error;
}
