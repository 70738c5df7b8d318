// Another local user's moves against an installation: symbolic links where
// the kit needs a directory, links planted at the names the installer is
// about to create or replace, a pre-made or tampered backup root, and
// umasks that would widen or narrow what the installer makes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "install/journal_record.h"
#include "install/scripted_file_system.h"
#include "install/tree_fixture.h"
#include "platform/tree_removal.h"
#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/nobody_user.h"
#include "support/scratch_directory.h"
#include "text/languages.h"

namespace {

constexpr int64_t kT = 1600000000;

unsigned mode_of(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 01000000;
}

class HostileTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TMPDIR", temp.path().c_str(), 1);
    setenv("HOME", home.path().c_str(), 1);
    write_file(elsewhere / "victim.conf", "root's secret", kT);
  }
  void TearDown() override { ScriptedFileSystem::hook = nullptr; }

  // One run of the installer over `files` into `target`; the published
  // message goes to `message`.
  uint32_t install(const std::vector<KitFile>& files, WideString* message = nullptr) {
    build_kit(files, staging.path(), staging / "orbp8.pkd");
    ScriptedKit kit;
    EXPECT_EQ(0u, kit.open(wide(staging / "orbp8.pkd")));
    ScriptedProcessData data;
    data.init(&kit, wide(target.path()));
    const uint32_t result = ScriptedInstaller(0).run(&data);
    uint32_t code = 0;
    int32_t progress = 0;
    WideString published;
    data.getInstallState(code, published, progress);
    if (message != nullptr) *message = published;
    return result;
  }

  ScratchDirectory temp;
  ScratchDirectory home;
  ScratchDirectory staging;
  ScratchDirectory target;
  ScratchDirectory elsewhere;
};

}  // namespace

// A link to a directory inside the target, and links planted at the
// temporary name and at the final name just before they are opened: nothing
// outside the target is written, and the tree is as it was after a failure.
TEST_F(HostileTreeTest, LinksInTheTargetAreNeverFollowed) {
  ASSERT_EQ(0, symlink(elsewhere.path().c_str(), (target / "sub").c_str()));
  const TreeSnapshot before = snapshot_tree(target.path());
  const TreeSnapshot outside = snapshot_tree(elsewhere.path());
  WideString message;
  EXPECT_EQ(ERROR_PATH_NOT_FOUND, install({{"sub\\victim.conf", "kit", file_time(kT + 9)}}, &message));
  EXPECT_EQ(LoadResString("IDS_ERROR_NOTDIRECTORY") + u" " + wide(target / "sub"), message);
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_EQ(outside, snapshot_tree(elsewhere.path()));

  // The race, made deterministic: the link appears at the name the next
  // step opens.
  const std::string victim = elsewhere / "victim.conf";
  for (const FileOperation planted : {FileOperation::kCreateFile, FileOperation::kMoveFile}) {
    SCOPED_TRACE(static_cast<int>(planted));
    write_file(target / "file.cfg", "old", kT - 1);
    ScriptedFileSystem::hook = [&](FileOperation operation, const WideString& path) -> uint32_t {
      if (operation != planted || path.find(u".p8new") != 0) return 0;
      const std::string name = narrow_lib(path.substr(0, path.find(u" -> ")));
      const std::string at = target / (planted == FileOperation::kCreateFile ? name : "file.cfg");
      unlink(at.c_str());
      symlink(victim.c_str(), at.c_str());
      return 0;
    };
    const uint32_t result = install({{"file.cfg", "kit content", file_time(kT)}});
    ScriptedFileSystem::hook = nullptr;
    EXPECT_EQ("root's secret", read_file(victim));
    if (planted == FileOperation::kCreateFile) {
      EXPECT_EQ(ERROR_ALREADY_EXISTS, result);
    } else {
      // The rename replaces the link itself.
      EXPECT_EQ(0u, result);
      EXPECT_EQ("kit content", read_file(target / "file.cfg"));
    }
    removeTree(target.path());
    make_directories(target.path());
  }
}

// Whatever the umask, the backup root is its user's alone, replaced files
// keep their permission bits (and get them back after a rollback), new ones
// get 0660 less the umask; a link planted inside the backup root is not
// followed.
TEST_F(HostileTreeTest, ModesAndThePrivateBackupRoot) {
  const std::vector<KitFile> files = {{"ro.cfg", "kit ro", file_time(kT)},
                                      {"run.sh", "kit run", file_time(kT)},
                                      {"conf\\new.cfg", "kit new", file_time(kT)}};
  for (const mode_t mask : {mode_t{000}, mode_t{077}}) {
    for (const bool fail : {false, true}) {
      SCOPED_TRACE(std::to_string(mask) + (fail ? " rolled back" : ""));
      write_file(target / "ro.cfg", "old ro", kT - 1);
      write_file(target / "run.sh", "old run", kT - 1);
      chmod((target / "ro.cfg").c_str(), 0444);
      chmod((target / "run.sh").c_str(), 0755);
      const TreeSnapshot before = snapshot_tree(target.path());
      unsigned rootMode = 0;
      ScriptedFileSystem::hook = [&](FileOperation operation, const WideString& path) -> uint32_t {
        if (operation != FileOperation::kMoveFile || path.find(u".p8new") != 0) return 0;
        rootMode = mode_of(target / ".p8stp");
        return fail && path.find(u"new.cfg") != WideString::npos ? ERROR_INVALID_PARAMETER : 0;
      };
      const mode_t previous = umask(mask);
      const uint32_t result = install(files);
      umask(previous);
      ScriptedFileSystem::hook = nullptr;
      EXPECT_EQ(040700u, rootMode | 040000u);
      if (fail) {
        EXPECT_EQ(ERROR_INVALID_PARAMETER, result);
        EXPECT_EQ(before, snapshot_tree(target.path()));
      } else {
        EXPECT_EQ(0u, result);
        EXPECT_EQ(0444u, mode_of(target / "ro.cfg"));
        EXPECT_EQ(0755u, mode_of(target / "run.sh"));
        EXPECT_EQ(0660u & ~mask, mode_of(target / "conf/new.cfg"));
        EXPECT_EQ(0777u & ~mask, mode_of(target / "conf"));
      }
      removeTree(target.path());
      make_directories(target.path());
    }
  }

  // A link to a directory planted inside the backup root, where a saved
  // version is about to go: refused, and nothing reaches the link's target.
  write_file(target / "conf/x.cfg", "old x", kT - 1);
  const TreeSnapshot before = snapshot_tree(target.path());
  ScriptedFileSystem::hook = [&](FileOperation operation, const WideString&) -> uint32_t {
    if (operation == FileOperation::kFlush) {
      symlink(elsewhere.path().c_str(), (target / ".p8stp/saved/conf").c_str());
    }
    return 0;
  };
  EXPECT_EQ(ERROR_PATH_NOT_FOUND, install({{"conf\\x.cfg", "kit x", file_time(kT)}}));
  ScriptedFileSystem::hook = nullptr;
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_FALSE(exists(elsewhere / "x.cfg"));
}

// In a shared temporary directory another user has made "p8stp0": the run
// (as nobody, whose target keeps its backup root out) passes it over and
// makes its own, private one.
TEST_F(HostileTreeTest, APremadeBackupRootIsPassedOver) {
  write_file(target / "conf/a.cfg", "old a", kT - 1);
  ASSERT_EQ(0, chown((target / "conf").c_str(), 65534, 65534));
  ASSERT_EQ(0, chown((target / "conf/a.cfg").c_str(), 65534, 65534));
  chmod(target.path().c_str(), 0555);
  chmod(temp.path().c_str(), 01777);
  chmod(home.path().c_str(), 0777);
  chmod(staging.path().c_str(), 0755);
  make_directories(temp / "p8stp0");
  chmod((temp / "p8stp0").c_str(), 0777);
  const TreeSnapshot premade = snapshot_tree(temp / "p8stp0");
  build_kit({{"conf\\a.cfg", "kit a", file_time(kT)}}, staging.path(), staging / "orbp8.pkd");
  chmod((staging / "orbp8.pkd").c_str(), 0644);
  const std::string report = run_in_child([&]() -> std::string {
    const std::string failure = become_nobody();
    if (!failure.empty()) return "skip: " + failure;
    std::string seen;
    ScriptedFileSystem::hook = [&](FileOperation operation, const WideString& path) -> uint32_t {
      struct stat status;
      if (operation == FileOperation::kMoveFile && path.find(u".p8new") == 0 &&
          lstat((temp / "p8stp1").c_str(), &status) == 0) {
        seen = std::to_string(status.st_mode & 07777) + " " + std::to_string(status.st_uid);
      }
      return 0;
    };
    ScriptedKit kit;
    if (kit.open(wide(staging / "orbp8.pkd")) != 0) return "the kit did not open";
    ScriptedProcessData data;
    data.init(&kit, wide(target.path()));
    const uint32_t result = ScriptedInstaller(0).run(&data);
    kit.close();
    return std::to_string(result) + " " + seen;
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ("0 " + std::to_string(0700) + " 65534", report);
  EXPECT_EQ("kit a", read_file(target / "conf/a.cfg"));
  EXPECT_EQ(premade, snapshot_tree(temp / "p8stp0"));
  EXPECT_FALSE(exists(temp / "p8stp1"));
}

// A backup root found in the target is replayed only when it is this user's
// own, private, and its journal names this target; anything else, such as
// one another user planted to have a file deleted, is left alone and the
// installation refuses to start.
TEST_F(HostileTreeTest, APlantedBackupRootIsNeverReplayed) {
  struct Case {
    const char* what;
    unsigned mode;
    uid_t owner;
    bool namesThisTarget;
    bool replayed;
  };
  const Case cases[] = {{"private and ours", 0700, 0, true, true},
                        {"open to others", 0755, 0, true, false},
                        {"another user's", 0700, 65534, true, false},
                        {"naming another target", 0700, 0, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    write_file(target / "victim.cfg", "the user's", kT);
    make_directories(target / ".p8stp");
    JournalRecord header;
    header.runId = 1;
    header.path = (c.namesThisTarget ? target.path() : elsewhere.path()) + "/";
    header.backupRoot = target / ".p8stp/";
    JournalRecord created;
    created.type = JournalRecordType::kCreate;
    created.path = "victim.cfg";
    std::string journal = journal_file_start();
    append_journal_record(journal, header);
    append_journal_record(journal, created);
    write_file(target / ".p8stp/journal", journal);
    chmod((target / ".p8stp").c_str(), c.mode);
    ASSERT_EQ(0, chown((target / ".p8stp").c_str(), c.owner, c.owner));
    const uint32_t result = install({{"a.cfg", "kit a", file_time(kT)}});
    EXPECT_EQ(c.replayed ? 0u : ERROR_ALREADY_EXISTS, result);
    EXPECT_EQ(c.replayed, !exists(target / "victim.cfg"));
    EXPECT_EQ(c.replayed, !exists(target / ".p8stp"));
    removeTree(target.path());
    make_directories(target.path());
  }
}
