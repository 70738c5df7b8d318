// FileSystem::MoveFile: a rename, or across file systems a copy of the file or
// tree under a temporary name beside the target, renamed into place, after
// which the source is removed.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "platform/last_error.h"
#include "platform/path_parts.h"
#include "platform/posix_call.h"
#include "platform/tree_copy.h"
#include "platform/tree_removal.h"

namespace {

constexpr int kTemporaryNameAttempts = 100;

// A move that cannot be done reports "not found", as the move command's
// failure always did, except that a full disk is named as such.
uint32_t moveFailure(int errnoValue) {
  const uint32_t code = translateErrNo(errnoValue);
  return code == ERROR_DISK_FULL ? ERROR_DISK_FULL : ERROR_FILE_NOT_FOUND;
}

int openDirectory(const std::string& path) {
  return retryOnInterrupt([&] { return open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
}

// Copies into a fresh temporary entry of the target's directory, named as a
// replacement's temporary (file_replacement.h) so that a crash's partial copy
// is recognised as a leftover, then renames it over the target, so an
// existing target is only ever replaced by a complete copy. Returns 0 or an
// errno value.
int copyIntoPlace(int sourceParentFd, const PathParts& source, int targetParentFd,
                  const PathParts& target) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const std::string copyName = replacementTemporaryName(target.base);
    int failure = copyEntryAt(sourceParentFd, source.base, targetParentFd, copyName);
    if (failure == EEXIST) {
      struct stat status;
      if (fstatat(targetParentFd, copyName.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        continue;  // the temporary name itself was taken
      }
    }
    if (failure == 0 &&
        renameat(targetParentFd, copyName.c_str(), targetParentFd, target.base.c_str()) != 0) {
      failure = errno;
    }
    if (failure != 0) {
      removeEntryAt(targetParentFd, copyName);
    }
    return failure;
  }
  return EEXIST;
}

uint32_t moveAcrossFileSystems(const std::string& sourcePath, const std::string& targetPath) {
  const PathParts source = splitPath(sourcePath);
  const PathParts target = splitPath(targetPath);
  if (source.base.empty() || target.base.empty()) {
    return moveFailure(EINVAL);
  }
  const int sourceParentFd = openDirectory(source.parent);
  if (sourceParentFd == -1) {
    return moveFailure(errno);
  }
  const int targetParentFd = openDirectory(target.parent);
  if (targetParentFd == -1) {
    const int failure = errno;
    close(sourceParentFd);
    return moveFailure(failure);
  }
  int failure = copyIntoPlace(sourceParentFd, source, targetParentFd, target);
  if (failure == 0) {
    removeEntryAt(sourceParentFd, source.base);
    struct stat status;
    if (fstatat(sourceParentFd, source.base.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
      failure = EACCES;  // copied, but the source could not be removed
    }
  }
  close(targetParentFd);
  close(sourceParentFd);
  return failure == 0 ? ERROR_SUCCESS : moveFailure(failure);
}

}  // namespace

uint32_t FileSystem::MoveFile(const WideString& existing, const WideString& target) {
  const std::string sourcePath = narrow_lib(existing);
  const std::string targetPath = narrow_lib(target);
  if (rename(sourcePath.c_str(), targetPath.c_str()) == 0) {
    return ERROR_SUCCESS;
  }
  if (errno != EXDEV) {
    return moveFailure(errno);
  }
  return moveAcrossFileSystems(sourcePath, targetPath);
}
