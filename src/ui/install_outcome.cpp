#include "ui/install_outcome.h"

#include "text/languages.h"

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

WideString shortenedInMiddle(const WideString& text, size_t maximum) {
  if (text.size() <= maximum) return text;
  size_t head = maximum / 3;
  size_t tailStart = text.size() - (maximum - head - 3);
  // Never half a surrogate pair on either side of the cut.
  if (text[head - 1] >= 0xD800 && text[head - 1] <= 0xDBFF) --head;
  if (text[tailStart] >= 0xDC00 && text[tailStart] <= 0xDFFF) ++tailStart;
  return text.substr(0, head) + u"..." + text.substr(tailStart);
}

WideString withFailureDetail(const WideString& text, const WideString& detail) {
  if (detail.empty()) return text;
  return text + u"\n\n" + shortenedInMiddle(detail, kShownPathCharacters);
}

WideString successText(const WideString& targetDirectory) {
  return LoadResString("IDS_SUCCESS_FINISH") + u"\n" + LoadResString("IDS_TEMPLATE_CATALOG") + u"\n" +
         shortenedInMiddle(withoutFinalSeparators(targetDirectory), kShownPathCharacters);
}
