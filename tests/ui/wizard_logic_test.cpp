// The wizard's logic without a window: paths, the worker's state as read, the
// waiting loop's pause, and the launcher files learning the installed directory.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <tuple>

#include "config/config_locations.h"
#include "config/starter.h"
#include "support/scratch_directory.h"
#include "support/test_files.h"
#include "ui/install_outcome.h"
#include "ui/install_session.h"
#include "ui/poll_pacing.h"
#include "ui/target_path.h"

TEST(TargetPathRules, ProposedTypedRecordedAndDescriptionPaths) {
  for (const WideString address : {u"/srv/https://x", u"http://host/t", u"ftp://host/t"})
    EXPECT_EQ(cleanTargetDirectory(address), u"") << narrow_lib(address);
  // "file://" goes at its first occurrence only.
  EXPECT_EQ(cleanTargetDirectory(u"file://file:///a/"), u"file:///a/");
  EXPECT_EQ(cleanTargetDirectory(u"/home/u/\r\nt\nm\rp"), u"/home/u/tmp");
  EXPECT_EQ(targetFromTypedPath(u"\\home\\me\\t/x"), u"/home/me/t/x");
  EXPECT_EQ(templateListEntry(u"/a/b\\"), u"/a/b");
  EXPECT_EQ(templateListEntry(u"/a/b//"), u"/a/b/");
  EXPECT_EQ(descriptionDocumentPath(u"/t", u"docs\\readme.html"), u"/t/docs/readme.html");
  EXPECT_EQ(descriptionDocumentPath(u"/t/", u"readme.html"), u"/t/readme.html");
}

TEST(InstallOutcomeRules, SnapshotsAreReadAsTheWorkerMeantThem) {
  // Error code, progress, worker finished, cancel requested, outcome.
  const std::tuple<uint32_t, int32_t, bool, bool, InstallOutcome> cases[] = {
      {0, 57, false, true, InstallOutcome::kRunning},  // the worker has not seen the cancel yet
      {0, 99, false, false, InstallOutcome::kRunning},
      {0, 100, false, false, InstallOutcome::kSucceeded},
      {0, 100, true, true, InstallOutcome::kSucceeded},  // a cancel too late changes nothing
      {3, 30, false, false, InstallOutcome::kFailed},
      {3, 100, true, true, InstallOutcome::kFailed},
      // A worker that ended without a result was cancelled, or else it failed.
      {0, 40, true, true, InstallOutcome::kCancelled},
      {0, 40, true, false, InstallOutcome::kFailed},
  };
  for (const auto& [code, progress, finished, cancel, outcome] : cases) {
    InstallSnapshot snapshot;
    snapshot.errorCode = code;
    snapshot.progress = progress;
    snapshot.workerFinished = finished;
    EXPECT_EQ(classifyInstall(snapshot, cancel), outcome)
        << code << " " << progress << "% " << finished << cancel;
  }
}

TEST(PollPacing, EveryPassPausesSoThatWaitingLeavesTheProcessorFree) {
  const auto start = std::chrono::steady_clock::now();
  for (int pass = 0; pass < 3; ++pass) pump_ready_events_and_pause();
  EXPECT_GE(std::chrono::steady_clock::now() - start,
            std::chrono::microseconds(3 * kPollPauseMicroseconds));
}

TEST(InstallSession, RecordsTheInstalledDirectoryFirstInTheFilesTheListCameFrom) {
  ScratchDirectory sandbox;
  ScopedEnvironment home("HOME", sandbox.path().c_str());
  // Records sandbox/installed over `list` set in one file: what it could not save, both lists.
  const auto record = [&](std::vector<WideString> list, bool inBase) {
    set_tmplts_list(list, inBase);
    InstallSession session;
    session.prepare(wide(sandbox / "nowhere/orbp8.pkd"), true);
    session.setTargetDirectory(wide(sandbox / "installed/"));
    WideString unsaved = u"left over";
    const bool saved = session.recordTemplateDirectory(unsaved);
    std::string result = (saved ? "saved" : "not saved: ") + narrow_lib(unsaved);
    for (const bool base : {true, false}) {
      result += base ? " | base:" : " | local:";
      list.clear();
      get_tmplts_list(list, true, base);
      for (const WideString& entry : list)
        result += narrow_lib(entry).substr(sandbox.path().size());
    }
    return result;
  };
  const WideString a = wide(sandbox / "a"), b = wide(sandbox / "b");
  // Only the base file names directories: it alone learns the new one.
  EXPECT_EQ(record({a}, true), "saved | base:/installed/a | local:");
  // A local file is read first, and both files get its list.
  EXPECT_EQ(record({b, a}, false), "saved | base:/installed/b/a | local:/installed/b/a");
  // A file that cannot be written is named; the other one is still written.
  const std::string localFile = narrow_lib(get_local_config_file_path());
  remove_tree(localFile);
  std::filesystem::create_directories(localFile);
  EXPECT_EQ(record({a}, true), "not saved: " + localFile + " | base:/installed | local:");
}
