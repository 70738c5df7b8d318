// Another local user's moves against an installation: links where the kit
// needs a directory, links planted at the names the installer is about to
// use, and planted or pre-made backup roots.
#include <sys/stat.h>
#include <unistd.h>

#include "install/install_fixture.h"
#include "install/journal_record.h"

using HostileTreeTest = InstallTest;

// Links planted before the run (kOpen) or the first call on a path starting `when`,
// and backup roots not this user's private one for this target (the genuine one is
// replayed): nothing outside is touched, and a refused run leaves the tree as it was.
TEST_F(HostileTreeTest, PlantedLinksAndBackupRootsAreNeverFollowed) {
  ScratchDirectory elsewhere;
  write_file(elsewhere / "victim.conf", "root's secret", kT);
  const std::string outside = elsewhere / "victim.conf";
  const TreeSnapshot untouched = snapshot_tree(elsewhere.path());
  struct Case {
    FileOperation before;
    const char *when, *at;  // the call's path start; the link's name ("" that path) or root mode
    std::string link;       // or the directory the root's journal names
    uid_t owner;
    uint32_t result;
  };
  const Case cases[] = {
      {FileOperation::kOpen, "", "conf", elsewhere.path(), 0, ERROR_PATH_NOT_FOUND},
      {FileOperation::kCreate, "conf/.p8new", "", outside, 0, ERROR_ALREADY_EXISTS},
      {FileOperation::kMove, "conf/.p8new", "conf/x.cfg", outside, 0, 0},
      {FileOperation::kFlush, ".p8stp/journal", ".p8stp/saved/conf", elsewhere.path(), 0,
       ERROR_PATH_NOT_FOUND},
      {FileOperation::kOpen, "", "0700", target.path(), 0, 0},
      {FileOperation::kOpen, "", "0755", target.path(), 0, ERROR_ALREADY_EXISTS},
      {FileOperation::kOpen, "", "0700", target.path(), 65534, ERROR_ALREADY_EXISTS},
      {FileOperation::kOpen, "", "0700", staging.path(), 0, ERROR_ALREADY_EXISTS}};
  openKit({{"conf\\x.cfg", "kit x"}});
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    remove_tree(target / "conf");
    write_file(target / "conf/x.cfg", "old x", kT - 1);
    const bool root = c.at[0] == '0', early = c.before == FileOperation::kOpen;
    if (early && !root) {
      remove_tree(target / c.at);
      ASSERT_EQ(0, symlink(c.link.c_str(), (target / c.at).c_str()));
    } else if (root) {  // a journal whose undo would delete a file
      std::string journal = journal_file_start();
      append_journal_record(
          journal,
          {JournalRecordType::kHeader, 0, 1, {}, 0, 0, c.link + "/", target / ".p8stp/", {}});
      append_journal_record(journal, {JournalRecordType::kCreate, 0, 1, {}, 0, 0, "victim", "",
                                      {0, 0, 10, kT, 0}});
      write_file(target / ".p8stp/journal", journal, kT);
      write_file(target / "victim", "the user's", kT);
      chmod((target / ".p8stp").c_str(), std::stoul(c.at, nullptr, 8));
      ASSERT_EQ(0, chown((target / ".p8stp").c_str(), c.owner, c.owner));
    }
    const TreeSnapshot before = snapshot_tree(target.path());
    FileFaults faults;
    bool planted = early;
    faults.on(c.before, [&](const std::string& path) {
      if (planted || path.find(c.when) != 0) return 0u;
      planted = true;
      const std::string at = target / (*c.at ? c.at : path);
      remove_tree(at);
      return static_cast<uint32_t>(symlink(c.link.c_str(), at.c_str()) == 0 ? 0 : 1);
    });
    EXPECT_EQ(c.result, install(target.path()).result);
    const std::string x = early && !root ? "old x" : read_file(target / "conf/x.cfg");
    EXPECT_EQ(c.result == 0 ? "kit x" : "old x", x);
    EXPECT_EQ(c.result == 0 ? snapshot_tree(target.path()) : before, snapshot_tree(target.path()));
    EXPECT_EQ(root && c.result == 0, root && !exists(target / "victim"));
    EXPECT_EQ(untouched, snapshot_tree(elsewhere.path()));
    remove_tree(target / ".p8stp");
  }
}
