#include "ui/install_outcome.h"

InstallOutcome classifyInstall(const InstallSnapshot& snapshot, bool cancelRequested) {
  if (snapshot.errorCode != 0) return InstallOutcome::kFailed;
  if (snapshot.progress >= 100) return InstallOutcome::kSucceeded;
  if (!snapshot.workerFinished) return InstallOutcome::kRunning;
  return cancelRequested ? InstallOutcome::kCancelled : InstallOutcome::kFailed;
}
