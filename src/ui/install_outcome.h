// How the dialog reads one snapshot of the worker's published state: still
// running, succeeded, failed or cancelled, the file at hand, and the final
// text that tells what failed; paths shortened to fit a page. Pure; any
// thread.
#pragma once

#include <cstddef>
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

// The file the worker is at, relative to the target directory: the published
// message without the directory and one separator; "" when the message is not
// a path below the directory (a status text).
WideString fileInProgress(const WideString& message, const WideString& targetDirectory);

// A path or detail of at most `maximum` characters: a longer one loses its
// middle to "...", so that a page's label holds it and its end (a file's
// name, a reason) is kept.
WideString shortenedInMiddle(const WideString& text, size_t maximum);
constexpr size_t kShownPathCharacters = 160;

// A final text with what failed and why under it, after a blank line, the
// detail shortened in the middle to kShownPathCharacters.
WideString withFailureDetail(const WideString& text, const WideString& detail);

// The success page's text: the success, then the template directory on a
// line of its own, shortened in the middle to kShownPathCharacters.
WideString successText(const WideString& targetDirectory);
