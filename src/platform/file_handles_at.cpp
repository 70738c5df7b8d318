// The operations of FileSystem relative to an open directory: every name is
// one component, looked up without following a symbolic link, so that a
// walk from a directory's descriptor never leaves the tree it started in.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_system.h"
#include "platform/last_error.h"
#include "platform/posix_call.h"

namespace {

uint32_t resultOf(int result) { return result == 0 ? ERROR_SUCCESS : translateErrNo(errno); }

}  // namespace

uint32_t FileSystem::OpenDirectoryAt(HANDLE directory, const std::string& name, HANDLE& opened) {
  const int fd = retryOnInterrupt([&] {
    return openat(atDescriptor(directory), name.c_str(),
                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  });
  if (fd != -1) {
    opened = handleOf(fd);
    return ERROR_SUCCESS;
  }
  if (errno == ENOENT) return ERROR_FILE_NOT_FOUND;
  return errno == ELOOP || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : translateErrNo(errno);
}

uint32_t FileSystem::CreateFileAt(HANDLE directory, const std::string& name, uint32_t mode,
                                  HANDLE& file) {
  const int fd = retryOnInterrupt([&] {
    return openat(atDescriptor(directory), name.c_str(),
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, static_cast<mode_t>(mode));
  });
  if (fd == -1) return resultOf(-1);
  file = handleOf(fd);
  return ERROR_SUCCESS;
}

uint32_t FileSystem::MoveFileAt(HANDLE fromDirectory, const std::string& from, HANDLE toDirectory,
                                const std::string& to) {
  return resultOf(
      renameat(atDescriptor(fromDirectory), from.c_str(), atDescriptor(toDirectory), to.c_str()));
}

uint32_t FileSystem::MoveNewFileAt(HANDLE directory, const std::string& from,
                                   const std::string& to) {
  const int descriptor = atDescriptor(directory);
  if (renameat2(descriptor, from.c_str(), descriptor, to.c_str(), RENAME_NOREPLACE) == 0) {
    return ERROR_SUCCESS;
  }
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return translateErrNo(errno);
  // A file system that cannot rename without replacing: a second name,
  // which is never made over an existing one, then the first name goes.
  if (linkat(descriptor, from.c_str(), descriptor, to.c_str(), 0) == 0) {
    return resultOf(unlinkat(descriptor, from.c_str(), 0));
  }
  if (errno == EEXIST) return ERROR_ALREADY_EXISTS;
  // Nor links: the plain rename is all there is.
  return resultOf(renameat(descriptor, from.c_str(), descriptor, to.c_str()));
}

uint32_t FileSystem::ExchangeAt(HANDLE directory, const std::string& first,
                                const std::string& second) {
  const int descriptor = atDescriptor(directory);
  if (renameat2(descriptor, first.c_str(), descriptor, second.c_str(), RENAME_EXCHANGE) == 0) {
    return ERROR_SUCCESS;
  }
  return errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ? ERROR_NOT_SUPPORTED
                                                                     : translateErrNo(errno);
}

uint32_t FileSystem::CreateHardLinkAt(HANDLE directory, const std::string& name,
                                      HANDLE existingDirectory, const std::string& existing) {
  return resultOf(linkat(atDescriptor(existingDirectory), existing.c_str(), atDescriptor(directory),
                         name.c_str(), 0));
}

uint32_t FileSystem::DeleteFileAt(HANDLE directory, const std::string& name) {
  return resultOf(unlinkat(atDescriptor(directory), name.c_str(), 0));
}

uint32_t FileSystem::CreateDirectoryAt(HANDLE directory, const std::string& name, uint32_t mode) {
  return resultOf(mkdirat(atDescriptor(directory), name.c_str(), static_cast<mode_t>(mode)));
}

uint32_t FileSystem::RemoveDirectoryAt(HANDLE directory, const std::string& name) {
  return resultOf(unlinkat(atDescriptor(directory), name.c_str(), AT_REMOVEDIR));
}

uint32_t FileSystem::SetFileMode(HANDLE file, uint32_t mode) {
  return resultOf(fchmod(descriptorOf(file), static_cast<mode_t>(mode)));
}

uint32_t FileSystem::SetOwnerAt(HANDLE directory, const std::string& name, uid_t owner,
                                gid_t group) {
  const int flags = name.empty() ? AT_EMPTY_PATH : AT_SYMLINK_NOFOLLOW;
  return resultOf(fchownat(atDescriptor(directory), name.c_str(), owner, group, flags));
}
