#include "platform/tree_removal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/directory_listing.h"
#include "platform/path_parts.h"
#include "platform/posix_call.h"

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
  // Every name is read before anything is removed, so that the removals
  // cannot disturb the listing.
  std::vector<std::string> children;
  listDirectoryAt(dirFd, children);
  for (const std::string& child : children) {
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
