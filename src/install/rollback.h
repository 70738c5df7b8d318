// The journal that makes an installation undoable, whatever happens to the
// process or the machine. It holds the target directory's lock for the whole
// run; before any change to the target, a record of the change reaches the
// write-ahead journal on disk. New files are written under a temporary name
// beside their final one; a replaced file's name is then swapped with the
// temporary one in one atomic step, so that the earlier version waits under
// the temporary name until the commit (where the file system cannot swap
// names, it is saved by a second name, a hard link, in a private backup
// root, ".p8stp", mode 0700, before the new one is renamed over it). Every
// file is always either its old or its new version. Everything below
// the target is reached from the target's descriptor, one component at a
// time, never through a symbolic link. `stop` commits once everything new is
// on the disk; `rollback` (and, after a crash, the next start) undoes
// everything from the journal. Used by the install worker thread only; no
// locks (while it writes, a thread of its own flushes the file system ahead
// of the commit: early_flush.h). `Files` is the Win32-style file layer
// (FileSystem in the program; tests pass wrappers that inject failures).
// Declarations and contracts; the definitions (rollback_start_impl.h,
// rollback_plan_impl.h, rollback_end_impl.h) are compiled once per file layer.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "install/directory_walker.h"
#include "install/early_flush.h"
#include "install/failure_point.h"
#include "install/install_registry.h"
#include "install/journal_file.h"
#include "install/journal_record.h"
#include "install/journal_replay.h"
#include "install/target_lock.h"
#include "platform/file_system.h"
#include "text/wide_string.h"

template <class Files>
class BasicRollback {
 public:
  BasicRollback() = default;
  ~BasicRollback() { endInspection(); }
  BasicRollback(const BasicRollback&) = delete;
  BasicRollback& operator=(const BasicRollback&) = delete;

  // How long start waits for another installation into the target to end.
  void setLockWait(int milliseconds) { m_lockWait = milliseconds; }
  // How many bytes a run writes between two flushes ahead of the commit's.
  void setEarlyFlushStep(uint64_t bytes) { m_earlyFlush.setStep(bytes); }

  // Opens the run: makes the target directory and its missing parents
  // (recorded in the registry first), takes the target's lock and undoes
  // what an interrupted installation left there. Returns 0; 32 when another
  // installation keeps the target; 183 when an interrupted installation
  // there cannot be undone (keptBackupRoot names its backup root); 3 when
  // the target cannot be made or is missing; the lock's code when the target
  // cannot be opened.
  uint32_t start(const WideString& targetDirectory);
  // The dry run's start: resolves the target as start does and checks that
  // a run could make it and write into it, changing nothing (no directory,
  // lock, registry entry or recovery). statusOf and planEntry then plan in
  // memory as in a run; nothing may be applied. Returns 0; 3 when something
  // other than a directory stands at the target or above it; the access
  // check's code when the target, or the nearest directory above it that
  // exists, may not be written into and searched.
  uint32_t inspect(const WideString& targetDirectory);
  // In a dry run, after planEntry: whether the file `name` could be written,
  // that is whether the nearest directory on its way that exists may be
  // written into and searched. 0 or the access check's code.
  uint32_t checkWritable(const std::string& name);
  // Told what a rollback removes and restores (target-relative paths).
  void setReplayReport(ReplayReport report) { m_report = std::move(report); }
  // What stands at the target-relative `name`, without following a link:
  // `present` and its status. Returns 0; 3 when something other than a
  // directory stands where a directory of the name is needed (`blocked`
  // then names it); the query's code when it fails otherwise than finding
  // nothing there.
  uint32_t statusOf(const std::string& name, struct stat& status, bool& present);
  // Plans writing kit entry `entry` to the target-relative `name`: journals,
  // in memory, the directories to make, the times of the existing
  // directories that change, and the file, created or (`replaces`)
  // replaced. Returns 0, or 3 when something other than a directory stands
  // where a directory is needed.
  // `made` is the size and time the new file is given (device and inode
  // unused), by which an undo knows it for the run's own; `old` identifies
  // the file replaced, as statusOf found it.
  uint32_t planEntry(uint32_t entry, const std::string& name, bool replaces,
                     const FileIdentity& made, const FileIdentity& old = FileIdentity());
  // Carries out the plan up to the first file: the records reach the disk,
  // then the directories are made (and, where names cannot be swapped,
  // every file to be replaced is saved in the backup root, durably). 0 or
  // the failing step's code.
  uint32_t applyPlan();
  // Puts the new file written as `temporary` in the directory of the
  // target-relative `name` in its place: renamed there, or, over a file it
  // replaces, swapped with it, so that the earlier version waits under the
  // temporary name until the commit. 0 or the failing step's code.
  uint32_t putInPlace(const std::string& name, const std::string& temporary, bool replaces);
  // The directory that holds `name` (made by applyPlan when new), and the
  // name under which kit entry `entry` is written there before it is renamed
  // into place. The handle stays valid until the next call.
  uint32_t directoryOf(const std::string& name, HANDLE& directory);
  std::string temporaryName(uint32_t entry) const;
  // Whether the target-relative file `name` lies in a directory the run
  // makes under a hidden name that it has not yet given its own: a new file
  // there is written under its own name, since nobody sees it before the
  // directory is complete.
  bool inHiddenDirectory(const std::string& name) const;
  const std::string& target() const { return m_target; }
  // Whether the run has begun to change the target (its journal exists).
  bool changing() const { return !m_backupRoot.empty(); }
  // The path that a failure of statusOf or planEntry found blocked.
  const std::string& blocked() const { return m_blocked; }
  // Counts `bytes` more of the run written: now and then the file system is
  // flushed ahead of the commit, on a thread of its own, while the run goes
  // on (until stop or rollback).
  void wrote(uint64_t bytes) { m_earlyFlush.wrote(bytes); }
  // Where the last failing step of start, statusOf, planEntry, applyPlan,
  // stop or rollback failed and why.
  const FailurePoint& failure() const { return m_failure; }

  // Commits: once every new file is on the disk, the journal takes its
  // committed name, durably. 0, the code of a failed flush or of a commit
  // that did not reach the disk (nothing is committed then, and rollback
  // undoes the run), or 1223 when `cancelled` says so before or once the
  // disk has caught up.
  uint32_t stop(const std::function<bool()>& cancelled = nullptr);
  // After the commit: removes the earlier versions (on two threads) and
  // ends the run (the registry entry and the lock go). Returns what could
  // not be cleaned up (the installation stands all the same).
  std::vector<FailurePoint> discardBackup();
  // Undoes the run from its journal: its temporary and new files and
  // directories go, the saved versions come back, the directories' times
  // too. What cannot be put back keeps its saved version, and the journal
  // and backup root stay for the next start (keptBackupRoot). Returns
  // `code` unchanged.
  uint32_t rollback(uint32_t code);
  // The backup root left in place because not everything could be put back,
  // else empty.
  const std::string& keptBackupRoot() const { return m_kept; }
  // The backup root found in the target that no journal proves an
  // installation's own (start then fails), else empty.
  const std::string& foreignBackupRoot() const { return m_foreign; }

 protected:
  // Records where a step failed (`reason` names why; `code` when 0) and
  // returns `code`.
  uint32_t fail(uint32_t code, const std::string& path, uint32_t reason = 0) {
    m_failure = {reason != 0 ? reason : code, path};
    return code;
  }

 private:
  uint32_t beginJournal();
  uint32_t makeBackupRoot();
  uint32_t planDirectories(const std::string& name);
  void planDirectoryTimes(const std::string& directory);
  // Whether the target-relative `directory` is one the run makes under a
  // hidden name, or lies below one.
  bool hidden(const std::string& directory) const;
  // Gives every directory made under a hidden name its own (never over
  // anything standing there now). 0 or the failing rename's code.
  uint32_t revealDirectories();
  uint32_t saveFile(const std::string& name);
  // Saves the file `name` replaces where names cannot be swapped, durably,
  // unless it was saved already.
  uint32_t saveDurably(const std::string& name);
  std::vector<JournalRecord> journal() const;
  // Removes the directories made above the target and the run's registry
  // entry, and puts back the times of the outermost directory it changed.
  void removeMadeAboveTarget();
  void closeBackupRoot();
  void endInspection();

  int m_lockWait = 5000;
  bool m_started = false;
  // The target directory, ending with "/".
  std::string m_target;
  uint64_t m_runId = 0;
  TargetLock m_lock;
  // Flushes through the lock's directory. Declared after the lock, so that
  // it ends before the lock's handle closes, also when destroyed mid-run.
  EarlyFlush m_earlyFlush;
  BasicDirectoryWalker<Files> m_targetWalker;
  BasicRegistryEntry<Files> m_registry;
  std::vector<std::string> m_madeAboveTarget;
  // The times of the outermost directory the run changes: the one the
  // first of them is made in, else the target itself.
  JournalRecord m_aboveTimes;
  // Ending with "/"; empty until the first change needs the journal.
  std::string m_backupRoot;
  BasicBackupRoot<Files> m_backup;
  HANDLE m_savedHandle = INVALID_HANDLE_VALUE;
  // Whether the target's file system swaps names; until it is found not to.
  bool m_exchange = true;
  // Target-relative files saved durably in the backup root.
  std::unordered_set<std::string> m_saved;
  BasicDirectoryWalker<Files> m_savedWalker;
  BasicJournalFile<Files> m_journalFile;
  JournalRecord m_header;
  std::vector<JournalRecord> m_records;
  size_t m_applied = 0;
  // Target-relative directories known to exist, those planned to be made,
  // and those whose times are journaled.
  std::unordered_set<std::string> m_knownDirectories;
  std::unordered_set<std::string> m_plannedDirectories;
  std::unordered_set<std::string> m_timedDirectories;
  // Target-relative files the run created.
  std::unordered_set<std::string> m_createdFiles;
  // The outermost directories the run makes (target-relative), each under a
  // hidden name until the commit renames it, and how many it has planned.
  std::unordered_set<std::string> m_hiddenDirectories;
  uint32_t m_hiddenCount = 0;
  std::string m_blocked;
  std::string m_kept;
  std::string m_foreign;
  // A dry run's target, open for reading when it exists, and the
  // directories found writable.
  bool m_inspecting = false;
  HANDLE m_inspected = INVALID_HANDLE_VALUE;
  std::unordered_set<std::string> m_writableDirectories;
  ReplayReport m_report;
  FailurePoint m_failure;
};

// Compiled once for the program's file layer (engine.cpp).
extern template class BasicRollback<FileSystem>;

using Rollback = BasicRollback<FileSystem>;
