#include "install/path_status.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "install/journal_record.h"
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

bool identify_path(const std::string& path, PathKind& kind, FileIdentity& identity) {
  struct stat64 info;
  kind = PathKind::kMissing;
  if (lstat64(path.c_str(), &info) != 0) return false;
  if (S_ISREG(info.st_mode)) {
    kind = PathKind::kRegular;
  } else if (S_ISLNK(info.st_mode)) {
    kind = PathKind::kSymbolicLink;
  } else if (S_ISDIR(info.st_mode)) {
    kind = PathKind::kDirectory;
  } else {
    kind = PathKind::kOther;
  }
  identity.device = info.st_dev;
  identity.inode = info.st_ino;
  identity.size = static_cast<uint64_t>(info.st_size);
  identity.seconds = info.st_mtim.tv_sec;
  identity.nanoseconds = info.st_mtim.tv_nsec;
  return true;
}

bool read_directory_times(const std::string& path, int64_t times[4]) {
  struct stat64 info;
  if (lstat64(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  times[0] = info.st_atim.tv_sec;
  times[1] = info.st_atim.tv_nsec;
  times[2] = info.st_mtim.tv_sec;
  times[3] = info.st_mtim.tv_nsec;
  return true;
}

void restore_directory_times(const std::string& path, const int64_t times[4]) {
  const timespec both[2] = {{static_cast<time_t>(times[0]), static_cast<long>(times[1])},
                            {static_cast<time_t>(times[2]), static_cast<long>(times[3])}};
  utimensat(AT_FDCWD, path.c_str(), both, AT_SYMLINK_NOFOLLOW);
}
