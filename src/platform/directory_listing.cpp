#include "platform/directory_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/posix_call.h"

int listDirectoryAt(int directoryFd, std::vector<std::string>& names) {
  // The stream takes a duplicate, so that closing it leaves the caller's
  // descriptor open; the duplicate shares its position, hence the rewind.
  const int streamFd = fcntl(directoryFd, F_DUPFD_CLOEXEC, 0);
  if (streamFd == -1) return errno;
  DIR* const stream = fdopendir(streamFd);
  if (stream == nullptr) {
    const int failure = errno;
    close(streamFd);
    return failure;
  }
  rewinddir(stream);
  const size_t first = names.size();
  int failure = 0;
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(stream);
    if (entry == nullptr) {
      failure = errno;
      break;
    }
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(stream);
  std::sort(names.begin() + static_cast<std::ptrdiff_t>(first), names.end());
  return failure;
}

int listDirectory(const std::string& path, std::vector<std::string>& names) {
  const int directoryFd =
      retryOnInterrupt([&] { return open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
  if (directoryFd == -1) return errno;
  const int failure = listDirectoryAt(directoryFd, names);
  close(directoryFd);
  return failure;
}
