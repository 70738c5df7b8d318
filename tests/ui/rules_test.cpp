// The wizard's rules that need no window: how a proposed, typed, recorded
// or description path is formed, how a snapshot of the worker's state is
// read, and that the waiting loop pauses between its passes.
#include <gtest/gtest.h>

#include <chrono>
#include <utility>

#include "ui/install_outcome.h"
#include "ui/poll_pacing.h"
#include "ui/target_path.h"

TEST(TargetPathRules, ProposedTypedRecordedAndDescriptionPaths) {
  const std::pair<WideString, WideString> cleaned[] = {
      {u"http://host/tmplts", u""},
      {u"/srv/https://x", u""},
      {u"ftp://host/t", u""},
      {u"file://http://x", u""},
      // "file://" goes at its first occurrence only.
      {u"file:///home/u/tmplts/", u"/home/u/tmplts/"},
      {u"file://file:///a", u"file:///a"},
      {u"/home/u/\r\nt\nm\rp", u"/home/u/tmp"},
  };
  for (const auto& [configured, proposed] : cleaned) {
    EXPECT_EQ(cleanTargetDirectory(configured), proposed) << narrow_lib(configured);
  }
  EXPECT_EQ(targetFromTypedPath(u"\\home\\me\\t/x"), u"/home/me/t/x");
  // One final separator goes; a second one stays.
  EXPECT_EQ(templateListEntry(u"/a/b/"), u"/a/b");
  EXPECT_EQ(templateListEntry(u"/a/b\\"), u"/a/b");
  EXPECT_EQ(templateListEntry(u"/a/b//"), u"/a/b/");
  EXPECT_EQ(templateListEntry(u"/a/b"), u"/a/b");
  // Exactly one separator between the directory and the name.
  EXPECT_EQ(descriptionDocumentPath(u"/t", u"docs\\readme.html"), u"/t/docs/readme.html");
  EXPECT_EQ(descriptionDocumentPath(u"/t/", u"readme.html"), u"/t/readme.html");
  EXPECT_EQ(descriptionDocumentPath(u"/t\\", u"readme.html"), u"/t/readme.html");
}

TEST(InstallOutcomeRules, SnapshotsAreReadAsTheWorkerMeantThem) {
  struct Case {
    uint32_t errorCode;
    int32_t progress;
    bool workerFinished;
    bool cancelRequested;
    InstallOutcome outcome;
  };
  const Case cases[] = {
      {0, 57, false, false, InstallOutcome::kRunning},
      {0, 57, false, true, InstallOutcome::kRunning},  // the worker has not seen the cancel yet
      {0, 99, false, false, InstallOutcome::kRunning},
      {0, 100, false, false, InstallOutcome::kSucceeded},
      {0, 100, true, true, InstallOutcome::kSucceeded},  // a cancel too late changes nothing
      {0, 120, true, false, InstallOutcome::kSucceeded},
      {3, 30, false, false, InstallOutcome::kFailed},
      {3, 100, true, true, InstallOutcome::kFailed},
      // A worker that ended without a result was cancelled, or else it failed.
      {0, 40, true, true, InstallOutcome::kCancelled},
      {0, 40, true, false, InstallOutcome::kFailed},
  };
  for (const Case& c : cases) {
    const InstallSnapshot snapshot{c.errorCode, u"/t/a.xml", c.progress, c.workerFinished, {}};
    EXPECT_EQ(classifyInstall(snapshot, c.cancelRequested), c.outcome)
        << "code " << c.errorCode << ", " << c.progress << "%, finished " << c.workerFinished
        << ", cancel " << c.cancelRequested;
  }
}

// A lower bound only: the loop must give the processor up between passes.
TEST(PollPacing, EveryPassPausesSoThatWaitingLeavesTheProcessorFree) {
  const auto start = std::chrono::steady_clock::now();
  for (int pass = 0; pass < 3; ++pass) pump_ready_events_and_pause();
  EXPECT_GE(std::chrono::steady_clock::now() - start,
            std::chrono::microseconds(3 * kPollPauseMicroseconds));
}
