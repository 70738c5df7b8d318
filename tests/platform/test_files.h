// File utilities of the platform tests that use the C library directly, never
// the code under test. The scratch directories lie in the build tree, on the
// disk, so that a tmpfs mounted inside is another device, and their names hold
// what a shell would interpret, so that every path reaches the file system
// literally. Test thread, or a forked child of it.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <string>

#include "support/directory_names.h"
#include "support/file_contents.h"
#include "support/scratch_directory.h"
#include "support/wide_text.h"

inline constexpr char kOddScratchName[] = "platform $(touch x) `y` \"q\" \\ ;-";

inline ScratchDirectory platform_scratch() { return ScratchDirectory(kOddScratchName, "."); }

inline struct stat statusOf(const std::string& path) {
  struct stat status {};
  lstat(path.c_str(), &status);
  return status;
}

// Sets the access and modification time of a path (links not followed).
inline void setTimes(const std::string& path, long seconds, long nanoseconds = 0) {
  const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
  utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}
