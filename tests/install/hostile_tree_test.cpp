// Another local user's moves against an installation: a symbolic link where
// the kit needs a directory, links planted at the names the installer is
// about to use or inside its backup root, and planted or pre-made backup
// roots.
#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "install/install_fixture.h"
#include "install/journal_record.h"

namespace {

class HostileTreeTest : public InstallTest {
 protected:
  void SetUp() override { write_file(elsewhere / "victim.conf", "root's secret", kT); }
  ScratchDirectory elsewhere;
};

}  // namespace

// A link to a directory in the target, and links planted just before use at
// the temporary name, at the final name and where a saved version is about
// to go: nothing outside the target is written or read into it, and after a
// failure the tree is as it was.
TEST_F(HostileTreeTest, LinksInTheTargetAreNeverFollowed) {
  ASSERT_EQ(0, symlink(elsewhere.path().c_str(), (target / "sub").c_str()));
  TreeSnapshot before = snapshot_tree(target.path());
  const TreeSnapshot outside = snapshot_tree(elsewhere.path());
  openKit({{"sub\\victim.conf", "kit", file_time(kT + 9)}});
  EXPECT_EQ("3 3 0 " + resource("IDS_ERROR_NOTDIRECTORY") + " " + target / "sub",
            install(target.path()).text());
  EXPECT_EQ(before, snapshot_tree(target.path()));

  struct Plant {
    FileOperation before;
    const char* when;  // how the call's path starts
    const char* at;    // "" for the name of that call
    std::string link;
    uint32_t result;
  };
  const Plant plants[] = {
      {FileOperation::kCreate, "conf/.p8new", "", elsewhere / "victim.conf", ERROR_ALREADY_EXISTS},
      {FileOperation::kMove, "conf/.p8new", "conf/x.cfg", elsewhere / "victim.conf", 0},
      {FileOperation::kFlush, ".p8stp/journal", ".p8stp/saved/conf", elsewhere.path(),
       ERROR_PATH_NOT_FOUND}};
  openKit({{"conf\\x.cfg", "kit x"}});
  for (const Plant& plant : plants) {
    write_file(target / "conf/x.cfg", "old x", kT - 1);
    before = snapshot_tree(target.path());
    FileFaults faults;
    faults.on(plant.before, [&](const std::string& path) {
      if (path.find(plant.when) != 0) return 0u;
      const std::string at = target / (*plant.at ? plant.at : path);
      unlink(at.c_str());
      return static_cast<uint32_t>(symlink(plant.link.c_str(), at.c_str()) == 0 ? 0 : 1);
    });
    EXPECT_EQ(plant.result, install(target.path()).result) << plant.when;
    // The rename replaces a link at the final name itself.
    EXPECT_EQ(plant.result == 0 ? "kit x" : "old x", read_file(target / "conf/x.cfg"))
        << plant.when;
    if (plant.result != 0) {
      EXPECT_EQ(before, snapshot_tree(target.path())) << plant.when;
    }
    EXPECT_EQ(outside, snapshot_tree(elsewhere.path())) << plant.when;
  }
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
  };
  const Case cases[] = {{"private and ours", 0700, 0, true},
                        {"open to others", 0755, 0, true},
                        {"another user's", 0700, 65534, true},
                        {"naming another directory of its file system", 0700, 0, false}};
  openKit({{"a.cfg", "kit a"}});
  for (const Case& c : cases) {
    remove_tree(target / ".p8stp");
    write_file(target / "victim.cfg", "the user's", kT);
    const std::string named = (c.namesThisTarget ? target.path() : staging.path()) + "/";
    std::string journal = journal_file_start();
    append_journal_record(journal,
                          {JournalRecordType::kHeader, 0, 1, {}, 0, 0, named, target / ".p8stp/"});
    append_journal_record(journal, {JournalRecordType::kCreate, 0, 1, {}, 0, 0, "victim.cfg", ""});
    write_file(target / ".p8stp/journal", journal, kT);
    chmod((target / ".p8stp").c_str(), c.mode);
    ASSERT_EQ(0, chown((target / ".p8stp").c_str(), c.owner, c.owner));
    const bool replayed = c.mode == 0700 && c.owner == 0 && c.namesThisTarget;
    EXPECT_EQ(replayed ? 0u : ERROR_ALREADY_EXISTS, install(target.path()).result) << c.what;
    EXPECT_EQ(replayed, !exists(target / "victim.cfg")) << c.what;
    EXPECT_EQ(replayed, !exists(target / ".p8stp")) << c.what;
  }
}

// Where the target cannot hold the backup root, it goes to the temporary
// directory: a name someone else made there is passed over, the one made is
// private, saving and putting back are copies across file systems, and a
// rollback puts every byte, mode and time back.
TEST_F(HostileTreeTest, ABackupRootInTheTemporaryDirectory) {
  write_file(target / "conf/a.cfg", "old a", kT - 1, 5);
  chmod((target / "conf/a.cfg").c_str(), 0640);
  ASSERT_EQ(0, mkdir((temp / "p8stp0").c_str(), 0777));
  chmod((temp / "p8stp0").c_str(), 0777);
  const TreeSnapshot before = snapshot_tree(target.path());
  openKit({{"conf\\a.cfg", "kit a"}, {"conf\\b.cfg", "kit b"}});
  std::set<std::string> backupRoot;
  FileFaults faults;
  faults.fail(FileOperation::kMakeDirectory, ERROR_INVALID_PARAMETER, ".p8stp")
      .fail(FileOperation::kLink, ERROR_NOT_SAME_DEVICE, "", 0, -1)
      .fail(FileOperation::kMove, ERROR_NOT_SAME_DEVICE, "p8stp1/saved/", 0, -1)
      .fail(FileOperation::kMove, ERROR_INVALID_PARAMETER, "-> conf/b.cfg")
      .on(FileOperation::kMove, [&](const std::string&) {
        if (exists(temp / "p8stp1"))
          backupRoot.insert(snapshot_tree(temp.path())["p8stp1"].substr(0, 6));
        return 0u;
      });
  EXPECT_EQ(ERROR_INVALID_PARAMETER, install(target.path()).result);
  EXPECT_EQ(std::set<std::string>{"d 0700"}, backupRoot);
  EXPECT_EQ(1, faults.count(FileOperation::kMove, "p8stp1/saved/conf/a.cfg -> conf/a.cfg"));
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_EQ("p8stp0 ", leftovers());
  EXPECT_EQ("d 0777", snapshot_tree(temp / "p8stp0")["."].substr(0, 6));
}
