// Helpers of the configuration tests: a HOME that is restored afterwards,
// directory listings and the name of their scratch directories.
// Test thread only.
#pragma once

#include <string>

#include "text/wide_string.h"

// Name prefix of the scratch directories: every path the code under test
// gets holds blanks, quotes, "$(...)", back-quotes and a backslash.
inline constexpr char kOddScratchName[] = "config test \"$(x)\" `y` \\ -";

// Sets HOME for the lifetime of the object and restores the old value after.
class ScopedHome {
 public:
  explicit ScopedHome(const std::string& home);
  ~ScopedHome();
  ScopedHome(const ScopedHome&) = delete;
  ScopedHome& operator=(const ScopedHome&) = delete;

 private:
  bool m_hadHome;
  std::string m_oldHome;
};

// The names in a directory, "." and ".." left out, sorted.
std::string list_directory(const std::string& path);
