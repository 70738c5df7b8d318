// Gives a forked child (see child_process.h) a small file system of its own:
// a private mount namespace with a size-limited tmpfs, for full-disk and
// cross-device cases. Super-user only; never call it in the test process.
#pragma once

#include <string>

// Enters a private mount namespace and mounts a tmpfs with `sizeOption` (for
// example "size=64k") on `mountPoint`, which is made when missing. Empty on
// success, else the reason.
std::string mount_private_tmpfs(const std::string& mountPoint, const std::string& sizeOption);
