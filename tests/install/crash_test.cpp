// The installer killed (SIGKILL) before each change it makes to the disk, in
// a run and in the rollback of a failed one: every file is then its old or
// its new version, and the next start puts the tree back byte for byte and
// time for time, or, once the run had committed, leaves it installed.
#include <signal.h>
#include <sys/stat.h>

#include "install/install_fixture.h"
#include "install/install_registry.h"
#include "install/recovery.h"

using CrashTest = InstallTest;

// Into an older tree the kit replaces parts of, and into a target missing
// with its parent.
TEST_F(CrashTest, AKillBeforeAnyChangeIsUndoneAtTheNextStart) {
  openKit({{"old\\a.cfg", "kit a"}, {"old\\d\\b.cfg", "kit b"}, {"newer.cfg", "kit newer"},
           {"fresh\\e\\c.cfg", "kit c"}});
  // Installs into `root` in a child killed before change `killAt`, after
  // change `failAt` failed: the run's result and one letter per change: a
  // temporary file created (N) and renamed (R), the journal written (W) and
  // deleted (J), a link (H), a flush (F), anything else (.).
  const auto run = [&](const std::string& root, int killAt, int failAt) {
    return inChild([&]() -> std::string {
      std::string letters;
      FileFaults faults;
      on_every(faults, kChanges, [&](int number, FileOperation operation, const std::string& path) {
        if (number == killAt) raise(SIGKILL);
        const bool temporary = path.find(".p8new") < path.find(" -> ");
        const bool journal = path == ".p8stp/journal";
        using Op = FileOperation;
        letters += operation == Op::kCreate && temporary ? 'N'
                   : operation == Op::kMove && temporary ? 'R'
                   : operation == Op::kWrite && journal  ? 'W'
                   : operation == Op::kDelete && journal ? 'J'
                   : operation == Op::kLink              ? 'H'
                   : operation == Op::kFlush             ? 'F'
                                                         : '.';
        return number == failAt ? ERROR_DISK_FULL : 0u;
      });
      return std::to_string(install(root).result) + " " + letters;
    });
  };
  for (const bool missing : {false, true}) {
    const auto prepare = [&](const MemoryDirectory& tree) {
      if (missing) return tree / "made/target";
      write_file(tree / "old/a.cfg", "old a", kT - 100, 1);
      write_file(tree / "old/d/b.cfg", "old b", kT - 100, 2);
      write_file(tree / "newer.cfg", "mine", kT + 100);
      write_file(tree / "user.txt", "the user's own", kT - 5, 77);
      chmod((tree / "old/d").c_str(), 0750);
      for (const char* directory : {"old/d", "old", "."}) set_time(tree / directory, kT - 9, 9);
      return tree.path();
    };
    MemoryDirectory dry;
    const std::string done = run(prepare(dry), -1, -1);
    ASSERT_EQ("0 ", done.substr(0, 2));
    const std::string letters = done.substr(2);
    // A power loss is harmless: a flush lies between the last journal write
    // and the first new file, the last saved link and the first rename, and
    // the last rename and the journal's deletion.
    const size_t firstRename = letters.find('R'), lastLink = letters.rfind('H', firstRename);
    EXPECT_LT(letters.find('F', letters.rfind('W', letters.find('N'))), letters.find('N'));
    EXPECT_LT(lastLink == std::string::npos ? 0 : letters.find('F', lastLink), firstRename);
    EXPECT_LT(letters.find('F', letters.rfind('R')), letters.find('J')) << letters;
    const TreeSnapshot installed = files_of(snapshot_tree(dry.path()));
    // Kills also in the rollback of a run whose middle rename fails.
    const int failAt = static_cast<int>(letters.find('R', letters.size() / 2));
    MemoryDirectory failed;
    const std::string rolledBack = run(prepare(failed), -1, failAt);
    ASSERT_EQ("112 ", rolledBack.substr(0, 4));
    const int runChanges = static_cast<int>(letters.size());
    for (int kill = 0; kill < runChanges + static_cast<int>(rolledBack.size()) - 5 - failAt;
         ++kill) {
      const bool inRollback = kill >= runChanges;
      const int killAt = inRollback ? kill - runChanges + failAt + 1 : kill;
      SCOPED_TRACE((missing ? "missing target, kill before change " : "kill before change ") +
                   std::to_string(killAt) + (inRollback ? " of the rollback" : ""));
      MemoryDirectory tree;
      const std::string root = prepare(tree);
      const TreeSnapshot before = snapshot_tree(tree.path());
      ASSERT_EQ("child ended abnormally, status " + std::to_string(SIGKILL),
                run(root, killAt, inRollback ? failAt : -1));
      TreeSnapshot now = snapshot_tree(tree.path());
      for (const auto& [name, item] : installed) {
        const std::string was = before.count(name) ? before.at(name) : "";
        EXPECT_TRUE(now[name] == was || now[name] == item) << name << ": " << now[name];
      }
      // The next start, proposing another directory, finds the run through
      // the registry.
      for (const RecoveryNote& note : recover_interrupted_installations(u"/nonexistent", 0))
        EXPECT_EQ("1 " + root + "/", std::to_string(note.undone) + " " + narrow_lib(note.target));
      EXPECT_TRUE(list_registry_entries(install_registry_directory()).empty());
      const bool committed = !inRollback && killAt > static_cast<int>(letters.find('J'));
      EXPECT_EQ(committed ? installed : before,
                committed ? files_of(snapshot_tree(tree.path())) : snapshot_tree(tree.path()));
    }
  }
}
