// Failures, cancels and kills roll an installation back: each call failed, a cancel
// after each file, SIGKILL before each change of a run and of its rollback; copies
// from a backup root in TMPDIR; a saved version that cannot be put back is kept.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "install/install_fixture.h"
#include "install/install_registry.h"
#include "install/recovery.h"
#include "support/child_process.h"

using RollbackTest = InstallTest;

namespace {

// What each call of a run is, one character per call in the order made: the
// run's steps, read as a string.
constexpr char kTemporaryCreated = 'N', kPutInPlace = 'R', kJournalWritten = 'W',
               kCommitted = 'J', kLinked = 'H', kFlushed = 'F', kLookedAt = 'o', kOtherChange = '.';

}  // namespace

// Into a user's tree, a target missing with two parents, and the default
// target beside the pending registry: after any failure or cancel the tree is
// as it was and nothing is left, unless the run passed over the failure. A
// kill is undone by the next start, or left installed once committed.
TEST_F(RollbackTest, EveryFailureCancelOrKillLeavesTheTreeAsItWas) {
  const std::string odd = "-odd $HOME \"q\" `x`/'new\nline'.cfg";
  openKit({{"conf\\old.xml", "kit old"},
           {"conf\\new.xml", "kit new"},
           {"dup.cfg", "dup first", EpochToFileTime(kT - 10)},
           {"fresh\\deep\\a.json", "{}"},
           {"keep\\added.txt", "added"},
           {"dup.cfg", "dup second"},
           {"conf/old.xml", "kit old again", EpochToFileTime(kT + 5)},
           {"top.bin", std::string("\0\1\2\3binary", 10)},
           {"fresh\\deep\\a.json", "{\"again\": 1}", EpochToFileTime(kT + 5)},
           {"-odd $HOME \"q\" `x`\\'new\nline'.cfg", "odd new"}});
  std::string letters;
  const auto run = [&](const std::string& root, int failAt, int cancelAfter, int killAt) {
    letters.clear();
    using Op = FileOperation;
    FileFaults faults;
    int number = 0, renamed = 0, changes = 0;
    for (const Op operation : {Op::kCreate, Op::kWrite, Op::kSetEnd, Op::kSetTime, Op::kSetMode,
                               Op::kMove, Op::kLink, Op::kMakeDirectory, Op::kRemoveDirectory,
                               Op::kDelete, Op::kFlush, Op::kOpen, Op::kStatus}) {
      faults.on(operation, [&, operation](const std::string& path) {
        // Under a temporary name, or in a new directory not yet given its own.
        const size_t arrow = path.find(" -> ");
        const bool temporary = path.find(".p8new") < arrow || path.find(".p8dir") < arrow;
        const bool journal = path.rfind(".p8stp/journal", 0) == 0;
        const char letter = operation == Op::kCreate && temporary ? kTemporaryCreated
                            : operation == Op::kMove && temporary ? kPutInPlace
                            : operation == Op::kWrite && journal  ? kJournalWritten
                            : operation == Op::kMove && journal   ? kCommitted
                            : operation == Op::kLink              ? kLinked
                            : operation == Op::kFlush             ? kFlushed
                            : operation == Op::kOpen || operation == Op::kStatus ? kLookedAt
                                                                                 : kOtherChange;
        if (letter != kLookedAt && changes++ == killAt) raise(SIGKILL);
        letters += letter;
        if (letter == kPutInPlace && renamed++ == cancelAfter) data.setCancel(true);
        return number++ == failAt ? ERROR_DISK_FULL : 0u;
      });
    }
    return install(root);
  };
  const auto changes_in = [](const std::string& text, size_t end) {
    return static_cast<int>(std::count_if(text.begin(), text.begin() + std::min(end, text.size()),
                                          [](char letter) { return letter != kLookedAt; }));
  };
  for (const char* variant : {"user tree", "missing target", "default target"}) {
    const bool missing = variant[0] != 'u';
    const auto prepare = [&](const MemoryDirectory& tree) {
      if (variant[0] == 'd') setenv("HOME", tree.path().c_str(), 1);
      if (missing)
        return tree / (variant[0] == 'd' ? ".orbp8/Orbe/orbp8/tmplts" : "made/above/target");
      write_file(tree / "conf/old.xml", "old xml", kT - 100, 250);
      write_file(tree / "conf/new.xml", "newer than the kit", kT + 100);
      write_file(tree / "dup.cfg", "original dup", kT - 100);
      write_file(tree / "keep/user.txt", "the user's own", kT - 50, 999);
      write_file(tree / odd, "odd old", kT - 100);
      chmod((tree / "conf/old.xml").c_str(), 0600);
      for (const char* directory : {"keep", "conf", "."}) set_time(tree / directory, kT - 7, 7);
      return tree.path();
    };
    MemoryDirectory dry;
    const std::string dryRoot = prepare(dry);
    ASSERT_EQ(0u, run(dryRoot, -1, -1, -1).result);
    const std::string done = letters;
    const TreeSnapshot installed = files_of(snapshot_tree(dry.path()));
    EXPECT_EQ("kit old again|dup second|odd new|{\"again\": 1}",
              read_file(dryRoot + "/conf/old.xml") + "|" + read_file(dryRoot + "/dup.cfg") + "|" +
                  read_file(dryRoot + "/" + odd) + "|" + read_file(dryRoot + "/fresh/deep/a.json"));
    // Power loss is harmless: flushes before the first new file, rename and journal deletion.
    const size_t firstNew = done.find(kTemporaryCreated);
    const size_t firstRename = done.find(kPutInPlace), lastLink = done.rfind(kLinked, firstRename);
    EXPECT_LT(done.find(kFlushed, done.rfind(kJournalWritten, firstNew)), firstNew) << done;
    EXPECT_LT(lastLink == std::string::npos ? 0 : done.find(kFlushed, lastLink), firstRename) << done;
    EXPECT_LT(done.find(kFlushed, done.rfind(kPutInPlace)), done.find(kCommitted)) << done;
    const int files = static_cast<int>(std::count(done.begin(), done.end(), kPutInPlace));
    ASSERT_EQ(missing ? 10 : 9, std::count(done.begin(), done.end(), kTemporaryCreated)) << done;
    // Kills also in the rollback of a run whose middle rename fails.
    const int failAt = static_cast<int>(done.find(kPutInPlace, done.size() / 2));
    MemoryDirectory failed;
    ASSERT_EQ(ERROR_DISK_FULL, run(prepare(failed), failAt, -1, -1).result);
    const int changes = changes_in(done, done.size()), failChange = changes_in(letters, failAt);
    const int rollbackChanges = changes_in(letters, letters.size()) - failChange - 1;
    // The registry of a default target holds its own recovery: no kills there.
    const int kills = variant[0] == 'd' ? 0 : changes + rollbackChanges;
    const int positions = static_cast<int>(done.size()) + files + kills;
    int failures = 0;
    for (int position = 0; position < positions; ++position) {
      const int cancel = position - static_cast<int>(done.size()), kill = cancel - files;
      const bool inRollback = kill >= changes;
      const int killAt = inRollback ? kill - changes + failChange + 1 : kill;
      SCOPED_TRACE(variant + std::string(", position ") + std::to_string(position));
      MemoryDirectory tree;
      remove_tree(home / ".orbp8");  // each run starts in a home of the same shape
      const std::string root = prepare(tree);
      const TreeSnapshot before = snapshot_tree(tree.path());
      if (kill >= 0) {
        kit.close();  // its thread does not cross a fork
        ASSERT_EQ("child ended abnormally, status " + std::to_string(SIGKILL), run_in_child([&] {
                    kit.open(wide(kitPath()));
                    run(root, inRollback ? failAt : -1, -1, killAt);
                    return std::string("not killed");
                  }));
        ASSERT_EQ(0u, kit.open(wide(kitPath())));
        for (const RecoveryNote& note : recover_interrupted_installations(u"/nonexistent", 0))
          EXPECT_EQ("1 " + root + "/", std::to_string(note.undone) + " " + narrow_lib(note.target));
        std::vector<RegistryEntry> entries;
        EXPECT_EQ(0u, read_registry_entries(install_registry_directory(), entries));
        EXPECT_TRUE(entries.empty());
        const bool committed = !inRollback && killAt > changes_in(done, done.find(kCommitted));
        EXPECT_EQ(committed ? installed : before,
                  committed ? files_of(snapshot_tree(tree.path())) : snapshot_tree(tree.path()));
        continue;
      }
      const Outcome outcome = run(root, cancel < 0 ? position : -1, cancel, -1);
      if (outcome.result == 0 && cancel < 0) {
        // What a failure after the commit left, the next start tidies away.
        for (const RecoveryNote& note : recover_interrupted_installations(wide(root), 0))
          ADD_FAILURE() << narrow_lib(note.target + note.passedOver);
        EXPECT_EQ(installed, files_of(snapshot_tree(tree.path())));
        EXPECT_EQ("", leftovers());
        continue;
      }
      ++failures;
      EXPECT_EQ(cancel >= 0 ? ERROR_CANCELLED : outcome.code, outcome.result);
      EXPECT_EQ(cancel >= 0 ? 0u : outcome.result, outcome.code);  // a cancel publishes no error
      EXPECT_NE(0u, outcome.result);
      EXPECT_LT(outcome.progress, 100);
      EXPECT_EQ(before, snapshot_tree(tree.path()));
      EXPECT_EQ("", leftovers());
    }
    EXPECT_GT(failures, static_cast<int>(done.size()) / 3 + files);
  }
}

// Where names cannot be swapped, replaced files are saved: a backup root the target
// cannot hold goes, private, to TMPDIR past a name taken there, and a rollback
// copies every byte, mode and time back. A saved version not
// put back stays with the journal, every message says where, an installation into
// that target refuses to start, and the next start puts it back once it can.
TEST_F(RollbackTest, BackupRootElsewhereAndWhatCannotBePutBack) {
  for (const char* name : {"a", "b", "c"}) write_file(target / "old/" + name, name, kT - 9, 5);
  chmod((target / "old/a").c_str(), 0640);
  ASSERT_EQ(0, mkdir((temp / "p8stp0").c_str(), 0777));
  chmod((temp / "p8stp0").c_str(), 0777);
  const TreeSnapshot before = snapshot_tree(target.path());
  openKit({{"old\\a", "kit a"}, {"old\\b", "kit b"}, {"old\\c", "kit c"}});
  const std::string kept = target / ".p8stp/";
  {
    mode_t backupRoot = 0;  // as seen by the last rename while it was there
    FileFaults faults;
    // A file system that cannot swap names: the replaced files are saved.
    faults.fail(FileOperation::kMove, ERROR_NOT_SUPPORTED, " <-> ", 0, -1)
        .fail(FileOperation::kMakeDirectory, ERROR_INVALID_PARAMETER, ".p8stp")
        .fail(FileOperation::kLink, ERROR_NOT_SAME_DEVICE, "", 0, -1)
        .fail(FileOperation::kMove, ERROR_NOT_SAME_DEVICE, "p8stp1/saved/", 0, -1)
        .fail(FileOperation::kMove, ERROR_INVALID_PARAMETER, "-> old/c")
        .on(FileOperation::kMove, [&](const std::string&) {
          if (exists(temp / "p8stp1")) backupRoot = mode_of(temp / "p8stp1");
          return 0u;
        });
    EXPECT_EQ(ERROR_INVALID_PARAMETER, install(target.path()).result);
    EXPECT_EQ(S_IFDIR | 0700u, backupRoot);
    EXPECT_EQ(before, snapshot_tree(target.path()));
  }
  {
    FileFaults faults;
    faults.fail(FileOperation::kMove, ERROR_NOT_SUPPORTED, " <-> ", 0, -1)
        .fail(FileOperation::kMove, ERROR_INVALID_PARAMETER, "old/.p8new", 3)
        .fail(FileOperation::kMove, ERROR_DISK_FULL, "saved/old/b ->");
    EXPECT_EQ("87 87 94 " + resource("IDS_ROLLBACK_INCOMPLETE") + "\n" + kept + "\nold/b: " +
                  resource("IDS_REASON_RESTORE"),
              install(target.path()).text());
    EXPECT_EQ(wide(kept), data.keptBackupRoot());
  }
  EXPECT_EQ("akit bc|b", read_file(target / "old/a") + read_file(target / "old/b") +
                             read_file(target / "old/c") + "|" + read_file(kept + "saved/old/b"));
  const auto recovered = [](const WideString& proposed = u"") {
    std::string notes;
    for (const RecoveryNote& note : recover_interrupted_installations(proposed, 0))
      notes += std::to_string(note.undone) + " " + narrow_lib(note.target) + " " +
               narrow_lib(note.keptBackupRoot) + ";";
    return notes;
  };
  // Its saved version gone, the file in place counts as not put back.
  ASSERT_EQ(0, rename((kept + "saved/old/b").c_str(), (target / "aside").c_str()));
  EXPECT_EQ("0 " + target.path() + "/ " + kept + ";", recovered());
  // The backup root on a line of its own, named once.
  EXPECT_EQ("183 183 0 " + resource("IDS_RECOVERY_FAILED") + "\n" + kept,
            install(target.path()).text());
  // Put back, and found in the directory proposed even without the registry.
  ASSERT_EQ(0, rename((target / "aside").c_str(), (kept + "saved/old/b").c_str()));
  remove_tree(home / ".orbp8");
  EXPECT_EQ("1 " + target.path() + "/ ;", recovered(wide(target.path())));
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_EQ("p8stp0 d 0777", leftovers() + snapshot_tree(temp / "p8stp0")["."].substr(0, 6));
}

// A commit that does not reach the disk (its rename or the flush after it fails) is
// no success: the run is undone. After the commit, what cannot be cleaned up is a
// warning (logged, published) and the installation stands; the next start tidies it. A start with nothing to recover
// changes nothing in the target, not even its times, and removes only registry
// leftovers that no writer can still be busy with.
TEST_F(RollbackTest, CleanupFailuresWarnAndTheNextStartTidiesWithoutATrace) {
  write_file(target / "a.cfg", "old a", kT - 1);
  openKit({{"a.cfg", "kit a"}});
  const TreeSnapshot before = snapshot_tree(target.path());
  for (const FileOperation failing : {FileOperation::kMove, FileOperation::kFlush}) {
    FileFaults faults;
    bool renamed = false;  // the journal to its committed name
    faults.on(FileOperation::kMove, [&](const std::string& path) {
      const bool commit = path.rfind(".p8stp/journal ->", 0) == 0;
      renamed = renamed || commit;
      return commit && failing == FileOperation::kMove ? ERROR_IO_DEVICE : 0u;
    });
    faults.on(FileOperation::kFlush, [&](const std::string&) {
      return renamed && failing == FileOperation::kFlush ? ERROR_IO_DEVICE : 0u;
    });
    EXPECT_EQ(ERROR_IO_DEVICE, install(target.path()).result);
    EXPECT_TRUE(renamed);
    EXPECT_EQ(before, snapshot_tree(target.path()));
    EXPECT_EQ("", leftovers());
  }
  {
    FileFaults faults;
    faults.fail(FileOperation::kDelete, ERROR_ACCESS_DENIED, ".p8stp/committed");
    EXPECT_EQ("0 0 100 " + resource("IDS_INSTALL_FINISH"), install(target.path()).text());
  }
  const std::string detail = target / ".p8stp/committed: " + resource("IDS_REASON_ACCESS");
  ASSERT_EQ(1u, data.warnings().size());
  EXPECT_EQ(resource("IDS_CLEANUP_WARNING") + "\n" + detail, narrow_lib(data.warnings()[0]));
  EXPECT_NE(std::string::npos, logged().find("warning " + detail + "\n")) << detail;
  EXPECT_EQ("kit a", read_file(target / "a.cfg"));
  const std::string registry = install_registry_directory();
  std::filesystem::create_directories(registry);
  // An entry's temporary that a killed writer left, and one a running writer has.
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  waitpid(ended, nullptr, 0);
  const std::string left = ".install-1.orbtmp-" + std::to_string(ended) + "-00000001";
  const std::string writing = ".install-2.orbtmp-" + std::to_string(getpid()) + "-00000002";
  for (const std::string& name : {left, writing}) write_file(registry + name, "being written", kT);
  set_time(target.path(), kT, 5);
  const TreeSnapshot tidied = [&] {
    TreeSnapshot tree = snapshot_tree(target.path());
    tree.erase(".p8stp");
    tree.erase(".p8stp/committed");
    return tree;
  }();
  EXPECT_TRUE(recover_interrupted_installations(wide(target.path()), 0).empty());
  EXPECT_EQ(writing, joined_names(directory_names(registry), ""));
  // The committed run's leftovers went; the target's times changed with that alone.
  TreeSnapshot now = snapshot_tree(target.path());
  now["."] = tidied.at(".");
  EXPECT_EQ(tidied, now);
  remove_tree(home / ".orbp8");
  const TreeSnapshot untouched = snapshot_tree(target.path());
  EXPECT_TRUE(recover_interrupted_installations(wide(target.path()), 0).empty());
  EXPECT_EQ(untouched, snapshot_tree(target.path()));
  EXPECT_FALSE(exists(home / ".orbp8"));
}

// An update of many files: each replaced file's name is swapped with its new
// version's, and after the commit the earlier versions go on two threads (over
// disjoint directories); none is left, and every file is its new version.
TEST_F(RollbackTest, AnUpdateOfManyFilesLeavesOnlyTheNewVersions) {
  std::vector<KitFile> files;
  for (int i = 0; i < 400; ++i) {
    const std::string name = "d" + std::to_string(i % 7) + "/f" + std::to_string(i);
    write_file(target / name, "old " + name, kT - 100);
    files.push_back({"d" + std::to_string(i % 7) + "\\f" + std::to_string(i), "new " + name});
  }
  openKit(files);
  FileFaults faults;
  EXPECT_EQ(0u, install(target.path()).result);
  EXPECT_EQ(400, faults.count(FileOperation::kMove, " <-> "));
  for (const auto& [path, item] : files_of(snapshot_tree(target.path()))) {
    EXPECT_EQ("new " + path, item.substr(item.rfind(' ', item.find("new") - 1) + 1)) << path;
  }
  EXPECT_EQ("", leftovers());
}
