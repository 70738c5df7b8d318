// The installer killed (SIGKILL) before each change it makes to the disk, in
// a run and in the rollback of a failed one: every file is then its old or
// its new version, and the next start puts the tree back byte for byte and
// time for time, or, once the run had committed, leaves it installed.
#include <signal.h>
#include <sys/stat.h>

#include "install/install_fixture.h"
#include "install/install_registry.h"
#include "install/recovery.h"
#include "support/child_process.h"

namespace {

using CrashTest = InstallTest;

// One letter per change: a kit entry's temporary file created (N) and
// renamed into place (R), the journal written (W) and deleted (J), saved
// links (H), flushes (F), anything else (.).
char letter_of(FileOperation operation, const std::string& path) {
  using Op = FileOperation;
  const bool temporary = path.find(".p8new") < path.find(" -> ");
  const bool journal = path == ".p8stp/journal";
  const std::map<Op, std::pair<bool, char>> letters = {
      {Op::kCreate, {temporary, 'N'}}, {Op::kMove, {temporary, 'R'}}, {Op::kWrite, {journal, 'W'}},
      {Op::kDelete, {journal, 'J'}},   {Op::kLink, {true, 'H'}},      {Op::kFlush, {true, 'F'}}};
  const auto letter = letters.find(operation);
  return letter != letters.end() && letter->second.first ? letter->second.second : '.';
}

// The order that makes a power loss harmless: a flush between the last
// journal write and the first new file, between the last saved link and the
// first rename, and between the last rename and the journal's deletion.
void expect_durable_order(const std::string& letters) {
  const auto flushed_between = [&](size_t from, size_t to) {
    return from != std::string::npos && to != std::string::npos && letters.find('F', from) < to;
  };
  const size_t lastLink = letters.rfind('H', letters.find('R'));
  EXPECT_TRUE(flushed_between(letters.rfind('W', letters.find('N')), letters.find('N'))) << letters;
  EXPECT_TRUE(lastLink == std::string::npos || flushed_between(lastLink, letters.find('R')))
      << letters;
  EXPECT_TRUE(flushed_between(letters.rfind('R'), letters.find('J'))) << letters;
}

}  // namespace

// Into an older tree the kit replaces parts of, and into a target missing
// with its parent.
TEST_F(CrashTest, AKillBeforeAnyChangeIsUndoneAtTheNextStart) {
  openKit({{"old\\a.cfg", "kit a"},
           {"old\\d\\b.cfg", "kit b"},
           {"newer.cfg", "kit newer"},
           {"fresh\\e\\c.cfg", "kit c"}});
  // Installs into `root` in a child killed before change `killAt`, after
  // change `failAt` failed: the run's result and the letters of its changes.
  const auto run = [&](const std::string& root, int killAt, int failAt) {
    return inChild([&]() -> std::string {
      std::string letters;
      FileFaults faults;
      on_every(faults, kChanges, [&](int number, FileOperation operation, const std::string& path) {
        if (number == killAt) raise(SIGKILL);
        letters += letter_of(operation, path);
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
    expect_durable_order(letters);
    const TreeSnapshot installed = files_of(snapshot_tree(dry.path()));
    // Kills also in the rollback of a run whose middle rename fails.
    const int failAt = static_cast<int>(letters.find('R', letters.size() / 2));
    MemoryDirectory failed;
    const std::string rolledBack = run(prepare(failed), -1, failAt);
    ASSERT_EQ("112 ", rolledBack.substr(0, 4));
    for (int kill = 0; kill < static_cast<int>(letters.size() + rolledBack.size()) - 5 - failAt;
         ++kill) {
      const bool inRollback = kill >= static_cast<int>(letters.size());
      const int killAt = inRollback ? kill - static_cast<int>(letters.size()) + failAt + 1 : kill;
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
      for (const RecoveryNote& note : recover_interrupted_installations(u"/nonexistent", 0)) {
        EXPECT_TRUE(note.undone);
        EXPECT_EQ(wide(root + "/"), note.target);
      }
      EXPECT_TRUE(list_registry_entries(install_registry_directory()).empty());
      if (!inRollback && killAt > static_cast<int>(letters.find('J'))) {
        EXPECT_EQ(installed, files_of(snapshot_tree(tree.path())));
      } else {
        EXPECT_EQ(before, snapshot_tree(tree.path()));
      }
    }
  }
}
