// Helpers of the configuration tests: the name of their scratch directories
// and directory listings. Test thread only.
#pragma once

#include <string>

#include "support/test_files.h"
#include "support/scratch_directory.h"

// Every path the code under test gets holds blanks, quotes, "$(...)",
// back-quotes and a backslash.
inline constexpr char kOddScratchName[] = "config test \"$(x)\" `y` \\ -";

// The sorted names, each followed by "|"; "<missing>" for no directory.
inline std::string list_directory(const std::string& path) {
  return exists(path) ? joined_names(directory_names(path), "|") : "<missing>";
}
