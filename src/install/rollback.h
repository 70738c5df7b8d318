// The journal that makes an installation undoable: a backup root of its own
// under the temporary directory mirroring the target tree, every file moved
// there before it is replaced, every directory and file the installation
// creates, and the times of the existing directories whose entries change.
// `stop` commits, `rollback` puts the target tree back. Used by the install
// worker thread only; no locks. `Files` is the Win32-style file layer
// (FileSystem in the program; tests pass wrappers that inject failures).
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "install/path_status.h"
#include "platform/file_system.h"
#include "text/wide_string.h"

// Prefix of the numbered backup roots in the temporary directory.
extern const WideString kBackupRootPrefix;  // "p8stp"

template <class Files>
class BasicRollback {
 public:
  struct RollbackLevel {
    // The directory being installed into, as passed to start.
    WideString targetDirectory;
    // The level's backup root, ending with "/"; empty without a target.
    WideString backupDirectory;
    // Every directory made by makeDirectoryTree, parents before children.
    std::vector<WideString> createdDirectories;
    // Files recorded with addRBFile, deleted on rollback.
    std::vector<WideString> createdFiles;
    // Existing directories of the target tree whose entries the level
    // changes, with their times before the change.
    std::vector<DirectoryTimes> changedDirectories;
    // Directories known to exist now, so each is looked up once.
    std::unordered_set<WideString> knownDirectories;
    std::unordered_set<WideString> knownBackupDirectories;
    std::unordered_set<WideString> timedDirectories;
  };

  // Pushes a level and creates its backup root: the first of "p8stp0",
  // "p8stp1", ... in the temporary directory that a plain mkdir can create,
  // so that two installations never share one. Returns 0, or 3 when the
  // temporary directory or the backup root cannot be made.
  uint32_t start(const WideString& targetDirectory);
  // Moves the existing file (or symbolic link) at `path`, inside the target
  // directory, to the same relative place in the backup tree. Returns 0 when
  // moved, also when the backup tree already holds that place (the first
  // saved version is kept and the file is left where it is); 2 when there is
  // no file; 3 when the level has no backup root or the backup directory
  // cannot be made; 87 for a path outside the target directory or a file
  // that is there but cannot be moved; else the mover's code.
  uint32_t storeRBFile(const WideString& path);
  // Creates a directory and its missing parents, recording every directory
  // created. Returns 0, or 3 when a level cannot be made.
  uint32_t makeDirectoryTree(const WideString& path);
  // The same inside the backup tree, recording nothing.
  uint32_t makeBackupDirectoryTree(const WideString& path);
  void addRBCatalog(const WideString& path);
  void addRBFile(const WideString& path);
  // Forgets the first created-file record equal to `path`.
  void removeRBFile(const WideString& path);
  // Commits the level: removes its backup tree. Always 0.
  uint32_t stop();
  // Undoes the level: restores the saved files, removes the backup tree,
  // then the created directories and files, then puts back the changed
  // directories' times. Every step is tried whatever failed before. Returns
  // `code` unchanged.
  uint32_t rollback(uint32_t code);
  // Moves every file of backup tree `backupDirectory` back to the same place
  // under `targetDirectory` (both ending with "/"); failures are skipped.
  void rollbackFiles(const WideString& targetDirectory, const WideString& backupDirectory);
  // Removes a directory with everything below it (links are not followed).
  // Always 0.
  uint32_t removeDirectoryTree(const WideString& path);

  // The innermost level (an empty one is opened when none was started).
  const RollbackLevel& level() { return current(); }

 private:
  RollbackLevel& current();
  // Creates the missing directories of `path`; `record` journals them and
  // the times of the target-tree directories they are made in.
  uint32_t createDirectoryChain(const WideString& path, bool record);
  bool insideTarget(const WideString& directory) const;
  void rememberDirectoryTimes(const WideString& directory);

  std::vector<RollbackLevel> m_levels;
};

#include "install/rollback_impl.h"

using Rollback = BasicRollback<FileSystem>;
