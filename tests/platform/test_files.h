// Scratch directories of the platform tests: in the build tree, on the disk,
// so that a tmpfs mounted inside is another device, and named with what a
// shell would interpret, so that every path must reach the system literally.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <string>

#include "support/directory_names.h"
#include "support/file_contents.h"
#include "support/scratch_directory.h"
#include "support/wide_text.h"

inline ScratchDirectory platform_scratch() {
  return ScratchDirectory("platform $(touch x) `y` \"q\" \\ ;-", ".");
}

inline struct stat statusOf(const std::string& path) {
  struct stat status {};
  lstat(path.c_str(), &status);
  return status;
}
