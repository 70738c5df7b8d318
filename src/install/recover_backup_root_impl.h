// Definitions of the commit's cleanup and of recovery at start (journal_replay.h).
// Included only where the engine is compiled for a file layer.
#pragma once

#include <map>
#include <thread>

#include "install/journal_file.h"
#include "install/journal_replay_impl.h"

template <class Files>
std::vector<std::string> remove_earlier_versions(uint64_t runId,
                                                 const std::vector<JournalRecord>& records,
                                                 HANDLE target) {
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

template <class Files>
RecoveryOutcome recover_backup_root(const std::string& targetPath, HANDLE target,
                                    const std::string& backupRoot, uint64_t runId,
                                    RecoveryDetail& detail, const ReplayReport& report) {
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
    if (remove_earlier_versions<Files>(records.front().runId, records, target).empty()) {
      root.discard(failed);
    }
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
