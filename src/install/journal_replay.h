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
#include <map>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "install/directory_walker.h"
#include "install/journal_file.h"
#include "install/journal_record.h"
#include "platform/file_system.h"
#include "platform/posix_call.h"
#include "platform/tree_copy.h"
#include "platform/tree_removal.h"

// Names inside a backup root, and the backup root inside a target directory.
// The kit may not name the backup root. At the commit the journal is renamed
// to the committed name, which still proves whose the saved versions are.
extern const char kBackupRootName[];      // ".p8stp"
extern const char kJournalFileName[];     // "journal"
extern const char kCommittedFileName[];   // "committed"
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

// Whether `status` is the very file `old` identifies (not a copy): the
// earlier version a swap of names left under the run's temporary name.
inline bool same_inode(const struct stat& status, const FileIdentity& old) {
  return status.st_dev == old.device && status.st_ino == old.inode;
}

// Whether `status` is a regular file with the size and time the run gave a
// new file.
inline bool made_by_run(const struct stat& status, const FileIdentity& made) {
  return S_ISREG(status.st_mode) && static_cast<uint64_t>(status.st_size) == made.size &&
         status.st_mtim.tv_sec == made.seconds && status.st_mtim.tv_nsec == made.nanoseconds;
}

// Whether the journal `header` is that of a run into the target `targetPath`
// (open as `target`; the header may spell it otherwise) with the backup root
// `backupRoot`, and of the run `runId` unless that is 0.
template <class Files>
bool proves(const JournalRecord& header, const std::string& targetPath, HANDLE target,
            const std::string& backupRoot, uint64_t runId) {
  if (runId != 0 && header.runId != runId) return false;
  struct stat named;
  struct stat opened;
  const bool sameTarget =
      header.path == targetPath ||
      (Files::StatusOfPath(header.path, true, named) == 0 &&
       Files::StatusAt(target, "", opened) == 0 && named.st_dev == opened.st_dev &&
       named.st_ino == opened.st_ino);
  const std::string inTarget = std::string(kBackupRootName) + "/";
  const bool sameRoot = header.backupRoot == backupRoot ||
                        (backupRoot == targetPath + inTarget &&
                         header.backupRoot == header.path + inTarget);
  return sameTarget && sameRoot;
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
  // one else may enter is opened. 0; 2 when there is none; 1307 when it is
  // not such a directory; else the code of why it cannot be opened.
  uint32_t open(const std::string& path, const std::string& targetPath, HANDLE target) {
    close();
    std::string name = path.substr(0, path.size() - 1);
    if (path == targetPath + kBackupRootName + "/") {
      m_parent = target;
      name = kBackupRootName;
    } else {
      const size_t slash = name.rfind('/');
      if (slash == std::string::npos) return ERROR_FILE_NOT_FOUND;
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
      return code == ERROR_PATH_NOT_FOUND ? ERROR_INVALID_OWNER : code;
    }
    struct stat status;
    if (Files::StatusAt(m_handle, "", status) != 0 || status.st_uid != geteuid() ||
        (status.st_mode & 077) != 0) {
      return ERROR_INVALID_OWNER;
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
  // Removes the root when it is empty and closes it: 0 or why it stays.
  uint32_t removeIfEmpty() {
    const uint32_t code = Files::RemoveDirectoryAt(m_parent, m_name);
    close();
    return code;
  }
  // The commit: the journal takes the committed name, durably. 0, or the
  // code of the failing step; the journal then keeps (or gets back) its
  // name, so that an undo is still possible and still done after a crash.
  uint32_t commit() {
    uint32_t code = Files::MoveFileAt(m_handle, kJournalFileName, m_handle, kCommittedFileName);
    if (code != 0) return code;
    code = Files::FlushFileBuffers(m_handle);
    if (code != 0) Files::MoveFileAt(m_handle, kCommittedFileName, m_handle, kJournalFileName);
    return code;
  }
  // Removes the names a backup root holds and the root itself: the saved
  // versions first, then the journal (or its committed name), durably, so
  // that until the end the root still proves itself the run's. 0, or the
  // code of the first name that stays, named by `failed` (relative to the
  // root).
  uint32_t discard(std::string& failed) {
    if (m_handle == INVALID_HANDLE_VALUE) return 0;
    uint32_t code = 0;
    failed.clear();
    removeEntryAt(descriptorOf(m_handle), kSavedDirectoryName);
    struct stat status;
    if (Files::StatusAt(m_handle, kSavedDirectoryName, status) == 0) {
      code = ERROR_ACCESS_DENIED;
      failed = kSavedDirectoryName;
    }
    for (const char* name : {kJournalFileName, kCommittedFileName}) {
      const uint32_t removed = Files::DeleteFileAt(m_handle, name);
      if (removed != 0 && removed != ERROR_FILE_NOT_FOUND && code == 0) {
        code = removed;
        failed = name;
      }
    }
    const uint32_t flushed = Files::FlushFileBuffers(m_handle);
    if (flushed != 0 && code == 0) code = flushed;
    const uint32_t removed = Files::RemoveDirectoryAt(m_parent, m_name);
    if (code == 0 && removed != 0 && removed != ERROR_FILE_NOT_FOUND) code = removed;
    close();
    return code;
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
                            HANDLE backupRoot, const ReplayReport& report = nullptr) {
  using namespace replay_detail;
  ReplayResult result;
  if (records.empty() || records.front().type != JournalRecordType::kHeader) return result;
  const uint64_t runId = records.front().runId;
  const auto tell = [&](const char* event, const std::string& path) {
    if (report) report(event, path);
  };
  // Every version the run wrote under a name: a file named twice has two.
  std::unordered_multimap<std::string, FileIdentity> written;
  for (const JournalRecord& record : records) {
    if (record.type == JournalRecordType::kCreate || record.type == JournalRecordType::kReplace) {
      written.emplace(record.path, record.made);
    }
  }
  const auto runs_own = [&](const std::string& path, const struct stat& status) {
    const auto versions = written.equal_range(path);
    for (auto version = versions.first; version != versions.second; ++version) {
      if (made_by_run(status, version->second)) return true;
    }
    return false;
  };
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

  // First what frees space: the run's temporary and new files, but for the
  // earlier versions that wait under temporary names.
  for (const JournalRecord& record : records) {
    if (record.type != JournalRecordType::kCreate && record.type != JournalRecordType::kReplace) {
      continue;
    }
    split_relative(record.path, directory, name);
    const std::string temporary = temporary_entry_name(runId, record.entry);
    if (targets.open(directory, at) != 0) continue;
    if (record.type == JournalRecordType::kReplace && status_at<Files>(at, temporary, status) &&
        same_inode(status, record.old)) {
      continue;
    }
    Files::DeleteFileAt(at, temporary);
  }
  std::unordered_set<std::string> removed;
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (record->type != JournalRecordType::kCreate || removed.count(record->path) != 0) continue;
    split_relative(record->path, directory, name);
    if (targets.open(directory, at) != 0 || !status_at<Files>(at, name, status)) continue;
    if (!runs_own(record->path, status)) {
      result.leftAlone.push_back(record->path);
      tell("left", record->path);
    } else if (Files::DeleteFileAt(at, name) == 0) {
      removed.insert(record->path);
      tell("removed", record->path);
    }
  }
  // Deepest first; a directory holding anything not the run's own stays.
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (record->type != JournalRecordType::kMakeDirectory) continue;
    split_relative(record->path, directory, name);
    if (targets.open(directory, at) == 0 && Files::RemoveDirectoryAt(at, name) == 0) {
      tell("removed", record->path);
    }
  }
  targets.clear();
  // Last first, so that of a file replaced twice the earliest version wins.
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (record->type != JournalRecordType::kReplace) continue;
    split_relative(record->path, directory, name);
    HANDLE from = INVALID_HANDLE_VALUE;
    bool restored = false;
    struct stat savedStatus;
    const std::string temporary = temporary_entry_name(runId, record->entry);
    if (targets.open(directory, at) == 0) {
      const bool present = status_at<Files>(at, name, status);
      // Swapped with the new file: the earlier version is the very file
      // under the temporary name, checked by its identity.
      const bool swapped =
          status_at<Files>(at, temporary, savedStatus) && same_inode(savedStatus, record->old);
      if (swapped && present && !runs_own(record->path, status)) {
        // Someone saved their own file here since: it stays, and the
        // earlier version is kept in the backup root (where it can go).
        if (saved.open(directory, from, true, 0700) == 0) {
          Files::MoveFileAt(at, temporary, from, name);
        }
        result.leftAlone.push_back(record->path);
        tell("left", record->path);
      } else if (swapped) {
        restored = Files::MoveFileAt(at, temporary, at, name) == 0;
      } else if (present && same_file(status, record->old)) {
        // The earlier version is in place (put back, or never replaced).
        restored = true;
      } else if (present && !runs_own(record->path, status)) {
        // Someone saved their own file here since: it stays, and so does
        // the saved version.
        result.leftAlone.push_back(record->path);
        tell("left", record->path);
      } else if (saved.open(directory, from) == 0 && status_at<Files>(from, name, savedStatus)) {
        restored =
            restore_saved<Files>(from, at, name, temporary_entry_name(runId, record->entry)) == 0;
      }
    }
    if (!restored) result.unrestored.push_back(record->path);
    if (restored) tell("restored", record->path);
  }
  saved.clear();
  if (savedRoot != INVALID_HANDLE_VALUE) Files::CloseHandle(savedRoot);
  for (std::vector<std::string>* list : {&result.unrestored, &result.leftAlone}) {
    std::sort(list->begin(), list->end());
    list->erase(std::unique(list->begin(), list->end()), list->end());
  }
  return result;
}

// After the commit: removes the earlier versions that wait under the
// run's temporary names (only the very file a kReplace record identifies,
// or a link), on two threads over disjoint directories when there are
// many. Returns the target-relative names whose earlier version stays.
template <class Files>
std::vector<std::string> remove_earlier_versions(const std::vector<JournalRecord>& records,
                                                 HANDLE target) {
  if (records.empty()) return {};
  const uint64_t runId = records.front().runId;
  // Directory by directory, so that each is opened once, by one thread.
  std::map<std::string, std::vector<const JournalRecord*>> byDirectory;
  size_t count = 0;
  std::string directory;
  std::string name;
  for (const JournalRecord& record : records) {
    if (record.type != JournalRecordType::kReplace) continue;
    split_relative(record.path, directory, name);
    byDirectory[directory].push_back(&record);
    ++count;
  }
  using Share = std::vector<const std::vector<const JournalRecord*>*>;
  Share shares[2];
  size_t first = 0;
  for (const auto& [path, replaced] : byDirectory) {
    const bool toFirst = first * 2 < count;
    shares[toFirst ? 0 : 1].push_back(&replaced);
    if (toFirst) first += replaced.size();
  }
  std::vector<std::string> left[2];
  const auto removeShare = [&](int which) {
    BasicDirectoryWalker<Files> targets;
    targets.reset(target);
    std::string parent;
    std::string base;
    for (const std::vector<const JournalRecord*>* replaced : shares[which]) {
      for (const JournalRecord* record : *replaced) {
        split_relative(record->path, parent, base);
        const std::string temporary = temporary_entry_name(runId, record->entry);
        HANDLE at = INVALID_HANDLE_VALUE;
        struct stat status;
        uint32_t code = targets.open(parent, at);
        if (code == 0) code = Files::StatusAt(at, temporary, status);
        // Nothing there: already removed, or never swapped.
        if (code == ERROR_FILE_NOT_FOUND) continue;
        // The earlier version itself, or a link someone put at the name
        // before the swap (removing it never touches what it points to); a
        // file of anyone else's stays.
        if (code == 0 &&
            (replay_detail::same_inode(status, record->old) || S_ISLNK(status.st_mode))) {
          code = Files::DeleteFileAt(at, temporary);
        } else if (code == 0) {
          code = ERROR_ALREADY_EXISTS;
        }
        if (code != 0) left[which].push_back(record->path);
      }
    }
  };
  constexpr size_t kWorthASecondThread = 256;
  if (count >= kWorthASecondThread) {
    std::thread second(removeShare, 1);
    removeShare(0);
    second.join();
  } else {
    removeShare(0);
    removeShare(1);
  }
  left[0].insert(left[0].end(), left[1].begin(), left[1].end());
  return left[0];
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
                                    RecoveryDetail& detail, const ReplayReport& report = nullptr) {
  detail = RecoveryDetail();
  if (backupRoot.empty()) return RecoveryOutcome::kNothing;
  BasicBackupRoot<Files> root;
  const uint32_t opened = root.open(backupRoot, targetPath, target);
  if (opened == ERROR_FILE_NOT_FOUND) return RecoveryOutcome::kNothing;
  detail.reason = opened;
  if (opened != 0) return RecoveryOutcome::kForeign;
  const int rootFd = descriptorOf(root.handle());
  std::vector<JournalRecord> records;
  bool committed = false;
  uint32_t code = read_journal_file(rootFd, kJournalFileName, kMaxJournalBytes, records);
  if (code == ERROR_FILE_NOT_FOUND) {
    code = read_journal_file(rootFd, kCommittedFileName, kMaxJournalBytes, records);
    committed = code == 0;
  }
  if (code == ERROR_FILE_NOT_FOUND || code == ERROR_INVALID_DATA) {
    // The header is written and flushed before any change: without one the
    // run had saved nothing yet, and only names of its own can be left.
    if (code == ERROR_INVALID_DATA) Files::DeleteFileAt(root.handle(), kJournalFileName);
    Files::RemoveDirectoryAt(root.handle(), kSavedDirectoryName);
    if (root.removeIfEmpty() == 0) return RecoveryOutcome::kNothing;
    detail.reason = ERROR_BAD_FORMAT;
    return RecoveryOutcome::kForeign;
  }
  if (code != 0 || !replay_detail::proves<Files>(records.front(), targetPath, target, backupRoot,
                                                 runId)) {
    detail.reason = code != 0 ? code : ERROR_BAD_FORMAT;
    return RecoveryOutcome::kForeign;
  }
  std::string failed;
  if (committed) {
    // The committed journal goes only once nothing it names is left.
    if (remove_earlier_versions<Files>(records, target).empty()) root.discard(failed);
    return RecoveryOutcome::kNothing;
  }
  const ReplayResult replayed = replay_journal<Files>(records, target, root.handle(), report);
  detail.leftAlone = replayed.leftAlone;
  if (!replayed.unrestored.empty()) return RecoveryOutcome::kKept;
  Files::FlushFileSystem(target);
  // While the journal still names them, and the target's own again once
  // its backup root is gone.
  restore_journal_times<Files>(records, target);
  root.discard(failed);
  restore_journal_times<Files>(records, target);
  return RecoveryOutcome::kUndone;
}
