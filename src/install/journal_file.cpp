#include "install/journal_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

bool read_journal_descriptor(int descriptor, std::vector<JournalRecord>& records) {
  records.clear();
  std::string bytes;
  char buffer[65536];
  for (off_t offset = 0;;) {
    const ssize_t got = pread(descriptor, buffer, sizeof buffer, offset);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    bytes.append(buffer, static_cast<size_t>(got));
    offset += got;
  }
  return decode_journal(bytes, records);
}

bool read_journal_file(const std::string& path, std::vector<JournalRecord>& records) {
  records.clear();
  const int descriptor = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (descriptor == -1) return false;
  const bool read = read_journal_descriptor(descriptor, records);
  close(descriptor);
  return read;
}
