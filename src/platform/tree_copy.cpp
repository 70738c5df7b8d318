#include "platform/tree_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/directory_listing.h"
#include "platform/posix_call.h"

namespace {

constexpr size_t kCopyBufferSize = 128 * 1024;

// 0 when `result` is not -1, else the errno of the failed call.
int failureOf(long result) { return result == -1 ? errno : 0; }

int copyContent(int sourceFd, int targetFd) {
  std::vector<char> buffer(kCopyBufferSize);
  for (;;) {
    const ssize_t got =
        retryOnInterrupt([&] { return read(sourceFd, buffer.data(), buffer.size()); });
    if (got <= 0) {
      return failureOf(got);
    }
    for (ssize_t done = 0; done < got;) {
      const ssize_t put =
          retryOnInterrupt([&] { return write(targetFd, buffer.data() + done, got - done); });
      if (put == -1) {
        return errno;
      }
      done += put;
    }
  }
}

// Owner, mode and times of an open copy. A failing chown is ignored (only the
// super-user may give files away); the mode is set after the owner because
// chown clears the set-id bits.
int copyAttributes(int targetFd, const struct stat& status) {
  if (fchown(targetFd, status.st_uid, status.st_gid) != 0) {
    // Ignored on purpose: an ordinary user keeps the copy as their own.
  }
  if (fchmod(targetFd, status.st_mode & 07777) != 0) {
    return errno;
  }
  const timespec times[2] = {status.st_atim, status.st_mtim};
  return failureOf(futimens(targetFd, times));
}

int copyRegularFile(int sourceParentFd, const std::string& sourceName, int targetParentFd,
                    const std::string& targetName, const struct stat& status) {
  const int sourceFd = retryOnInterrupt([&] {
    return openat(sourceParentFd, sourceName.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  });
  if (sourceFd == -1) {
    return errno;
  }
  const int targetFd = retryOnInterrupt([&] {
    return openat(targetParentFd, targetName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                  0600);
  });
  if (targetFd == -1) {
    const int failure = errno;
    close(sourceFd);
    return failure;
  }
  int failure = copyContent(sourceFd, targetFd);
  if (failure == 0) {
    failure = copyAttributes(targetFd, status);
  }
  close(sourceFd);
  // A delayed write error (full disk on some file systems) shows at close.
  if (close(targetFd) != 0 && failure == 0 && errno != EINTR) {
    failure = errno;
  }
  return failure;
}

int copyDirectory(int sourceParentFd, const std::string& sourceName, int targetParentFd,
                  const std::string& targetName, const struct stat& status) {
  // Created private and writable; the real mode is applied once it is filled.
  if (mkdirat(targetParentFd, targetName.c_str(), 0700) != 0) {
    return errno;
  }
  const int sourceFd = retryOnInterrupt([&] {
    return openat(sourceParentFd, sourceName.c_str(),
                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  });
  if (sourceFd == -1) {
    return errno;
  }
  const int targetFd = retryOnInterrupt([&] {
    return openat(targetParentFd, targetName.c_str(),
                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  });
  std::vector<std::string> names;
  int failure = failureOf(targetFd);
  if (failure == 0) {
    failure = listDirectoryAt(sourceFd, names);
  }
  for (const std::string& name : names) {
    if (failure != 0) {
      break;
    }
    failure = copyEntryAt(sourceFd, name, targetFd, name);
  }
  if (failure == 0) {
    failure = copyAttributes(targetFd, status);
  }
  if (targetFd != -1) {
    close(targetFd);
  }
  close(sourceFd);
  return failure;
}

int copySymbolicLink(int sourceParentFd, const std::string& sourceName, int targetParentFd,
                     const std::string& targetName, const struct stat& status) {
  std::vector<char> destination(static_cast<size_t>(status.st_size) + 2);
  const ssize_t length =
      readlinkat(sourceParentFd, sourceName.c_str(), destination.data(), destination.size() - 1);
  if (length == -1) {
    return errno;
  }
  if (static_cast<size_t>(length) >= destination.size() - 1) {
    return EAGAIN;  // the link changed while it was read
  }
  destination[static_cast<size_t>(length)] = '\0';
  if (symlinkat(destination.data(), targetParentFd, targetName.c_str()) != 0) {
    return errno;
  }
  if (fchownat(targetParentFd, targetName.c_str(), status.st_uid, status.st_gid,
               AT_SYMLINK_NOFOLLOW) != 0) {
    // Ignored on purpose, as for files.
  }
  const timespec times[2] = {status.st_atim, status.st_mtim};
  return failureOf(utimensat(targetParentFd, targetName.c_str(), times, AT_SYMLINK_NOFOLLOW));
}

// Pipes, sockets and device nodes are recreated as nodes of the same kind.
int copySpecialFile(int targetParentFd, const std::string& targetName, const struct stat& status) {
  if (mknodat(targetParentFd, targetName.c_str(), status.st_mode, status.st_rdev) != 0) {
    return errno;
  }
  if (fchownat(targetParentFd, targetName.c_str(), status.st_uid, status.st_gid,
               AT_SYMLINK_NOFOLLOW) != 0) {
    // Ignored on purpose, as for files.
  }
  if (fchmodat(targetParentFd, targetName.c_str(), status.st_mode & 07777, 0) != 0) {
    return errno;
  }
  const timespec times[2] = {status.st_atim, status.st_mtim};
  return failureOf(utimensat(targetParentFd, targetName.c_str(), times, AT_SYMLINK_NOFOLLOW));
}

}  // namespace

int copyEntryAt(int sourceParentFd, const std::string& sourceName, int targetParentFd,
                const std::string& targetName) {
  struct stat status;
  if (fstatat(sourceParentFd, sourceName.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
    return errno;
  }
  if (S_ISREG(status.st_mode)) {
    return copyRegularFile(sourceParentFd, sourceName, targetParentFd, targetName, status);
  }
  if (S_ISDIR(status.st_mode)) {
    return copyDirectory(sourceParentFd, sourceName, targetParentFd, targetName, status);
  }
  if (S_ISLNK(status.st_mode)) {
    return copySymbolicLink(sourceParentFd, sourceName, targetParentFd, targetName, status);
  }
  return copySpecialFile(targetParentFd, targetName, status);
}
