#include "test_files.h"

#include <cstdlib>

#include "support/directory_names.h"

ScopedHome::ScopedHome(const std::string& home) {
  const char* old = std::getenv("HOME");
  m_hadHome = old != nullptr;
  if (m_hadHome) m_oldHome = old;
  setenv("HOME", home.c_str(), 1);
}

ScopedHome::~ScopedHome() { m_hadHome ? setenv("HOME", m_oldHome.c_str(), 1) : unsetenv("HOME"); }

std::string list_directory(const std::string& path) {
  return exists(path) ? joined_names(directory_names(path), "|") : "<missing>";
}
