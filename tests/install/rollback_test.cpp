#include "install/rollback.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <thread>

#include "install/scripted_file_system.h"
#include "install/tree_fixture.h"
#include "support/file_contents.h"
#include "support/scratch_directory.h"

namespace {

class RollbackTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("TMPDIR", temp.path().c_str(), 1); }
  void TearDown() override { ScriptedFileSystem::hook = nullptr; }

  WideString targetDirectory() const { return wide(target.path() + "/"); }
  std::vector<std::string> backupRoots() const { return entries_with_prefix(temp.path(), "p8stp"); }

  ScratchDirectory temp;
  ScratchDirectory target;
};

}  // namespace

TEST_F(RollbackTest, StartTakesTheFirstFreeNumberAtomically) {
  {
    Rollback journal;
    ASSERT_EQ(0u, journal.start(targetDirectory()));
    EXPECT_EQ(wide(temp.path() + "/p8stp0/"), journal.level().backupDirectory);
    EXPECT_TRUE(journal.level().createdDirectories.empty());
    EXPECT_EQ(0u, journal.stop());
    EXPECT_TRUE(backupRoots().empty());
  }
  // An earlier root (of a crashed run, or any file of that name) is left
  // alone and the next number taken.
  write_file(temp / "p8stp0", "left over", 1000);
  make_directories(temp / "p8stp1/a");
  Rollback journal;
  ASSERT_EQ(0u, journal.start(targetDirectory()));
  EXPECT_EQ(wide(temp.path() + "/p8stp2/"), journal.level().backupDirectory);
  journal.rollback(0);
  EXPECT_EQ("left over", read_file(temp / "p8stp0"));
  EXPECT_TRUE(exists(temp / "p8stp1/a"));
  EXPECT_FALSE(exists(temp / "p8stp2"));

  // Many journals starting at once all get roots of their own.
  std::vector<Rollback> journals(8);
  std::vector<std::thread> threads;
  for (Rollback& each : journals) {
    threads.emplace_back([&each, this] { each.start(targetDirectory()); });
  }
  for (std::thread& thread : threads) thread.join();
  std::set<WideString> roots;
  for (Rollback& each : journals) roots.insert(each.level().backupDirectory);
  EXPECT_EQ(journals.size(), roots.size());
  EXPECT_EQ(0u, roots.count(WideString()));
}

TEST_F(RollbackTest, ReplacedFilesComeBackWithContentAndTime) {
  write_file(target / "a/b/x.cfg", "old x", 1000000000, 123456789);
  write_file(target / "a/.hidden", "old hidden", 1000000001);
  write_file(target / "top.cfg", "old top", 1000000002);
  const TreeSnapshot before = snapshot_tree(target.path());

  Rollback journal;
  ASSERT_EQ(0u, journal.start(targetDirectory()));
  const WideString backup = journal.level().backupDirectory;
  for (const char* name : {"a/b/x.cfg", "a/.hidden", "top.cfg"}) {
    ASSERT_EQ(0u, journal.storeRBFile(wide(target / name))) << name;
    EXPECT_FALSE(exists(target / name));
    EXPECT_TRUE(exists(narrow_lib(backup) + name));
    write_file(target / name, "new", 2000000000);
  }
  EXPECT_EQ(87u, journal.storeRBFile(wide(temp / "outside.cfg")));
  // Nothing there: 2, and the mirrored directory chain exists.
  EXPECT_EQ(2u, journal.storeRBFile(wide(target / "c/d/missing.cfg")));
  EXPECT_TRUE(exists(narrow_lib(backup) + "c/d"));

  EXPECT_EQ(5u, journal.rollback(5));
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_TRUE(backupRoots().empty());
}

// The kit may name one file twice: the second save must not replace the
// version saved first, which is the one that existed before the run.
TEST_F(RollbackTest, ASecondSaveOfOnePlaceKeepsTheFirst) {
  write_file(target / "d/x.cfg", "original", 1000000000);
  const TreeSnapshot before = snapshot_tree(target.path());
  Rollback journal;
  ASSERT_EQ(0u, journal.start(targetDirectory()));
  ASSERT_EQ(0u, journal.storeRBFile(wide(target / "d/x.cfg")));
  write_file(target / "d/x.cfg", "first write", 1100000000);
  ASSERT_EQ(0u, journal.storeRBFile(wide(target / "d//x.cfg")));
  EXPECT_EQ("first write", read_file(target / "d/x.cfg"));
  write_file(target / "d/x.cfg", "second write", 1200000000);
  journal.rollback(1);
  EXPECT_EQ(before, snapshot_tree(target.path()));
}

TEST_F(RollbackTest, DirectoriesAreRecordedAtEveryLevelAndOnlyWhenCreated) {
  make_directories(target / "existing");
  const TreeSnapshot before = snapshot_tree(target.path());
  Rollback journal;
  ASSERT_EQ(0u, journal.start(targetDirectory()));
  EXPECT_EQ(0u, journal.makeDirectoryTree(wide(target / "existing")));
  EXPECT_TRUE(journal.level().createdDirectories.empty());
  EXPECT_EQ(0u, journal.makeDirectoryTree(wide(target / "a/b/c")));
  EXPECT_EQ(0u, journal.makeDirectoryTree(wide(target / "existing/n")));
  const std::vector<WideString> expected = {wide(target / "a"), wide(target / "a/b"),
                                            wide(target / "a/b/c"), wide(target / "existing/n")};
  EXPECT_EQ(expected, journal.level().createdDirectories);
  // A file where a directory should be cannot be got around.
  write_file(target / "existing/file", "x", 1000);
  EXPECT_EQ(3u, journal.makeDirectoryTree(wide(target / "existing/file/sub")));
  unlink((target / "existing/file").c_str());
  journal.addRBFile(wide(target / "existing/created.cfg"));
  write_file(target / "existing/created.cfg", "new", 1000);

  journal.rollback(0);
  EXPECT_EQ(before, snapshot_tree(target.path()));
}

TEST_F(RollbackTest, CreatedFilesAreDeletedUnlessForgotten) {
  Rollback journal;
  ASSERT_EQ(0u, journal.start(WideString()));  // no target: no backup root
  EXPECT_TRUE(journal.level().backupDirectory.empty());
  EXPECT_TRUE(backupRoots().empty());
  write_file(target / "one", "1", 1000);
  write_file(target / "two", "2", 1000);
  // Nowhere to save a file: it must not count as saved.
  EXPECT_EQ(3u, journal.storeRBFile(wide(target / "one")));
  journal.addRBFile(wide(target / "one"));
  journal.addRBFile(wide(target / "two"));
  journal.addRBFile(wide(target / "two"));
  journal.removeRBFile(wide(target / "two"));
  journal.removeRBFile(wide(target / "absent"));
  EXPECT_EQ(2u, journal.level().createdFiles.size());
  EXPECT_EQ(1223u, journal.rollback(1223));
  EXPECT_FALSE(exists(target / "one"));
  EXPECT_FALSE(exists(target / "two"));  // still recorded once
}

// Symbolic links are saved and restored as links: a link to a directory is
// never walked into (the user's files behind it stay where they are), and a
// dangling link does not stop the restoring of the others.
TEST_F(RollbackTest, LinksAreRestoredAsLinks) {
  ScratchDirectory elsewhere;
  write_file(elsewhere / "docs/private.txt", "mine", 1000);
  ASSERT_EQ(0, symlink((elsewhere / "docs").c_str(), (target / "dirlink").c_str()));
  ASSERT_EQ(0, symlink("nowhere", (target / "dangling").c_str()));
  write_file(target / "plain.cfg", "plain", 1000);
  const TreeSnapshot before = snapshot_tree(target.path());
  const TreeSnapshot elsewhereBefore = snapshot_tree(elsewhere.path());

  Rollback journal;
  ASSERT_EQ(0u, journal.start(targetDirectory()));
  for (const char* name : {"dirlink", "dangling", "plain.cfg"}) {
    ASSERT_EQ(0u, journal.storeRBFile(wide(target / name))) << name;
    write_file(target / name, "installed", 2000);
  }
  journal.rollback(1);
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_EQ(elsewhereBefore, snapshot_tree(elsewhere.path()));
}

// One file that cannot be moved back does not stop the others, the backup
// tree is still removed and created things still go.
TEST_F(RollbackTest, AFailedRestoreDoesNotStopTheOthers) {
  ScriptedRollback journal;
  ASSERT_EQ(0u, journal.start(targetDirectory()));
  for (const std::string name : {"a", "b"}) {
    write_file(target / (name + ".cfg"), "old " + name, 1000);
    ASSERT_EQ(0u, journal.storeRBFile(wide(target / (name + ".cfg"))));
    write_file(target / (name + ".cfg"), "new " + name, 2000);
  }
  ASSERT_EQ(0u, journal.makeDirectoryTree(wide(target / "made")));
  ScriptedFileSystem::hook = [](FileOperation operation, const WideString& path) -> uint32_t {
    const bool isA = path.size() >= 5 && path.compare(path.size() - 5, 5, u"a.cfg") == 0;
    return operation == FileOperation::kMoveFile && isA ? 87 : 0;
  };
  journal.rollback(1);
  EXPECT_EQ("new a", read_file(target / "a.cfg"));
  EXPECT_EQ("old b", read_file(target / "b.cfg"));
  EXPECT_FALSE(exists(target / "made"));
  EXPECT_TRUE(backupRoots().empty());
}

// The backup tree on another file system than the target: moves become
// copies, which keep content, mode and time.
TEST_F(RollbackTest, BackupTreeOnAnotherFileSystem) {
  ScratchDirectory shared("orbtest-", "/dev/shm");
  setenv("TMPDIR", shared.path().c_str(), 1);
  write_file(target / "sub/x.cfg", std::string(3 << 20, 'x'), 1000000000, 500);
  chmod((target / "sub/x.cfg").c_str(), 0640);
  const TreeSnapshot before = snapshot_tree(target.path());
  Rollback journal;
  ASSERT_EQ(0u, journal.start(targetDirectory()));
  ASSERT_EQ(0u, journal.storeRBFile(wide(target / "sub/x.cfg")));
  EXPECT_FALSE(exists(target / "sub/x.cfg"));
  write_file(target / "sub/x.cfg", "new", 2000000000);
  journal.rollback(1);
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_TRUE(entries_with_prefix(shared.path(), "p8stp").empty());
}
