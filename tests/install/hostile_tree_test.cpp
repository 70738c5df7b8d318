// Another local user's moves against an installation: links where the kit
// needs a directory, links planted at the names the installer is about to
// use, and planted or pre-made backup roots.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "install/install_fixture.h"
#include "install/install_registry.h"
#include "install/journal_record.h"
#include "install/recovery.h"

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
      // Names are swapped: the saved tree is not even walked.
      {FileOperation::kFlush, ".p8stp/journal", ".p8stp/saved/conf", elsewhere.path(), 0, 0},
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
    const Outcome outcome = install(target.path());
    EXPECT_EQ(c.result, outcome.result);
    // A backup root no journal proves the run's blocks the target, and is named so.
    if (root && c.result != 0) {
      const std::string headline = resource("IDS_FOREIGN_BACKUP_ROOT") + "\n" + target / ".p8stp/";
      EXPECT_EQ(headline, narrow_lib(outcome.message).substr(0, headline.size()));
    }
    const std::string x = early && !root ? "old x" : read_file(target / "conf/x.cfg");
    EXPECT_EQ(c.result == 0 ? "kit x" : "old x", x);
    EXPECT_EQ(c.result == 0 ? snapshot_tree(target.path()) : before, snapshot_tree(target.path()));
    EXPECT_EQ(root && c.result == 0, root && !exists(target / "victim"));
    EXPECT_EQ(untouched, snapshot_tree(elsewhere.path()));
    remove_tree(target / ".p8stp");
  }
}

// What someone saves at a new name while the run goes stays: a file where a new file
// is renamed to, a directory where a new one is to take its name at the commit. The
// run stops there, names it, and undoes the rest.
TEST_F(HostileTreeTest, WhatIsSavedAtANewNameDuringTheRunStays) {
  openKit({{"conf\\x.cfg", "kit x"}, {"conf\\new.cfg", "kit new"}, {"fresh\\a.cfg", "kit a"}});
  for (const std::string name : {"conf/new.cfg", "fresh"}) {
    SCOPED_TRACE(name);
    remove_tree(target / "conf");
    remove_tree(target / "fresh");
    write_file(target / "conf/x.cfg", "old x", kT - 1);
    FileFaults faults;
    faults.on(FileOperation::kMove, [&](const std::string& path) {
      if (path.size() < name.size() || path.compare(path.size() - name.size(), name.size(), name) != 0)
        return 0u;
      if (name == "fresh") return static_cast<uint32_t>(mkdir((target / name).c_str(), 0700));
      write_file(target / name, "the user's", kT + 50);
      return 0u;
    });
    const Outcome outcome = install(target.path());
    EXPECT_EQ(ERROR_ALREADY_EXISTS, outcome.result);
    EXPECT_EQ(name + ": " + resource("IDS_REASON_INTHEWAY"), narrow_lib(data.failureDetail()));
    EXPECT_EQ("old x", read_file(target / "conf/x.cfg"));
    EXPECT_EQ(name == "fresh" ? "d 0700" : "f 0644", snapshot_tree(target.path()).at(name).substr(0, 6));
    EXPECT_EQ(name == "fresh" ? "" : "the user's", name == "fresh" ? "" : read_file(target / name));
    EXPECT_EQ("", leftovers());
  }
}

namespace {

std::string journal_of(const std::vector<JournalRecord>& records) {
  std::string bytes = journal_file_start();
  for (const JournalRecord& record : records) append_journal_record(bytes, record);
  return bytes;
}

JournalRecord record(JournalRecordType type, const std::string& path,
                     const std::string& backupRoot = "", FileIdentity made = {}) {
  return {type, 0, 1, {}, 0, 0, path, backupRoot, made};
}

std::string notes_of(const std::vector<RecoveryNote>& notes) {
  std::string text;
  for (const RecoveryNote& note : notes) {
    text += note.passedOver.empty()
                ? std::to_string(note.undone) + " " + narrow_lib(note.target + note.keptBackupRoot)
                : "passed " + narrow_lib(note.passedOver) + " " + std::to_string(note.reason);
    for (const std::string& left : note.leftAlone) text += " left " + left;
    text += ";";
  }
  return text;
}

}  // namespace

// Registry entries someone else may have written or planted: a private directory of
// the user's named as backup root (without a journal, with a junk one, with one of
// another run), directories and times outside the target, entries that are pipes,
// devices, huge, foreign or junk, a registry others may write. Each is passed over
// with its path and reason, at once, and nothing anywhere changes; a genuine entry
// beside them is undone.
TEST_F(HostileTreeTest, HostileRegistryEntriesArePassedOverAndTouchNothing) {
  ScratchDirectory elsewhere;
  const std::string privateDir = elsewhere / "private";  // a stand-in for ~/.ssh
  write_file(privateDir + "/id_key", "secret", kT);
  chmod(privateDir.c_str(), 0700);
  ASSERT_EQ(0, mkdir((elsewhere / "empty").c_str(), 0755));
  const std::string registry = install_registry_directory();
  const std::string t = target.path() + "/", entry = registry + "install-0000000000000001";
  const bool root = geteuid() == 0;
  using Type = JournalRecordType;
  struct Case {
    const char* what;
    std::function<void()> plant;
    uint32_t reason;  // of the passed-over entry (0: a genuine one)
    bool registryItself;
  };
  const auto plantEntry = [&](const std::vector<JournalRecord>& records) {
    write_file(entry, journal_of(records));
    chmod(entry.c_str(), 0600);
  };
  const auto plainEntry = [&](const std::string& backupRoot) {
    plantEntry({record(Type::kHeader, t, backupRoot)});
  };
  const Case cases[] = {
      {"private directory as backup root", [&] { plainEntry(privateDir + "/"); },
       ERROR_BAD_FORMAT, false},
      {"the same with a junk journal",
       [&] {
         write_file(privateDir + "/journal", "junk", kT);
         plainEntry(privateDir + "/");
       },
       ERROR_BAD_FORMAT, false},
      {"a p8stp root holding another run's journal",
       [&] {
         ASSERT_EQ(0, mkdir((temp / "p8stp7").c_str(), 0700));
         write_file(temp / "p8stp7/journal",
                    journal_of({{Type::kHeader, 0, 2, {}, 0, 0, t, temp / "p8stp7/", {}}}), kT);
         plainEntry(temp / "p8stp7/");
       },
       0, false},
      {"a made directory outside the target",
       [&] { plantEntry({record(Type::kHeader, t), record(Type::kMakeDirectory, elsewhere / "empty")}); },
       ERROR_BAD_FORMAT, false},
      {"times of a file outside",
       [&] {
         plantEntry({record(Type::kHeader, t),
                     record(Type::kDirectoryTimes, privateDir + "/id_key")});
       },
       ERROR_BAD_FORMAT, false},
      {"a pipe", [&] { ASSERT_EQ(0, mkfifo(entry.c_str(), 0600)); }, ERROR_BAD_FILE_TYPE, false},
      {"a link to a genuine-looking entry",
       [&] {
         write_file(elsewhere / "entry", journal_of({record(Type::kHeader, t)}));
         ASSERT_EQ(0, symlink((elsewhere / "entry").c_str(), entry.c_str()));
       },
       ERROR_BAD_FILE_TYPE, false},
      {"a character device",
       [&] {
         // A pipe stands in where no device can be made.
         if (!root || mknod(entry.c_str(), S_IFCHR | 0600, makedev(1, 5)) != 0) {
           ASSERT_EQ(0, mkfifo(entry.c_str(), 0600));
         }
       },
       ERROR_BAD_FILE_TYPE, false},
      {"two sparse gigabytes",
       [&] {
         plainEntry("");
         ASSERT_EQ(0, truncate(entry.c_str(), off_t{2} << 30));
       },
       ERROR_FILE_TOO_LARGE, false},
      {"junk", [&] { write_file(entry, "not a journal"); }, ERROR_INVALID_DATA, false},
      {"an entry others may write",
       [&] {
         plainEntry("");
         chmod(entry.c_str(), 0622);
       },
       ERROR_INVALID_OWNER, false},
      {"a registry others may write",
       [&] {
         plainEntry("");
         chmod(registry.c_str(), 0777);
       },
       ERROR_INVALID_OWNER, true}};
  write_file(target / "kept.cfg", "the user's", kT);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    remove_tree(home / ".orbp8");
    std::filesystem::create_directories(registry);
    chmod(registry.c_str(), 0700);
    c.plant();
    const TreeSnapshot before = snapshot_tree(elsewhere.path()), temps = snapshot_tree(temp.path()),
                       targets = snapshot_tree(target.path());
    const auto started = std::chrono::steady_clock::now();
    const std::string notes = notes_of(recover_interrupted_installations(u"", 0));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));  // no hang
    const std::string passed = c.reason == 0 ? temp / "p8stp7/" : c.registryItself ? registry : entry;
    EXPECT_EQ("passed " + passed + " " + std::to_string(c.reason == 0 ? ERROR_BAD_FORMAT : c.reason) + ";",
              notes);
    EXPECT_EQ(before, snapshot_tree(elsewhere.path()));
    EXPECT_EQ(temps, snapshot_tree(temp.path()));
    EXPECT_EQ(targets, snapshot_tree(target.path()));
    EXPECT_TRUE(exists(entry));
    remove_tree(temp / "p8stp7");
    remove_tree(privateDir + "/journal");
  }
}

// What an interrupted run wrote is undone; what the user saved since at the names it
// created or replaced stays (and so does the saved version then), each reported by
// path, through the registry and through the proposed target alike.
TEST_F(HostileTreeTest, AnUndoRemovesAndOverwritesOnlyTheRunsOwnFiles) {
  using Type = JournalRecordType;
  const std::string t = target.path() + "/", root = t + ".p8stp/";
  const FileIdentity made{0, 0, 3, kT, 0};
  struct File {
    const char* name;
    Type type;
    const char* now;  // what stands there after the crash
    const char* saved;
    const char* after;  // what the undo leaves
  };
  const File files[] = {
      {"reports/q1.xml", Type::kCreate, "kit", nullptr, "<missing>"},
      {"reports/q2.xml", Type::kCreate, "the user's own", nullptr, "the user's own"},
      {"conf/a.cfg", Type::kReplace, "kit", "old a", "old a"},
      {"conf/b.cfg", Type::kReplace, "the user's b", "old b", "the user's b"},
      {"conf/c.cfg", Type::kReplace, nullptr, "old c", "old c"}};
  for (const bool throughRegistry : {true, false}) {
    SCOPED_TRACE(throughRegistry ? "registry" : "proposed target");
    remove_tree(t + "reports");
    remove_tree(t + "conf");
    std::vector<JournalRecord> journal = {record(Type::kHeader, t, root)};
    for (const File& file : files) {
      journal.push_back(record(file.type, file.name, "", made));
      if (file.now) {
        write_file(t + file.name, file.now, file.now == std::string("kit") ? kT : kT + 50);
      }
      if (file.saved) write_file(root + "saved/" + file.name, file.saved, kT - 100);
    }
    chmod(root.c_str(), 0700);
    write_file(root + "journal", journal_of(journal), kT);
    chmod((root + "journal").c_str(), 0600);
    if (throughRegistry) {
      std::filesystem::create_directories(install_registry_directory());
      write_file(install_registry_directory() + "install-0000000000000001",
                 journal_of({record(Type::kHeader, t, root)}));
    }
    EXPECT_EQ("0 " + t + root + " left conf/b.cfg left reports/q2.xml;",
              notes_of(recover_interrupted_installations(throughRegistry ? u"" : wide(t), 0)));
    for (const File& file : files) EXPECT_EQ(file.after, read_file(t + file.name)) << file.name;
    EXPECT_EQ("old b", read_file(root + "saved/conf/b.cfg"));
    remove_tree(root);
    remove_tree(home / ".orbp8");
  }
}
