// The wizard's logic without a window: paths, the worker's state as read, the
// waiting loop's pause, the start's texts, the kit's titles and description,
// and the directory given on the command line and a kit's signature.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "config/starter.h"
#include "kit/kit_writer.h"
#include "kit/trusted_keys.h"
#include "support/child_process.h"
#include "support/scratch_directory.h"
#include "support/test_files.h"
#include "text/languages.h"
#include "ui/install_outcome.h"
#include "ui/install_session.h"
#include "ui/poll_pacing.h"
#include "ui/target_check.h"
#include "ui/target_path.h"

TEST(TargetPathRules, ProposedTypedRecordedAndDescriptionPaths) {
  for (const WideString address : {u"/srv/https://x", u"http://host/t", u"ftp://host/t"})
    EXPECT_EQ(cleanTargetDirectory(address), u"") << narrow_lib(address);
  // "file://" goes at its first occurrence only.
  EXPECT_EQ(cleanTargetDirectory(u"file://file:///a/"), u"file:///a/");
  EXPECT_EQ(cleanTargetDirectory(u"/home/u/\r\nt\nm\rp"), u"/home/u/tmp");
  // Typed, then as used with the home "/h" and the current directory "/c/d".
  const std::pair<WideString, WideString> typed[] = {
      {u"\\home\\me\\t/x\\", u"/home/me/t/x/"}, {u"/a//b/./c", u"/a/b/c"}, {u"", u""},
      {u"~/x", u"/h/x"}, {u"~", u"/h"}, {u"~x", u"/c/d/~x"}, {u"rel/dir", u"/c/d/rel/dir"},
      {u"./a/../b", u"/c/d/b"}, {u"../../..", u"/"}};
  for (const auto& [path, used] : typed)
    EXPECT_EQ(absoluteTargetPath(path, u"/h", u"/c/d"), used) << narrow_lib(path);
  EXPECT_EQ(absoluteTargetPath(u"~/x", u"", u"/c"), u"/c/~/x");
  EXPECT_EQ(absoluteTargetPath(u"a", u"/h", u""), u"a");
  EXPECT_EQ(narrow_lib(targetFromTypedPath(u"r")), std::filesystem::current_path() / "r");
  for (const char* home : {"/home/set/", ""}) {
    ScopedEnvironment variable("HOME", home);  // an empty one is the account's
    EXPECT_EQ(narrow_lib(targetFromTypedPath(u"~/t")),
              (*home ? "/home/set" : getpwuid(getuid())->pw_dir) + std::string("/t"));
  }
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
  // The published message, the target: the file shown under the bar.
  const std::tuple<WideString, WideString, WideString> files[] = {
      {u"/t/a/b.xml", u"/t", u"a/b.xml"}, {u"/t/a", u"/t/", u"a"}, {u"/tx/a", u"/t", u""},
      {u"/t/", u"/t", u""}, {u"Copying complete...", u"/t", u""}};
  for (const auto& [message, target, file] : files)
    EXPECT_EQ(fileInProgress(message, target), file) << narrow_lib(message);
  EXPECT_EQ(withFailureDetail(u"Failed.", u""), u"Failed.");
  EXPECT_EQ(withFailureDetail(u"Failed.", u"a/b: no space."), u"Failed.\n\na/b: no space.");
  const WideString shortened = withFailureDetail(u"F", WideString(300, u'd') + u": no space.");
  EXPECT_EQ(shortened,
            u"F\n\n" + WideString(53, u'd') + u"..." + WideString(93, u'd') + u": no space.");
}

TEST(PollPacing, EveryPassPausesSoThatWaitingLeavesTheProcessorFree) {
  const auto start = std::chrono::steady_clock::now();
  for (int pass = 0; pass < 3; ++pass) pump_ready_events_and_pause();
  EXPECT_GE(std::chrono::steady_clock::now() - start,
            std::chrono::microseconds(3 * kPollPauseMicroseconds));
}

TEST(InstallSession, StartTextsTitlesAndDescriptionFollowTheKit) {
  ScratchDirectory sandbox;
  ScopedEnvironment home("HOME", sandbox.path().c_str());
  std::filesystem::create_directories(sandbox / "directory/orbp8.pkd");
  write_file(sandbox / "garbage.pkd", std::string(4096, '\x5a'));
  const std::pair<std::string, std::string> failures[] = {
      {"garbage.pkd", "Distribution kit file orbp8.pkd corrupted"},
      {"directory/orbp8.pkd", "Distribution kit file orbp8.pkd could not be read or unpacked:\n" +
                                  sandbox / "directory/orbp8.pkd: "}};
  for (const auto& [kit, start] : failures) {
    const std::string text = narrow_lib(InstallSession().prepare(wide(sandbox / kit), false));
    EXPECT_EQ(text.substr(0, start.size()), start) << text;
  }
  // The English product stands in for a language the kit lacks; a name with
  // pattern characters is looked for as it is.
  KitLayout layout{false, {{u"en", u"T", u"V", u"doc[1]*.html"}, {u"ru", u"Т", u"", u""}}, {}};
  ASSERT_EQ(write_kit(layout, sandbox / "orbp8.pkd", 6, nullptr), "");
  set_tmplts_list({u"rel"}, false);  // proposed below the current directory
  InstallSession session;
  ASSERT_EQ(session.prepare(wide(sandbox / "orbp8.pkd"), false), u"");
  EXPECT_EQ(narrow_lib(session.targetDirectory()), std::filesystem::current_path() / "rel");
  // The size logged is the opened kit's, not that of what its path names later.
  const uint64_t size = std::filesystem::file_size(sandbox / "orbp8.pkd");
  std::filesystem::rename(sandbox / "garbage.pkd", sandbox / "orbp8.pkd");
  EXPECT_EQ(session.kitSize(), size);
  WideString product, vendor;
  for (const auto& [language, shown] : {std::pair{u"ka", u"T V"}, {u"RU", u"Т "}}) {
    session.titles(language, product, vendor);
    EXPECT_EQ(product + u" " + vendor, shown);
  }
  session.setTargetDirectory(wide(sandbox.path()));
  EXPECT_EQ(session.installedDescription(u"ru"), u"");  // not installed
  write_file(sandbox / "doc[1]*.html", "");
  EXPECT_EQ(session.installedDescription(u"ru"), wide(sandbox / "doc[1]*.html"));
}

TEST(InstallSession, TheCommandLinesDirectoryIsUsedAsTypedOrRefusedNamingWhatIsInTheWay) {
  ScratchDirectory sandbox;
  const std::string home = sandbox / "home", root = sandbox.path();
  std::filesystem::create_directories(home);
  ScopedEnvironment variable("HOME", home.c_str());
  KitLayout layout{false, {}, {}};
  ASSERT_EQ(write_kit(layout, sandbox / "orbp8.pkd", 6, nullptr), "");
  set_tmplts_list({wide(sandbox / "configured")}, false);
  write_file(sandbox / "file", "");
  ASSERT_EQ(0, symlink("nowhere", (sandbox / "dangling").c_str()));
  ASSERT_EQ(0, symlink("file", (sandbox / "tofile").c_str()));
  ASSERT_EQ(0, symlink(".", (sandbox / "todir").c_str()));
  const std::string link = ": " + narrow_lib(LoadResString("IDS_REASON_LINK"));
  const std::string inTheWay = ": " + narrow_lib(LoadResString("IDS_REASON_INTHEWAY"));
  // As typed; the directory installed into, or the lines under the refusal and the code.
  const std::tuple<std::string, std::string, std::string, uint32_t> cases[] = {
      {"~/t/", home + "/t/", "", 0},
      {root + "/todir/./new/../t", root + "/todir/t", "", 0},  // a link to a directory is one
      {"", "", "Specify correct path to template directory.", 3},
      {root + "/file", "", root + "/file" + inTheWay, 183},
      {root + "/file/t/", "", root + "/file/t\n" + root + "/file" + inTheWay, 183},
      {root + "/dangling", "", root + "/dangling" + link, 1921},
      {root + "/tofile", "", root + "/tofile" + link, 1921}};
  for (const auto& [typed, used, refusal, code] : cases) {
    InstallSession session;
    session.setTargetOption(wide(typed));
    const WideString text = session.prepare(wide(sandbox / "orbp8.pkd"), false);
    EXPECT_EQ(narrow_lib(text),
              refusal.empty() ? "" : narrow_lib(LoadResString("IDS_BAD_TARGET")) + "\n" + refusal)
        << typed;
    EXPECT_EQ(session.startFailure().code, code) << typed;
    if (refusal.empty()) {
      EXPECT_EQ(narrow_lib(session.targetDirectory()), used) << typed;
    }
  }
  // What may not be written: the nearest directory that exists, named.
  const std::string report = run_in_child([&] {
    const std::string readOnly = sandbox / "ro";
    std::string failure = mount_private_tmpfs(readOnly, "size=64k");
    mkdir((readOnly + "/made").c_str(), 0755);
    mkdir((sandbox / "denied").c_str(), 0555);
    if (failure.empty() && mount(nullptr, readOnly.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr))
      failure = "remount";
    if (failure.empty()) failure = drop_file_capabilities();
    if (!failure.empty()) return "skip: " + failure;
    std::string found;
    for (const std::string& target : {readOnly + "/made/new/t", sandbox / "denied/t", sandbox / "t"}) {
      const TargetObstacle obstacle = find_target_obstacle(wide(target));
      found += std::to_string(obstacle.reason) + " " + narrow_lib(obstacle.path) + "\n";
    }
    return found;
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ(report, "19 " + root + "/ro/made\n5 " + root + "/denied\n0 " + root + "\n");
}

// With a trusted key, an unattended session refuses an unsigned kit at its start, checks a
// signed one before anything changes, and holds the installation to the bytes it checked.
TEST(InstallSession, ATrustedKeyRequiresTheKitsSignatureAndTheBytesItSigned) {
  ScratchDirectory sandbox;
  ScopedEnvironment home("HOME", sandbox.path().c_str()), temp("TMPDIR", sandbox.path().c_str());
  const std::string kit = sandbox / "orbp8.pkd", key = sandbox / "vendor";
  write_file(sandbox / "large", std::string(16 << 20, 'x'));  // beyond what is read ahead
  KitLayout layout{false, {}, {{u"large.bin", sandbox / "large", {0, 0}, 16 << 20}}};
  ASSERT_EQ(write_kit(layout, kit, 0, nullptr), "");
  ASSERT_EQ(system(("minisign -GW -p " + key + ".pub -s " + key + ".sec > /dev/null").c_str()), 0);
  const auto start = [&](InstallSession& session) {
    session.setTrustedKeys(load_trusted_keys("", {key + ".pub"}));
    return narrow_lib(session.prepare(wide(kit), false));
  };
  InstallSession unsigned_;
  EXPECT_EQ(start(unsigned_), narrow_lib(LoadResString("IDS_ERROR_SIGNATURE")) + "\n" + kit +
                                  ": the kit is not signed (no .minisig file beside it), but a "
                                  "trusted key is configured.");
  ASSERT_EQ(system(("minisign -S -s " + key + ".sec -m " + kit + " > /dev/null").c_str()), 0);
  InstallSession session;
  ASSERT_EQ(start(session), "");
  EXPECT_EQ(session.verifiedKeyFile(), key + ".pub");
  std::fstream file(kit, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(static_cast<std::streamoff>(read_file(kit).find("xxxxxxxx", 15 << 20)));
  file.put('y');
  file.close();
  session.setTargetDirectory(wide(sandbox / "target"));
  ASSERT_TRUE(session.startInstall(false));
  session.waitForWorker();
  EXPECT_EQ(session.snapshot().errorCode, ERROR_INVALID_IMAGE_HASH);
  EXPECT_FALSE(exists(sandbox / "target/large.bin"));
}
