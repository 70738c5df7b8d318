#include "test_files.h"

#include <dirent.h>
#include <ftw.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

int remove_entry(const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }

}  // namespace

ScratchDirectory::ScratchDirectory() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") +
                        "/config test \"$(x)\" `y` \\ -XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_path = buffer.data();
  chmod(m_path.c_str(), 0755);
}

ScratchDirectory::~ScratchDirectory() {
  nftw(m_path.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

ScopedHome::ScopedHome(const std::string& home) {
  const char* old = std::getenv("HOME");
  m_hadHome = old != nullptr;
  if (m_hadHome) m_oldHome = old;
  setenv("HOME", home.c_str(), 1);
}

ScopedHome::~ScopedHome() {
  if (m_hadHome) {
    setenv("HOME", m_oldHome.c_str(), 1);
  } else {
    unsetenv("HOME");
  }
}

void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string list_directory(const std::string& path) {
  DIR* directory = opendir(path.c_str());
  if (directory == nullptr) return "<missing>";
  std::vector<std::string> names;
  while (const dirent* entry = readdir(directory)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(directory);
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const std::string& name : names) joined += name + "|";
  return joined;
}

int run_in_child(int (*body)(void*), void* argument) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) _exit(body(argument));
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + WTERMSIG(status);
}
