// Recovery at start: before the program does anything else, every unfinished
// installation of this user (found through the registry) and any left in the
// proposed target directory is undone from its journal, each under its
// target's lock. Registry entries, journals and backup roots are untrusted:
// what does not prove itself this program's own is passed over, untouched,
// and noted. Main thread, before any installation starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/wide_string.h"

struct RecoveryNote {
  // The template directory the interrupted installation was writing to.
  WideString target;
  // Where its journal and saved versions are, when they had to be kept.
  WideString keptBackupRoot;
  bool undone = false;
  // A registry, registry entry or backup root passed over as untrusted,
  // and why (a code failure_reason explains); empty otherwise.
  WideString passedOver;
  uint32_t reason = 0;
  // Target-relative files the undo left as they are, as no longer the
  // interrupted installation's own.
  std::vector<std::string> leftAlone;
};

// Undoes what interrupted installations left behind; one note for each one
// found, undone, kept or passed over. `lockWaitMilliseconds`: how long to
// wait for a target that another installation holds (it is then left to
// that one).
std::vector<RecoveryNote> recover_interrupted_installations(const WideString& proposedTarget,
                                                            int lockWaitMilliseconds);

// Whether an interrupted installation waits to be undone: a registry entry,
// or a backup root in the proposed target. Changes nothing (for a dry run).
bool interrupted_installation_pending(const WideString& proposedTarget);
