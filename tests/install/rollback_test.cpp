// Failures and cancels roll an installation back: every call a run makes
// fails in turn, and the run is cancelled after each file; a saved version
// that cannot be put back is kept and reported.
#include <sys/stat.h>

#include "install/install_fixture.h"
#include "install/install_registry.h"
#include "install/recovery.h"

using RollbackTest = InstallTest;

// Into a user's tree (files older and newer than the kit, a file it does
// not name, an odd name, modes and times), into a target missing with two
// parents, and into the default target of a home where the pending registry
// is made beside it: whichever call fails, and after whichever file the run
// is cancelled, the tree is as it was (no directory made above the target)
// and nothing is left. A failure the run passes over ends as a success.
TEST_F(RollbackTest, EveryFailureOrCancelLeavesTheTreeAsItWas) {
  const std::string odd = "-odd $HOME \"q\" `x`/'new\nline'.cfg";
  openKit({{"conf\\old.xml", "kit old"}, {"conf\\new.xml", "kit new"},
           {"dup.cfg", "dup first", file_time(kT - 10)}, {"fresh\\deep\\a.json", "{}"},
           {"keep\\added.txt", "added"}, {"dup.cfg", "dup second"},
           {"conf\\\\old.xml", "kit old again", file_time(kT + 5)},
           {"top.bin", std::string("\0\1\2\3binary", 10)},
           {"-odd $HOME \"q\" `x`\\'new\nline'.cfg", "odd new"}});
  std::vector<FileOperation> calls = kChanges;
  calls.insert(calls.end(), {FileOperation::kOpen, FileOperation::kStatus});
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
    TreeSnapshot installed;
    int changes = 0, files = 0, failures = 0;
    for (int position = -1; position < changes + files; ++position) {
      const bool cancel = position >= changes;
      SCOPED_TRACE(variant + std::string(cancel ? ", cancel after file " : ", failure of call ") +
                   std::to_string(cancel ? position - changes : position));
      MemoryDirectory tree;
      const std::string root = prepare(tree);
      const TreeSnapshot before = snapshot_tree(tree.path());
      FileFaults faults;
      int renamed = 0;
      on_every(faults, calls, [&](int number, FileOperation operation, const std::string& path) {
        const bool file =
            operation == FileOperation::kMove && path.find(".p8new") < path.find(" -> ");
        if (position < 0) {
          changes++;
          files += file;
        } else if (cancel && file && renamed++ == position - changes) {
          data.setCancel(true);
        }
        return !cancel && number == position ? ERROR_DISK_FULL : 0u;
      });
      const Outcome outcome = install(root);
      if (position < 0) {
        ASSERT_EQ(0u, outcome.result);
        ASSERT_EQ(missing ? 9 : 8, files);
        installed = files_of(snapshot_tree(tree.path()));
        EXPECT_EQ("kit old again|dup second|odd new", read_file(root + "/conf/old.xml") + "|" +
                                                          read_file(root + "/dup.cfg") + "|" +
                                                          read_file(root + "/" + odd));
      } else if (outcome.result == 0 && !cancel) {
        remove_tree(install_registry_directory());  // an entry left is undone harmlessly later
        EXPECT_EQ(installed, files_of(snapshot_tree(tree.path())));
      } else {
        ++failures;
        EXPECT_EQ(cancel ? ERROR_CANCELLED : outcome.code, outcome.result);
        EXPECT_EQ(cancel ? 0u : outcome.result, outcome.code);  // a cancel publishes no error
        EXPECT_NE(0u, outcome.result);
        EXPECT_LT(outcome.progress, 100);
        EXPECT_EQ(before, snapshot_tree(tree.path()));
        EXPECT_EQ("", leftovers());
      }
    }
    EXPECT_GT(failures, changes / 2 + files);
  }
}

// A saved version that cannot be put back stays in the backup root with the
// journal, every message says where, an installation into that target
// refuses to start, and the next start puts it back once it can.
TEST_F(RollbackTest, WhatCannotBePutBackIsKeptAndReported) {
  for (const char* name : {"a", "b", "c"}) write_file(target / "old/" + name, name, kT - 9);
  const TreeSnapshot before = snapshot_tree(target.path());
  openKit({{"old\\a", "kit a"}, {"old\\b", "kit b"}, {"old\\c", "kit c"}});
  const std::string kept = target / ".p8stp/";
  {
    FileFaults faults;
    faults.fail(FileOperation::kMove, ERROR_INVALID_PARAMETER, "old/.p8new", 2)
        .fail(FileOperation::kMove, ERROR_DISK_FULL, "saved/old/b ->");
    EXPECT_EQ("87 87 66 " + resource("IDS_ROLLBACK_INCOMPLETE") + " " + kept,
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
  EXPECT_EQ("183 183 0 " + resource("IDS_RECOVERY_FAILED") + " " + kept,
            install(target.path()).text());
  // Put back, and found in the directory proposed even without the registry.
  ASSERT_EQ(0, rename((target / "aside").c_str(), (kept + "saved/old/b").c_str()));
  remove_tree(home / ".orbp8");
  EXPECT_EQ("1 " + target.path() + "/ ;", recovered(wide(target.path())));
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_EQ("", leftovers());
}
