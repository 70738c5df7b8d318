// Undoing an installation from its journal, the same way after a failure or
// cancel in the run itself and after a crash, at the next start: temporary
// files go, then the files and directories the run created, then every
// replaced file gets its saved version back, then the directories' times
// (the target's again once the backup root is gone). Every step may be
// repeated, so a crash during an undo is followed by another undo. The
// target and the backup root are walked from their handles, never through a
// link. `Files` is the Win32-style file layer. One thread at a time.
// Declarations; the definitions (journal_replay_impl.h, recover_backup_root_impl.h)
// are compiled once per file layer (engine.cpp, and the tests' own).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "install/backup_root.h"
#include "install/journal_record.h"
#include "platform/win32_types.h"

// What an undo did to one target-relative path: "removed" (a file or
// directory the run made), "restored" (a file put back) or "left" (a file
// that is no longer the run's, which stays as it is).
using ReplayReport = std::function<void(const char* event, const std::string& path)>;

// What an undo could not do: the files whose earlier version could not be
// put back (their saved versions stay), and the files it left alone as no
// longer the run's own. Target-relative, sorted.
struct ReplayResult {
  std::vector<std::string> unrestored;
  std::vector<std::string> leftAlone;
};

// Undoes the changes that `records` (the header first) describe in the
// target open as `target`, with the saved versions of `backupRoot`, telling
// `report` (when set) what it removes, restores and leaves. Only what the
// run wrote is removed or written over: a file at a created or replaced
// name counts as the run's when it has the size and time the run gave it
// (or, replaced, is the earlier version itself).
template <class Files>
ReplayResult replay_journal(const std::vector<JournalRecord>& records, HANDLE target,
                            HANDLE backupRoot, const ReplayReport& report = nullptr);

// After the commit: removes the earlier versions that wait under the
// temporary names of the run `runId` (only the very file a kReplace record
// of `records` identifies, or a link), on two threads over disjoint
// directories when there are many. Returns the target-relative names whose earlier version stays.
template <class Files>
std::vector<std::string> remove_earlier_versions(uint64_t runId,
                                                 const std::vector<JournalRecord>& records,
                                                 HANDLE target);

// Puts back the times of the directories the journal names, once nothing
// but the backup root's removal is left to change in them.
template <class Files>
void restore_journal_times(const std::vector<JournalRecord>& records, HANDLE target);

// Removes the directories `made` above a target (outermost first in the
// list; any that holds something now stays), then puts back the `times` of
// the directory they were made in (or of the target, when `made` is empty).
template <class Files>
void remove_made_directories(const std::vector<std::string>& made, const JournalRecord& times);

enum class RecoveryOutcome {
  kNothing,  // no unfinished installation there
  kUndone,   // an interrupted installation was undone
  kKept,     // it could not be undone (wholly): its journal and saved versions stay
  kForeign,  // no installation of this run's proves it its own: left exactly as it is
};

// What recover_backup_root found beyond its outcome: why a backup root was
// taken for a stranger's (a code failure_reason explains), and the files
// the undo left alone as no longer the run's own.
struct RecoveryDetail {
  uint32_t reason = 0;
  std::vector<std::string> leftAlone;
};

// With the lock of the target `targetPath` (open as `target`) held: undoes
// and discards an unfinished journal in the backup root `backupRoot`, or
// finishes discarding a committed one. A backup root is the run's own only
// when it is this user's private directory holding a journal (or a
// committed one) whose header names this target and this backup root, and
// the run `runId` when that is not 0. Only an empty root, or one that holds
// nothing but an empty saved directory and a journal cut short before its
// header, is removed without that proof; anything else is kForeign.
template <class Files>
RecoveryOutcome recover_backup_root(const std::string& targetPath, HANDLE target,
                                    const std::string& backupRoot, uint64_t runId,
                                    RecoveryDetail& detail, const ReplayReport& report = nullptr);
