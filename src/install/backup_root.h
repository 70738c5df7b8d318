// An open backup root of an installation: the private directory that holds
// its journal and, where names cannot be swapped, the saved versions of the
// files it replaces. Opened only when it is this user's private directory;
// its removal takes only the names a backup root holds. `Files` is the
// Win32-style file layer. One thread at a time.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/file_system.h"
#include "platform/path_parts.h"
#include "platform/posix_call.h"
#include "platform/tree_removal.h"

// Names inside a backup root, and the backup root inside a target directory.
// The kit may not name the backup root. At the commit the journal is renamed
// to the committed name, which still proves whose the saved versions are.
extern const char kBackupRootName[];      // ".p8stp"
extern const char kJournalFileName[];     // "journal"
extern const char kCommittedFileName[];   // "committed"
extern const char kSavedDirectoryName[];  // "saved"

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
      const PathParts parts = splitPath(name);
      if (parts.parent == ".") return ERROR_FILE_NOT_FOUND;
      const int parent = ::open(parts.parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (parent == -1) return ERROR_FILE_NOT_FOUND;
      m_parent = handleOf(parent);
      m_ownParent = true;
      name = parts.base;
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
