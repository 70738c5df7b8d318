#include "kit/kit_tree.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/directory_listing.h"
#include "platform/file_system.h"

namespace {

std::string describe(const std::string& what, const std::string& path, int failure) {
  return what + " " + path + ": " + std::strerror(failure);
}

std::string scan(const std::string& path, const WideString& prefix,
                 std::vector<KitEntry>& entries) {
  std::vector<std::string> names;
  const int failure = listDirectory(path, names);
  if (failure != 0) return describe("cannot read directory", path, failure);
  std::string error;
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
      error = describe("cannot read", child, errno);
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
