// Definitions of BasicRollback (rollback.h): opening a run, and its journal.
// Included only where the engine is compiled for a file layer.
#pragma once

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "install/recover_backup_root_impl.h"
#include "install/rollback.h"
#include "platform/last_error.h"
#include "platform/posix_call.h"
#include "platform/tree_copy.h"

namespace rollback_detail {

// The directory of a path ("" when there is none, "/" for a child of the
// root).
inline std::string parent_of(const std::string& path) {
  std::string directory;
  std::string name;
  split_relative(path, directory, name);
  return directory;
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
  const HANDLE target = m_lock.handle();
  m_earlyFlush.begin([target] { Files::FlushFileSystemAhead(target); });
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

