#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "config/config_locations.h"
#include "platform/file_system.h"
#include "platform/path_parts.h"

namespace {

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

// Whether this process may create entries in the directory, asked without
// leaving a trace: an unnamed file that never gets a name (no directory
// entry, no changed times), else, where the file system cannot make one,
// the access check.
bool may_create_in(const std::string& directory) {
  const int probe = open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (probe != -1) {
    close(probe);
    return true;
  }
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
  return faccessat(AT_FDCWD, directory.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace

bool isWritePermitted(const WideString& directory) {
  if (directory.empty()) return false;
  std::string existing;
  return nearest_existing_directory(narrow_lib(directory), existing) && may_create_in(existing);
}
