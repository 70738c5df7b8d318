// Definitions of BasicInstaller (installer.h): deciding, planning and writing each entry.
// Included only where the engine is compiled for a file layer.
#pragma once

#include "install/installer_run_impl.h"

template <class Kit, class Files>
void BasicInstaller<Kit, Files>::planBatch(Kit& kit, uint32_t first,
                                           std::vector<PlannedEntry>& batch) {
  batch.clear();
  // The hashes of the names planned for writing: a name met again (or one
  // whose hash is) ends the batch, which costs a batch at worst.
  std::unordered_set<size_t> names;
  const std::hash<std::string> hashOf;
  for (uint32_t index = first;
       index != kit.count() && batch.size() < installer_detail::kBatchEntries; ++index) {
    // The run looks at the cancel before the first entry planned.
    if (!batch.empty() && m_data->isCancelled()) break;
    PlannedEntry entry = decideEntry(kit, index);
    if (entry.action == Action::kWrite) {
      // A file named twice is decided again once its first copy is written.
      if (!names.insert(hashOf(entry.name)).second) break;
      entry.code =
          this->planEntry(index, entry.name, entry.replaces, madeIdentity(entry), entry.old);
      if (entry.code != 0) {
        entry.action = Action::kFail;
        m_planFailure = this->failure();
      }
    }
    batch.push_back(std::move(entry));
    if (batch.back().action == Action::kFail) break;
  }
}

template <class Kit, class Files>
typename BasicInstaller<Kit, Files>::PlannedEntry BasicInstaller<Kit, Files>::decideEntry(
    Kit& kit, uint32_t index) {
  typename Kit::Entry data;
  kit.get(index, data);
  PlannedEntry entry;
  entry.index = index;
  entry.size = data.size;
  entry.time = data.time;
  // One spelling per file: empty and "." components dropped.
  WideString name = data.name;
  replace_all(name, kBadPathSeparator, kPathSeparator);
  const std::string spelled = narrow_lib(name);
  for (size_t start = 0; start <= spelled.size();) {
    size_t end = spelled.find('/', start);
    if (end == std::string::npos) end = spelled.size();
    const std::string component = spelled.substr(start, end - start);
    if (!component.empty() && component != ".") {
      entry.name += (entry.name.empty() ? "" : "/") + component;
    }
    start = end + 1;
  }

  // A name that names no file, and the backup root, the installation's own.
  if (entry.name.empty() || entry.name.substr(0, entry.name.find('/')) == kBackupRootName) {
    entry.action = Action::kFail;
    entry.code = ERROR_INVALID_NAME;
    // A name the kit may not use: the kit is at fault.
    m_planFailure = {ERROR_INVALID_DATA, narrow_lib(name)};
    return entry;
  }
  // One status query, never through a link, decides everything about what
  // is there now.
  struct stat status;
  bool present = false;
  const uint32_t code = this->statusOf(entry.name, status, present);
  if (code != 0) {
    entry.action = Action::kFail;
    entry.code = code;
    m_planFailure = this->failure();
    return entry;
  }
  // A directory (with the user's files in it), a device or a pipe is never
  // moved aside or written over.
  if (present && !S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode)) {
    entry.action = Action::kFail;
    entry.code = ERROR_ALREADY_EXISTS;
    m_planFailure = {ERROR_ALREADY_EXISTS, entry.name};
    return entry;
  }
  if (present) {
    // What an undo must find again, from the one query that found it.
    entry.old = {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
                 static_cast<uint64_t>(status.st_size), status.st_mtim.tv_sec,
                 status.st_mtim.tv_nsec};
    // A link is replaced by the file; its target's time only decides when.
    bool comparable = true;
    if (S_ISLNK(status.st_mode)) {
      HANDLE directory = INVALID_HANDLE_VALUE;
      std::string parent;
      std::string base;
      split_relative(entry.name, parent, base);
      comparable = this->directoryOf(entry.name, directory) == 0 &&
                   Files::StatusAt(directory, base, status, true) == 0;
    }
    const _FILETIME installed = EpochToFileTime(static_cast<long>(status.st_mtim.tv_sec));
    if (comparable && !earlier(installed, data.time)) return entry;
    // A replaced file keeps its permission bits, owner and group.
    entry.keepMode = S_ISREG(status.st_mode);
    entry.mode = status.st_mode & 0777;
    entry.owner = status.st_uid;
    entry.group = status.st_gid;
  }
  entry.action = Action::kWrite;
  entry.replaces = present;
  return entry;
}

template <class Kit, class Files>
WideString BasicInstaller<Kit, Files>::publishedPath(const Kit& kit, uint32_t index) const {
  typename Kit::Entry data;
  kit.get(index, data);
  WideString path = m_targetDirectory + data.name;
  replace_all(path, kBadPathSeparator, kPathSeparator);
  return path;
}

template <class Kit, class Files>
uint32_t BasicInstaller<Kit, Files>::writeEntry(Kit& kit, const PlannedEntry& entry,
                                                const WideString& path) {
  HANDLE directory = INVALID_HANDLE_VALUE;
  uint32_t code = this->directoryOf(entry.name, directory);
  if (code != 0) return this->fail(code, entry.name);
  // In a directory nobody sees before the commit, a new file is written
  // under its own name at once.
  const bool hidden = !entry.replaces && this->inHiddenDirectory(entry.name);
  const std::string writtenAs =
      hidden ? entry.name.substr(entry.name.rfind('/') + 1) : this->temporaryName(entry.index);
  HANDLE output = INVALID_HANDLE_VALUE;
  // Private until it is complete; then the mode it is to have.
  code = Files::CreateFileAt(directory, writtenAs, entry.keepMode ? 0600 : kNewFileMode, output);
  if (code != 0) return this->fail(code, entry.name);
  // A cancel inside the copy leaves the file half written, under its
  // temporary name or in a hidden directory: the rollback removes it.
  code = kit.copyTo(entry.index, output, observerFor(path));
  if (code != 0 && code != ERROR_CANCELLED) failInKit(kit, code, entry.name);
  if (code == 0) code = giveOwner(directory, output, entry);
  // After the owner, whose change would clear set-id bits.
  if (code == 0 && entry.keepMode) {
    code = Files::SetFileMode(output, entry.mode);
    if (code != 0) this->fail(code, entry.name);
  }
  Files::CloseHandle(output);
  if (code == 0) this->wrote(entry.size);
  if (code != 0 || hidden) return code;
  return this->putInPlace(entry.name, writtenAs, entry.replaces);
}

template <class Kit, class Files>
uint32_t BasicInstaller<Kit, Files>::giveOwner(HANDLE directory, HANDLE output,
                                               const PlannedEntry& entry) {
  const bool root = m_euid == 0;
  uid_t owner = entry.owner;
  gid_t group = entry.group;
  if (!entry.keepMode) {
    if (!root) return 0;
    // Files of one directory follow each other: its owner is asked once.
    const std::string parent = entry.name.substr(0, entry.name.rfind('/') + 1);
    if (!m_ownerKnown || parent != m_ownerDirectory) {
      struct stat status;
      m_ownerKnown = Files::StatusAt(directory, "", status) == 0;
      if (!m_ownerKnown) return 0;
      m_ownerDirectory = parent;
      m_directoryOwner = status.st_uid;
      m_directoryGroup = status.st_gid;
    }
    owner = m_directoryOwner;
    group = m_directoryGroup;
  }
  if (owner == m_euid && group == m_egid) return 0;
  uint32_t code = Files::SetOwnerAt(output, "", owner, group);
  // Another user's file replaced by one who is not root becomes the
  // runner's; it keeps its group where the runner belongs to it.
  if (code == ERROR_ACCESS_DENIED && !root) {
    Files::SetOwnerAt(output, "", static_cast<uid_t>(-1), group);
    code = 0;
  }
  return code == 0 ? 0 : this->fail(code, entry.name);
}

template <class Kit, class Files>
FileIdentity BasicInstaller<Kit, Files>::madeIdentity(const PlannedEntry& entry) {
  FileIdentity made;
  made.size = entry.size;
  made.seconds = FileTimeToEpoch(entry.time);
  return made;
}

template <class Kit, class Files>
uint32_t BasicInstaller<Kit, Files>::failInKit(const Kit& kit, uint32_t code,
                                               const std::string& entry) {
  if (code == ERROR_INVALID_DATA && !entry.empty()) return this->fail(code, entry);
  return this->fail(code, kit.failedPath().empty() ? entry : kit.failedPath());
}

template <class Kit, class Files>
void BasicInstaller<Kit, Files>::publishProgress(const WideString& path, uint64_t entryWork) {
  m_published = shareDone(entryWork);
  m_data->setInstallState(0, path, static_cast<int32_t>(m_published));
}

template <class Kit, class Files>
uint32_t BasicInstaller<Kit, Files>::shareDone(uint64_t entryWork) const {
  if (m_totalWork == 0) return 0;
  const uint64_t done = std::min(m_doneWork + entryWork, m_totalWork);
  return static_cast<uint32_t>(std::min<uint64_t>(done * 100 / m_totalWork, 99));
}

template <class Kit, class Files>
WideString BasicInstaller<Kit, Files>::lastFailureDetail() const {
  return failure_detail(widen_lib(this->failure().path), this->failure().reason);
}

template <class Kit, class Files>
std::function<bool(uint64_t)> BasicInstaller<Kit, Files>::observerFor(const WideString& path) {
  return [this, path](uint64_t entryBytes) {
    if (m_data->isCancelled()) return false;
    // Published when the share moves, not for every block.
    if (!path.empty() && shareDone(entryBytes) != m_published) publishProgress(path, entryBytes);
    return true;
  };
}
