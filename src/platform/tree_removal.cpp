#include "platform/tree_removal.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/path_parts.h"
#include "platform/posix_call.h"

namespace {

// Reads every name of the directory except "." and ".." before anything is
// removed, so the listing is not disturbed by the removals. Takes ownership
// of a duplicate of `dirFd` only.
std::vector<std::string> listDirectory(int dirFd) {
  std::vector<std::string> names;
  const int listFd = fcntl(dirFd, F_DUPFD_CLOEXEC, 0);
  if (listFd == -1) {
    return names;
  }
  DIR* const stream = fdopendir(listFd);
  if (stream == nullptr) {
    close(listFd);
    return names;
  }
  while (const dirent* entry = readdir(stream)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") {
      names.push_back(name);
    }
  }
  closedir(stream);
  return names;
}

}  // namespace

void removeEntryAt(int parentFd, const std::string& name) {
  if (unlinkat(parentFd, name.c_str(), 0) == 0 || errno != EISDIR) {
    return;
  }
  // O_NOFOLLOW: if the directory was swapped for a link meanwhile, the open
  // fails instead of descending into the link's target.
  const int dirFd = retryOnInterrupt([&] {
    return openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  });
  if (dirFd == -1) {
    return;
  }
  for (const std::string& child : listDirectory(dirFd)) {
    removeEntryAt(dirFd, child);
  }
  close(dirFd);
  unlinkat(parentFd, name.c_str(), AT_REMOVEDIR);
}

void removeTree(const std::string& path) {
  const PathParts parts = splitPath(path);
  if (parts.base.empty() || parts.base == "." || parts.base == "..") {
    return;
  }
  const int parentFd = retryOnInterrupt(
      [&] { return open(parts.parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
  if (parentFd == -1) {
    return;
  }
  removeEntryAt(parentFd, parts.base);
  close(parentFd);
}
