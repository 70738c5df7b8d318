// Definitions of the undo from a journal (journal_replay.h).
// Included only where the engine is compiled for a file layer.
#pragma once

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

#include "install/directory_walker.h"
#include "install/journal_replay.h"
#include "platform/tree_copy.h"
#include "platform/tree_removal.h"

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

// Whether the modification time `seconds` is the one the run gave, `given`:
// a file system that keeps times in 32 bits holds one beyond them at the
// nearest it can.
inline bool same_given_time(int64_t seconds, int64_t given) {
  constexpr int64_t kLowest = INT32_MIN, kHighest = INT32_MAX;
  return seconds == given || (given < kLowest && seconds == kLowest) ||
         (given > kHighest && seconds == kHighest);
}

// Whether `status` is a regular file with the size and time the run gave a
// new file.
inline bool made_by_run(const struct stat& status, const FileIdentity& made) {
  return S_ISREG(status.st_mode) && static_cast<uint64_t>(status.st_size) == made.size &&
         same_given_time(status.st_mtim.tv_sec, made.seconds) &&
         status.st_mtim.tv_nsec == made.nanoseconds;
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

template <class Files>
ReplayResult replay_journal(const std::vector<JournalRecord>& records, HANDLE target,
                            HANDLE backupRoot, const ReplayReport& report) {
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

  // A directory still under its hidden name holds nothing but the run's
  // own, complete or not: it goes whole, never following a link in it.
  // Whatever stands at its own name then is someone else's.
  std::unordered_set<std::string> unrevealed;
  for (const JournalRecord& record : records) {
    if (record.type != JournalRecordType::kHiddenDirectory) continue;
    split_relative(record.path, directory, name);
    const std::string hidden = temporary_directory_name(runId, record.entry);
    if (targets.open(directory, at) != 0 || !status_at<Files>(at, hidden, status)) continue;
    removeEntryAt(descriptorOf(at), hidden);
    unrevealed.insert(record.path);
    tell("removed", record.path);
  }
  // Then what frees space: the run's temporary and new files, but for the
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
    if (record->type != JournalRecordType::kMakeDirectory &&
        (record->type != JournalRecordType::kHiddenDirectory ||
         unrevealed.count(record->path) != 0)) {
      continue;
    }
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
