// The installer killed (SIGKILL) at chosen file-system operations of a whole
// installation over an older tree, and rollbacks that cannot put a file
// back: the next start restores the tree byte for byte and time for time,
// then an installation completes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <set>

#include "install/journal_replay.h"
#include "install/recovery.h"
#include "install/scripted_file_system.h"
#include "install/tree_fixture.h"
#include "platform/tree_removal.h"
#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/scratch_directory.h"
#include "text/languages.h"

namespace {

constexpr int64_t kT = 1600000000;
constexpr int kOld = 120;
constexpr int kNewer = 30;
constexpr int kFresh = 150;

// Older files the kit replaces, newer ones it keeps, the user's own file.
void make_old_tree(const std::string& root) {
  for (int i = 0; i < kOld; ++i) {
    write_file(root + "/old/d" + std::to_string(i % 6) + "/f" + std::to_string(i) + ".cfg",
               "old " + std::to_string(i), kT - 100, i);
  }
  for (int i = 0; i < kNewer; ++i) {
    write_file(root + "/newer/f" + std::to_string(i), "mine " + std::to_string(i), kT + 100);
  }
  write_file(root + "/user.txt", "the user's own", kT - 5, 77);
  write_file(root + "/big.bin", "small old big", kT - 100);
  chmod((root + "/old/d1").c_str(), 0750);
  const timespec times[2] = {{kT - 9, 9}, {kT - 9, 9}};
  for (const char* directory : {"/old/d0", "/old", "/newer", ""}) {
    utimensat(AT_FDCWD, (root + directory).c_str(), times, 0);
  }
}

std::vector<KitFile> kit_files() {
  std::vector<KitFile> files;
  for (int i = 0; i < kOld; ++i) {
    files.push_back({"old\\d" + std::to_string(i % 6) + "\\f" + std::to_string(i) + ".cfg",
                     "kit " + std::to_string(i), file_time(kT)});
  }
  std::string big(3 << 20, '\0');
  uint32_t noise = 7;
  for (char& byte : big) byte = static_cast<char>((noise = noise * 1103515245 + 12345) >> 24);
  files.push_back({"big.bin", big, file_time(kT)});
  for (int i = 0; i < kNewer; ++i) {
    files.push_back({"newer\\f" + std::to_string(i), "kit newer", file_time(kT)});
  }
  for (int i = 0; i < kFresh; ++i) {
    files.push_back({"fresh\\e" + std::to_string(i % 10) + "\\g" + std::to_string(i),
                     "fresh " + std::to_string(i), file_time(kT)});
  }
  return files;
}

void expect_installed(const std::string& root) {
  EXPECT_EQ("kit 7", read_file(root + "/old/d1/f7.cfg"));
  EXPECT_EQ(kT, modification_seconds(root + "/old/d1/f7.cfg"));
  EXPECT_EQ("mine 3", read_file(root + "/newer/f3"));
  EXPECT_EQ("fresh 149", read_file(root + "/fresh/e9/g149"));
  EXPECT_EQ(size_t{3 << 20}, read_file(root + "/big.bin").size());
  EXPECT_EQ("the user's own", read_file(root + "/user.txt"));
}

// One letter per hooked operation, in order; a kit entry's temporary file
// is created as 'N' and renamed as 'R', the journal deleted as 'J'.
char letter_of(FileOperation operation, const WideString& path) {
  const bool temporary = path.rfind(u".p8new", 0) == 0;
  if (temporary && operation == FileOperation::kCreateFile) return 'N';
  if (temporary && operation == FileOperation::kMoveFile) return 'R';
  if (operation == FileOperation::kDeleteFile && path == u"journal") return 'J';
  return "CWETMDXXHF"[static_cast<int>(operation)];
}

// The order that makes a power loss harmless: a flush between the last
// journal write and the first new file, between the last saved link and the
// first rename, and between the last rename and the journal's deletion.
void expect_durable_order(const std::string& letters) {
  const auto flushed_between = [&](size_t from, size_t to) {
    const size_t flush = letters.find('F', from);
    return from != std::string::npos && to != std::string::npos && flush < to;
  };
  const size_t firstNew = letters.find('N');
  EXPECT_TRUE(flushed_between(letters.rfind('W', firstNew), firstNew)) << letters;
  const size_t firstRename = letters.find('R');
  const size_t lastLink = letters.rfind('H', firstRename);
  if (lastLink != std::string::npos) {
    EXPECT_TRUE(flushed_between(lastLink, firstRename)) << letters;
  }
  EXPECT_TRUE(flushed_between(letters.rfind('R'), letters.find('J'))) << letters;
}

class CrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TMPDIR", temp.path().c_str(), 1);
    setenv("HOME", home.path().c_str(), 1);
    build_kit(kit_files(), staging.path(), staging / "orbp8.pkd");
  }
  void TearDown() override { ScriptedFileSystem::hook = nullptr; }

  // Installs into `root` in a forked child that is killed at operation
  // `killAt` (after operation `failAt` failed, when given). Returns the
  // letters of the operations the child got through, or its end.
  std::string installInChild(const std::string& root, int killAt = -1, int failAt = -1) {
    return run_in_child([&]() -> std::string {
      ScriptedKit kit;
      if (kit.open(wide(staging / "orbp8.pkd")) != 0) return "the kit did not open";
      std::string letters;
      ScriptedFileSystem::hook = [&](FileOperation operation, const WideString& path) -> uint32_t {
        const int number = static_cast<int>(letters.size());
        letters += letter_of(operation, path);
        if (number == killAt) raise(SIGKILL);
        return number == failAt ? ERROR_INVALID_PARAMETER : 0;
      };
      ScriptedProcessData data;
      data.init(&kit, wide(root));
      const uint32_t result = ScriptedInstaller(0).run(&data);
      ScriptedFileSystem::hook = nullptr;
      kit.close();
      return result == 0 ? letters : "result " + std::to_string(result);
    });
  }

  ScratchDirectory temp;
  ScratchDirectory home;
  ScratchDirectory staging;
};

}  // namespace

TEST_F(CrashTest, AKillAnywhereIsUndoneAtTheNextStart) {
  std::string letters;
  {
    ScratchDirectory dry;
    make_old_tree(dry.path());
    letters = installInChild(dry.path());
    expect_installed(dry.path());
  }
  ASSERT_GT(letters.size(), 100u) << letters;
  expect_durable_order(letters);
  {
    ScratchDirectory fresh;
    expect_durable_order(installInChild(fresh / "new"));
  }

  // Points spread over the whole run, and the first, middle and last
  // operation of every kind: journal writes and flushes, directories,
  // links, data inside the big file, time stamps, renames.
  std::set<int> points;
  for (int i = 1; i <= 24; ++i) points.insert(static_cast<int>(letters.size()) * i / 25);
  for (const char kind : std::string("NWTRDHFJ")) {
    const size_t first = letters.find(kind);
    const size_t last = letters.rfind(kind);
    if (first == std::string::npos) continue;
    points.insert(static_cast<int>(first));
    points.insert(static_cast<int>(last));
    points.insert(static_cast<int>(letters.find(kind, (first + last) / 2)));
  }
  // Kills during a rollback: a failure half-way, then a kill a few
  // operations into the undo.
  const int failAt = static_cast<int>(letters.find('R', letters.size() / 2));
  std::vector<std::pair<int, int>> runs;
  for (const int point : points) runs.push_back({point, -1});
  for (const int offset : {1, 3, 8, 20}) runs.push_back({failAt + offset, failAt});
  ASSERT_GE(runs.size(), 30u);

  for (const auto& [killAt, failing] : runs) {
    SCOPED_TRACE("kill at " + std::to_string(killAt) + " (" + letters[killAt] + ")" +
                 (failing >= 0 ? " during the rollback" : ""));
    ScratchDirectory tree;
    make_old_tree(tree.path());
    const TreeSnapshot before = snapshot_tree(tree.path());
    const std::string report = installInChild(tree.path(), killAt, failing);
    ASSERT_EQ("child ended abnormally, status " + std::to_string(SIGKILL), report);

    // The next start, proposing another directory, finds the journal
    // through the registry.
    const std::vector<RecoveryNote> notes = recover_interrupted_installations(u"/nonexistent", 0);
    for (const RecoveryNote& note : notes) {
      EXPECT_TRUE(note.undone);
      EXPECT_EQ(wide(tree.path() + "/"), note.target);
    }
    EXPECT_TRUE(list_registry_entries(install_registry_directory()).empty());
    // Once the journal's deletion has happened, the installation stands.
    if (killAt > static_cast<int>(letters.find('J'))) {
      expect_installed(tree.path());
      continue;
    }
    EXPECT_EQ(before, snapshot_tree(tree.path()));
    ASSERT_EQ(letters, installInChild(tree.path()));
    expect_installed(tree.path());
  }
}

// A saved version that cannot be put back stays where it is, with its
// journal, and every message says where; the next start puts it back.
TEST_F(CrashTest, WhatCannotBePutBackIsKeptAndReported) {
  ScratchDirectory tree;
  make_old_tree(tree.path());
  const TreeSnapshot before = snapshot_tree(tree.path());
  ScriptedKit kit;
  ASSERT_EQ(0u, kit.open(wide(staging / "orbp8.pkd")));
  int renames = 0;
  ScriptedFileSystem::hook = [&](FileOperation operation, const WideString& path) -> uint32_t {
    if (operation != FileOperation::kMoveFile) return 0;
    // The 50th file fails; then the restoring of one saved file fails.
    const bool fresh = path.find(u".p8new") != WideString::npos;
    if (fresh) return ++renames == 50 ? ERROR_INVALID_PARAMETER : 0;
    return path == u"f8.cfg -> f8.cfg" ? ERROR_DISK_FULL : 0;
  };
  ScriptedProcessData data;
  data.init(&kit, wide(tree.path()));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, ScriptedInstaller(0).run(&data));
  ScriptedFileSystem::hook = nullptr;
  uint32_t code = 0;
  WideString message;
  int32_t progress = 0;
  data.getInstallState(code, message, progress);
  const std::string kept = tree.path() + "/.p8stp/";
  EXPECT_EQ(wide(kept), data.keptBackupRoot());
  EXPECT_EQ(LoadResString("IDS_ROLLBACK_INCOMPLETE") + u" " + wide(kept), message);
  EXPECT_EQ("old 8", read_file(kept + "saved/old/d2/f8.cfg"));
  EXPECT_EQ("kit 8", read_file(tree / "old/d2/f8.cfg"));
  EXPECT_EQ("old 9", read_file(tree / "old/d3/f9.cfg"));

  // A journal whose saved file is gone is reported and left alone.
  ASSERT_EQ(0, rename((kept + "saved/old/d2/f8.cfg").c_str(), (tree / "aside").c_str()));
  std::vector<RecoveryNote> notes = recover_interrupted_installations(u"", 0);
  ASSERT_EQ(1u, notes.size());
  EXPECT_FALSE(notes[0].undone);
  EXPECT_EQ(wide(kept), notes[0].keptBackupRoot);
  EXPECT_TRUE(exists(kept + "journal"));
  // An installation into that target refuses to touch it meanwhile.
  ScriptedProcessData refused;
  refused.init(&kit, wide(tree.path()));
  EXPECT_EQ(ERROR_ALREADY_EXISTS, ScriptedInstaller(0).run(&refused));
  refused.getInstallState(code, message, progress);
  EXPECT_EQ(LoadResString("IDS_RECOVERY_FAILED") + u" " + wide(kept), message);

  ASSERT_EQ(0, rename((tree / "aside").c_str(), (kept + "saved/old/d2/f8.cfg").c_str()));
  notes = recover_interrupted_installations(u"", 0);
  ASSERT_EQ(1u, notes.size());
  EXPECT_TRUE(notes[0].undone);
  EXPECT_EQ(before, snapshot_tree(tree.path()));
}
