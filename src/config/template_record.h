// The installer's use of the launcher's template list: the list read at
// start to propose a directory, and the installed directory put at its front
// afterwards. Recording reads the files again under a lock file beside the
// directories of the user's local files (home/.Orbe/orbstart.cfg.lock), so
// that setups finishing together each keep the directory they installed. UI
// thread only.
#pragma once

#include <vector>

#include "text/wide_string.h"

// Appends the template list as the start reads it: from the regular pair of
// files when the local file exists, else from the base pair when the base
// local file exists, else nothing.
void read_template_list(std::vector<WideString>& list);

// Puts `entry` first in the template list, read afresh as read_template_list
// reads it, and stores the list: into the regular local file unless it came,
// not empty, from the base pair; then into the base local file when that
// exists. Each file is tried even when the other failed. Holds the lock from
// the reading to the last write (without it when the lock file cannot be
// made). False when a file could not be written, with their paths in
// `unsavedFiles` (one a line).
bool record_template_directory(const WideString& entry, WideString& unsavedFiles);

// The lock file that record_template_directory holds.
WideString template_list_lock_path();
