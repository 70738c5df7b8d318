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

uint32_t create_directory_exclusive(const WideString& path) {
  if (mkdir(narrow_lib(path).c_str(), 0777) == 0) return ERROR_SUCCESS;
  if (errno == EEXIST) return ERROR_ALREADY_EXISTS;
  return errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_PARAMETER;
}

bool read_directory_times(const WideString& path, DirectoryTimes& times) {
  struct stat64 info;
  if (stat64(narrow_lib(path).c_str(), &info) != 0) return false;
  times.path = path;
  times.access = info.st_atim;
  times.modification = info.st_mtim;
  return true;
}

void restore_directory_times(const DirectoryTimes& times) {
  const timespec both[2] = {times.access, times.modification};
  utimensat(AT_FDCWD, narrow_lib(times.path).c_str(), both, 0);
}
