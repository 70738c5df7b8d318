#include "support/directory_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

std::vector<std::string> directory_names(const std::string& directory, const std::string& prefix) {
  std::vector<std::string> names;
  if (DIR* stream = opendir(directory.c_str())) {
    while (const dirent* entry = readdir(stream)) {
      const std::string name = entry->d_name;
      if (name != "." && name != ".." && name.compare(0, prefix.size(), prefix) == 0) {
        names.push_back(name);
      }
    }
    closedir(stream);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string joined_names(const std::vector<std::string>& names, const std::string& separator) {
  std::string joined;
  for (const std::string& name : names) joined += name + separator;
  return joined;
}

bool exists(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0;
}

int64_t modification_seconds(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0 ? static_cast<int64_t>(status.st_mtime) : -1;
}

uint32_t mode_of(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0 ? status.st_mode : 0;
}
