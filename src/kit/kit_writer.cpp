#include "kit/kit_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "kit/deflate_writer.h"

namespace {

constexpr size_t kChunkSize = 1 << 20;

class Descriptor {
 public:
  explicit Descriptor(int value) : m_value(value) {}
  ~Descriptor() {
    if (m_value >= 0) ::close(m_value);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return m_value; }
  // Closes now and reports whether that succeeded.
  bool close() {
    const int value = m_value;
    m_value = -1;
    return ::close(value) == 0;
  }

 private:
  int m_value;
};

std::string copy_entry(const KitEntry& entry, DeflateWriter& writer, unsigned char* chunk,
                       uint64_t& done, uint64_t total, const KitProgress& progress) {
  Descriptor source(::open(entry.sourcePath.c_str(), O_RDONLY | O_CLOEXEC));
  if (source.get() < 0) return "cannot open " + entry.sourcePath + ": " + std::strerror(errno);
  uint64_t left = entry.size;
  for (;;) {
    // One byte more than expected reveals a file that grew since the scan.
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(left + 1, kChunkSize));
    const ssize_t got = ::read(source.get(), chunk, wanted);
    if (got < 0) {
      if (errno == EINTR) continue;
      return "cannot read " + entry.sourcePath + ": " + std::strerror(errno);
    }
    if (got == 0) break;
    if (static_cast<uint64_t>(got) > left) break;
    std::string error = writer.write(chunk, static_cast<size_t>(got));
    if (!error.empty()) return error;
    left -= static_cast<uint64_t>(got);
    done += static_cast<uint64_t>(got);
    if (progress) progress(done, total);
  }
  if (left != 0 || ::lseek(source.get(), 0, SEEK_CUR) != static_cast<off_t>(entry.size)) {
    return "file changed while packing: " + entry.sourcePath;
  }
  return std::string();
}

std::string write_content(const KitLayout& layout, const std::string& head, int descriptor,
                          int level, const KitProgress& progress) {
  DeflateWriter writer(descriptor, level);
  std::string error = writer.write(head.data(), head.size());
  uint64_t total = 0;
  for (const KitEntry& entry : layout.entries) total += entry.size;
  uint64_t done = 0;
  std::unique_ptr<unsigned char[]> chunk(new unsigned char[kChunkSize]);
  for (const KitEntry& entry : layout.entries) {
    if (!error.empty()) return error;
    error = copy_entry(entry, writer, chunk.get(), done, total, progress);
  }
  return error.empty() ? writer.finish() : error;
}

}  // namespace

std::string write_kit(const KitLayout& layout, const std::string& kitPath, int level,
                      const KitProgress& progress) {
  std::string head;
  std::string error = encode_container_head(layout, head);
  if (!error.empty()) return error;
  Descriptor kit(::open(kitPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (kit.get() < 0) return "cannot create " + kitPath + ": " + std::strerror(errno);
  error = write_content(layout, head, kit.get(), level, progress);
  if (!kit.close() && error.empty())
    error = "cannot write " + kitPath + ": " + std::strerror(errno);
  if (!error.empty()) ::unlink(kitPath.c_str());
  return error;
}
