// Implementation of BasicRollback; included by rollback.h only.
#pragma once

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

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

}  // namespace rollback_detail

template <class Files>
uint32_t BasicRollback<Files>::start(const WideString& targetDirectory) {
  using namespace rollback_detail;
  m_target = narrow_lib(targetDirectory);
  if (m_target.empty()) return fail(ERROR_PATH_NOT_FOUND, m_target, ERROR_FILE_NOT_FOUND);
  if (m_target.back() != '/') m_target += '/';
  m_runId = new_run_id();
  m_header = JournalRecord();
  m_header.runId = m_runId;
  m_header.path = m_target;

  // The target and its missing parents are made first; the registry names
  // them before, so that a crash in between leaves nothing behind. The
  // target itself may be a link the user chose: it is resolved here, once.
  std::vector<std::string> missing;
  for (std::string directory = without_trailing_slash(m_target);
       !directory.empty() && directory != "/"; directory = parent_of(directory)) {
    struct stat status;
    if (Files::StatusOfPath(directory, true, status) != 0) {
      missing.insert(missing.begin(), directory);
      continue;
    }
    if (!S_ISDIR(status.st_mode))
      return fail(ERROR_PATH_NOT_FOUND, directory, ERROR_ALREADY_EXISTS);
    break;
  }
  // The outermost directory the run changes gets its times back: the one
  // the missing directories are made in when they go, else the target, whose
  // times the registry holds before the backup root is made in it.
  struct stat above;
  const std::string outer =
      missing.empty() ? without_trailing_slash(m_target) : parent_of(missing.front());
  m_aboveTimes = JournalRecord();
  m_aboveTimes.type = JournalRecordType::kDirectoryTimes;
  m_aboveTimes.path = outer;
  if (Files::StatusOfPath(outer, true, above) == 0) {
    m_aboveTimes.accessSeconds = above.st_atim.tv_sec;
    m_aboveTimes.accessNanoseconds = above.st_atim.tv_nsec;
    m_aboveTimes.old.seconds = above.st_mtim.tv_sec;
    m_aboveTimes.old.nanoseconds = above.st_mtim.tv_nsec;
  }
  if (!missing.empty()) {
    const uint32_t registered = m_registry.write(m_header, missing, m_aboveTimes);
    if (registered != 0) {
      // What the registry made of its own directory goes, and the times of
      // the directory it was made in come back.
      removeMadeAboveTarget();
      return fail(ERROR_PATH_NOT_FOUND, install_registry_directory(), registered);
    }
    for (const std::string& directory : missing) {
      // Missing a moment ago: made now, or by the registry's own directory.
      const uint32_t code = Files::CreateDirectory(widen_lib(directory));
      if (code == 0 || code == ERROR_ALREADY_EXISTS) m_madeAboveTarget.push_back(directory);
      if (code != 0 && code != ERROR_ALREADY_EXISTS) {
        removeMadeAboveTarget();
        return fail(ERROR_PATH_NOT_FOUND, directory, code);
      }
    }
  }

  const uint32_t code = m_lock.acquire(m_target, m_lockWait);
  if (code != 0) {
    // The other installation may be using what was made here.
    m_registry.remove();
    return fail(code, m_target);
  }
  m_started = true;
  m_targetWalker.reset(m_lock.handle());
  const std::string leftover = m_target + kBackupRootName + "/";
  RecoveryDetail detail;
  const RecoveryOutcome found =
      recover_backup_root<Files>(m_target, m_lock.handle(), leftover, 0, detail, m_report);
  if (found == RecoveryOutcome::kKept) {
    m_kept = leftover;
    return fail(ERROR_ALREADY_EXISTS, leftover, ERROR_RECOVERY_FAILURE);
  }
  if (found == RecoveryOutcome::kForeign) {
    m_foreign = leftover;
    return fail(ERROR_ALREADY_EXISTS, leftover, detail.reason);
  }
  m_knownDirectories.insert(std::string());
  return 0;
}

template <class Files>
uint32_t BasicRollback<Files>::inspect(const WideString& targetDirectory) {
  using namespace rollback_detail;
  endInspection();
  m_target = narrow_lib(targetDirectory);
  if (m_target.empty()) return fail(ERROR_PATH_NOT_FOUND, m_target, ERROR_FILE_NOT_FOUND);
  if (m_target.back() != '/') m_target += '/';
  // The same walk up as start's: a missing target is made by a run in the
  // nearest directory above it that exists.
  std::string directory = without_trailing_slash(m_target);
  bool missing = false;
  for (; !directory.empty() && directory != "/"; directory = parent_of(directory)) {
    struct stat status;
    if (Files::StatusOfPath(directory, true, status) != 0) {
      missing = true;
      continue;
    }
    if (!S_ISDIR(status.st_mode))
      return fail(ERROR_PATH_NOT_FOUND, directory, ERROR_ALREADY_EXISTS);
    break;
  }
  if (directory.empty()) directory = "/";
  const uint32_t code = Files::CheckWritable(directory);
  if (code != 0) return fail(code, directory);
  m_writableDirectories.insert(std::string());
  m_knownDirectories.insert(std::string());
  if (missing) {
    // Everything in it is still to be made.
    m_plannedDirectories.insert(std::string());
  } else {
    const int opened = open(m_target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (opened == -1) return fail(translateErrNo(errno), m_target);
    m_inspected = handleOf(opened);
    m_targetWalker.reset(m_inspected);
  }
  m_inspecting = true;
  return 0;
}

template <class Files>
uint32_t BasicRollback<Files>::checkWritable(const std::string& name) {
  using namespace rollback_detail;
  std::string directory = parent_of(name);
  while (m_plannedDirectories.count(directory) != 0 && !directory.empty()) {
    directory = parent_of(directory);
  }
  if (m_writableDirectories.count(directory) != 0) return 0;
  const uint32_t code = Files::CheckWritable(m_target + directory);
  if (code != 0) return fail(code, directory.empty() ? m_target : directory);
  m_writableDirectories.insert(directory);
  return 0;
}

template <class Files>
void BasicRollback<Files>::endInspection() {
  m_targetWalker.clear();
  if (m_inspected != INVALID_HANDLE_VALUE) Files::CloseHandle(m_inspected);
  m_inspected = INVALID_HANDLE_VALUE;
  m_inspecting = false;
}

template <class Files>
uint32_t BasicRollback<Files>::statusOf(const std::string& name, struct stat& status,
                                        bool& present) {
  present = false;
  std::string directory;
  std::string base;
  split_relative(name, directory, base);
  // Inside a directory still to be made, at any depth, there is nothing yet
  // (a dry run into a missing target has no directory to walk from at all).
  for (std::string ancestor = directory;; ancestor = rollback_detail::parent_of(ancestor)) {
    if (m_plannedDirectories.count(ancestor) != 0) return 0;
    if (ancestor.empty()) break;
  }
  HANDLE at = INVALID_HANDLE_VALUE;
  const uint32_t code = m_targetWalker.open(directory, at);
  if (code == ERROR_FILE_NOT_FOUND) return 0;
  if (code != 0) {
    // Which component is in the way is told by planDirectories; with none
    // in the way, the open's own failure stands.
    const uint32_t blocked = planDirectories(name);
    return blocked != 0 ? blocked : fail(code, directory);
  }
  // Only a name that is not there counts as missing: a file whose status
  // cannot be read may be there, and is never written over unsaved.
  const uint32_t queried = Files::StatusAt(at, base, status);
  present = queried == 0;
  return queried == ERROR_FILE_NOT_FOUND || queried == 0 ? 0 : fail(queried, name);
}

template <class Files>
uint32_t BasicRollback<Files>::planEntry(uint32_t entry, const std::string& name, bool replaces,
                                         const FileIdentity& made, const FileIdentity& old) {
  if (!m_started && !m_inspecting) {
    return fail(ERROR_PATH_NOT_FOUND, m_target, ERROR_FILE_NOT_FOUND);
  }
  const uint32_t code = planDirectories(name);
  if (code != 0) return code;
  std::string directory;
  std::string base;
  split_relative(name, directory, base);
  planDirectoryTimes(directory);
  // A file this run created has no earlier version to save: written again,
  // it is still the run's own, and an undo removes it.
  if (!replaces) m_createdFiles.insert(name);
  if (replaces && m_createdFiles.count(name) != 0) replaces = false;
  JournalRecord record;
  record.type = replaces ? JournalRecordType::kReplace : JournalRecordType::kCreate;
  record.entry = entry;
  record.path = name;
  record.made = made;
  if (replaces) record.old = old;
  m_records.push_back(std::move(record));
  return 0;
}

template <class Files>
uint32_t BasicRollback<Files>::planDirectories(const std::string& name) {
  for (size_t slash = name.find('/'); slash != std::string::npos;
       slash = name.find('/', slash + 1)) {
    const std::string directory = name.substr(0, slash);
    if (m_knownDirectories.count(directory) != 0) continue;
    std::string parent;
    std::string base;
    split_relative(directory, parent, base);
    bool missing = m_plannedDirectories.count(parent) != 0;
    if (!missing) {
      HANDLE at = INVALID_HANDLE_VALUE;
      struct stat status;
      const uint32_t opened = m_targetWalker.open(parent, at);
      if (opened != 0) {
        m_blocked = m_target + parent;
        return fail(ERROR_PATH_NOT_FOUND, parent,
                    opened == ERROR_PATH_NOT_FOUND ? ERROR_ALREADY_EXISTS : opened);
      }
      const uint32_t queried = Files::StatusAt(at, base, status);
      // A link, a file or anything else where a directory is needed.
      if (queried == 0 && !S_ISDIR(status.st_mode)) {
        m_blocked = m_target + directory;
        return fail(ERROR_PATH_NOT_FOUND, directory,
                    S_ISLNK(status.st_mode) ? ERROR_CANT_RESOLVE_FILENAME : ERROR_ALREADY_EXISTS);
      }
      // What cannot be queried may be there: it is never planned anew.
      if (queried != 0 && queried != ERROR_FILE_NOT_FOUND) return fail(queried, directory);
      missing = queried != 0;
    }
    if (missing) {
      planDirectoryTimes(parent);
      JournalRecord record;
      record.type = JournalRecordType::kMakeDirectory;
      record.path = directory;
      m_records.push_back(std::move(record));
      m_plannedDirectories.insert(directory);
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
  HANDLE at = INVALID_HANDLE_VALUE;
  struct stat status;
  if (m_targetWalker.open(directory, at) != 0 || Files::StatusAt(at, "", status) != 0) return;
  JournalRecord record;
  record.type = JournalRecordType::kDirectoryTimes;
  record.path = directory;
  record.accessSeconds = status.st_atim.tv_sec;
  record.accessNanoseconds = status.st_atim.tv_nsec;
  record.old.seconds = status.st_mtim.tv_sec;
  record.old.nanoseconds = status.st_mtim.tv_nsec;
  m_records.push_back(std::move(record));
}

template <class Files>
uint32_t BasicRollback<Files>::makeBackupRoot() {
  // The backup root lives on the target's file system where it can; else in
  // the temporary directory, which the registry and journal then name. The
  // registry names it before it exists.
  m_header.backupRoot = m_target + kBackupRootName + "/";
  uint32_t code = m_registry.write(m_header, m_madeAboveTarget, m_aboveTimes);
  if (code != 0) return fail(code, install_registry_directory());
  if (Files::CreateDirectoryAt(m_lock.handle(), kBackupRootName, 0700) == 0) {
    code = m_backup.adopt(m_lock.handle(), false, kBackupRootName);
    if (code != 0) Files::RemoveDirectoryAt(m_lock.handle(), kBackupRootName);
    return code == 0 ? 0 : fail(code, m_header.backupRoot);
  }
  WideString temporary;
  Files::GetTempPath(temporary);
  const std::string base = narrow_lib(temporary);
  const int parent = open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (parent == -1) return fail(ERROR_PATH_NOT_FOUND, base, translateErrNo(errno));
  // An exclusive mkdir: a name someone else made is passed over.
  for (uint32_t number = 0; number < 100000; ++number) {
    const std::string name = "p8stp" + std::to_string(number);
    code = Files::CreateDirectoryAt(handleOf(parent), name, 0700);
    if (code == ERROR_ALREADY_EXISTS) continue;
    if (code != 0) break;
    m_header.backupRoot = base + name + "/";
    code = m_registry.write(m_header, m_madeAboveTarget, m_aboveTimes);
    if (code != 0) {
      close(parent);
      return fail(ERROR_PATH_NOT_FOUND, install_registry_directory(), code);
    }
    code = m_backup.adopt(handleOf(parent), true, name);
    return code == 0 ? 0 : fail(code, m_header.backupRoot);
  }
  close(parent);
  // Neither in the target nor in the temporary directory.
  return fail(ERROR_PATH_NOT_FOUND, base, code);
}

template <class Files>
uint32_t BasicRollback<Files>::beginJournal() {
  // The target's own times first: the backup root is about to change them.
  planDirectoryTimes(std::string());
  if (!m_records.empty() && m_records.back().type == JournalRecordType::kDirectoryTimes &&
      m_records.back().path.empty()) {
    m_records.insert(m_records.begin() + static_cast<std::ptrdiff_t>(m_applied), m_records.back());
    m_records.pop_back();
  }
  uint32_t code = makeBackupRoot();
  if (code != 0) return code;
  m_backupRoot = m_header.backupRoot;
  code = Files::CreateDirectoryAt(m_backup.handle(), kSavedDirectoryName, 0700);
  if (code == 0)
    code = Files::OpenDirectoryAt(m_backup.handle(), kSavedDirectoryName, m_savedHandle);
  if (code != 0) return fail(code, m_backupRoot + kSavedDirectoryName);
  m_savedWalker.reset(m_savedHandle);
  code = m_journalFile.create(m_backup.handle(), kJournalFileName, m_header);
  // The journal's name, and the backup root's in its directory, on the disk.
  if (code == 0) code = Files::FlushFileBuffers(m_backup.handle());
  if (code != 0) return fail(code, m_backupRoot + kJournalFileName);
  code = Files::FlushFileBuffers(m_lock.handle());
  return code == 0 ? 0 : fail(code, m_target);
}

template <class Files>
uint32_t BasicRollback<Files>::applyPlan() {
  if (m_applied == m_records.size()) return 0;
  uint32_t code = m_backupRoot.empty() ? beginJournal() : 0;
  if (code != 0) return code;
  const size_t first = m_applied;
  for (size_t i = first; i < m_records.size(); ++i) m_journalFile.add(m_records[i]);
  code = m_journalFile.flush();
  if (code != 0) return fail(code, m_backupRoot + kJournalFileName);
  m_applied = m_records.size();

  std::string parent;
  std::string base;
  for (size_t i = first; i < m_records.size(); ++i) {
    if (m_records[i].type != JournalRecordType::kMakeDirectory) continue;
    split_relative(m_records[i].path, parent, base);
    HANDLE at = INVALID_HANDLE_VALUE;
    code = m_targetWalker.open(parent, at);
    if (code == 0) code = Files::CreateDirectoryAt(at, base, 0777);
    // Root's run keeps a user's tree the user's: a new directory takes the
    // owner and group of the one it is made in.
    struct stat above;
    if (code == 0 && geteuid() == 0 && Files::StatusAt(at, "", above) == 0 &&
        (above.st_uid != 0 || above.st_gid != getegid())) {
      code = Files::SetOwnerAt(at, base, above.st_uid, above.st_gid);
    }
    if (code != 0) {
      m_blocked = m_target + m_records[i].path;
      return fail(ERROR_PATH_NOT_FOUND, m_records[i].path,
                  code == ERROR_PATH_NOT_FOUND ? ERROR_ALREADY_EXISTS : code);
    }
    m_plannedDirectories.erase(m_records[i].path);
  }
  // Where names are swapped, the earlier versions stay where they are.
  if (m_exchange) return 0;
  bool saved = false;
  for (size_t i = first; i < m_records.size(); ++i) {
    if (m_records[i].type != JournalRecordType::kReplace) continue;
    code = saveFile(m_records[i].path);
    if (code != 0) return code;
    m_saved.insert(m_records[i].path);
    saved = true;
  }
  // The saved names are on the disk before any file is replaced.
  code = saved ? Files::FlushFileSystem(m_backup.handle()) : 0;
  return code == 0 ? 0 : fail(code, m_backupRoot);
}

template <class Files>
uint32_t BasicRollback<Files>::putInPlace(const std::string& name, const std::string& temporary,
                                          bool replaces) {
  std::string directory;
  std::string base;
  split_relative(name, directory, base);
  HANDLE at = INVALID_HANDLE_VALUE;
  uint32_t code = m_targetWalker.open(directory, at);
  if (code != 0) return fail(code, name);
  // A file this run created is written over: nothing of the user's to keep.
  if (m_createdFiles.count(name) != 0) replaces = false;
  if (replaces && m_exchange) {
    code = Files::ExchangeAt(at, temporary, base);
    // Gone meanwhile: nothing to keep, the new file is renamed there.
    if (code != ERROR_NOT_SUPPORTED && code != ERROR_FILE_NOT_FOUND) {
      return code == 0 ? 0 : fail(code, name);
    }
    // Saved from now on, in this batch one by one.
    if (code == ERROR_NOT_SUPPORTED) m_exchange = false;
  }
  if (replaces && !m_exchange) {
    code = saveDurably(name);
    if (code != 0) return code;
  }
  code = Files::MoveFileAt(at, temporary, at, base);
  return code == 0 ? 0 : fail(code, name);
}

template <class Files>
uint32_t BasicRollback<Files>::saveDurably(const std::string& name) {
  if (m_saved.count(name) != 0) return 0;
  uint32_t code = saveFile(name);
  if (code != 0) return code;
  std::string directory;
  std::string base;
  split_relative(name, directory, base);
  HANDLE saved = INVALID_HANDLE_VALUE;
  code = m_savedWalker.open(directory, saved);
  if (code == 0) code = Files::FlushFileBuffers(saved);
  if (code != 0) return fail(code, m_backupRoot + kSavedDirectoryName + "/" + directory);
  m_saved.insert(name);
  return 0;
}

template <class Files>
uint32_t BasicRollback<Files>::saveFile(const std::string& name) {
  std::string directory;
  std::string base;
  split_relative(name, directory, base);
  HANDLE saved = INVALID_HANDLE_VALUE;
  HANDLE original = INVALID_HANDLE_VALUE;
  // A failure inside the backup root is told as what it is (a full disk, an
  // input/output error), naming the directory there.
  uint32_t code = m_savedWalker.open(directory, saved, true, 0700);
  if (code != 0) return fail(code, m_backupRoot + kSavedDirectoryName + "/" + directory);
  code = m_targetWalker.open(directory, original);
  if (code != 0) return fail(ERROR_PATH_NOT_FOUND, name, code);
  code = Files::CreateHardLinkAt(saved, base, original, base);
  // Already saved: the kit names the file twice, and the first saved
  // version is the one from before the installation.
  if (code == 0 || code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_NOT_FOUND) return 0;
  // Where no link can be made (another file system, a file of another
  // user's under link protection), a copy.
  const int failure = copyEntryAt(descriptorOf(original), base, descriptorOf(saved), base);
  return failure == 0 ? 0 : fail(translateErrNo(failure), name);
}

template <class Files>
uint32_t BasicRollback<Files>::directoryOf(const std::string& name, HANDLE& directory) {
  std::string parent;
  std::string base;
  split_relative(name, parent, base);
  return m_targetWalker.open(parent, directory);
}

template <class Files>
std::string BasicRollback<Files>::temporaryName(uint32_t entry) const {
  return temporary_entry_name(m_runId, entry);
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
uint32_t BasicRollback<Files>::stop(const std::function<bool()>& cancelled) {
  // A cancel counts until the commit: before it, and once the disk has
  // caught up.
  if (cancelled && cancelled()) return ERROR_CANCELLED;
  if (m_backupRoot.empty()) return 0;
  // Every new file and every rename on the disk, then the journal goes:
  // from here on, the installation stands.
  const uint32_t code = Files::FlushFileSystem(m_lock.handle());
  if (code != 0) return fail(code, m_target);
  if (cancelled && cancelled()) return ERROR_CANCELLED;
  m_journalFile.close();
  // Only a commit known to be on the disk is one: otherwise the next start
  // could undo an installation the user was told had succeeded.
  const uint32_t committed = m_backup.commit();
  return committed == 0 ? 0 : fail(committed, m_backupRoot + kJournalFileName);
}

template <class Files>
void BasicRollback<Files>::closeBackupRoot() {
  m_savedWalker.clear();
  if (m_savedHandle != INVALID_HANDLE_VALUE) Files::CloseHandle(m_savedHandle);
  m_savedHandle = INVALID_HANDLE_VALUE;
}

template <class Files>
std::vector<FailurePoint> BasicRollback<Files>::discardBackup() {
  std::vector<FailurePoint> left;
  if (!m_backupRoot.empty()) {
    for (const std::string& name : remove_earlier_versions<Files>(journal(), m_lock.handle())) {
      left.push_back({ERROR_ACCESS_DENIED, name});
    }
  }
  closeBackupRoot();
  m_targetWalker.clear();
  // With an earlier version left, the committed journal and the registry
  // entry stay, so that the next start finds and removes it.
  if (left.empty()) {
    std::string failed;
    const uint32_t discarded = m_backup.discard(failed);
    if (discarded != 0) left.push_back({discarded, m_backupRoot + failed});
    const std::string entry = m_registry.path();
    const uint32_t unregistered = m_registry.remove();
    if (unregistered != 0) left.push_back({unregistered, entry});
  }
  m_backup.close();
  m_lock.release();
  m_started = false;
  return left;
}

template <class Files>
uint32_t BasicRollback<Files>::rollback(uint32_t code) {
  if (!m_started) {
    m_registry.remove();
    return code;
  }
  m_journalFile.close();
  closeBackupRoot();
  m_targetWalker.clear();
  const std::vector<JournalRecord> records = journal();
  const std::vector<std::string> unrestored =
      m_backupRoot.empty()
          ? std::vector<std::string>()
          : replay_journal<Files>(records, m_lock.handle(), m_backup.handle(), m_report).unrestored;
  if (!unrestored.empty()) {
    m_kept = m_backupRoot;
    m_backup.close();
    fail(code, unrestored.front(), ERROR_RECOVERY_FAILURE);
  } else {
    if (!m_backupRoot.empty()) {
      Files::FlushFileSystem(m_lock.handle());
      // While the journal still names them; removing the backup root then
      // changes only the target's own times, which the registry holds.
      restore_journal_times<Files>(records, m_lock.handle());
      std::string failed;
      m_backup.discard(failed);
    }
    removeMadeAboveTarget();
  }
  m_lock.release();
  m_started = false;
  return code;
}

template <class Files>
void BasicRollback<Files>::removeMadeAboveTarget() {
  // Before the registry entry that names them goes; those that hold the
  // registry's own directory, once it is gone.
  remove_made_directories<Files>(m_madeAboveTarget, m_aboveTimes);
  m_registry.remove();
  remove_made_directories<Files>(m_madeAboveTarget, m_aboveTimes);
  m_madeAboveTarget.clear();
}
