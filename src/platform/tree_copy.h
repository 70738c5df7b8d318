// Copying a file, link or whole directory tree between directories on
// different file systems, keeping modes, owners (where permitted) and times,
// as a move across file systems needs. Any thread.
#pragma once

#include <string>

// Copies the entry `sourceName` of the directory open as `sourceParentFd` to
// the new entry `targetName` of `targetParentFd`, which must not exist yet.
// Returns 0 or the errno of the first failure; a partial copy is left for
// the caller to remove.
int copyEntryAt(int sourceParentFd, const std::string& sourceName, int targetParentFd,
                const std::string& targetName);
