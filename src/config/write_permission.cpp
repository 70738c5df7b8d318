#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "config/config_locations.h"
#include "platform/file_system.h"
#include "platform/path_parts.h"

namespace {

const char16_t kProbePrefix[] = u"Orbe";

// Finds the directory in which creating `path` would create the first entry:
// the path itself when it exists, otherwise its nearest existing ancestor.
// False when that is no directory or a component cannot be examined.
bool nearest_existing_directory(std::string path, std::string& directory) {
  for (;;) {
    struct stat status;
    if (stat(path.c_str(), &status) == 0) {
      directory = path;
      return S_ISDIR(status.st_mode);
    }
    // Only a missing entry lets the search go up; a dangling symbolic link is
    // an entry that blocks creating the directory.
    if (errno != ENOENT || lstat(path.c_str(), &status) == 0) return false;
    const std::string parent = splitPath(path).parent;
    if (parent == path) return false;
    path = parent;
  }
}

}  // namespace

bool isWritePermitted(const WideString& directory) {
  if (directory.empty()) return false;
  std::string existing;
  if (!nearest_existing_directory(narrow_lib(directory), existing)) return false;
  WideString probeFile;
  if (FileSystem::GetTempFileName(widen_lib(existing), kProbePrefix, probeFile) != 0) return false;
  FileSystem::DeleteFile(probeFile);
  return true;
}

bool isWritePermittedUntouched(const WideString& directory) {
  if (directory.empty()) return false;
  std::string existing;
  return nearest_existing_directory(narrow_lib(directory), existing) &&
         access(existing.c_str(), W_OK | X_OK) == 0;
}
