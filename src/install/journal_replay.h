// Undoing an installation from its journal, the same way after a failure or
// cancel in the run itself and after a crash, at the next start: temporary
// files go, then the files and directories the run created, then every
// replaced file gets its saved version back, then the directories' times
// (the target's again once the backup root is gone). Every step may be
// repeated, so a crash during an undo is followed by another undo. The
// target and the backup root are walked from their handles, never through a
// link. `Files` is the Win32-style file layer. One thread at a time.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "install/directory_walker.h"
#include "install/journal_file.h"
#include "install/journal_record.h"
#include "platform/file_system.h"
#include "platform/posix_call.h"
#include "platform/tree_copy.h"
#include "platform/tree_removal.h"

// Names inside a backup root, and the backup root inside a target directory.
// The kit may not name the backup root.
extern const char kBackupRootName[];      // ".p8stp"
extern const char kJournalFileName[];     // "journal"
extern const char kSavedDirectoryName[];  // "saved"

namespace replay_detail {

template <class Files>
bool status_at(HANDLE directory, const std::string& name, struct stat& status) {
  return Files::StatusAt(directory, name, status) == 0;
}

inline bool same_file(const struct stat& status, const FileIdentity& old) {
  return (status.st_dev == old.device && status.st_ino == old.inode) ||
         (static_cast<uint64_t>(status.st_size) == old.size &&
          status.st_mtim.tv_sec == old.seconds && status.st_mtim.tv_nsec == old.nanoseconds);
}

// Puts the saved `name` of `saved` back over `name` of `target`: a rename,
// or across file systems a copy under a temporary name renamed into place.
template <class Files>
uint32_t restore_saved(HANDLE saved, HANDLE target, const std::string& name,
                       const std::string& temporary) {
  uint32_t code = Files::MoveFileAt(saved, name, target, name);
  if (code != ERROR_NOT_SAME_DEVICE) return code;
  Files::DeleteFileAt(target, temporary);
  if (copyEntryAt(descriptorOf(saved), name, descriptorOf(target), temporary) != 0) {
    Files::DeleteFileAt(target, temporary);
    return ERROR_DISK_FULL;
  }
  code = Files::MoveFileAt(target, temporary, target, name);
  if (code == 0) Files::DeleteFileAt(saved, name);
  return code;
}

}  // namespace replay_detail

// An open backup root: its directory's handle and where it lies.
template <class Files>
class BasicBackupRoot {
 public:
  BasicBackupRoot() = default;
  ~BasicBackupRoot() { close(); }
  BasicBackupRoot(const BasicBackupRoot&) = delete;
  BasicBackupRoot& operator=(const BasicBackupRoot&) = delete;

  // Opens the backup root `path` (ending with "/"): the one inside the
  // target open as `target` when `path` is the target's, else a directory of
  // the temporary directory. Only a real directory of this user's that no
  // one else may enter is opened. 0; 2 when there is none; 3 otherwise.
  uint32_t open(const std::string& path, const std::string& targetPath, HANDLE target) {
    close();
    std::string name = path.substr(0, path.size() - 1);
    if (path == targetPath + kBackupRootName + "/") {
      m_parent = target;
      name = kBackupRootName;
    } else {
      const size_t slash = name.rfind('/');
      if (slash == std::string::npos) return ERROR_PATH_NOT_FOUND;
      const int parent = ::open(slash == 0 ? "/" : name.substr(0, slash).c_str(),
                                O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (parent == -1) return ERROR_FILE_NOT_FOUND;
      m_parent = handleOf(parent);
      m_ownParent = true;
      name = name.substr(slash + 1);
    }
    m_name = name;
    const uint32_t code = Files::OpenDirectoryAt(m_parent, m_name, m_handle);
    if (code != 0) {
      m_handle = INVALID_HANDLE_VALUE;
      return code;
    }
    struct stat status;
    if (Files::StatusAt(m_handle, "", status) != 0 || status.st_uid != geteuid() ||
        (status.st_mode & 077) != 0) {
      return ERROR_PATH_NOT_FOUND;
    }
    return 0;
  }
  // Adopts a backup root just made as `name` in `parent`.
  uint32_t adopt(HANDLE parent, bool ownParent, const std::string& name) {
    close();
    m_parent = parent;
    m_ownParent = ownParent;
    m_name = name;
    const uint32_t code = Files::OpenDirectoryAt(m_parent, m_name, m_handle);
    if (code != 0) m_handle = INVALID_HANDLE_VALUE;
    return code;
  }
  HANDLE handle() const { return m_handle; }
  // Removes the journal, makes that removal durable, then removes the rest.
  void discard() {
    if (m_handle == INVALID_HANDLE_VALUE) return;
    Files::DeleteFileAt(m_handle, kJournalFileName);
    fsync(descriptorOf(m_handle));
    removeEntryAt(descriptorOf(m_parent), m_name);
    close();
  }
  void close() {
    if (m_handle != INVALID_HANDLE_VALUE) Files::CloseHandle(m_handle);
    if (m_ownParent && m_parent != INVALID_HANDLE_VALUE) Files::CloseHandle(m_parent);
    m_handle = INVALID_HANDLE_VALUE;
    m_parent = INVALID_HANDLE_VALUE;
    m_ownParent = false;
  }

 private:
  HANDLE m_parent = INVALID_HANDLE_VALUE;
  bool m_ownParent = false;
  std::string m_name;
  HANDLE m_handle = INVALID_HANDLE_VALUE;
};

// What an undo did to one target-relative path: "removed" (a file or
// directory the run made) or "restored" (a file put back).
using ReplayReport = std::function<void(const char* event, const std::string& path)>;

// Undoes the changes that `records` (the header first) describe in the
// target open as `target`, with the saved versions of `backupRoot`, telling
// `report` (when set) what it removes and restores. Returns the
// target-relative names of the files whose earlier version could not be
// put back; empty when everything is as it was.
template <class Files>
std::vector<std::string> replay_journal(const std::vector<JournalRecord>& records, HANDLE target,
                                        HANDLE backupRoot, const ReplayReport& report = nullptr) {
  using namespace replay_detail;
  std::vector<std::string> unrestored;
  if (records.empty() || records.front().type != JournalRecordType::kHeader) return unrestored;
  const uint64_t runId = records.front().runId;
  BasicDirectoryWalker<Files> targets;
  targets.reset(target);
  HANDLE savedRoot = INVALID_HANDLE_VALUE;
  Files::OpenDirectoryAt(backupRoot, kSavedDirectoryName, savedRoot);
  BasicDirectoryWalker<Files> saved;
  saved.reset(savedRoot);
  std::string directory;
  std::string name;
  HANDLE at = INVALID_HANDLE_VALUE;
  struct stat status;

  // First what frees space: the run's temporary and new files.
  for (const JournalRecord& record : records) {
    if (record.type != JournalRecordType::kCreate && record.type != JournalRecordType::kReplace) {
      continue;
    }
    split_relative(record.path, directory, name);
    if (targets.open(directory, at) == 0) {
      Files::DeleteFileAt(at, temporary_entry_name(runId, record.entry));
    }
  }
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (record->type != JournalRecordType::kCreate) continue;
    split_relative(record->path, directory, name);
    if (targets.open(directory, at) == 0 && status_at<Files>(at, name, status) &&
        S_ISREG(status.st_mode) && Files::DeleteFileAt(at, name) == 0 && report) {
      report("removed", record->path);
    }
  }
  // Deepest first; a directory holding anything not the run's own stays.
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (record->type != JournalRecordType::kMakeDirectory) continue;
    split_relative(record->path, directory, name);
    if (targets.open(directory, at) == 0 && Files::RemoveDirectoryAt(at, name) == 0 && report) {
      report("removed", record->path);
    }
  }
  targets.clear();
  // Last first, so that of a file replaced twice the earliest version wins.
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (record->type != JournalRecordType::kReplace) continue;
    split_relative(record->path, directory, name);
    HANDLE from = INVALID_HANDLE_VALUE;
    bool restored = false;
    if (targets.open(directory, at) == 0) {
      if (saved.open(directory, from) == 0 && status_at<Files>(from, name, status)) {
        restored =
            restore_saved<Files>(from, at, name, temporary_entry_name(runId, record->entry)) == 0;
      } else {
        // Not saved (any more): right only when the earlier version is in place.
        restored = status_at<Files>(at, name, status) && same_file(status, record->old);
      }
    }
    if (!restored) unrestored.push_back(record->path);
    if (restored && report) report("restored", record->path);
  }
  saved.clear();
  if (savedRoot != INVALID_HANDLE_VALUE) Files::CloseHandle(savedRoot);
  std::sort(unrestored.begin(), unrestored.end());
  unrestored.erase(std::unique(unrestored.begin(), unrestored.end()), unrestored.end());
  return unrestored;
}

// Puts back the times of the directories the journal names, once nothing
// but the backup root's removal is left to change in them.
template <class Files>
void restore_journal_times(const std::vector<JournalRecord>& records, HANDLE target) {
  BasicDirectoryWalker<Files> targets;
  targets.reset(target);
  // Last first, so that a directory named twice gets its earliest times.
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (record->type != JournalRecordType::kDirectoryTimes) continue;
    HANDLE directory = INVALID_HANDLE_VALUE;
    if (targets.open(record->path, directory) != 0) continue;
    const timespec times[2] = {
        {static_cast<time_t>(record->accessSeconds), static_cast<long>(record->accessNanoseconds)},
        {static_cast<time_t>(record->old.seconds), static_cast<long>(record->old.nanoseconds)}};
    Files::SetTimesAt(directory, "", times);
  }
}

// Removes the directories `made` above a target (outermost first in the
// list; any that holds something now stays), then puts back the `times` of
// the directory they were made in (or of the target, when `made` is empty).
template <class Files>
void remove_made_directories(const std::vector<std::string>& made, const JournalRecord& times) {
  for (auto directory = made.rbegin(); directory != made.rend(); ++directory) {
    Files::RemoveDirectoryAt(INVALID_HANDLE_VALUE, *directory);
  }
  if (times.type != JournalRecordType::kDirectoryTimes || times.path.empty()) return;
  const timespec both[2] = {
      {static_cast<time_t>(times.accessSeconds), static_cast<long>(times.accessNanoseconds)},
      {static_cast<time_t>(times.old.seconds), static_cast<long>(times.old.nanoseconds)}};
  Files::SetTimesAt(INVALID_HANDLE_VALUE, times.path, both);
}

enum class RecoveryOutcome {
  kNothing,  // no unfinished installation there
  kUndone,   // an interrupted installation was undone
  kKept,     // it could not be undone (wholly): everything is left in place
};

// With the lock of the target `targetPath` (open as `target`) held: undoes
// and discards an unfinished journal in the backup root `backupRoot`, or
// removes a backup root without one (what is left of a run that had
// finished, or had not yet changed anything). A backup root that is not
// this user's private directory, or whose journal names another target, is
// left alone as kKept.
template <class Files>
RecoveryOutcome recover_backup_root(const std::string& targetPath, HANDLE target,
                                    const std::string& backupRoot) {
  if (backupRoot.empty()) return RecoveryOutcome::kNothing;
  BasicBackupRoot<Files> root;
  const uint32_t opened = root.open(backupRoot, targetPath, target);
  if (opened == ERROR_FILE_NOT_FOUND) return RecoveryOutcome::kNothing;
  if (opened != 0) return RecoveryOutcome::kKept;
  const int journal =
      openat(descriptorOf(root.handle()), kJournalFileName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (journal == -1) {
    if (errno != ENOENT) return RecoveryOutcome::kKept;
    root.discard();
    return RecoveryOutcome::kNothing;
  }
  std::vector<JournalRecord> records;
  const bool readable = read_journal_descriptor(journal, records);
  ::close(journal);
  // The header is written and flushed before any change: a journal without
  // one was cut short before the run changed anything.
  if (!readable) {
    root.discard();
    return RecoveryOutcome::kNothing;
  }
  struct stat named;
  struct stat opened_target;
  if (Files::StatusOfPath(records.front().path, true, named) != 0 ||
      Files::StatusAt(target, "", opened_target) != 0 || named.st_dev != opened_target.st_dev ||
      named.st_ino != opened_target.st_ino) {
    return RecoveryOutcome::kKept;
  }
  if (!replay_journal<Files>(records, target, root.handle()).empty()) {
    return RecoveryOutcome::kKept;
  }
  Files::FlushFileSystem(target);
  // While the journal still names them, and the target's own again once
  // its backup root is gone.
  restore_journal_times<Files>(records, target);
  root.discard();
  restore_journal_times<Files>(records, target);
  return RecoveryOutcome::kUndone;
}
