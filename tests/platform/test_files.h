// Scratch directories of the file layer and configuration tests: on the disk,
// so that a tmpfs mounted inside is another device, and named with what a
// shell would interpret, so that every path must reach the system literally.
#pragma once

#include <fcntl.h>

#include "support/scratch_directory.h"
#include "support/test_files.h"

inline ScratchDirectory platform_scratch() {
  return ScratchDirectory("platform $(touch x) `y` \"q\" \\ ;-", ".");
}
