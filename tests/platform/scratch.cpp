#include "scratch.h"

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

int removeOne(const char* path, const struct stat*, int, FTW*) { return ::remove(path); }

}  // namespace

ScratchDirectory::ScratchDirectory() {
  std::string name = "platform-scratch-XXXXXX";
  if (mkdtemp(name.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  char* const absolute = realpath(name.c_str(), nullptr);
  m_path = absolute;
  free(absolute);
}

ScratchDirectory::~ScratchDirectory() { nftw(m_path.c_str(), removeOne, 16, FTW_DEPTH | FTW_PHYS); }

void writeText(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return "<missing>";
  }
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool exists(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0;
}

std::string listNames(const std::string& directory) {
  std::vector<std::string> names;
  if (DIR* const stream = opendir(directory.c_str())) {
    while (const dirent* entry = readdir(stream)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") {
        names.push_back(name);
      }
    }
    closedir(stream);
  }
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const std::string& name : names) {
    joined += (joined.empty() ? "" : " ") + name;
  }
  return joined;
}

struct stat statusOf(const std::string& path) {
  struct stat status {};
  lstat(path.c_str(), &status);
  return status;
}

void setTimes(const std::string& path, long seconds, long nanoseconds) {
  const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
  utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

std::string runInChild(const std::function<std::string()>& body) {
  int channel[2];
  if (pipe(channel) != 0) {
    return "skip: no pipe";
  }
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    const std::string report = body();
    ssize_t written = 0;
    while (written < static_cast<ssize_t>(report.size())) {
      const ssize_t put = write(channel[1], report.data() + written, report.size() - written);
      if (put <= 0) {
        break;
      }
      written += put;
    }
    _exit(0);
  }
  close(channel[1]);
  std::string report;
  char buffer[4096];
  ssize_t got;
  while ((got = read(channel[0], buffer, sizeof buffer)) > 0) {
    report.append(buffer, static_cast<size_t>(got));
  }
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? report : "child failed";
}

std::string mountPrivateTmpfs(const std::string& mountPoint, const std::string& sizeOption) {
  if (unshare(CLONE_NEWNS) != 0) {
    return std::string("unshare: ") + std::strerror(errno);
  }
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return std::string("private mounts: ") + std::strerror(errno);
  }
  mkdir(mountPoint.c_str(), 0755);
  if (mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, sizeOption.c_str()) != 0) {
    return std::string("mount tmpfs: ") + std::strerror(errno);
  }
  return std::string();
}
