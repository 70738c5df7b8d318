#include "kit/kit_tree.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/file_system.h"

namespace {

std::string describe(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

std::string list_directory(const std::string& path, std::vector<std::string>& names) {
  DIR* directory = opendir(path.c_str());
  if (directory == nullptr) return describe("cannot read directory", path);
  errno = 0;
  while (const dirent* item = readdir(directory)) {
    const std::string name = item->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  const int error = errno;
  closedir(directory);
  if (error != 0) {
    errno = error;
    return describe("cannot read directory", path);
  }
  std::sort(names.begin(), names.end());
  return std::string();
}

std::string scan(const std::string& path, const WideString& prefix,
                 std::vector<KitEntry>& entries) {
  std::vector<std::string> names;
  std::string error = list_directory(path, names);
  for (const std::string& name : names) {
    if (!error.empty()) break;
    const std::string child = path + "/" + name;
    const WideString entryName = prefix + widen_lib(name);
    if (name.find('\\') != std::string::npos) {
      error = "a kit cannot hold a name with a backslash (its separator): " + child;
      break;
    }
    struct stat64 link;
    struct stat64 status;
    if (lstat64(child.c_str(), &link) != 0 || stat64(child.c_str(), &status) != 0) {
      error = describe("cannot read", child);
    } else if (S_ISDIR(status.st_mode)) {
      if (!S_ISLNK(link.st_mode)) error = scan(child, entryName + u"\\", entries);
    } else if (!S_ISREG(status.st_mode)) {
      error = "not a regular file: " + child;
    } else if (static_cast<uint64_t>(status.st_size) > 0xFFFFFFFFu) {
      error = "larger than 4 GiB: " + child;
    } else {
      KitEntry entry;
      entry.name = entryName;
      entry.sourcePath = child;
      entry.time = EpochToFileTime(static_cast<long>(status.st_mtime));
      entry.size = static_cast<uint32_t>(status.st_size);
      entries.push_back(std::move(entry));
    }
  }
  return error;
}

}  // namespace

std::string scan_kit_tree(const std::string& root, std::vector<KitEntry>& entries) {
  return scan(root, WideString(), entries);
}
