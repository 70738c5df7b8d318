#include "config/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/write_all.h"

namespace {

constexpr size_t kFlushThreshold = 64 * 1024;
constexpr int kMaxLinkHops = 40;
constexpr int kMaxNameAttempts = 100;
// 0666 less at least the mask 022; the umask may take away more.
constexpr mode_t kNewFileMode = 0666 & ~mode_t{022};

// The directory part of a path including its final "/", or "" for a bare name.
std::string directory_prefix(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool read_link(const std::string& path, std::string& target) {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
    if (length < 0) return false;
    if (static_cast<size_t>(length) < buffer.size()) {
      target.assign(buffer.data(), static_cast<size_t>(length));
      return true;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// Follows a chain of symbolic links to the path of the file it ends at (which
// need not exist); empty for a loop or an unreadable link.
std::string resolve_links(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat status;
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    std::string target;
    if (!read_link(path, target) || target.empty()) return std::string();
    path = target.front() == '/' ? target : directory_prefix(path) + target;
  }
  return std::string();
}

std::string unique_suffix(int attempt) {
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  char text[64];
  std::snprintf(text, sizeof text, ".%ld.%lx%x", static_cast<long>(getpid()),
                static_cast<unsigned long>(now.tv_nsec), static_cast<unsigned>(attempt));
  return text;
}

// Flushes the directory entry of a rename; a failure here loses nothing that
// the file system has not already made visible, so it is not reported.
void sync_directory(const std::string& directory) {
  const int descriptor =
      ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  fsync(descriptor);
  close(descriptor);
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& path) : m_target(resolve_links(path)) {}

ReplacingFile::~ReplacingFile() { discardTemporary(); }

bool ReplacingFile::open() {
  m_directoryRefused = false;
  if (m_target.empty() || m_target.back() == '/') return false;
  struct stat status;
  if (stat(m_target.c_str(), &status) != 0) {
    // A new file gets the bits that creating it in place would give, but never
    // write permission for group or others, whatever the umask: whoever could
    // write it could point the launcher at templates of their choosing.
    return createTemporary(kNewFileMode);
  }
  if (!S_ISREG(status.st_mode) || faccessat(AT_FDCWD, m_target.c_str(), W_OK, AT_EACCESS) != 0) {
    return false;
  }
  if (!createTemporary(S_IRUSR | S_IWUSR)) {
    m_directoryRefused = errno == EACCES || errno == EPERM || errno == EROFS;
    return false;
  }
  // Ownership first, as changing it may clear set-id bits. Only the super-user
  // may give a file away; otherwise the new file stays ours.
  const bool ownerKept = (status.st_uid == geteuid() && status.st_gid == getegid()) ||
                         fchown(m_descriptor, status.st_uid, status.st_gid) == 0 || errno == EPERM;
  if (!ownerKept || fchmod(m_descriptor, status.st_mode & 07777) != 0) {
    discardTemporary();
    return false;
  }
  return true;
}

bool ReplacingFile::createTemporary(mode_t mode) {
  const std::string directory = directory_prefix(m_target);
  const std::string prefix = directory + "." + m_target.substr(directory.size()) + ".new";
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    const std::string name = prefix + unique_suffix(attempt);
    const int descriptor =
        ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (descriptor >= 0) {
      m_descriptor = descriptor;
      m_temporary = name;
      return true;
    }
    if (errno != EEXIST && errno != EINTR) return false;
  }
  return false;
}

bool ReplacingFile::write(const std::string& bytes) {
  if (m_descriptor < 0) return false;
  m_buffer += bytes;
  return m_buffer.size() < kFlushThreshold || flushBuffer();
}

bool ReplacingFile::flushBuffer() {
  const bool written = write_all(m_descriptor, m_buffer.data(), m_buffer.size());
  m_buffer.clear();
  return written;
}

bool ReplacingFile::finish() {
  if (m_descriptor < 0) return false;
  const bool flushed = flushBuffer() && fsync(m_descriptor) == 0;
  const bool closed = close(m_descriptor) == 0;
  m_descriptor = -1;
  return flushed && closed;
}

bool ReplacingFile::replaceTarget() {
  if (m_temporary.empty() || m_descriptor >= 0) return false;
  if (rename(m_temporary.c_str(), m_target.c_str()) != 0) return false;
  m_temporary.clear();
  sync_directory(directory_prefix(m_target));
  return true;
}

void ReplacingFile::discardTemporary() {
  if (m_descriptor >= 0) {
    close(m_descriptor);
    m_descriptor = -1;
  }
  if (!m_temporary.empty()) {
    unlink(m_temporary.c_str());
    m_temporary.clear();
  }
}
