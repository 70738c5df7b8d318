// Removal of whole directory trees with system calls, relative to open
// directory descriptors so that a symbolic link inside the tree is removed
// and never followed. Any thread.
#pragma once

#include <string>

// Removes the entry `name` of the directory open as `parentFd`: a directory
// together with everything below it, anything else by unlinking. Failures are
// skipped; the caller checks what is left.
void removeEntryAt(int parentFd, const std::string& name);

// Removes the file, link or directory tree at `path`. The root directory and
// paths ending in "." or ".." are refused.
void removeTree(const std::string& path);
