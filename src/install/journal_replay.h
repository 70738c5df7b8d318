// Undoing an installation from its journal, the same way after a failure or
// cancel in the run itself and after a crash, at the next start: temporary
// files go, then the files and directories the run created, then every
// replaced file gets its saved version back, and once the backup root is
// gone, the directories' times.
// Every step may be repeated, so a crash during an undo is followed by
// another undo. `Files` is the Win32-style file layer. One thread at a time.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "install/journal_file.h"
#include "install/journal_record.h"
#include "install/path_status.h"
#include "platform/file_system.h"

// Names inside a backup root, and the backup root inside a target directory.
// The kit may not name the backup root.
extern const char kBackupRootName[];      // ".p8stp"
extern const char kJournalFileName[];     // "journal"
extern const char kSavedDirectoryName[];  // "saved/"

namespace replay_detail {

inline std::string directory_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

inline bool same_directory(const std::string& a, const std::string& b) {
  struct stat first;
  struct stat second;
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

inline bool same_file(const FileIdentity& a, const FileIdentity& b) {
  return (a.device == b.device && a.inode == b.inode) ||
         (a.size == b.size && a.seconds == b.seconds && a.nanoseconds == b.nanoseconds);
}

}  // namespace replay_detail

// Undoes the changes that `records` (the header first) describe. Returns the
// target-relative names of the files whose earlier version could not be put
// back; empty when everything is as it was.
template <class Files>
std::vector<std::string> replay_journal(const std::vector<JournalRecord>& records) {
  using replay_detail::directory_of;
  std::vector<std::string> unrestored;
  if (records.empty() || records.front().type != JournalRecordType::kHeader) return unrestored;
  const JournalRecord& header = records.front();
  const std::string& target = header.path;
  const std::string saved = header.backupRoot + kSavedDirectoryName;

  // First what frees space: the run's temporary and new files.
  for (const JournalRecord& record : records) {
    if (record.type != JournalRecordType::kCreate && record.type != JournalRecordType::kReplace) {
      continue;
    }
    const std::string temporary =
        directory_of(target + record.path) + temporary_entry_name(header.runId, record.entry);
    Files::DeleteFile(widen_lib(temporary));
  }
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (record->type != JournalRecordType::kCreate) continue;
    PathKind kind;
    FileIdentity identity;
    if (identify_path(target + record->path, kind, identity) && kind == PathKind::kRegular) {
      Files::DeleteFile(widen_lib(target + record->path));
    }
  }
  // Deepest first; a directory holding anything not the run's own stays.
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (record->type == JournalRecordType::kMakeDirectory) rmdir(record->path.c_str());
  }
  // Last first, so that of a file replaced twice the earliest version wins.
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (record->type != JournalRecordType::kReplace) continue;
    const std::string original = target + record->path;
    PathKind kind;
    FileIdentity identity;
    if (identify_path(saved + record->path, kind, identity)) {
      if (Files::MoveFile(widen_lib(saved + record->path), widen_lib(original)) != 0) {
        unrestored.push_back(record->path);
      }
    } else if (!identify_path(original, kind, identity) ||
               !replay_detail::same_file(identity, record->old)) {
      // Neither saved nor in place: the earlier version is gone.
      unrestored.push_back(record->path);
    }
  }
  std::sort(unrestored.begin(), unrestored.end());
  unrestored.erase(std::unique(unrestored.begin(), unrestored.end()), unrestored.end());
  return unrestored;
}

// Puts back the times of the directories the journal names, once nothing
// is left to change in them (the backup root's removal included).
inline void restore_journal_times(const std::vector<JournalRecord>& records) {
  // Last first, so that a directory named twice gets its earliest times.
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (record->type != JournalRecordType::kDirectoryTimes) continue;
    const int64_t times[4] = {record->accessSeconds, record->accessNanoseconds,
                              record->old.seconds, record->old.nanoseconds};
    restore_directory_times(record->path, times);
  }
}

// Discards the backup root of a finished installation, whose outcome is
// already on the disk: the journal goes first, and only once its removal is
// on the disk too does the rest (the saved versions) go.
template <class Files>
void discard_backup_root(const std::string& backupRoot) {
  Files::DeleteFile(widen_lib(backupRoot + kJournalFileName));
  const int directory = open(backupRoot.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory != -1) {
    fsync(directory);
    close(directory);
  }
  Files::RemoveDirectory(widen_lib(backupRoot));
}

enum class RecoveryOutcome {
  kNothing,  // no unfinished installation there
  kUndone,   // an interrupted installation was undone
  kKept,     // it could not be undone (wholly): everything is left in place
};

// With the target's lock held: undoes and discards an unfinished journal in
// `backupRoot`, or removes a backup root without one (what is left of a run
// that had finished, or had not yet changed anything). `targetHandle`
// flushes the target's file system before anything saved is discarded.
template <class Files>
RecoveryOutcome recover_backup_root(const std::string& target, const std::string& backupRoot,
                                    HANDLE targetHandle) {
  PathKind kind;
  FileIdentity identity;
  if (backupRoot.empty() || !identify_path(backupRoot, kind, identity)) {
    return RecoveryOutcome::kNothing;
  }
  if (kind != PathKind::kDirectory) return RecoveryOutcome::kKept;
  const std::string journal = backupRoot + kJournalFileName;
  if (!identify_path(journal, kind, identity)) {
    Files::RemoveDirectory(widen_lib(backupRoot));
    return RecoveryOutcome::kNothing;
  }
  std::vector<JournalRecord> records;
  if (access(journal.c_str(), R_OK) != 0) return RecoveryOutcome::kKept;
  if (!read_journal_file(journal, records)) {
    // The header is written and flushed before any change: a journal without
    // one was cut short before the run changed anything.
    discard_backup_root<Files>(backupRoot);
    return RecoveryOutcome::kNothing;
  }
  // A journal that names another place (a directory moved since) is not
  // replayed here; names may be spelled differently for the same place.
  if (!replay_detail::same_directory(records.front().path, target) ||
      !replay_detail::same_directory(records.front().backupRoot, backupRoot)) {
    return RecoveryOutcome::kKept;
  }
  if (!replay_journal<Files>(records).empty()) return RecoveryOutcome::kKept;
  if (targetHandle != INVALID_HANDLE_VALUE) Files::FlushFileSystem(targetHandle);
  discard_backup_root<Files>(backupRoot);
  restore_journal_times(records);
  return RecoveryOutcome::kUndone;
}
