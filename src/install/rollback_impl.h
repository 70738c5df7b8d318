// Implementation of BasicRollback; included by rollback.h only.
#pragma once

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "install/journal_replay.h"
#include "install/path_status.h"
#include "platform/last_error.h"
#include "platform/posix_call.h"
#include "platform/tree_copy.h"

namespace rollback_detail {

// The text before the last "/" ("" when there is none, "/" for a child of
// the root).
inline std::string parent_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

inline std::string without_trailing_slash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// A number no other run picks: it names the run's temporary files.
inline uint64_t new_run_id() {
  uint64_t id = 0;
  if (getrandom(&id, sizeof id, 0) != static_cast<ssize_t>(sizeof id) || id == 0) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    id = (static_cast<uint64_t>(now.tv_nsec) << 32) ^ static_cast<uint64_t>(now.tv_sec) ^
         static_cast<uint64_t>(getpid());
  }
  return id;
}

// Copies `source` (a file or link, not followed) to the new name `copy`,
// keeping its mode and times, for a backup root that a link cannot reach.
inline uint32_t copy_for_backup(const std::string& source, const std::string& copy) {
  const int sourceParent = open(parent_of(source).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const int copyParent = open(parent_of(copy).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  int failure = sourceParent == -1 || copyParent == -1 ? errno : 0;
  if (failure == 0) {
    failure = copyEntryAt(sourceParent, source.substr(source.rfind('/') + 1), copyParent,
                          copy.substr(copy.rfind('/') + 1));
  }
  if (sourceParent != -1) close(sourceParent);
  if (copyParent != -1) close(copyParent);
  return failure == 0 ? 0 : translateErrNo(failure);
}

inline bool is_reserved_name(const std::string& name) {
  const std::string first = name.substr(0, name.find('/'));
  return first == kBackupRootName;
}

}  // namespace rollback_detail

template <class Files>
uint32_t BasicRollback<Files>::start(const WideString& targetDirectory) {
  using namespace rollback_detail;
  m_target = narrow_lib(targetDirectory);
  if (m_target.empty()) return ERROR_PATH_NOT_FOUND;
  if (m_target.back() != '/') m_target += '/';
  m_targetDirectory = without_trailing_slash(m_target);
  m_runId = new_run_id();
  m_header = JournalRecord();
  m_header.runId = m_runId;
  m_header.path = m_target;

  // The target and its missing parents are made first; the registry names
  // them before, so that a crash in between leaves nothing behind.
  std::vector<std::string> missing;
  for (std::string directory = m_targetDirectory; !directory.empty() && directory != "/";
       directory = parent_of(directory)) {
    PathKind kind;
    FileIdentity identity;
    if (!identify_path(directory, kind, identity)) {
      missing.insert(missing.begin(), directory);
      continue;
    }
    // A link the user chose, to a directory, is the target as it stands.
    if (kind != PathKind::kDirectory && query_path(widen_lib(directory), true).kind !=
                                            PathKind::kDirectory) {
      return ERROR_PATH_NOT_FOUND;
    }
    break;
  }
  if (!missing.empty()) {
    if (m_registry.write(m_header, missing) != 0) return ERROR_PATH_NOT_FOUND;
    for (const std::string& directory : missing) {
      // Missing a moment ago: made now, or by the registry's own directory.
      const uint32_t code = Files::CreateDirectory(widen_lib(directory));
      if (code == 0 || code == ERROR_ALREADY_EXISTS) m_madeAboveTarget.push_back(directory);
      if (code != 0 && code != ERROR_ALREADY_EXISTS) {
        m_registry.remove();
        removeMadeAboveTarget();
        return ERROR_PATH_NOT_FOUND;
      }
    }
  }

  const uint32_t code = m_lock.acquire(m_target, m_lockWait);
  if (code != 0) {
    // The other installation may be using what was made here.
    m_registry.remove();
    return code;
  }
  m_started = true;
  const std::string leftover = m_target + kBackupRootName + "/";
  if (recover_backup_root<Files>(m_target, leftover, m_lock.handle()) == RecoveryOutcome::kKept) {
    m_kept = leftover;
    return ERROR_ALREADY_EXISTS;
  }
  m_knownDirectories.insert(m_targetDirectory);
  return 0;
}

template <class Files>
uint32_t BasicRollback<Files>::planEntry(uint32_t entry, const std::string& name, bool replaces) {
  if (!m_started) return ERROR_PATH_NOT_FOUND;
  const uint32_t code = planDirectories(name);
  if (code != 0) return code;
  const std::string parent = rollback_detail::parent_of(m_target + name);
  planDirectoryTimes(parent);
  JournalRecord record;
  record.type = replaces ? JournalRecordType::kReplace : JournalRecordType::kCreate;
  record.entry = entry;
  record.path = name;
  PathKind kind;
  if (replaces) identify_path(m_target + name, kind, record.old);
  m_records.push_back(std::move(record));
  return 0;
}

template <class Files>
uint32_t BasicRollback<Files>::planDirectories(const std::string& name) {
  for (size_t slash = name.find('/'); slash != std::string::npos;
       slash = name.find('/', slash + 1)) {
    if (slash == 0 || name[slash - 1] == '/') continue;
    const std::string directory = m_target + name.substr(0, slash);
    if (m_knownDirectories.count(directory) != 0) continue;
    PathKind kind;
    FileIdentity identity;
    if (identify_path(directory, kind, identity)) {
      if (kind != PathKind::kDirectory) return ERROR_PATH_NOT_FOUND;
    } else {
      planDirectoryTimes(rollback_detail::parent_of(directory));
      JournalRecord record;
      record.type = JournalRecordType::kMakeDirectory;
      record.path = directory;
      m_records.push_back(std::move(record));
      // Made by the run: its times need no restoring.
      m_timedDirectories.insert(directory);
    }
    m_knownDirectories.insert(directory);
  }
  return 0;
}

template <class Files>
void BasicRollback<Files>::planDirectoryTimes(const std::string& directory) {
  if (!m_timedDirectories.insert(directory).second) return;
  int64_t times[4];
  if (!read_directory_times(directory, times)) return;
  JournalRecord record;
  record.type = JournalRecordType::kDirectoryTimes;
  record.path = directory;
  record.accessSeconds = times[0];
  record.accessNanoseconds = times[1];
  record.old.seconds = times[2];
  record.old.nanoseconds = times[3];
  m_records.push_back(std::move(record));
}

template <class Files>
uint32_t BasicRollback<Files>::beginJournal() {
  // The target's own times first: the backup root is about to change them.
  planDirectoryTimes(m_targetDirectory);
  if (!m_records.empty() && m_records.back().type == JournalRecordType::kDirectoryTimes &&
      m_records.back().path == m_targetDirectory) {
    m_records.insert(m_records.begin() + static_cast<std::ptrdiff_t>(m_applied), m_records.back());
    m_records.pop_back();
  }

  // The backup root lives on the target's file system where it can; else in
  // the temporary directory, which the registry and journal then name. The
  // registry names it before it exists.
  std::string root = m_target + kBackupRootName;
  m_header.backupRoot = root + "/";
  uint32_t code = m_registry.write(m_header, m_madeAboveTarget);
  if (code != 0) return code;
  if (mkdir(root.c_str(), 0700) != 0) {
    WideString temporary;
    Files::GetTempPath(temporary);
    const std::string base = narrow_lib(temporary) + "p8stp";
    root.clear();
    for (uint32_t number = 0; number < 100000; ++number) {
      const std::string candidate = base + std::to_string(number);
      if (mkdir(candidate.c_str(), 0700) == 0) {
        root = candidate;
        break;
      }
      if (errno != EEXIST) break;
    }
    if (root.empty()) return ERROR_PATH_NOT_FOUND;
    m_header.backupRoot = root + "/";
    code = m_registry.write(m_header, m_madeAboveTarget);
    if (code != 0) return code;
  }
  m_backupRoot = root + "/";
  code =
      Files::CreateFile(widen_lib(m_backupRoot), GENERIC_READ, 0, OPEN_EXISTING, m_backupHandle);
  if (code != 0) return code;
  code = m_journalFile.create(m_backupRoot + kJournalFileName, m_header);
  // The journal's name, and the backup root's in the target, on the disk.
  if (code == 0) code = Files::FlushFileBuffers(m_backupHandle);
  if (code == 0) code = Files::FlushFileBuffers(m_lock.handle());
  return code;
}

template <class Files>
uint32_t BasicRollback<Files>::applyPlan() {
  if (m_applied == m_records.size()) return 0;
  uint32_t code = m_backupRoot.empty() ? beginJournal() : 0;
  if (code != 0) return code;
  const size_t first = m_applied;
  for (size_t i = first; i < m_records.size(); ++i) m_journalFile.add(m_records[i]);
  code = m_journalFile.flush();
  if (code != 0) return code;
  m_applied = m_records.size();

  for (size_t i = first; i < m_records.size(); ++i) {
    if (m_records[i].type != JournalRecordType::kMakeDirectory) continue;
    code = Files::CreateDirectory(widen_lib(m_records[i].path));
    if (code != 0 && code != ERROR_ALREADY_EXISTS) return ERROR_PATH_NOT_FOUND;
  }
  bool saved = false;
  for (size_t i = first; i < m_records.size(); ++i) {
    if (m_records[i].type != JournalRecordType::kReplace) continue;
    code = saveFile(m_records[i].path);
    if (code != 0) return code;
    saved = true;
  }
  // The saved names are on the disk before any file is replaced.
  return saved ? Files::FlushFileSystem(m_backupHandle) : 0;
}

template <class Files>
uint32_t BasicRollback<Files>::saveFile(const std::string& name) {
  const std::string saved = m_backupRoot + kSavedDirectoryName + name;
  const std::string parent = rollback_detail::parent_of(saved);
  if (m_savedDirectories.insert(parent).second) {
    const uint32_t code = Files::CreateDirectory(widen_lib(parent));
    if (code != 0 && code != ERROR_ALREADY_EXISTS) return ERROR_PATH_NOT_FOUND;
  }
  const std::string original = m_target + name;
  uint32_t code = Files::CreateHardLink(widen_lib(saved), widen_lib(original));
  // Already saved: the kit names the file twice, and the first saved
  // version is the one from before the installation.
  if (code == ERROR_ALREADY_EXISTS) return 0;
  if (code != 0 && code != ERROR_FILE_NOT_FOUND) code = rollback_detail::copy_for_backup(original, saved);
  return code == ERROR_FILE_NOT_FOUND ? 0 : code;
}

template <class Files>
std::string BasicRollback<Files>::temporaryPath(uint32_t entry, const std::string& name) const {
  const std::string path = m_target + name;
  return path.substr(0, path.rfind('/') + 1) + temporary_entry_name(m_runId, entry);
}

template <class Files>
std::vector<JournalRecord> BasicRollback<Files>::journal() const {
  std::vector<JournalRecord> records;
  records.reserve(m_records.size() + 1);
  records.push_back(m_header);
  records.insert(records.end(), m_records.begin(), m_records.end());
  return records;
}

template <class Files>
uint32_t BasicRollback<Files>::stop() {
  if (m_backupRoot.empty()) return 0;
  // Every new file and every rename on the disk, then the journal goes:
  // from here on, the installation stands.
  const uint32_t code = Files::FlushFileSystem(m_lock.handle());
  if (code != 0) return code;
  m_journalFile.close();
  Files::DeleteFile(widen_lib(m_backupRoot + kJournalFileName));
  // Should the deletion not reach the disk, the next start merely undoes a
  // complete installation.
  fsync(descriptorOf(m_backupHandle));
  return 0;
}

template <class Files>
void BasicRollback<Files>::discardBackup() {
  if (!m_backupRoot.empty()) Files::RemoveDirectory(widen_lib(m_backupRoot));
  if (m_backupHandle != INVALID_HANDLE_VALUE) Files::CloseHandle(m_backupHandle);
  m_backupHandle = INVALID_HANDLE_VALUE;
  m_registry.remove();
  m_lock.release();
  m_started = false;
}

template <class Files>
uint32_t BasicRollback<Files>::rollback(uint32_t code) {
  if (!m_started) {
    m_registry.remove();
    return code;
  }
  m_journalFile.close();
  const std::vector<JournalRecord> records = journal();
  if (!m_backupRoot.empty() && !replay_journal<Files>(records).empty()) {
    m_kept = m_backupRoot;
  } else {
    if (!m_backupRoot.empty()) {
      Files::FlushFileSystem(m_lock.handle());
      discard_backup_root<Files>(m_backupRoot);
      restore_journal_times(records);
    }
    m_registry.remove();
    removeMadeAboveTarget();
  }
  if (m_backupHandle != INVALID_HANDLE_VALUE) Files::CloseHandle(m_backupHandle);
  m_backupHandle = INVALID_HANDLE_VALUE;
  m_lock.release();
  m_started = false;
  return code;
}

template <class Files>
void BasicRollback<Files>::removeMadeAboveTarget() {
  for (auto directory = m_madeAboveTarget.rbegin(); directory != m_madeAboveTarget.rend();
       ++directory) {
    rmdir(directory->c_str());
  }
  m_madeAboveTarget.clear();
}
