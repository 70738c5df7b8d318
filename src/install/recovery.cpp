#include "install/recovery.h"

#include <sys/stat.h>
#include <unistd.h>

#include "install/install_registry.h"
#include "install/journal_replay.h"
#include "install/target_lock.h"

namespace {

// Undoes what `backupRoot` holds for `target`; a note when there was an
// interrupted installation.
bool recoverTarget(const std::string& target, const std::string& backupRoot, int lockWait,
                   std::vector<RecoveryNote>& notes) {
  TargetLock lock;
  // A target that is gone has nothing left to put back.
  struct stat status;
  if (FileSystem::StatusOfPath(target, true, status) != 0) return true;
  // Held by a running installation: that one is not interrupted.
  if (lock.acquire(target, lockWait) != 0) return false;
  const RecoveryOutcome outcome =
      recover_backup_root<FileSystem>(target, lock.handle(), backupRoot);
  if (outcome == RecoveryOutcome::kNothing) return true;
  RecoveryNote note;
  note.target = widen_lib(target);
  note.undone = outcome == RecoveryOutcome::kUndone;
  if (!note.undone) note.keptBackupRoot = widen_lib(backupRoot);
  notes.push_back(note);
  return note.undone;
}

}  // namespace

std::vector<RecoveryNote> recover_interrupted_installations(const WideString& proposedTarget,
                                                            int lockWaitMilliseconds) {
  std::vector<RecoveryNote> notes;
  const std::string registry = install_registry_directory();
  for (const std::string& entry : list_registry_entries(registry)) {
    std::vector<JournalRecord> records;
    if (!read_journal_file(entry, records)) {
      // Cut short while it was written: its run had made nothing yet.
      FileSystem::DeleteFile(widen_lib(entry));
      continue;
    }
    const JournalRecord& header = records.front();
    if (!recoverTarget(header.path, header.backupRoot, lockWaitMilliseconds, notes)) continue;
    // The directories the run made above its target, deepest first; any
    // that holds something now stays. Then the times of the outermost
    // directory it changed.
    FileSystem::DeleteFile(widen_lib(entry));
    rmdir(registry.c_str());
    std::vector<std::string> made;
    JournalRecord times;
    for (const JournalRecord& record : records) {
      if (record.type == JournalRecordType::kMakeDirectory) made.push_back(record.path);
      if (record.type == JournalRecordType::kDirectoryTimes) times = record;
    }
    remove_made_directories<FileSystem>(made, times);
  }
  std::string target = narrow_lib(proposedTarget);
  if (!target.empty()) {
    if (target.back() != '/') target += '/';
    recoverTarget(target, target + kBackupRootName + "/", lockWaitMilliseconds, notes);
  }
  return notes;
}
