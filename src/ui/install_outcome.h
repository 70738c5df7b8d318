// How the dialog reads one snapshot of the worker's published state: still
// running, succeeded, failed or cancelled. Pure; any thread.
#pragma once

#include <cstdint>

#include "text/wide_string.h"

// One consistent reading of the shared state plus whether the worker ended.
struct InstallSnapshot {
  uint32_t errorCode = 0;
  WideString message;
  int32_t progress = 0;
  bool workerFinished = false;
  // Where the saved versions are kept after a rollback that could not put
  // everything back; empty otherwise.
  WideString keptBackupRoot;
  // What failed and why ("path: reason"); empty while nothing has failed.
  WideString failureDetail;
  // The previous version is being put back.
  bool rollingBack = false;
};

enum class InstallOutcome { kRunning, kSucceeded, kFailed, kCancelled };

// A non-zero code is a failure and progress 100 (or more) with code 0 a
// success, whatever was asked. A worker that ended without publishing either
// was cancelled when a cancel had been asked, else it failed.
InstallOutcome classifyInstall(const InstallSnapshot& snapshot, bool cancelRequested);
