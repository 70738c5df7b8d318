// Scratch directories of the file layer and configuration tests: on the disk, so that a tmpfs
// mounted inside is another device, named with shell syntax that every path must pass literally.
#pragma once

#include <fcntl.h>

#include "support/scratch_directory.h"
#include "support/test_files.h"

inline ScratchDirectory platform_scratch() {
  return ScratchDirectory("platform $(touch x) `y` \"q\" \\ ;-", ".");
}
