// Collects the files of a directory tree as kit entries, in a stable order:
// each directory's names sorted bytewise, a directory's content where its
// name sorts. Used by the kit tool and tests; one thread per call.
#pragma once

#include <string>
#include <vector>

#include "kit/kit_layout.h"

// Appends an entry for every regular file below `root` (symbolic links to
// files are followed, links to directories are not descended into): name
// relative to `root` with "\" separators, size and modification time in
// whole seconds. Returns an error text, empty on success; a name holding a
// backslash is an error, since it would read back as a separator.
std::string scan_kit_tree(const std::string& root, std::vector<KitEntry>& entries);
