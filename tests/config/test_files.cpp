#include "test_files.h"

#include <dirent.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

ScopedHome::ScopedHome(const std::string& home) {
  const char* old = std::getenv("HOME");
  m_hadHome = old != nullptr;
  if (m_hadHome) m_oldHome = old;
  setenv("HOME", home.c_str(), 1);
}

ScopedHome::~ScopedHome() { m_hadHome ? setenv("HOME", m_oldHome.c_str(), 1) : unsetenv("HOME"); }

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
