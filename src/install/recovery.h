// Recovery at start: before the program does anything else, every unfinished
// installation of this user (found through the registry) and any left in the
// proposed target directory is undone from its journal, each under its
// target's lock. Main thread, before any installation starts.
#pragma once

#include <vector>

#include "text/wide_string.h"

struct RecoveryNote {
  // The template directory the interrupted installation was writing to.
  WideString target;
  // Where its journal and saved versions are, when they had to be kept.
  WideString keptBackupRoot;
  bool undone = false;
};

// Undoes what interrupted installations left behind; one note for each one
// found, undone or kept. `lockWaitMilliseconds`: how long to wait for a
// target that another installation holds (it is then left to that one).
std::vector<RecoveryNote> recover_interrupted_installations(const WideString& proposedTarget,
                                                            int lockWaitMilliseconds);
