#include "install/directory_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

std::vector<DirectoryEntry> list_directory(const WideString& directory) {
  std::vector<DirectoryEntry> entries;
  DIR* stream = opendir(narrow_lib(directory).c_str());
  if (stream == nullptr) return entries;
  const int descriptor = dirfd(stream);
  while (const dirent* item = readdir(stream)) {
    if (std::strcmp(item->d_name, ".") == 0 || std::strcmp(item->d_name, "..") == 0) continue;
    bool isDirectory = item->d_type == DT_DIR;
    if (item->d_type == DT_UNKNOWN) {
      struct stat64 info;
      isDirectory = fstatat64(descriptor, item->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                    S_ISDIR(info.st_mode);
    }
    entries.push_back({widen_lib(item->d_name), isDirectory});
  }
  closedir(stream);
  return entries;
}
