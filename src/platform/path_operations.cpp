// The path operations of FileSystem other than moving: they return their own
// code and leave the last-error cell alone. Everything is done with system
// calls, so no character of a path is ever interpreted.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/file_system.h"
#include "platform/last_error.h"
#include "platform/path_parts.h"
#include "platform/posix_call.h"
#include "platform/tree_removal.h"

namespace {

constexpr WideString::size_type kTempPrefixLength = 5;
constexpr const char kDefaultTempDirectory[] = "/tmp";

bool isDirectory(const std::string& path) {
  struct stat64 status;
  return stat64(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// At most five units of the prefix, never splitting a surrogate pair.
WideString shortPrefix(const WideString& prefix) {
  WideString kept = prefix.substr(0, kTempPrefixLength);
  if (!kept.empty() && kept.size() < prefix.size() && kept.back() >= 0xD800 &&
      kept.back() <= 0xDBFF) {
    kept.pop_back();
  }
  return kept;
}

}  // namespace

uint32_t FileSystem::GetFileSize(const WideString& path, uint64_t* size) {
  if (size == nullptr) {
    return 1;
  }
  struct stat64 status;
  if (stat64(narrow_lib(path).c_str(), &status) != 0) {
    return 1;
  }
  *size = static_cast<uint64_t>(status.st_size);
  return 0;
}

uint32_t FileSystem::DeleteFile(const WideString& path) {
  const std::string narrowPath = narrow_lib(path);
  retryOnInterrupt([&] { return unlink(narrowPath.c_str()); });
  return ERROR_SUCCESS;
}

uint32_t FileSystem::RemoveDirectory(const WideString& path) {
  removeTree(narrow_lib(path));
  return ERROR_SUCCESS;
}

uint32_t FileSystem::CreateDirectory(const WideString& path) {
  const std::string narrowPath = narrow_lib(path);
  if (isDirectory(narrowPath)) {
    return ERROR_ALREADY_EXISTS;
  }
  if (narrowPath.empty()) {
    return ERROR_FILE_NOT_FOUND;
  }
  // Every prefix that ends a component is made in turn; one that already is a
  // directory (or a link to one) is passed.
  for (std::string::size_type end = 1; end <= narrowPath.size(); ++end) {
    if (end < narrowPath.size() && narrowPath[end] != '/') {
      continue;
    }
    if (narrowPath[end - 1] == '/') {
      continue;
    }
    const std::string level = narrowPath.substr(0, end);
    if (mkdir(level.c_str(), 0777) != 0 && !(errno == EEXIST && isDirectory(level))) {
      // A missing parent stays "not found"; anything else says why.
      return errno == ENOENT ? ERROR_FILE_NOT_FOUND : translateErrNo(errno);
    }
  }
  return ERROR_SUCCESS;
}

uint32_t FileSystem::GetTempFileName(const WideString& directory, const WideString& prefix,
                                     WideString& fileName) {
  const WideString kept = shortPrefix(prefix);
  std::string narrowDirectory = narrow_lib(directory);
  if (narrowDirectory.empty() || kept.find(u'/') != WideString::npos) {
    return ERROR_CANNOT_MAKE;
  }
  while (narrowDirectory.size() > 1 && narrowDirectory.back() == '/') {
    narrowDirectory.pop_back();
  }
  if (narrowDirectory != "/") {
    narrowDirectory += '/';
  }
  std::string name = narrowDirectory + narrow_lib(kept) + "XXXXXX";
  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd == -1) {
    return ERROR_CANNOT_MAKE;
  }
  close(fd);
  fileName = widen_lib(name);
  return ERROR_SUCCESS;
}

uint32_t FileSystem::GetTempPath(WideString& directory) {
  const char* const variable = std::getenv("TMPDIR");
  const std::string chosen =
      (variable != nullptr && isDirectory(variable)) ? variable : kDefaultTempDirectory;
  directory = widen_lib(chosen);
  if (directory.empty() || directory.back() != u'/') {
    directory += kPathSeparator;
  }
  return ERROR_SUCCESS;
}

uint32_t FileSystem::GetFreeSpaceTmpDir(unsigned int* freeBytes) {
  if (freeBytes == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  *freeBytes = 0;
  WideString directory;
  if (GetTempPath(directory) != ERROR_SUCCESS) {
    return ERROR_INVALID_NAME;
  }
  struct statvfs status;
  // A space that cannot be measured is reported as such, so that the check
  // passes instead of counting nothing free.
  if (retryOnInterrupt([&] { return statvfs(narrow_lib(directory).c_str(), &status); }) != 0) {
    return ERROR_INVALID_PARAMETER;
  }
  // More than 32 bits can hold is reported as the largest value, never wrapped.
  constexpr uint64_t kLargest = 0xFFFFFFFFu;
  const uint64_t blockSize = status.f_frsize;
  // What this user may use: the blocks reserved for root left out.
  const uint64_t blocks = status.f_bavail;
  *freeBytes = (blockSize != 0 && blocks > kLargest / blockSize)
                   ? static_cast<unsigned int>(kLargest)
                   : static_cast<unsigned int>(blockSize * blocks);
  return ERROR_SUCCESS;
}
