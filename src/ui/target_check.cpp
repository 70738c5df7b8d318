#include "ui/target_check.h"

#include <sys/stat.h>

#include "platform/file_system.h"
#include "platform/path_parts.h"

TargetObstacle find_target_obstacle(const WideString& directory) {
  std::string path = narrow_lib(withoutFinalSeparators(directory));
  // Up to the nearest name that exists: a run makes whatever is missing below it.
  for (;;) {
    FileStatus status;
    if (FileSystem::StatusOfPath(path, false, status) == 0) {
      const bool link = S_ISLNK(status.st_mode);
      if (link && FileSystem::StatusOfPath(path, true, status) != 0) status.st_mode = 0;
      if (!S_ISDIR(status.st_mode)) {
        return {link ? ERROR_CANT_RESOLVE_FILENAME : ERROR_ALREADY_EXISTS, widen_lib(path)};
      }
      return {FileSystem::CheckWritable(path), widen_lib(path)};
    }
    if (path.find('/') == std::string::npos || path == "/") {
      return {ERROR_PATH_NOT_FOUND, widen_lib(path)};
    }
    path = splitPath(path).parent;
  }
}
