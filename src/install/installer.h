// The installation run: copies every kit entry that is missing or older into
// the target directory, journalling what it replaces and creates, publishes
// its progress through the shared process state, and ends by committing the
// journal or by rolling everything back. Entries are taken in batches: the
// changes of a batch are planned and journaled with one flush to the disk,
// then carried out. Runs on the install worker thread; one run per object.
// `Kit` is the kit reader and `Files` the Win32-style file layer (tests
// instantiate both with failure-injecting file layers). With the process
// state's log set, every entry's action, the failure, the rollback and what
// it put back are logged; the counts are published as the run goes. A dry
// run decides and checks every entry the same way and changes nothing.
// Declarations and contracts; the definitions (installer_run_impl.h,
// installer_entry_impl.h) are compiled once per file layer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "install/install_process_data.h"
#include "install/rollback.h"
#include "platform/win32_types.h"
#include "text/wide_string.h"

template <class Kit, class Files>
class BasicInstaller : public BasicRollback<Files> {
 public:
  // `finalPauseMilliseconds`: how long a successful run lasts at least after
  // publishing its success (the saved versions are removed meanwhile), so
  // that the interface shows the full bar.
  explicit BasicInstaller(int finalPauseMilliseconds = 1000)
      : m_finalPause(finalPauseMilliseconds) {}

  // The whole installation. Returns 0 on success, 1223 after a cancel, else
  // the failing step's code (the error state has then been published and the
  // journal rolled back). The log and the dry-run flag are read when it
  // starts.
  uint32_t run(BasicInstallProcessData<Kit>* data);
  // True when an entry with time stamp `time` must be written over `path`:
  // the file is missing or unreadable, or its last-write time (whole
  // seconds) is earlier.
  bool compareFiles(const WideString& path, const _FILETIME& time);
  // Publishes the error state with `progress`: the text for the case, a
  // line break and the failure's detail ("path: reason", from failure()),
  // which is also published on its own (but for a busy target, whose text
  // names the directory and the reason); rolls back, returns `code`. When
  // the rollback cannot put everything back, the state says where the
  // saved versions are kept and which file could not be restored.
  uint32_t stopOnError(uint32_t code, uint32_t progress);

 private:
  enum class Action { kSkip, kWrite, kFail };
  // Permission bits of a new file, before the umask.
  static constexpr uint32_t kNewFileMode = 0660;
  struct PlannedEntry {
    uint32_t index = 0;
    // A replaced file's permission bits, owner and group, which the new
    // one takes.
    bool keepMode = false;
    uint32_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
    // The file replaced, as found.
    FileIdentity old;
    Action action = Action::kSkip;
    // A write over a file that is there.
    bool replaces = false;
    uint32_t code = 0;
    std::string name;  // target-relative, "/" separators
    uint64_t size = 0;
    _FILETIME time{};  // the entry's
  };

  // Plans the entries from `first` on, up to a batch's worth of writing or
  // the first failing entry, into `batch`.
  void planBatch(Kit& kit, uint32_t first, std::vector<PlannedEntry>& batch);
  // Decides what entry `index` needs: nothing, a write (its code 1 when it
  // replaces a file) or a failure, whose place it keeps in m_planFailure.
  PlannedEntry decideEntry(Kit& kit, uint32_t index);
  // Entry `index`'s path as published: the target directory and the kit's
  // name with "/" separators.
  WideString publishedPath(const Kit& kit, uint32_t index) const;
  // Rolls back after a cancel; returns 1223.
  uint32_t cancel();
  // The dry run: decides every entry as run does, checks that it could be
  // written and reads the kit through, counting and logging what would be
  // done; publishes success or the failure as run does. Nothing on the disk
  // changes.
  uint32_t dryRun(Kit* kit);
  // Sums the work of the kit's entries for the progress.
  void countWork(Kit* kit);
  // Counts and logs what was done (or would be) with a kept or written entry.
  void record(const PlannedEntry& entry);
  // Logs the rollback with `code`, rolls back (what is put back is logged
  // too) and clears the counts, as nothing the run did stays.
  void rollbackAndLog(uint32_t code);
  void logEvent(const char* event, const std::string& text);
  // Records a failure of the kit reader at `entry`: damage at the entry's
  // name, else the kit's file that failed, else the entry's file.
  uint32_t failInKit(const Kit& kit, uint32_t code, const std::string& entry);
  // Publishes `path` and the progress of the finished entries plus
  // `entryWork` of the current one; below 100 until the run has succeeded.
  void publishProgress(const WideString& path, uint64_t entryWork);
  // The percentage done with `entryWork` of the current entry, at most 99.
  uint32_t shareDone(uint64_t entryWork) const;
  // "path: reason" of the failure recorded last.
  WideString lastFailureDetail() const;
  // The kit reader's observer for `path`: publishes the progress and stops
  // the work once a cancel is requested.
  std::function<bool(uint64_t)> observerFor(const WideString& path);
  // Tells the process state where the saved versions are kept, when a
  // rollback could not put everything back; true then.
  bool publishKeptBackupRoot();
  // Writes the entry under its temporary name and renames it into place;
  // `path` is the entry's published path, which its progress names.
  uint32_t writeEntry(Kit& kit, const PlannedEntry& entry, const WideString& path);
  // Gives the new file `output` of `directory` the owner and group it is to
  // have: a replaced file's; when the run is root's, those of the directory
  // it is made in, so that a user's tree stays the user's.
  uint32_t giveOwner(HANDLE directory, HANDLE output, const PlannedEntry& entry);
  // The size and time the entry's file is given, as the journal records it.
  static FileIdentity madeIdentity(const PlannedEntry& entry);

  BasicInstallProcessData<Kit>* m_data = nullptr;
  // Progress counts the kit's bytes, and one for each entry so that empty
  // files count too: the whole kit's, the finished entries' and the share
  // last published.
  uint64_t m_totalWork = 0;
  uint64_t m_doneWork = 0;
  uint32_t m_published = 0;
  InstallLog* m_log = nullptr;
  bool m_dryRun = false;
  InstallCounts m_counts;
  WideString m_targetDirectory;
  // Where the entry planned to fail last failed; a batch ends at its first
  // failing entry.
  FailurePoint m_planFailure;
  // The run's effective user and group, and the owner and group of the
  // directory (target-relative, with its "/") that new files went to last.
  uid_t m_euid = 0;
  gid_t m_egid = 0;
  bool m_ownerKnown = false;
  std::string m_ownerDirectory;
  uid_t m_directoryOwner = 0;
  gid_t m_directoryGroup = 0;
  int m_finalPause;
};

using Installer = BasicInstaller<KitReader, FileSystem>;

// Compiled once for the program's file layer (engine.cpp).
extern template class BasicInstaller<KitReader, FileSystem>;
