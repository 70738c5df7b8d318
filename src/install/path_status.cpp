#include "install/path_status.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/file_system.h"

PathStatus query_path(const WideString& path, bool followLinks) {
  PathStatus status;
  const std::string narrow = narrow_lib(path);
  struct stat64 info;
  const int result = followLinks ? stat64(narrow.c_str(), &info) : lstat64(narrow.c_str(), &info);
  if (result != 0) return status;
  if (S_ISREG(info.st_mode)) {
    status.kind = PathKind::kRegular;
  } else if (S_ISLNK(info.st_mode)) {
    status.kind = PathKind::kSymbolicLink;
  } else if (S_ISDIR(info.st_mode)) {
    status.kind = PathKind::kDirectory;
  } else {
    status.kind = PathKind::kOther;
  }
  const long seconds = static_cast<long>(info.st_mtim.tv_sec);
  status.lastWrite = EpochToFileTime(seconds);
  status.device = info.st_dev;
  status.inode = info.st_ino;
  return status;
}
