#include "install/installer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "install/install_thread.h"
#include "install/scripted_file_system.h"
#include "install/tree_fixture.h"
#include "platform/tree_removal.h"
#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/nobody_user.h"
#include "support/private_tmpfs.h"
#include "support/scratch_directory.h"
#include "text/languages.h"

namespace {

constexpr int64_t kT = 1600000000;  // a kit time, whole seconds

// One run of the installer over `kit` into `directory`.
uint32_t run_installer(ScriptedKit& kit, ScriptedProcessData& data, const std::string& directory) {
  data.init(&kit, widen_lib(directory));
  return ScriptedInstaller(0).run(&data);
}

struct Outcome {
  uint32_t result = 0;
  uint32_t code = 0;
  WideString message;
  int32_t progress = -1;
};

class InstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TMPDIR", temp.path().c_str(), 1);
    setenv("HOME", home.path().c_str(), 1);
  }
  void TearDown() override { ScriptedFileSystem::hook = nullptr; }

  void openKit(const std::vector<KitFile>& files) {
    build_kit(files, staging.path(), kitPath());
    ASSERT_EQ(0u, kit.open(wide(kitPath())));
  }
  // Runs `body` in a forked child with the kit built by build_kit opened
  // there (the kit's reading thread does not cross a fork) and closed again
  // before the child ends.
  std::string runInChildWithKit(const std::function<std::string()>& body) {
    return run_in_child([&]() -> std::string {
      if (kit.open(wide(kitPath())) != 0) return "the kit did not open";
      const std::string report = body();
      kit.close();
      return report;
    });
  }
  std::string kitPath() const { return staging / "orbp8.pkd"; }

  Outcome install(const std::string& directory) {
    Outcome outcome;
    outcome.result = run_installer(kit, data, directory);
    data.getInstallState(outcome.code, outcome.message, outcome.progress);
    return outcome;
  }

  std::vector<std::string> backupRoots() const { return directory_names(temp.path(), "p8stp"); }

  ScratchDirectory temp;
  ScratchDirectory home;
  ScratchDirectory staging;
  ScratchDirectory target;
  ScriptedKit kit;
  ScriptedProcessData data;
  static inline std::thread::id firstThread;
};

// Counts the operations that change the disk; the one numbered `failAt`
// fails, and nothing fails after it (the rollback runs undisturbed).
struct FailureScript {
  int failAt = -1;
  int seen = 0;
  bool fired = false;
  uint32_t operator()(FileOperation operation, const WideString& path) {
    // A link that cannot be made is replaced by a copy, a backup root that
    // cannot be made in the target by one in the temporary directory.
    if (fired || operation == FileOperation::kRemoveDirectory ||
        operation == FileOperation::kDeleteFile || operation == FileOperation::kCreateHardLink ||
        (operation == FileOperation::kCreateDirectory && path == u".p8stp")) {
      return 0;
    }
    if (seen++ != failAt) return 0;
    fired = true;
    return operation == FileOperation::kWriteFile ? ERROR_DISK_FULL : ERROR_INVALID_PARAMETER;
  }
};

// A target tree with files older and newer than the kit, user files the kit
// does not name, and modes and times that must all survive a rollback.
void make_user_tree(const std::string& root) {
  write_file(root + "/conf/old.xml", "old xml", kT - 100, 250);
  write_file(root + "/conf/new.xml", "newer than the kit", kT + 100);
  write_file(root + "/dup.cfg", "original dup", kT - 100);
  write_file(root + "/keep/user.txt", "the user's own", kT - 50, 999);
  write_file(root + "/-odd $HOME \"q\" `x`/'new\nline'.cfg", "odd old", kT - 100);
  chmod((root + "/conf/old.xml").c_str(), 0600);
  const timespec times[2] = {{kT - 7, 7}, {kT - 7, 7}};
  utimensat(AT_FDCWD, (root + "/keep").c_str(), times, 0);
  utimensat(AT_FDCWD, (root + "/conf").c_str(), times, 0);
  utimensat(AT_FDCWD, root.c_str(), times, 0);
}

// What a complete run of mixed_kit() leaves in a make_user_tree() target.
void expect_mixed_kit_installed(const std::string& root) {
  EXPECT_EQ("kit old again", read_file(root + "/conf/old.xml"));
  EXPECT_EQ("newer than the kit", read_file(root + "/conf/new.xml"));
  EXPECT_EQ("dup second", read_file(root + "/dup.cfg"));
  EXPECT_EQ("{\"a\": 1}", read_file(root + "/fresh/deep/a.json"));
  EXPECT_EQ("the user's own", read_file(root + "/keep/user.txt"));
  EXPECT_EQ("odd new", read_file(root + "/-odd $HOME \"q\" `x`/'new\nline'.cfg"));
}

// Replaces, skips, creates directories and files, and names dup.cfg and
// conf/old.xml twice, the second time under another spelling.
std::vector<KitFile> mixed_kit() {
  return {{"conf\\old.xml", "kit old", file_time(kT)},
          {"conf\\new.xml", "kit new", file_time(kT)},
          {"dup.cfg", "dup first", file_time(kT - 10)},
          {"fresh\\deep\\a.json", "{\"a\": 1}", file_time(kT)},
          {"keep\\added.txt", "added", file_time(kT)},
          {"dup.cfg", "dup second", file_time(kT)},
          {"conf\\\\old.xml", "kit old again", file_time(kT + 5)},
          {"top.bin", std::string("\0\1\2\3binary", 10), file_time(kT)},
          {"-odd $HOME \"q\" `x`\\'new\nline'.cfg", "odd new", file_time(kT)}};
}

}  // namespace

TEST_F(InstallerTest, EmptyKitStartsAndCommitsTheJournal) {
  openKit({});
  const TreeSnapshot before = snapshot_tree(target.path());
  const Outcome outcome = install(target.path());
  EXPECT_EQ(0u, outcome.result);
  EXPECT_EQ(0u, outcome.code);
  EXPECT_EQ(100, outcome.progress);
  EXPECT_EQ(LoadResString("IDS_INSTALL_FINISH"), outcome.message);
  EXPECT_FALSE(outcome.message.empty());
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_TRUE(backupRoots().empty());
}

TEST_F(InstallerTest, WritesMissingAndOlderFilesOnly) {
  write_file(target / "older.cfg", "older", kT - 1);
  write_file(target / "equal.cfg", "equal", kT);
  write_file(target / "newer.cfg", "newer", kT + 1);
  write_file(target / "fraction.cfg", "fraction", kT);
  // A link to nowhere has no time to compare: the file replaces it.
  ASSERT_EQ(0, symlink("nowhere", (target / "dangling.cfg").c_str()));
  // A file named twice is decided against what the first time wrote.
  openKit({{"missing.cfg", "kit missing", file_time(kT)},
           {"older.cfg", "kit older", file_time(kT)},
           {"equal.cfg", "kit equal", file_time(kT)},
           {"newer.cfg", "kit newer", file_time(kT)},
           {"fraction.cfg", "kit fraction", file_time(kT, 5000000)},
           {"empty.cfg", "", file_time(kT)},
           {"dangling.cfg", "kit dangling", file_time(kT)},
           {"twice.cfg", "twice", file_time(kT)},
           {"twice.cfg", "twice older", file_time(kT - 10)}});
  Outcome outcome = install(target.path());
  ASSERT_EQ(0u, outcome.result);
  EXPECT_EQ(100, outcome.progress);
  const std::pair<const char*, const char*> expected[] = {
      {"missing", "kit missing"}, {"older", "kit older"},       {"equal", "equal"},
      {"newer", "newer"},         {"fraction", "kit fraction"}, {"empty", ""},
      {"dangling", "kit dangling"}, {"twice", "twice"}};
  for (const auto& [name, content] : expected) {
    const std::string file = target / (std::string(name) + ".cfg");
    EXPECT_EQ(content, read_file(file)) << name;
    EXPECT_EQ(std::string(name) == "newer" ? kT + 1 : kT, modification_seconds(file)) << name;
  }
  EXPECT_TRUE(backupRoots().empty());  // replaced versions went with the backup tree

  // A time that is not a whole second always compares as newer than the
  // installed file, so that entry is written on every run; the others not.
  write_file(target / "fraction.cfg", "edited", kT);
  write_file(target / "older.cfg", "edited", kT);
  outcome = install(target.path());
  ASSERT_EQ(0u, outcome.result);
  EXPECT_EQ("kit fraction", read_file(target / "fraction.cfg"));
  EXPECT_EQ("edited", read_file(target / "older.cfg"));
}

TEST_F(InstallerTest, BackslashNamesCreateJournalledDirectories) {
  make_directories(target / "conf");
  openKit({{"conf\\forms\\main\\x.xml", "<x/>", file_time(kT)},
           {"conf\\y.xml", "<y/>", file_time(kT)},
           {"new\\z.xml", "<z/>", file_time(kT)}});
  EXPECT_EQ(0u, install(target.path()).result);
  EXPECT_EQ("<x/>", read_file(target / "conf/forms/main/x.xml"));
  EXPECT_EQ("<y/>", read_file(target / "conf/y.xml"));
  EXPECT_EQ("<z/>", read_file(target / "new/z.xml"));

  // The same kit into a fresh tree, failing at the last file: every
  // directory made on the way is journalled and goes again.
  // The target itself and its parents are made too, and go again.
  ScratchDirectory second;
  const TreeSnapshot before = snapshot_tree(second.path());
  ScriptedFileSystem::hook = [](FileOperation operation, const WideString& path) -> uint32_t {
    return operation == FileOperation::kMoveFile && path.find(u"-> z.xml") != WideString::npos
               ? ERROR_INVALID_PARAMETER
               : 0;
  };
  const Outcome outcome = install(second / "made/above/target");
  EXPECT_EQ(ERROR_INVALID_PARAMETER, outcome.result);
  EXPECT_EQ(before, snapshot_tree(second.path()));
}

TEST_F(InstallerTest, PublishesPathAndProgressBeforeEachEntry) {
  openKit({{"a", "1", file_time(kT)},
           {"b\\c", "2", file_time(kT)},
           {"d", "3", file_time(kT)},
           {"e", "4", file_time(kT)}});
  std::vector<int32_t> progress;
  std::vector<WideString> messages;
  ScriptedFileSystem::hook = [&](FileOperation operation, const WideString& path) -> uint32_t {
    if (operation == FileOperation::kCreateFile && path.find(u".p8new") != WideString::npos) {
      Outcome state;
      data.getInstallState(state.code, state.message, state.progress);
      progress.push_back(state.progress);
      messages.push_back(state.message);
    }
    return 0;
  };
  const Outcome outcome = install(target.path());
  EXPECT_EQ(0u, outcome.result);
  EXPECT_EQ((std::vector<int32_t>{0, 25, 50, 75}), progress);
  EXPECT_EQ((std::vector<WideString>{wide(target / "a"), wide(target / "b/c"), wide(target / "d"),
                                     wide(target / "e")}),
            messages);
  EXPECT_EQ(100, outcome.progress);
}

TEST_F(InstallerTest, AFailureAtEntryThreeOfTenPublishesThirty) {
  std::vector<KitFile> files;
  for (int i = 0; i < 10; ++i) {
    files.push_back({"f" + std::to_string(i), "content", file_time(kT)});
  }
  files[3].name = "blocked\\f3";  // "blocked" is a file in the target
  openKit(files);
  write_file(target / "blocked", "a file, not a directory", kT - 1);
  const TreeSnapshot before = snapshot_tree(target.path());
  const Outcome outcome = install(target.path());
  EXPECT_EQ(ERROR_PATH_NOT_FOUND, outcome.result);
  EXPECT_EQ(ERROR_PATH_NOT_FOUND, outcome.code);
  EXPECT_EQ(30, outcome.progress);
  EXPECT_EQ(LoadResString("IDS_ERROR_NOTDIRECTORY") + u" " + wide(target / "blocked"),
            outcome.message);
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_TRUE(backupRoots().empty());
}

// A kit entry that names an existing directory (or a pipe) is an error: the
// directory, with the user's files in it, stays where it is.
TEST_F(InstallerTest, AnEntryNamingADirectoryOrSpecialFileIsAnError) {
  write_file(target / "forms.xml/user.txt", "user data", kT - 5);
  ASSERT_EQ(0, mkfifo((target / "pipe").c_str(), 0600));
  const TreeSnapshot before = snapshot_tree(target.path());
  openKit({{"a.cfg", "a", file_time(kT)},
           {"forms.xml", "kit", file_time(kT + 100)},
           {"pipe", "kit", file_time(kT)}});
  Outcome outcome = install(target.path());
  EXPECT_EQ(ERROR_ALREADY_EXISTS, outcome.result);
  EXPECT_EQ(33, outcome.progress);
  EXPECT_EQ(before, snapshot_tree(target.path()));

  removeTree(target / "forms.xml");
  const TreeSnapshot withoutDirectory = snapshot_tree(target.path());
  outcome = install(target.path());
  EXPECT_EQ(ERROR_ALREADY_EXISTS, outcome.result);
  EXPECT_EQ(66, outcome.progress);
  EXPECT_EQ(withoutDirectory, snapshot_tree(target.path()));

  // The installation's own backup root is no kit's to write.
  kit.close();
  openKit({{"a.cfg", "a", file_time(kT)}, {".p8stp\\saved\\a.cfg", "kit", file_time(kT)}});
  outcome = install(target.path());
  EXPECT_EQ(ERROR_INVALID_NAME, outcome.result);
  EXPECT_EQ(withoutDirectory, snapshot_tree(target.path()));
}

// Failing each disk-changing operation of a run in turn, and cancelling after
// each written file: the target tree is every time exactly as before (bytes,
// modes, times of files and directories), nothing made is left and the
// backup root is gone.
TEST_F(InstallerTest, EveryFailureOrCancelPositionLeavesTheTreeAsItWas) {
  openKit(mixed_kit());
  FailureScript counting;
  int writtenFiles = 0;
  ScriptedFileSystem::hook = [&](FileOperation operation, const WideString& path) -> uint32_t {
    if (operation == FileOperation::kCreateFile && path.find(u".p8new") != WideString::npos) {
      ++writtenFiles;
    }
    return counting(operation, path);
  };
  {
    ScratchDirectory clean;
    make_user_tree(clean.path());
    ASSERT_EQ(0u, install(clean.path()).result);
    expect_mixed_kit_installed(clean.path());
  }
  const int operations = counting.seen;
  ASSERT_GT(operations, 20);
  ASSERT_EQ(8, writtenFiles);

  // Positions below `operations` fail that operation, the others cancel
  // after file number (position - operations).
  for (int position = 0; position < operations + writtenFiles; ++position) {
    const bool cancel = position >= operations;
    SCOPED_TRACE(cancel ? "cancel after file " + std::to_string(position - operations)
                        : "failure at operation " + std::to_string(position));
    ScratchDirectory tree;
    make_user_tree(tree.path());
    const TreeSnapshot before = snapshot_tree(tree.path());
    FailureScript script;
    script.failAt = cancel ? -1 : position;
    int created = 0;
    ScriptedFileSystem::hook = [&](FileOperation operation, const WideString& path) -> uint32_t {
      if (cancel && operation == FileOperation::kCreateFile &&
          path.find(u".p8new") != WideString::npos && created++ == position - operations) {
        data.setCancel(true);
      }
      return script(operation, path);
    };
    const Outcome outcome = install(tree.path());
    if (cancel) {
      EXPECT_EQ(ERROR_CANCELLED, outcome.result);
      EXPECT_EQ(0u, outcome.code);  // a cancel publishes no final state
    } else {
      ASSERT_TRUE(script.fired);
      EXPECT_NE(0u, outcome.result);
      EXPECT_EQ(outcome.result, outcome.code);
    }
    EXPECT_LT(outcome.progress, 100);
    EXPECT_EQ(before, snapshot_tree(tree.path()));
    EXPECT_TRUE(backupRoots().empty());
    EXPECT_FALSE(exists(home / ".orbp8/Orbe/orbp8/pending")) << "a registry entry was left";
  }
}

// A target whose own directory the user may not write, only its
// sub-directory: the saved versions go to the temporary directory instead,
// on another file system, and a failure still puts everything back.
TEST_F(InstallerTest, BackupRootFallsBackToTheTemporaryDirectory) {
  build_kit({{"conf\\a.cfg", "kit a", file_time(kT)}, {"conf\\b.cfg", "kit b", file_time(kT)}},
            staging.path(), kitPath());
  write_file(target / "conf/a.cfg", "old a", kT - 1);
  for (const std::string& path : {target / "conf", target / "conf/a.cfg"}) {
    ASSERT_EQ(0, chown(path.c_str(), 65534, 65534));
  }
  chmod(target.path().c_str(), 0555);
  chmod(home.path().c_str(), 0777);
  // On another file system, so that saving and putting back are copies.
  ScratchDirectory shared("orbtest-", "/dev/shm");
  chmod(shared.path().c_str(), 0777);
  setenv("TMPDIR", shared.path().c_str(), 1);
  const std::string report = runInChildWithKit([&]() -> std::string {
    const std::string failure = become_nobody();
    if (!failure.empty()) return "skip: " + failure;
    const TreeSnapshot before = snapshot_tree(target.path());
    int moves = 0;
    ScriptedFileSystem::hook = [&](FileOperation operation, const WideString& path) -> uint32_t {
      const bool second = operation == FileOperation::kMoveFile &&
                          path.find(u".p8new") != WideString::npos && ++moves == 2;
      return second ? ERROR_INVALID_PARAMETER : 0;
    };
    std::string problems;
    if (install(target.path()).result != ERROR_INVALID_PARAMETER) problems += "no failure; ";
    if (!(before == snapshot_tree(target.path()))) problems += "not restored; ";
    ScriptedFileSystem::hook = nullptr;
    if (install(target.path()).result != 0) problems += "not installed; ";
    if (read_file(target / "conf/a.cfg") != "kit a") problems += "a not replaced; ";
    if (!directory_names(shared.path(), "p8stp").empty()) problems += "backup root left; ";
    return problems;
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ("", report);
}

// The target's disk fills up during the copy, the temporary directory being
// on another file system: every saved file is put back by a rename, nothing
// is lost, and the message says only what is true.
TEST_F(InstallerTest, AFullTargetDiskRollsBackEverything) {
  std::string big(2 << 20, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 7919) >> 3);
  std::vector<KitFile> files;
  for (int i = 0; i < 200; ++i) {
    files.push_back({"old\\f" + std::to_string(i) + ".cfg", "new " + std::to_string(i),
                     file_time(kT)});
  }
  files.push_back({"sub\\big.bin", big, file_time(kT)});
  build_kit(files, staging.path(), kitPath());
  ScratchDirectory mountPoint;
  const std::string report = runInChildWithKit([&]() -> std::string {
    const std::string failure = mount_private_tmpfs(mountPoint.path(), "size=1m");
    if (!failure.empty()) return "skip: " + failure;
    const std::string root = mountPoint / "target";
    for (int i = 0; i < 200; ++i) {
      write_file(root + "/old/f" + std::to_string(i) + ".cfg", "old " + std::to_string(i), kT - 1);
    }
    const TreeSnapshot before = snapshot_tree(root);
    const Outcome outcome = install(root);
    std::string problems;
    if (outcome.code != outcome.result) problems += "state differs from result; ";
    if (outcome.message != LoadResString("IDS_INSTALL_ERROR")) problems += "message; ";
    if (!data.keptBackupRoot().empty()) problems += "backup kept; ";
    if (!(before == snapshot_tree(root))) problems += "tree changed; ";
    return problems + "code " + std::to_string(outcome.result);
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ("code " + std::to_string(ERROR_DISK_FULL), report);
}

// An unprivileged user and a target directory it cannot write: neither an
// existing file (which cannot be saved) nor a new one is written.
TEST_F(InstallerTest, AnUnwritableTargetDirectoryIsAnError) {
  build_kit({{"old.cfg", "replaced", file_time(kT)}, {"new.cfg", "new", file_time(kT)}},
            staging.path(), kitPath());
  chmod(temp.path().c_str(), 0777);
  chmod(home.path().c_str(), 0777);
  ScratchDirectory withFile;
  ScratchDirectory empty;
  write_file(withFile / "old.cfg", "old", kT - 1);
  chown((withFile / "old.cfg").c_str(), 65534, 65534);
  chmod((withFile / "old.cfg").c_str(), 0666);
  for (const ScratchDirectory* directory : {&withFile, &empty}) {
    chmod(directory->path().c_str(), 0555);
  }
  const TreeSnapshot beforeWithFile = snapshot_tree(withFile.path());
  const TreeSnapshot beforeEmpty = snapshot_tree(empty.path());
  const std::string report = runInChildWithKit([&]() -> std::string {
    const std::string failure = become_nobody();
    if (!failure.empty()) return "skip: " + failure;
    const Outcome first = install(withFile.path());
    const Outcome second = install(empty.path());
    return std::to_string(first.result) + " " + std::to_string(first.progress) + " " +
           std::to_string(second.result) + " " + std::to_string(second.progress);
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ("87 0 87 0", report);
  EXPECT_EQ(beforeWithFile, snapshot_tree(withFile.path()));
  EXPECT_EQ(beforeEmpty, snapshot_tree(empty.path()));
  EXPECT_EQ("old", read_file(withFile / "old.cfg"));
  EXPECT_TRUE(backupRoots().empty());
}

TEST_F(InstallerTest, AnEarlierBackupRootIsLeftAlone) {
  write_file(temp / "p8stp0/conf/old.xml", "from a crashed run", kT);
  openKit(mixed_kit());
  make_user_tree(target.path());
  EXPECT_EQ(0u, install(target.path()).result);
  expect_mixed_kit_installed(target.path());
  EXPECT_EQ("from a crashed run", read_file(temp / "p8stp0/conf/old.xml"));
  EXPECT_EQ(std::vector<std::string>{"p8stp0"}, backupRoots());
}

// Two runs into one target at once. While the first holds it, a second
// that waits briefly refuses, touching nothing; one that waits long enough
// runs once the first has ended (here: failed and rolled back).
TEST_F(InstallerTest, OneInstallationPerTarget) {
  openKit(mixed_kit());
  make_user_tree(target.path());
  const TreeSnapshot before = snapshot_tree(target.path());
  for (const bool waitLongEnough : {false, true}) {
    SCOPED_TRACE(waitLongEnough);
    ScriptedKit secondKit;
    ASSERT_EQ(0u, secondKit.open(wide(kitPath())));
    std::atomic<bool> firstInside{false};
    std::atomic<bool> secondDone{false};
    ScriptedFileSystem::hook = [&](FileOperation operation, const WideString& path) -> uint32_t {
      if (std::this_thread::get_id() != firstThread) return 0;
      firstInside = true;
      // The first run holds the target until a refusing second has ended,
      // then fails at its last file.
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (!waitLongEnough && !secondDone && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
      }
      return operation == FileOperation::kMoveFile && path.find(u".p8new") == 0 &&
                     path.find(u"-> 'new\nline'.cfg") != WideString::npos
                 ? ERROR_INVALID_PARAMETER
                 : 0;
    };
    uint32_t firstResult = 0;
    std::thread first([&] {
      firstThread = std::this_thread::get_id();
      ScriptedProcessData firstData;
      firstResult = run_installer(kit, firstData, target.path());
    });
    while (!firstInside) std::this_thread::yield();
    ScriptedProcessData secondData;
    ScriptedInstaller second(0);
    second.setLockWait(waitLongEnough ? 20000 : 100);
    secondData.init(&secondKit, wide(target.path()));
    const uint32_t secondResult = second.run(&secondData);
    secondDone = true;
    first.join();
    ScriptedFileSystem::hook = nullptr;
    EXPECT_EQ(ERROR_INVALID_PARAMETER, firstResult);
    uint32_t code = 0;
    WideString message;
    int32_t progress = 0;
    secondData.getInstallState(code, message, progress);
    if (waitLongEnough) {
      EXPECT_EQ(0u, secondResult);
      expect_mixed_kit_installed(target.path());
    } else {
      EXPECT_EQ(ERROR_SHARING_VIOLATION, secondResult);
      EXPECT_EQ(LoadResString("IDS_TARGET_BUSY") + u" " + wide(target.path()) + u"/", message);
      EXPECT_EQ(before, snapshot_tree(target.path()));
    }
  }
}

// The program's own types end to end: the worker thread runs the installer
// while this thread polls the shared state, as the progress page does.
TEST_F(InstallerTest, WorkerThreadAndPollingReader) {
  std::vector<KitFile> files;
  for (int i = 0; i < 300; ++i) {
    files.push_back({"dir" + std::to_string(i % 7) + "\\file" + std::to_string(i) + ".xml",
                     std::string(200 + i, 'x'), file_time(kT)});
  }
  build_kit(files, staging.path(), kitPath());
  KitReader realKit;
  ASSERT_EQ(0u, realKit.open(wide(kitPath())));
  InstallProcessData shared;
  shared.setInstallState(0, u"preparing", 0);
  shared.init(&realKit, wide(target.path()));
  InstallThread thread;
  std::atomic<uint32_t> runResult{1};
  ASSERT_EQ(0, thread.start([&] {
    Installer installer;  // with the one-second pause after success
    runResult = installer.run(&shared);
    return false;
  }));

  int32_t last = 0;
  int polls = 0;
  std::chrono::steady_clock::time_point succeeded;
  bool sawSuccess = false;
  while (!thread.finished()) {
    Outcome state;
    shared.getInstallState(state.code, state.message, state.progress);
    ++polls;
    ASSERT_EQ(0u, state.code);
    ASSERT_GE(state.progress, last);
    last = state.progress;
    if (state.progress == 100) {
      if (!sawSuccess) succeeded = std::chrono::steady_clock::now();
      sawSuccess = true;
      ASSERT_EQ(LoadResString("IDS_INSTALL_FINISH"), state.message);
    } else {
      ASSERT_TRUE(state.message == u"preparing" ||
                  state.message.rfind(wide(target.path()), 0) == 0);
    }
  }
  const auto pause = std::chrono::steady_clock::now() - succeeded;
  thread.join();
  EXPECT_TRUE(sawSuccess);
  EXPECT_GT(polls, 1);
  EXPECT_EQ(0u, runResult.load());
  EXPECT_GE(pause, std::chrono::milliseconds(900));
  EXPECT_EQ(std::string(299 + 200, 'x'), read_file(target / "dir5/file299.xml"));
}

// A kit cut short after its catalogue opens, but nothing of it is committed:
// neither when the cut falls in an entry being written, nor when every file
// is up to date and no entry is read at all.
TEST_F(InstallerTest, AKitCutShortIsNeverCommitted) {
  std::vector<KitFile> files;
  uint32_t noise = 12345;
  for (int i = 0; i < 8; ++i) {
    std::string content(20000, '\0');
    for (char& byte : content) byte = static_cast<char>((noise = noise * 1103515245 + 12345) >> 24);
    files.push_back({"dir\\f" + std::to_string(i), content, file_time(kT)});
  }
  build_kit(files, staging.path(), kitPath());
  struct stat kitStatus {};
  ASSERT_EQ(0, stat(kitPath().c_str(), &kitStatus));
  ASSERT_EQ(0, truncate(kitPath().c_str(), kitStatus.st_size * 9 / 10));

  // Every file missing; all but the first up to date, so that the cut data
  // is never copied; every file up to date.
  for (const int upToDate : {0, 7, 8}) {
    SCOPED_TRACE(upToDate);
    for (int i = 8 - upToDate; i < 8; ++i) {
      write_file(target / ("dir/f" + std::to_string(i)), "mine", kT);
    }
    ScriptedKit cutKit;
    ASSERT_EQ(0u, cutKit.open(wide(kitPath())));
    const TreeSnapshot before = snapshot_tree(target.path());
    ScriptedProcessData cutData;
    const uint32_t result = run_installer(cutKit, cutData, target.path());
    uint32_t code = 0;
    WideString message;
    int32_t progress = -1;
    cutData.getInstallState(code, message, progress);
    EXPECT_EQ(ERROR_INVALID_DATA, result);
    EXPECT_EQ(ERROR_INVALID_DATA, code);
    EXPECT_EQ(LoadResString("IDS_ERROR_DAMAGEDSOURCE"), message);
    EXPECT_LT(progress, 100);
    EXPECT_EQ(before, snapshot_tree(target.path()));
    EXPECT_TRUE(backupRoots().empty());
  }
}
