// Definitions of BasicRollback (rollback.h): planning and applying the changes.
// Included only where the engine is compiled for a file layer.
#pragma once

#include "install/rollback_start_impl.h"

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
      // The outermost new directory is made under a hidden name, and
      // everything below it under its own.
      const bool outermost = m_plannedDirectories.count(parent) == 0 && !hidden(parent);
      record.type =
          outermost ? JournalRecordType::kHiddenDirectory : JournalRecordType::kMakeDirectory;
      if (outermost) {
        record.entry = m_hiddenCount++;
        m_hiddenDirectories.insert(directory);
      }
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
    const bool outermost = m_records[i].type == JournalRecordType::kHiddenDirectory;
    if (!outermost && m_records[i].type != JournalRecordType::kMakeDirectory) continue;
    split_relative(m_records[i].path, parent, base);
    if (outermost) base = temporary_directory_name(m_runId, m_records[i].entry);
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
    if (code == 0 && outermost) m_targetWalker.hide(m_records[i].path, base);
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
  // The run's own copy of a file the kit names twice is written over.
  if (replaces && m_createdFiles.count(name) != 0) {
    code = Files::MoveFileAt(at, temporary, at, base);
    return code == 0 ? 0 : fail(code, name);
  }
  if (replaces && m_exchange) {
    code = Files::ExchangeAt(at, temporary, base);
    if (code != ERROR_NOT_SUPPORTED && code != ERROR_FILE_NOT_FOUND) {
      return code == 0 ? 0 : fail(code, name);
    }
    // Saved from now on, in this batch one by one.
    if (code == ERROR_NOT_SUPPORTED) m_exchange = false;
    // Gone meanwhile: nothing to keep, the name is free as for a new file.
    if (code == ERROR_FILE_NOT_FOUND) replaces = false;
  }
  if (replaces) {
    code = saveDurably(name);
    if (code != 0) return code;
    code = Files::MoveFileAt(at, temporary, at, base);
    return code == 0 ? 0 : fail(code, name);
  }
  // A name found free takes the new file only while it still is: a file
  // someone saved there since stays, and the run stops on it.
  code = Files::MoveNewFileAt(at, temporary, base);
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
bool BasicRollback<Files>::hidden(const std::string& directory) const {
  if (m_hiddenDirectories.empty()) return false;
  for (std::string ancestor = directory; !ancestor.empty();
       ancestor = rollback_detail::parent_of(ancestor)) {
    if (m_hiddenDirectories.count(ancestor) != 0) return true;
  }
  return false;
}

template <class Files>
bool BasicRollback<Files>::inHiddenDirectory(const std::string& name) const {
  return hidden(rollback_detail::parent_of(name));
}

template <class Files>
uint32_t BasicRollback<Files>::revealDirectories() {
  if (m_hiddenDirectories.empty()) return 0;
  std::string parent;
  std::string base;
  for (const JournalRecord& record : m_records) {
    if (record.type != JournalRecordType::kHiddenDirectory) continue;
    split_relative(record.path, parent, base);
    HANDLE at = INVALID_HANDLE_VALUE;
    uint32_t code = m_targetWalker.open(parent, at);
    if (code == 0) {
      code = Files::MoveNewFileAt(at, temporary_directory_name(m_runId, record.entry), base);
    }
    if (code != 0) return fail(code, record.path);
    m_targetWalker.reveal(record.path);
  }
  m_hiddenDirectories.clear();
  return 0;
}

template <class Files>
std::vector<JournalRecord> BasicRollback<Files>::journal() const {
  std::vector<JournalRecord> records;
  records.reserve(m_records.size() + 1);
  records.push_back(m_header);
  records.insert(records.end(), m_records.begin(), m_records.end());
  return records;
}

