// Helpers of the configuration tests: the name of their scratch directories,
// a HOME that is restored afterwards and directory listings. Test thread only.
#pragma once

#include <cstdlib>
#include <string>

#include "support/directory_names.h"

// Name prefix of the scratch directories: every path the code under test
// gets holds blanks, quotes, "$(...)", back-quotes and a backslash.
inline constexpr char kOddScratchName[] = "config test \"$(x)\" `y` \\ -";

// Sets HOME for the lifetime of the object and restores the old value after.
class ScopedHome {
 public:
  explicit ScopedHome(const std::string& home) : m_hadHome(std::getenv("HOME") != nullptr) {
    if (m_hadHome) m_oldHome = std::getenv("HOME");
    setenv("HOME", home.c_str(), 1);
  }
  ~ScopedHome() { m_hadHome ? setenv("HOME", m_oldHome.c_str(), 1) : unsetenv("HOME"); }
  ScopedHome(const ScopedHome&) = delete;
  ScopedHome& operator=(const ScopedHome&) = delete;

 private:
  bool m_hadHome;
  std::string m_oldHome;
};

// The names in a directory, sorted, each followed by "|"; "<missing>" when
// there is no such directory.
inline std::string list_directory(const std::string& path) {
  return exists(path) ? joined_names(directory_names(path), "|") : "<missing>";
}
