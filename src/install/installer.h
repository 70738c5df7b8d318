// The installation run: copies every kit entry that is missing or older into
// the target directory, journalling what it replaces and creates, publishes
// its progress through the shared process state, and ends by committing the
// journal or by rolling everything back. Runs on the install worker thread;
// one run per object. `Kit` is the kit reader and `Files` the Win32-style
// file layer (tests instantiate both with failure-injecting file layers).
#pragma once

#include <cstdint>
#include <set>
#include <utility>

#include "install/install_process_data.h"
#include "install/rollback.h"
#include "platform/win32_types.h"
#include "text/wide_string.h"

template <class Kit, class Files>
class BasicInstaller : public BasicRollback<Files> {
 public:
  // `finalPauseMilliseconds`: how long a successful run lasts after
  // publishing its success (the backup tree is removed meanwhile), so that
  // the interface shows the full bar.
  explicit BasicInstaller(int finalPauseMilliseconds = 1000)
      : m_finalPause(finalPauseMilliseconds) {}

  // The whole installation. Returns 0 on success, 1223 after a cancel, else
  // the failing step's code (the error state has then been published and the
  // journal rolled back).
  uint32_t run(BasicInstallProcessData<Kit>* data);
  // True when an entry with time stamp `time` must be written over `path`:
  // the file is missing or unreadable, or its last-write time (whole
  // seconds) is earlier.
  bool compareFiles(const WideString& path, const _FILETIME& time);
  // Publishes the error state with `progress` (the damaged-kit text for
  // invalid data, else the installation-error text), rolls back, returns
  // `code`.
  uint32_t stopOnError(uint32_t code, uint32_t progress);

 private:
  // Writes entry `index` to `path` unless the installed file is as new.
  // Returns 0 or the failing step's code; `written` tells whether a file was
  // written.
  uint32_t installEntry(Kit& kit, uint32_t index, const WideString& path, const _FILETIME& time,
                        bool& written);

  BasicInstallProcessData<Kit>* m_data = nullptr;
  int m_finalPause;
  // Device and inode of every file this run wrote, so that a kit naming one
  // file twice (under any spelling) never moves the run's own output over
  // the saved original.
  std::set<std::pair<dev_t, ino_t>> m_writtenFiles;
};

using Installer = BasicInstaller<KitReader, FileSystem>;

#include "install/installer_impl.h"
