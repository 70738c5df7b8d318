#include "support/private_tmpfs.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

std::string mount_private_tmpfs(const std::string& mountPoint, const std::string& sizeOption) {
  if (unshare(CLONE_NEWNS) != 0) return std::string("unshare: ") + std::strerror(errno);
  // Without this the mount would show in the parent's namespace too.
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return std::string("private mounts: ") + std::strerror(errno);
  }
  if (mkdir(mountPoint.c_str(), 0755) != 0 && errno != EEXIST) {
    return "mkdir " + mountPoint + ": " + std::strerror(errno);
  }
  if (mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, sizeOption.c_str()) != 0) {
    return std::string("mount tmpfs: ") + std::strerror(errno);
  }
  return std::string();
}
