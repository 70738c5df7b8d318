// What keeps a run from installing into a template directory, found before
// anything is written: a file or a link that leads to no directory at the
// directory or above it, or a nearest existing directory that this user may
// not write into. Reads the file system only; any thread.
#pragma once

#include <cstdint>

#include "text/wide_string.h"

struct TargetObstacle {
  uint32_t reason = 0;  // 0 when nothing is in the way, else the Win32 code
  WideString path;      // what is in the way, absolute
};

// `directory` is absolute. The reason is 1921 for a link that leads to no
// directory, 183 for anything else that is no directory, else what the
// write check of the nearest existing directory says (5 no permission, 19 a
// read-only file system...).
TargetObstacle find_target_obstacle(const WideString& directory);
