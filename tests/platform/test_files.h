// File utilities of the platform tests that use the C library directly, never
// the code under test. The tests make their scratch directories in the build
// tree, on the disk, so that a tmpfs mounted inside is another device. Test
// thread, or a forked child of it.
#pragma once

#include <sys/stat.h>

#include <string>

#include "text/wide_string.h"

inline WideString wide(const std::string& narrow) { return widen_lib(narrow); }

// lstat: true for a dangling link too.
bool exists(const std::string& path);
// The names in a directory except "." and "..", sorted, separated by blanks.
std::string listNames(const std::string& directory);
struct stat statusOf(const std::string& path);
// Sets the access and modification time of a path (links not followed).
void setTimes(const std::string& path, long seconds, long nanoseconds);
