#include "config/in_place_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/write_all.h"

namespace {

// Reads from the start of the descriptor to its end; false with errno set.
bool read_whole(int descriptor, std::string& content) {
  char buffer[16 * 1024];
  for (off_t offset = 0;;) {
    const ssize_t got = pread(descriptor, buffer, sizeof buffer, offset);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.append(buffer, static_cast<size_t>(got));
    offset += got;
  }
}

// Writes `content` from the start of the file, cuts the file to its length and
// flushes it.
bool overwrite(int descriptor, const std::string& content) {
  return lseek(descriptor, 0, SEEK_SET) == 0 &&
         write_all(descriptor, content.data(), content.size()) &&
         ftruncate(descriptor, static_cast<off_t>(content.size())) == 0 && fsync(descriptor) == 0;
}

}  // namespace

InPlaceFile::InPlaceFile(const std::string& path) : m_path(path) {}

InPlaceFile::~InPlaceFile() {
  if (m_descriptor >= 0) close(m_descriptor);
}

bool InPlaceFile::open() {
  if (m_descriptor >= 0) return false;
  // No O_CREAT: only the existing file is written. O_NONBLOCK keeps a device
  // or pipe put in its place from holding up the open; it is refused below.
  m_descriptor = ::open(m_path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (m_descriptor < 0) return false;
  struct stat status;
  m_old.clear();
  if (fstat(m_descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
      read_whole(m_descriptor, m_old)) {
    return true;
  }
  close(m_descriptor);
  m_descriptor = -1;
  return false;
}

bool InPlaceFile::rewrite(const std::string& content) {
  if (m_descriptor < 0) return false;
  if (overwrite(m_descriptor, content)) return true;
  // The old bytes fit in the blocks the file already had, so they usually go
  // back even on a full disk.
  overwrite(m_descriptor, m_old);
  return false;
}
