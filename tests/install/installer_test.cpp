// The installation run: which entries it writes and with what mode, what it
// publishes, the entries it refuses, a kit cut short and a busy target.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <thread>

#include "install/install_fixture.h"
#include "install/install_registry.h"
#include "install/target_lock.h"

using InstallerTest = InstallTest;

// What is missing, older or a link to nowhere is written with the kit's time, path
// and share published first; modes kept or 0660/0777 less the umask, the backup
// root and registry private; a file named twice decided once; success paused; the
// target's file system flushed ahead while writing, never after the commit. A dry
// run before decides the same and only reads; the log and counts tell every action.
TEST_F(InstallerTest, WritesWhatIsMissingOrOlder) {
  const mode_t umaskBefore = umask(022);
  for (const auto& [name, time] : {std::pair<std::string, int64_t>{"older", kT - 1},
                                   {"equal", kT}, {"newer", kT + 1}, {"fraction", kT}})
    write_file(target / (name + ".cfg"), name, time);
  chmod((target / "older.cfg").c_str(), 0604);
  _FILETIME fraction = EpochToFileTime(kT);
  fraction.dwLowDateTime += 5000000;  // half a second later (no carry at this time)
  ASSERT_EQ(0, symlink("nowhere", (target / "dangling.cfg").c_str()));
  openKit({{"missing.cfg", "kit missing"},
           {"older.cfg", "kit older"},
           {"equal.cfg", "kit equal"},
           {"newer.cfg", "kit newer"},
           {"fraction.cfg", "kit fraction", fraction},
           {"dangling.cfg", "kit dangling"},
           {"new\\twice.cfg", "twice"},
           {"new\\twice.cfg", "twice older", EpochToFileTime(kT - 10)}});
  const auto actions = [](const std::string& kinds, const std::string& counts) {
    const char* names[] = {"missing", "older", "equal", "newer", "fraction", "dangling", "new/twice", "new/twice"};
    std::string lines;
    for (size_t i = 0; i < kinds.size(); ++i)
      lines += std::map<char, std::string>{{'c', "would-create"}, {'r', "would-replace"}, {'C', "created"},
                                           {'R', "replaced"}, {'K', "kept"}}[kinds[i]] + " " + names[i] + ".cfg\n";
    return lines + counts;
  };
  const TreeSnapshot before = snapshot_tree(target.path());
  EXPECT_EQ("0 0 100 " + resource("IDS_INSTALL_FINISH"), dryRun(target.path()).text());
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_EQ("", leftovers());
  EXPECT_EQ(actions("crKKrrcK", "2/3/3/49"), logged());
  std::string published;
  std::set<std::string> modes;  // of the backup root, the registry and its entry
  FileFaults faults;
  faults.on(FileOperation::kCreate, [&](const std::string& path) {
    Outcome state;
    data.getInstallState(state.code, state.message, state.progress);
    if (path.find(".p8new") != std::string::npos || path.find(".p8dir") != std::string::npos)
      published += state.text() + ";";
    return 0u;
  });
  faults.on(FileOperation::kMove, [&](const std::string&) {
    modes.insert(snapshot_tree(target.path())[".p8stp"].substr(0, 6));
    for (const auto& [name, item] : snapshot_tree(install_registry_directory()))
      modes.insert(item.substr(0, 6));
    return 0u;
  });
  // One step, reached by the third file; a slow flush, which the commit waits for.
  earlyFlushStep = 30;
  faults.on(FileOperation::kFlushAhead, [](const std::string&) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return 0u;
  });
  const auto started = std::chrono::steady_clock::now();
  const Outcome outcome = install(target.path(), 0, 300);
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(300));
  std::string flushesAhead;
  for (const FileCall& call : faults.calls()) {
    if (call.operation == FileOperation::kFlushAhead) flushesAhead += "ahead;";
    if (call.operation == FileOperation::kMove && call.path.find("committed") != std::string::npos)
      flushesAhead += "committed;";
  }
  EXPECT_EQ("ahead;committed;", flushesAhead);
  umask(umaskBefore);
  const std::string root = target.path() + "/";
  EXPECT_EQ("0 0 0 " + root + "missing.cfg;0 0 13 " + root + "older.cfg;0 0 48 " + root +
                "fraction.cfg;0 0 63 " + root + "dangling.cfg;0 0 79 " + root + "new/twice.cfg;",
            published);
  EXPECT_EQ("0 0 100 " + resource("IDS_INSTALL_FINISH"), outcome.text());
  modes.erase("");  // no backup root yet
  EXPECT_EQ((std::set<std::string>{"d 0700", "f 0600"}), modes);
  const TreeSnapshot installed = snapshot_tree(target.path());
  EXPECT_EQ((TreeSnapshot{{"dangling.cfg", "f 0640 1600000000.000000000 kit dangling"},
                          {"equal.cfg", "f 0644 1600000000.000000000 equal"},
                          {"fraction.cfg", "f 0644 1600000000.000000000 kit fraction"},
                          {"missing.cfg", "f 0640 1600000000.000000000 kit missing"},
                          {"new/twice.cfg", "f 0640 1600000000.000000000 twice"},
                          {"newer.cfg", "f 0644 1600000001.000000000 newer"},
                          {"older.cfg", "f 0604 1600000000.000000000 kit older"}}),
            files_of(installed));
  EXPECT_EQ("d 0755", installed.at("new").substr(0, 6) + leftovers());
  EXPECT_EQ(actions("CRKKRRCK", "2/3/3/49"), logged());
  set_time(target / "fraction.cfg", kT + 1);  // else written again: the kit's time has a fraction
  EXPECT_EQ(0u, install(target.path()).result);
  EXPECT_EQ(actions("KKKKKKKK", "0/0/8/0"), logged());
}

// Entries never written (a directory, a pipe, a file or link in the way, the backup
// root), a full disk, a denied file, a busy target and a kit cut short after its
// catalogue: the tree is as it was and the state says what failed where and why, as
// does the log with the rollback. A dry run finds the same refusals (a denied target
// for the others) and only reads.
TEST_F(InstallerTest, RefusedRunsTouchNothing) {
  write_file(target / "a.cfg", "mine", kT - 1);
  write_file(target / "forms.xml/user.txt", "user data", kT - 5);
  write_file(target / "blocked", "a file, not a directory", kT - 1);
  ASSERT_EQ(0, mkfifo((target / "pipe").c_str(), 0600));
  ASSERT_EQ(0, symlink("forms.xml", (target / "linked").c_str()));
  std::string noise(160000, '\0');
  uint32_t seed = 12345;
  for (char& byte : noise) byte = static_cast<char>((seed = seed * 1103515245 + 12345) >> 24);
  // Each case's codes and share, then the headline, and the detail ("path: reason") that the
  // box shows under it unless the headline names that path already.
  const std::string failed = resource("IDS_INSTALL_ERROR") + "\n" +
                             resource("IDS_TEMPLATE_CATALOG") + "\n" + target.path();
  const std::string damaged = resource("IDS_ERROR_DAMAGEDSOURCE");
  const std::string inTheWay = ": " + resource("IDS_REASON_INTHEWAY");
  const std::string notDirectory = resource("IDS_ERROR_NOTDIRECTORY") + "\n" + target / "";
  const struct {
    std::string name;
    FileOperation operation;
    uint32_t fault;
    std::string outcome, detail;
    bool detailShown;
  } cases[] = {
      {"forms.xml", {}, 0, "183 183 33 " + failed, "forms.xml" + inTheWay, true},
      {"pipe", {}, 0, "183 183 33 " + failed, "pipe" + inTheWay, true},
      {"blocked\\f", {}, 0, "3 3 33 " + notDirectory + "blocked", "blocked" + inTheWay, false},
      {"linked\\f", {}, 0, "3 3 33 " + notDirectory + "linked",
       "linked: " + resource("IDS_REASON_LINK"), false},
      {".p8stp\\saved\\a.cfg", {}, 0, "123 123 33 " + failed,
       ".p8stp/saved/a.cfg: " + resource("IDS_REASON_DAMAGED"), true},
      {"sub\\full", FileOperation::kWrite, 112, "112 112 33 " + failed,
       "sub/full: " + resource("IDS_REASON_DISKFULL"), true},
      {"sub\\denied", FileOperation::kCreate, 5, "5 5 33 " + failed,
       "sub/denied: " + resource("IDS_REASON_ACCESS"), true},
      {"sub\\io", FileOperation::kWrite, 1117, "1117 1117 33 " + failed,
       "sub/io: " + resource("IDS_REASON_IO"), true},
      // A directory that may not be made is not "in the way", whatever stops it.
      {"denied\\f", FileOperation::kMakeDirectory, 5, "3 3 0 " + failed,
       "denied: " + resource("IDS_REASON_ACCESS"), true},
      {"readonly\\f", FileOperation::kMakeDirectory, 19, "3 3 0 " + failed,
       "readonly: " + resource("IDS_REASON_READONLY"), true},
      {"cut", {}, 0, "13 13 89 " + damaged, "dir/f7: " + resource("IDS_REASON_DAMAGED"), true},
      // Damage past what was written is found by the check of the rest.
      {"cut, 7 up to date", {}, 0, "13 13 87 " + damaged,
       kitPath() + ": " + resource("IDS_REASON_DAMAGED"), true},
      {"cut, 8 up to date", {}, 0, "13 13 87 " + damaged,
       kitPath() + ": " + resource("IDS_REASON_DAMAGED"), true},
      {"busy", {}, 0, "32 32 0 " + resource("IDS_TARGET_BUSY") + "\n" + target.path(), "", false},
      {"busy below", {}, 0, "32 32 0 " + resource("IDS_TARGET_BUSY") + "\n" + target.path(), "",
       false}};
  TargetLock other;
  for (const auto& [name, operation, fault, headline, detail, detailShown] : cases) {
    const std::string outcome = detailShown ? headline + "\n" + detail : headline;
    if (name.substr(0, 3) != "cut") {
      openKit({{"a.cfg", "a"}, {name, "kit", EpochToFileTime(kT + 100)}});
    } else {
      std::vector<KitFile> files;
      for (int i = 0; i < 8; ++i)
        files.push_back({"dir\\f" + std::to_string(i), noise.substr(i * 20000, 20000)});
      openKit(files);
      kit.close();
      ASSERT_EQ(0, truncate(kitPath().c_str(), std::filesystem::file_size(kitPath()) * 9 / 10));
      for (int i = 8 - (name.size() > 3 ? name[5] - '0' : 0); i < 8; ++i)
        write_file(target / ("dir/f" + std::to_string(i)), "mine", kT);
      ASSERT_EQ(0u, kit.open(wide(kitPath())));
    }
    // Another installation into the target, or into a directory below it.
    if (name.substr(0, 4) == "busy") std::filesystem::create_directories(target / "forms.xml/below");
    ASSERT_EQ(0u, name == "busy"         ? other.acquire(target.path(), 0)
                  : name == "busy below" ? other.acquire(target / "forms.xml/below", 0)
                                         : 0u);
    const TreeSnapshot before = snapshot_tree(target.path());
    const std::string reason = detail.empty() ? "" : detail.substr(detail.find(": ") + 2);
    EXPECT_EQ(fault != 0 ? std::to_string(fault) + " " + std::to_string(fault) + " 0 " + failed +
                               "\n" + target.path() + ": " + reason
              : name.substr(0, 4) == "busy" ? "0 0 100 " + resource("IDS_INSTALL_FINISH")
              : name.substr(0, 3) == "cut" ? cases[10].outcome + "\n" + cases[10].detail
                                           : outcome,
              dryRun(target.path(), fault).text()) << name;
    EXPECT_EQ(before, snapshot_tree(target.path())) << name;
    logged();
    kit.close();  // from its start again
    ASSERT_EQ(0u, kit.open(wide(kitPath())));
    FileFaults faults;
    // A new directory is made under a hidden name, and a new file in it under its own.
    if (operation == FileOperation::kMakeDirectory) faults.fail(operation, fault, ".p8dir");
    if (operation != FileOperation::kMakeDirectory && fault != 0) faults.fail(operation, fault, "/" + name.substr(4));
    EXPECT_EQ(outcome, install(target.path(), 100).text()) << name;
    EXPECT_EQ(detail, narrow_lib(data.failureDetail())) << name;
    EXPECT_EQ(before, snapshot_tree(target.path())) << name;
    EXPECT_EQ("", leftovers()) << name;
    const std::string log = logged(), error = "error " + narrow_lib(data.failureDetail());
    EXPECT_NE(std::string::npos, log.find(error + " code=" + outcome.substr(0, outcome.find(' '))) + (name.substr(0, 4) == "busy")) << log;
    if (name == "sub\\full") {
      EXPECT_EQ("replaced a.cfg\n" + error + " code=112\nrollback code=112\nremoved sub\nrestored a.cfg\n0/0/0/0", log);
    }
  }
  remove_tree(target / "forms.xml/below");
  ASSERT_EQ(0u, other.acquire(target.path(), 0));
  // A run that waits longer goes on once the other is done.
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    other.release();
  });
  EXPECT_EQ("0 0 100 " + resource("IDS_INSTALL_FINISH"), install(target.path(), 5000).text());
  release.join();
}

// A cancel takes effect at once wherever it comes: while up-to-date files are passed
// over, inside a large file's copy (when the bar, counting bytes, is past half), and
// after the last entry before the commit. The rollback is announced, the tree is as it
// was and no temporary file is left.
TEST_F(InstallerTest, CancelStopsAnywhereBeforeTheCommit) {
  std::vector<KitFile> files;
  for (int i = 100; i < 400; ++i) {
    files.push_back({"same\\f" + std::to_string(i), "same"});
    write_file(target / ("same/f" + std::to_string(i)), "same", kT);
  }
  std::string big(6 << 20, 'a');
  for (size_t i = 0; i < big.size(); i += 7) big[i] = static_cast<char>('a' + i % 23);
  files.push_back({"big.bin", big});
  files.push_back({"last.cfg", "last"});
  openKit(files);
  const TreeSnapshot before = snapshot_tree(target.path());
  for (const auto& [operation, part] : {std::pair{FileOperation::kStatus, "same/f200"},
                                        {FileOperation::kWrite, ".p8new"},
                                        {FileOperation::kMove, "last.cfg"}}) {
    FileFaults faults;
    int calls = 0, callsAtCancel = 0;
    Outcome atCancel;
    faults.on(operation, [&, part = std::string(part)](const std::string& path) {
      if (path.find(part) == std::string::npos) return 0u;
      ++calls;
      data.getInstallState(atCancel.code, atCancel.message, atCancel.progress);
      if (!data.isCancelled() && (operation != FileOperation::kWrite || atCancel.progress >= 50)) {
        data.setCancel(true);
        callsAtCancel = calls;
      }
      return 0u;
    });
    EXPECT_EQ(ERROR_CANCELLED, install(target.path()).result) << part;
    // Announced where files had begun to change, not while up-to-date ones were passed over.
    EXPECT_EQ(operation != FileOperation::kStatus, data.rollingBack()) << part;
    EXPECT_EQ(callsAtCancel, calls) << part;
    const bool passing = operation == FileOperation::kStatus, copying = !passing && calls > 1;
    EXPECT_EQ(0, passing ? faults.count(FileOperation::kStatus, "same/f3") : 0) << part;
    EXPECT_LT(copying ? atCancel.progress : 0, 75) << "past half the bytes, not the entries";
    EXPECT_EQ(before, snapshot_tree(target.path())) << part;
    EXPECT_EQ("", leftovers()) << part;
  }
}

// One installation per tree: a run into a directory, one above it (also reached
// through a link) or one below it waits or is busy; runs into sibling directories
// go on together.
TEST(TargetLock, KeepsNestedTargetsApartAndSiblingsTogether) {
  ScratchDirectory tree;
  for (const char* directory : {"T/a/deep", "T/b"}) std::filesystem::create_directories(tree / directory);
  ASSERT_EQ(0, symlink((tree / "T/a").c_str(), (tree / "link").c_str()));
  const struct {
    std::vector<const char*> held;
    const char* asked;
    uint32_t result;
  } cases[] = {{{"T"}, "T", ERROR_SHARING_VIOLATION},
               {{"T"}, "T/a/deep", ERROR_SHARING_VIOLATION},
               {{"T/a/deep"}, "T", ERROR_SHARING_VIOLATION},
               {{"link"}, "T/a", ERROR_SHARING_VIOLATION},
               {{"T/a"}, "T/b", 0},
               {{"T/a", "T/b"}, "T", ERROR_SHARING_VIOLATION},
               {{"T/a", "T/b"}, "T/a/deep", ERROR_SHARING_VIOLATION},
               {{}, "T/missing", ERROR_PATH_NOT_FOUND}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.asked);
    std::vector<std::unique_ptr<TargetLock>> held;
    for (const char* directory : c.held) {
      held.push_back(std::make_unique<TargetLock>());
      ASSERT_EQ(0u, held.back()->acquire(tree / directory, 0));
    }
    TargetLock asked;
    EXPECT_EQ(c.result, asked.acquire(tree / c.asked, 60));
    held.clear();
    EXPECT_EQ(c.result == ERROR_PATH_NOT_FOUND ? c.result : 0u, asked.acquire(tree / c.asked, 0));
  }
}

// Root installing into a user's tree keeps it the user's: a replaced file keeps its
// owner, group and mode, a new file or directory takes those of the directory it is
// made in.
TEST_F(InstallerTest, RootOverAUsersTreeKeepsItTheUsers) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give files to others";
  write_file(target / "conf/a.cfg", "old a", kT - 1);
  write_file(target / "conf/other.cfg", "old other", kT - 1);
  for (const char* path : {".", "conf", "conf/a.cfg"}) {
    ASSERT_EQ(0, chown((target / path).c_str(), 65534, 65533));
  }
  ASSERT_EQ(0, chown((target / "conf/other.cfg").c_str(), 1234, 4321));
  chmod((target / "conf/other.cfg").c_str(), 0604);
  // A directory of someone else's: its new files are that one's.
  std::filesystem::create_directory(target / "theirs");
  ASSERT_EQ(0, chown((target / "theirs").c_str(), 1234, 4321));
  openKit({{"conf\\a.cfg", "kit a"}, {"conf\\other.cfg", "kit other"}, {"conf\\new.cfg", "new"},
           {"fresh\\deep\\x.cfg", "x"}, {"theirs\\t.cfg", "t"}});
  ASSERT_EQ(0u, install(target.path()).result);
  const std::pair<const char*, const char*> owners[] = {
      {"conf/a.cfg", "65534:65533"}, {"conf/other.cfg", "1234:4321 604"},
      {"conf/new.cfg", "65534:65533"}, {"fresh", "65534:65533"},
      {"fresh/deep", "65534:65533"}, {"fresh/deep/x.cfg", "65534:65533"},
      {"theirs/t.cfg", "1234:4321"}};
  for (const auto& [path, owner] : owners) {
    const struct stat status = status_of(target / path);
    char mode[8];
    snprintf(mode, sizeof mode, " %o", status.st_mode & 0777);
    const bool replacedOther = std::string(path) == "conf/other.cfg";
    EXPECT_EQ(owner, std::to_string(status.st_uid) + ":" + std::to_string(status.st_gid) +
                         (replacedOther ? mode : ""))
        << path;
  }
}

// A signed kit changed on disk after its signature was checked, beyond what the stream had
// read: the run's own read of the kit finds other bytes before the commit, names the kit and
// undoes everything.
TEST_F(InstallerTest, AKitChangedAfterItsSignatureWasCheckedIsRolledBack) {
  kit.setDigesting(true);
  openKit({{"first.cfg", "first"}, {"large.bin", std::string(16 << 20, 'x')}}, 0);
  std::atomic<bool> stop{false};
  std::atomic<uint64_t> read{0};
  KitDigestValue digest{};
  ASSERT_EQ(0u, kit.digestSeparately(stop, read, digest, nullptr, 0));
  kit.expectDigest(digest);
  std::fstream file(kitPath(), std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(static_cast<std::streamoff>(read_file(kitPath()).find("xxxxxxxx", 15 << 20)));
  file.put('y');
  file.close();
  const TreeSnapshot before = snapshot_tree(target.path());
  const Outcome outcome = install(target.path());
  EXPECT_EQ(outcome.result, ERROR_INVALID_IMAGE_HASH);
  EXPECT_EQ(narrow_lib(outcome.message),
            resource("IDS_INSTALL_ERROR") + "\n" + resource("IDS_TEMPLATE_CATALOG") + "\n" +
                target.path() + "\n" + kitPath() + ": " + resource("IDS_REASON_KITCHANGED"));
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_EQ("", leftovers());
}
