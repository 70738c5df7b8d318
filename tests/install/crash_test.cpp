// The installer killed (SIGKILL) before each change it makes to the disk, in
// a run and in the rollback of a failed one: every file is then its old or
// its new version, and the next start puts the tree back byte for byte and
// time for time, or, once the run had committed, leaves it installed.
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <iterator>

#include "install/install_fixture.h"
#include "install/install_registry.h"
#include "install/recovery.h"
#include "support/child_process.h"

namespace {

using CrashTest = InstallTest;

std::vector<KitFile> crash_kit() {
  std::string big(100000, '\0');
  uint32_t noise = 7;
  for (char& byte : big) byte = static_cast<char>((noise = noise * 1103515245 + 12345) >> 24);
  return {{"old\\a.cfg", "kit a"},   {"old\\d\\b.cfg", "kit b"}, {"big.bin", big},
          {"newer.cfg", "kit newer"}, {"fresh\\e\\c.cfg", "kit c"}};
}

// Older files the kit replaces, a newer one it keeps, the user's own.
void make_old_tree(const std::string& root) {
  write_file(root + "/old/a.cfg", "old a", kT - 100, 1);
  write_file(root + "/old/d/b.cfg", "old b", kT - 100, 2);
  write_file(root + "/big.bin", "small old big", kT - 100);
  write_file(root + "/newer.cfg", "mine", kT + 100);
  write_file(root + "/user.txt", "the user's own", kT - 5, 77);
  chmod((root + "/old/d").c_str(), 0750);
  for (const char* directory : {"/old/d", "/old", ""}) set_time(root + directory, kT - 9, 9);
}

// One letter per change: a kit entry's temporary file created (N) and
// renamed into place (R), the journal written (W) and deleted (J), saved
// links (H), flushes (F), anything else (.).
char letter_of(const FileCall& call) {
  const bool temporary = call.path.find(".p8new") < call.path.find(" -> ");
  const bool journal = call.path == ".p8stp/journal";
  switch (call.operation) {
    case FileOperation::kCreate: return temporary ? 'N' : '.';
    case FileOperation::kMove: return temporary ? 'R' : '.';
    case FileOperation::kWrite: return journal ? 'W' : '.';
    case FileOperation::kDelete: return journal ? 'J' : '.';
    case FileOperation::kLink: return 'H';
    case FileOperation::kFlush: return 'F';
    default: return '.';
  }
}

// The order that makes a power loss harmless: a flush between the last
// journal write and the first new file, between the last saved link and the
// first rename, and between the last rename and the journal's deletion.
void expect_durable_order(const std::string& letters) {
  const auto flushed_between = [&](size_t from, size_t to) {
    return from != std::string::npos && to != std::string::npos && letters.find('F', from) < to;
  };
  const size_t firstNew = letters.find('N');
  EXPECT_TRUE(flushed_between(letters.rfind('W', firstNew), firstNew)) << letters;
  const size_t lastLink = letters.rfind('H', letters.find('R'));
  if (lastLink != std::string::npos) {
    EXPECT_TRUE(flushed_between(lastLink, letters.find('R'))) << letters;
  }
  EXPECT_TRUE(flushed_between(letters.rfind('R'), letters.find('J'))) << letters;
}

}  // namespace

TEST_F(CrashTest, AKillAtAnyChangeIsUndoneAtTheNextStart) {
  openKit(crash_kit());
  // Installs into `root` in a child killed before change `killAt`, after
  // change `failAt` failed; its result and the letters of its changes.
  const auto run = [&](const std::string& root, int killAt, int failAt) {
    return inChild([&]() -> std::string {
      FileFaults faults;
      on_every_change(faults, [&](int number, FileOperation, const std::string&) {
        if (number == killAt) raise(SIGKILL);
        return number == failAt ? ERROR_DISK_FULL : 0u;
      });
      std::string letters = std::to_string(install(root).result) + " ";
      for (const FileCall& call : faults.calls()) {
        if (std::find(std::begin(kChanges), std::end(kChanges), call.operation) != std::end(kChanges)) {
          letters += letter_of(call);
        }
      }
      return letters;
    });
  };
  for (const bool missing : {false, true}) {
    SCOPED_TRACE(missing ? "missing target" : "old tree");
    const auto prepare = [&](const MemoryDirectory& tree) {
      if (!missing) make_old_tree(tree.path());
      return missing ? tree / "made/target" : tree.path();
    };
    MemoryDirectory dry;
    const std::string done = run(prepare(dry), -1, -1);
    ASSERT_EQ("0 ", done.substr(0, 2));
    const std::string letters = done.substr(2);
    expect_durable_order(letters);
    const TreeSnapshot installed = files_of(snapshot_tree(dry.path()));
    const int commit = static_cast<int>(letters.find('J'));
    // Kills during the rollback of a run whose middle rename fails.
    const int failAt = static_cast<int>(letters.find('R', letters.size() / 2));
    MemoryDirectory failed;
    const std::string rolledBack = run(prepare(failed), -1, failAt);
    ASSERT_EQ("112 ", rolledBack.substr(0, 4));
    std::vector<std::pair<int, int>> kills;
    for (int killAt = 0; killAt < static_cast<int>(letters.size()); ++killAt) kills.push_back({killAt, -1});
    for (int killAt = failAt + 1; killAt < static_cast<int>(rolledBack.size()) - 4; ++killAt) {
      kills.push_back({killAt, failAt});
    }
    for (const auto& [killAt, failing] : kills) {
      SCOPED_TRACE("kill at change " + std::to_string(killAt) + (failing >= 0 ? " of the rollback" : ""));
      MemoryDirectory tree;
      const std::string root = prepare(tree);
      const TreeSnapshot before = snapshot_tree(tree.path());
      ASSERT_EQ("child ended abnormally, status " + std::to_string(SIGKILL), run(root, killAt, failing));
      for (const KitFile& file : crash_kit()) {
        std::string name = file.name;
        std::replace(name.begin(), name.end(), '\\', '/');
        const std::string now = read_file(root + "/" + name);
        const std::string old = content_of(before, (missing ? "made/target/" : "") + name);
        EXPECT_TRUE(now == file.content || now == old) << name << ": " << now.substr(0, 20);
      }
      // The next start, proposing another directory, finds the run through
      // the registry.
      for (const RecoveryNote& note : recover_interrupted_installations(u"/nonexistent", 0)) {
        EXPECT_TRUE(note.undone);
        EXPECT_EQ(wide(root + "/"), note.target);
      }
      EXPECT_TRUE(list_registry_entries(install_registry_directory()).empty());
      if (failing < 0 && killAt > commit) {
        EXPECT_EQ(installed, files_of(snapshot_tree(tree.path())));
      } else {
        EXPECT_EQ(before, snapshot_tree(tree.path()));
      }
    }
  }
}
