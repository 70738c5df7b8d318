#include "ui/install_outcome.h"

InstallOutcome classifyInstall(const InstallSnapshot& snapshot, bool cancelRequested) {
  if (snapshot.errorCode != 0) return InstallOutcome::kFailed;
  if (snapshot.progress >= 100) return InstallOutcome::kSucceeded;
  if (!snapshot.workerFinished) return InstallOutcome::kRunning;
  return cancelRequested ? InstallOutcome::kCancelled : InstallOutcome::kFailed;
}

WideString fileInProgress(const WideString& message, const WideString& targetDirectory) {
  WideString prefix = targetDirectory;
  if (!prefix.empty() && !endsWithPathSeparator(prefix)) prefix += kPathSeparator;
  if (prefix.empty() || message.size() <= prefix.size() ||
      message.compare(0, prefix.size(), prefix) != 0) {
    return WideString();
  }
  return message.substr(prefix.size());
}

WideString withFailureDetail(const WideString& text, const WideString& detail) {
  if (detail.empty()) return text;
  WideString shown = detail;
  if (shown.size() > kFailureDetailCharacters) {
    size_t head = kFailureDetailCharacters / 3;
    size_t tailStart = detail.size() - (kFailureDetailCharacters - head - 3);
    // Never half a surrogate pair on either side of the cut.
    if (detail[head - 1] >= 0xD800 && detail[head - 1] <= 0xDBFF) --head;
    if (detail[tailStart] >= 0xDC00 && detail[tailStart] <= 0xDFFF) ++tailStart;
    shown = detail.substr(0, head) + u"..." + detail.substr(tailStart);
  }
  return text + u"\n\n" + shown;
}
