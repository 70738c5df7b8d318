// File utilities of the platform tests that use the C library directly, never
// the code under test. The tests make their scratch directories in the build
// tree, on the disk, so that a tmpfs mounted inside is another device. Test
// thread, or a forked child of it.
#pragma once

#include <sys/stat.h>

#include <string>

#include "support/directory_names.h"
#include "support/wide_text.h"

struct stat statusOf(const std::string& path);
// Sets the access and modification time of a path (links not followed).
void setTimes(const std::string& path, long seconds, long nanoseconds);
