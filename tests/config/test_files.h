// The name of the configuration tests' scratch directories: blanks, quotes,
// "$(...)", back-quotes and a backslash, so that every path the code under
// test gets must reach the system literally.
#pragma once

#include "support/scratch_directory.h"
#include "support/test_files.h"

inline constexpr char kOddScratchName[] = "config test \"$(x)\" `y` \\ -";
