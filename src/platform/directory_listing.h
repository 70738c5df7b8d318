// The one place that reads directories: the names of one directory, whole
// and sorted, for the file layer, the tree walks, the finder and the kit
// tool. Any thread.
#pragma once

#include <string>
#include <vector>

// Appends the names in the directory open as `directoryFd` ("." and ".."
// left out), sorted bytewise, read from the directory's start. The
// descriptor stays the caller's; its directory position is moved. Returns 0
// or the errno of the failure (names read before it are kept).
int listDirectoryAt(int directoryFd, std::vector<std::string>& names);
// The same for the directory at `path`, symbolic links followed.
int listDirectory(const std::string& path, std::vector<std::string>& names);
