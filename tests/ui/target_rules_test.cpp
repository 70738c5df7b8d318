// The pure rules of the wizard: cleaning of a proposed template directory, a
// typed directory, the recorded template entry, the description's path, and
// how a snapshot of the worker's state is read.
#include <gtest/gtest.h>

#include "ui/install_outcome.h"
#include "ui/target_path.h"

TEST(TargetDirectoryRules, CleaningDropsRemoteUrlsAndLineBreaks) {
  EXPECT_EQ(cleanTargetDirectory(u"http://host/tmplts"), u"");
  EXPECT_EQ(cleanTargetDirectory(u"/srv/https://x"), u"");
  EXPECT_EQ(cleanTargetDirectory(u"ftp://host/t"), u"");
  // "file://" goes at its first occurrence only, so a file URL of an absolute
  // path becomes that path.
  EXPECT_EQ(cleanTargetDirectory(u"file:///home/u/tmplts/"), u"/home/u/tmplts/");
  EXPECT_EQ(cleanTargetDirectory(u"file://file:///a"), u"file:///a");
  EXPECT_EQ(cleanTargetDirectory(u"/home/u/\r\nt\nm\rp"), u"/home/u/tmp");
  EXPECT_EQ(cleanTargetDirectory(u"/plain/dir"), u"/plain/dir");
  // A remote URL empties the path even when it also holds "file://".
  EXPECT_EQ(cleanTargetDirectory(u"file://http://x"), u"");
}

TEST(TargetDirectoryRules, TypedPathsTemplateEntriesAndDescription) {
  EXPECT_EQ(targetFromTypedPath(u"C:\\Users\\me\\t"), u"C:/Users/me/t");
  EXPECT_EQ(targetFromTypedPath(u""), u"");

  // One final separator goes; a second one stays.
  EXPECT_EQ(templateListEntry(u"/a/b/"), u"/a/b");
  EXPECT_EQ(templateListEntry(u"/a/b\\"), u"/a/b");
  EXPECT_EQ(templateListEntry(u"/a/b//"), u"/a/b/");
  EXPECT_EQ(templateListEntry(u"/a/b"), u"/a/b");
  EXPECT_EQ(templateListEntry(u""), u"");

  // Exactly one separator between the directory and the name.
  EXPECT_EQ(descriptionDocumentPath(u"/t", u"docs\\readme.html"), u"/t/docs/readme.html");
  EXPECT_EQ(descriptionDocumentPath(u"/t/", u"readme.html"), u"/t/readme.html");
  EXPECT_EQ(descriptionDocumentPath(u"/t\\", u"readme.html"), u"/t/readme.html");
}

TEST(InstallOutcomeRules, SnapshotsAreReadAsTheWorkerMeantThem) {
  InstallSnapshot running{0, u"/t/a.xml", 57, false, {}};
  EXPECT_EQ(classifyInstall(running, false), InstallOutcome::kRunning);
  // A cancel that has not reached the worker yet keeps the run going.
  EXPECT_EQ(classifyInstall(running, true), InstallOutcome::kRunning);

  InstallSnapshot done{0, u"Copying complete...", 100, false, {}};
  EXPECT_EQ(classifyInstall(done, false), InstallOutcome::kSucceeded);
  // A cancel that came too late does not undo a finished installation.
  done.workerFinished = true;
  EXPECT_EQ(classifyInstall(done, true), InstallOutcome::kSucceeded);
  done.progress = 120;
  EXPECT_EQ(classifyInstall(done, false), InstallOutcome::kSucceeded);

  InstallSnapshot failed{3, u"Installation error", 30, false, {}};
  EXPECT_EQ(classifyInstall(failed, false), InstallOutcome::kFailed);
  EXPECT_EQ(classifyInstall(failed, true), InstallOutcome::kFailed);

  // A worker that ended silently was cancelled, or else it failed.
  InstallSnapshot ended{0, u"/t/b.xml", 40, true, {}};
  EXPECT_EQ(classifyInstall(ended, true), InstallOutcome::kCancelled);
  EXPECT_EQ(classifyInstall(ended, false), InstallOutcome::kFailed);
}
