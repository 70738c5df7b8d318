// Lists the entries of one directory ("." and ".." left out), telling real
// directories from everything else without following symbolic links, so
// that a walk of a tree never leaves it through a link. Any thread.
#pragma once

#include <vector>

#include "text/wide_string.h"

struct DirectoryEntry {
  WideString name;
  bool isDirectory = false;
};

// The entries of `directory` in the order the system returns them; empty
// when it cannot be opened.
std::vector<DirectoryEntry> list_directory(const WideString& directory);
