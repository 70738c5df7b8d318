#include "support/scratch_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "support/test_files.h"

ScratchDirectory::ScratchDirectory(const std::string& namePrefix, const std::string& parent) {
  std::string pattern = parent + "/" + namePrefix + "XXXXXX";
  char* const absolute = mkdtemp(pattern.data()) ? realpath(pattern.c_str(), nullptr) : nullptr;
  if (absolute == nullptr) throw std::runtime_error(pattern + ": " + std::strerror(errno));
  m_path = absolute;
  std::free(absolute);
}

ScratchDirectory::~ScratchDirectory() { remove_tree(m_path); }

void remove_tree(const std::string& path) {
  struct stat status;
  if (lstat(path.c_str(), &status) != 0) return;
  if (!S_ISDIR(status.st_mode)) {
    unlink(path.c_str());
    return;
  }
  chmod(path.c_str(), (status.st_mode & 07777) | S_IRWXU);
  for (const std::string& name : directory_names(path)) remove_tree(path + "/" + name);
  rmdir(path.c_str());
}
