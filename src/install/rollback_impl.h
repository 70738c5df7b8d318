// Implementation of BasicRollback; included by rollback.h only.
#pragma once

#include "install/directory_listing.h"

namespace rollback_detail {

// The text before the last "/" ("" when there is none, "/" for a child of
// the root).
inline WideString parent_of(const WideString& path) {
  const size_t slash = path.rfind(u'/');
  if (slash == WideString::npos) return WideString();
  if (slash == 0) return kPathSeparator;
  return path.substr(0, slash);
}

// The path without trailing "/" (the root stays "/").
inline WideString without_trailing_slash(WideString path) {
  while (path.size() > 1 && path.back() == u'/') path.pop_back();
  return path;
}

}  // namespace rollback_detail

template <class Files>
typename BasicRollback<Files>::RollbackLevel& BasicRollback<Files>::current() {
  if (m_levels.empty()) m_levels.emplace_back();
  return m_levels.back();
}

template <class Files>
uint32_t BasicRollback<Files>::start(const WideString& targetDirectory) {
  m_levels.emplace_back();
  RollbackLevel& level = m_levels.back();
  level.targetDirectory = targetDirectory;
  if (targetDirectory.empty()) return 0;

  WideString temporary;
  Files::GetTempPath(temporary);
  if (makeDirectoryTree(temporary) != 0) return ERROR_PATH_NOT_FOUND;
  if (temporary.empty() || temporary.back() != u'/') temporary += kPathSeparator;

  // mkdir fails when the name exists, so the test and the creation are one
  // step and a root found here belongs to this level alone.
  for (uint32_t number = 0;; ++number) {
    const WideString candidate = temporary + kBackupRootPrefix + string_uito(number, 10);
    const uint32_t code = create_directory_exclusive(candidate);
    if (code == ERROR_ALREADY_EXISTS) continue;
    if (code != 0) return ERROR_PATH_NOT_FOUND;
    level.backupDirectory = candidate + kPathSeparator;
    level.knownBackupDirectories.insert(candidate);
    return 0;
  }
}

template <class Files>
uint32_t BasicRollback<Files>::storeRBFile(const WideString& path) {
  RollbackLevel& level = current();
  // Without a backup root nothing can be saved; a path outside the target
  // directory has no place in the mirror.
  if (level.backupDirectory.empty()) return ERROR_PATH_NOT_FOUND;
  const WideString& target = level.targetDirectory;
  if (path.size() <= target.size() || path.compare(0, target.size(), target) != 0) {
    return ERROR_INVALID_PARAMETER;
  }
  const WideString backup = level.backupDirectory + path.substr(target.size());
  const WideString backupParent = rollback_detail::parent_of(backup);
  if (!backupParent.empty()) {
    const uint32_t code = makeBackupDirectoryTree(backupParent);
    if (code != 0) return code;
  }
  // The same file named twice: the version saved first is the one that
  // existed before the installation.
  if (query_path(backup, false).kind != PathKind::kMissing) return 0;
  const WideString parent = rollback_detail::parent_of(path);
  if (!parent.empty() && insideTarget(parent)) rememberDirectoryTimes(parent);
  const uint32_t code = Files::MoveFile(path, backup);
  // The mover reports most failures as "not found"; a file still in place
  // was not saved, which is not the same as there being none.
  if (code == ERROR_FILE_NOT_FOUND && query_path(path, false).kind != PathKind::kMissing) {
    return ERROR_INVALID_PARAMETER;
  }
  return code;
}

template <class Files>
uint32_t BasicRollback<Files>::makeDirectoryTree(const WideString& path) {
  return createDirectoryChain(rollback_detail::without_trailing_slash(path), true);
}

template <class Files>
uint32_t BasicRollback<Files>::makeBackupDirectoryTree(const WideString& path) {
  return createDirectoryChain(rollback_detail::without_trailing_slash(path), false);
}

template <class Files>
uint32_t BasicRollback<Files>::createDirectoryChain(const WideString& path, bool record) {
  if (path.empty() || isDiskRoot(path)) return 0;
  RollbackLevel& level = current();
  auto& known = record ? level.knownDirectories : level.knownBackupDirectories;
  if (known.count(path) != 0) return 0;

  const PathKind kind = query_path(path, true).kind;
  if (kind == PathKind::kDirectory) {
    known.insert(path);
    // The caller is about to create something in it.
    if (record && insideTarget(path)) rememberDirectoryTimes(path);
    return 0;
  }
  if (kind != PathKind::kMissing) return ERROR_PATH_NOT_FOUND;

  const WideString parent = rollback_detail::parent_of(path);
  if (!parent.empty()) {
    const uint32_t code = createDirectoryChain(parent, record);
    if (code != 0) return code;
    if (record) rememberDirectoryTimes(parent);
  }
  const uint32_t code = Files::CreateDirectory(path);
  if (code != 0 && code != ERROR_ALREADY_EXISTS) return ERROR_PATH_NOT_FOUND;
  if (code == 0 && record) addRBCatalog(path);
  known.insert(path);
  return 0;
}

template <class Files>
bool BasicRollback<Files>::insideTarget(const WideString& directory) const {
  const WideString& target = m_levels.back().targetDirectory;
  if (target.empty()) return false;
  const WideString root = rollback_detail::without_trailing_slash(target);
  return directory.compare(0, root.size(), root) == 0 &&
         (directory.size() == root.size() || directory[root.size()] == u'/' || root.back() == u'/');
}

template <class Files>
void BasicRollback<Files>::rememberDirectoryTimes(const WideString& directory) {
  RollbackLevel& level = current();
  if (!level.timedDirectories.insert(directory).second) return;
  DirectoryTimes times;
  if (read_directory_times(directory, times)) level.changedDirectories.push_back(times);
}

template <class Files>
void BasicRollback<Files>::addRBCatalog(const WideString& path) {
  current().createdDirectories.push_back(path);
}

template <class Files>
void BasicRollback<Files>::addRBFile(const WideString& path) {
  current().createdFiles.push_back(path);
}

template <class Files>
void BasicRollback<Files>::removeRBFile(const WideString& path) {
  auto& files = current().createdFiles;
  for (auto it = files.begin(); it != files.end(); ++it) {
    if (*it == path) {
      files.erase(it);
      return;
    }
  }
}

template <class Files>
uint32_t BasicRollback<Files>::stop() {
  return removeDirectoryTree(current().backupDirectory);
}

template <class Files>
uint32_t BasicRollback<Files>::rollback(uint32_t code) {
  RollbackLevel& level = current();
  if (!level.targetDirectory.empty() && !level.backupDirectory.empty()) {
    rollbackFiles(level.targetDirectory, level.backupDirectory);
  }
  removeDirectoryTree(level.backupDirectory);
  for (const WideString& directory : level.createdDirectories) removeDirectoryTree(directory);
  for (const WideString& file : level.createdFiles) Files::DeleteFile(file);
  // Last, because every step above changes the directories' times.
  for (const DirectoryTimes& times : level.changedDirectories) restore_directory_times(times);
  return code;
}

template <class Files>
void BasicRollback<Files>::rollbackFiles(const WideString& targetDirectory,
                                         const WideString& backupDirectory) {
  for (const DirectoryEntry& entry : list_directory(backupDirectory)) {
    if (entry.isDirectory) {
      rollbackFiles(targetDirectory + entry.name + kPathSeparator,
                    backupDirectory + entry.name + kPathSeparator);
    } else {
      Files::MoveFile(backupDirectory + entry.name, targetDirectory + entry.name);
    }
  }
}

template <class Files>
uint32_t BasicRollback<Files>::removeDirectoryTree(const WideString& path) {
  if (!path.empty()) Files::RemoveDirectory(path);
  return 0;
}
