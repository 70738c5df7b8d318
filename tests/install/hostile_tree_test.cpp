// Another local user's moves against an installation: symbolic links where
// the kit needs a directory, links planted at the names the installer is
// about to create or replace or inside its backup root, planted and
// pre-made backup roots, and umasks that would widen what it makes.
#include <sys/stat.h>
#include <unistd.h>

#include "install/install_fixture.h"
#include "install/journal_record.h"
#include "platform/tree_removal.h"
#include "text/languages.h"

namespace {

unsigned mode_of(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 01000000;
}

class HostileTreeTest : public InstallTest {
 protected:
  void SetUp() override { write_file(elsewhere / "victim.conf", "root's secret", kT); }
  // Empties the target for the next case.
  void renew() {
    removeTree(target.path());
    make_directories(target.path());
  }
  ScratchDirectory elsewhere;
};

}  // namespace

// A link to a directory in the target, and links planted at the temporary
// and the final name just before they are used: nothing outside the target
// is written, and after a failure the tree is as it was.
TEST_F(HostileTreeTest, LinksInTheTargetAreNeverFollowed) {
  ASSERT_EQ(0, symlink(elsewhere.path().c_str(), (target / "sub").c_str()));
  const TreeSnapshot before = snapshot_tree(target.path());
  const TreeSnapshot outside = snapshot_tree(elsewhere.path());
  openKit({{"sub\\victim.conf", "kit", file_time(kT + 9)}});
  const Outcome outcome = install(target.path());
  EXPECT_EQ(ERROR_PATH_NOT_FOUND, outcome.result);
  EXPECT_EQ(LoadResString("IDS_ERROR_NOTDIRECTORY") + u" " + wide(target / "sub"), outcome.message);
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_EQ(outside, snapshot_tree(elsewhere.path()));

  const std::string victim = elsewhere / "victim.conf";
  openKit({{"file.cfg", "kit content"}});
  for (const FileOperation planted : {FileOperation::kCreate, FileOperation::kMove}) {
    SCOPED_TRACE(static_cast<int>(planted));
    renew();
    write_file(target / "file.cfg", "old", kT - 1);
    FileFaults faults;
    faults.on(planted, [&](const std::string& path) {
      if (path.find(".p8new") != 0) return 0u;
      const std::string at = target / (planted == FileOperation::kCreate ? path : "file.cfg");
      unlink(at.c_str());
      return static_cast<uint32_t>(symlink(victim.c_str(), at.c_str()));
    });
    const uint32_t result = install(target.path()).result;
    EXPECT_EQ("root's secret", read_file(victim));
    // The rename replaces a link at the final name itself.
    EXPECT_EQ(planted == FileOperation::kCreate ? ERROR_ALREADY_EXISTS : 0u, result);
    EXPECT_EQ(planted == FileOperation::kCreate ? "old" : "kit content", read_file(target / "file.cfg"));
  }
}

// Whatever the umask, the backup root is its user's alone, replaced files
// keep their permission bits, new files get 0660 and new directories 0777
// less the umask; a link planted inside the backup root is not followed.
TEST_F(HostileTreeTest, ModesWhateverTheUmaskAndThePrivateBackupRoot) {
  openKit({{"ro.cfg", "kit ro"}, {"run.sh", "kit run"}, {"conf\\new.cfg", "kit new"}});
  for (const mode_t mask : {mode_t{000}, mode_t{077}}) {
    SCOPED_TRACE(mask);
    renew();
    write_file(target / "ro.cfg", "old ro", kT - 1);
    write_file(target / "run.sh", "old run", kT - 1);
    chmod((target / "ro.cfg").c_str(), 0444);
    chmod((target / "run.sh").c_str(), 0755);
    unsigned rootMode = 0;
    FileFaults faults;
    faults.on(FileOperation::kMove, [&](const std::string&) {
      rootMode = mode_of(target / ".p8stp");
      return 0u;
    });
    const mode_t previous = umask(mask);
    const uint32_t result = install(target.path()).result;
    umask(previous);
    EXPECT_EQ(0u, result);
    EXPECT_EQ(0700u, rootMode);
    EXPECT_EQ(0444u, mode_of(target / "ro.cfg"));
    EXPECT_EQ(0755u, mode_of(target / "run.sh"));
    EXPECT_EQ(0660u & ~mask, mode_of(target / "conf/new.cfg"));
    EXPECT_EQ(0777u & ~mask, mode_of(target / "conf"));
  }

  // A link to a directory planted where a saved version is about to go.
  renew();
  write_file(target / "conf/x.cfg", "old x", kT - 1);
  const TreeSnapshot before = snapshot_tree(target.path());
  FileFaults faults;
  faults.on(FileOperation::kFlush, [&](const std::string& path) {
    if (path == ".p8stp/journal") symlink(elsewhere.path().c_str(), (target / ".p8stp/saved/conf").c_str());
    return 0u;
  });
  openKit({{"conf\\x.cfg", "kit x"}});
  EXPECT_EQ(ERROR_PATH_NOT_FOUND, install(target.path()).result);
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_FALSE(exists(elsewhere / "x.cfg"));
}

// A backup root found in the target is replayed only when it is this
// user's own, private, and its journal names this target; anything else,
// such as one planted to have a file deleted, is left alone and the
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
  openKit({{"a.cfg", "kit a"}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    renew();
    write_file(target / "victim.cfg", "the user's", kT);
    make_directories(target / ".p8stp");
    JournalRecord header;
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
    EXPECT_EQ(c.replayed ? 0u : ERROR_ALREADY_EXISTS, install(target.path()).result);
    EXPECT_EQ(c.replayed, !exists(target / "victim.cfg"));
    EXPECT_EQ(c.replayed, !exists(target / ".p8stp"));
  }
}

// Where the target holds no backup root, it goes to the temporary
// directory: a name someone else made there is passed over, the one made is
// private, and saving and putting back are copies when they cross file
// systems; a rollback puts every byte, mode and time back.
TEST_F(HostileTreeTest, ABackupRootInTheTemporaryDirectory) {
  write_file(target / "conf/a.cfg", "old a", kT - 1, 5);
  chmod((target / "conf/a.cfg").c_str(), 0640);
  make_directories(temp / "p8stp0");
  chmod((temp / "p8stp0").c_str(), 0777);
  const TreeSnapshot before = snapshot_tree(target.path());
  openKit({{"conf\\a.cfg", "kit a"}, {"conf\\b.cfg", "kit b"}});
  unsigned rootMode = 0;
  FileFaults faults;
  faults.fail(FileOperation::kMakeDirectory, ERROR_INVALID_PARAMETER, ".p8stp")
      .fail(FileOperation::kLink, ERROR_NOT_SAME_DEVICE, "", 0, -1)
      .fail(FileOperation::kMove, ERROR_NOT_SAME_DEVICE, "p8stp1/saved/", 0, -1)
      .fail(FileOperation::kMove, ERROR_INVALID_PARAMETER, "-> conf/b.cfg")
      .on(FileOperation::kMove, [&](const std::string&) {
        if (exists(temp / "p8stp1")) rootMode = mode_of(temp / "p8stp1");
        return 0u;
      });
  EXPECT_EQ(ERROR_INVALID_PARAMETER, install(target.path()).result);
  EXPECT_EQ(0700u, rootMode);
  EXPECT_EQ(1, faults.count(FileOperation::kMove, "p8stp1/saved/conf/a.cfg -> conf/a.cfg"));
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_EQ("p8stp0 ", leftovers());
  EXPECT_EQ(0777u, mode_of(temp / "p8stp0"));
}
