// Definitions of BasicInstaller (installer.h): the run, the dry run and the outcome.
// Included only where the engine is compiled for a file layer.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <unordered_map>
#include <unordered_set>

#include "install/installer.h"
#include "install/path_status.h"
#include "install/rollback_end_impl.h"
#include "platform/shell.h"
#include "text/failure_text.h"
#include "text/languages.h"

namespace installer_detail {

// Entries planned per batch, bounding the memory of a plan. A kit of up to
// this many entries is journaled with one flush before its first change, so
// that no flush during the copy waits for the data written so far.
constexpr size_t kBatchEntries = 32768;

}  // namespace installer_detail

template <class Kit, class Files>
uint32_t BasicInstaller<Kit, Files>::run(BasicInstallProcessData<Kit>* data) {
  m_data = data;
  Kit* kit = nullptr;
  m_data->get(kit, m_targetDirectory);
  m_log = m_data->log();
  m_dryRun = m_data->dryRun();
  m_counts = InstallCounts();
  m_euid = geteuid();
  m_egid = getegid();
  m_ownerKnown = false;
  if (m_log != nullptr) {
    this->setReplayReport(
        [this](const char* event, const std::string& path) { logEvent(event, path); });
  }
  if (m_dryRun) return dryRun(kit);

  const uint32_t startCode = this->start(m_targetDirectory);
  if (startCode != 0) return stopOnError(startCode, 0);

  countWork(kit);
  // The count is read again before every batch and entry, as the kit reader
  // is the authority on it. A cancel is looked at before every entry,
  // written or not, and between the blocks of the kit's data.
  std::vector<PlannedEntry> batch;
  for (uint32_t index = 0; kit != nullptr && index != kit->count();) {
    planBatch(*kit, index, batch);
    if (m_data->isCancelled()) return cancel();
    const uint32_t applied = this->applyPlan();
    if (applied != 0) return stopOnError(applied, m_published);
    for (const PlannedEntry& entry : batch) {
      if (m_data->isCancelled()) return cancel();
      const WideString path = publishedPath(*kit, entry.index);
      publishProgress(path, 0);
      uint32_t code = 0;
      if (entry.action == Action::kFail) {
        code = this->fail(entry.code, m_planFailure.path, m_planFailure.reason);
      } else if (entry.action == Action::kWrite) {
        code = writeEntry(*kit, entry, path);
      }
      if (code == ERROR_CANCELLED) return cancel();
      if (code != 0) return stopOnError(code, m_published);
      record(entry);
      m_doneWork += entry.size + 1;
    }
    index = batch.back().index + 1;
  }

  // The kit's data is read while it is installed: nothing is committed
  // before all of it has been found sound.
  if (kit != nullptr) {
    const uint32_t kitCode = kit->verify(observerFor(WideString()));
    if (kitCode == ERROR_CANCELLED) return cancel();
    if (kitCode != 0) return stopOnError(failInKit(*kit, kitCode, std::string()), m_published);
  }

  // Every entry is in place and on the disk: unless cancelled even now
  // (also while the disk catches up), the installation is committed and
  // success published; the saved versions are discarded during the pause
  // that lets the interface show the full bar.
  const uint32_t committed = this->stop([this] { return m_data->isCancelled(); });
  if (committed == ERROR_CANCELLED) return cancel();
  if (committed != 0) return stopOnError(committed, m_published);
  m_data->setInstallState(0, LoadResString("IDS_INSTALL_FINISH"), 100);
  const auto published = std::chrono::steady_clock::now();
  // The installation stands; what cannot be cleaned up is only a warning.
  for (const FailurePoint& left : this->discardBackup()) {
    const WideString detail = failure_detail(widen_lib(left.path), left.reason);
    logEvent("warning", narrow_lib(detail));
    m_data->addWarning(LoadResString("IDS_CLEANUP_WARNING") + u"\n" + detail);
  }
  const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - published);
  if (spent.count() < m_finalPause) Sleep(m_finalPause - static_cast<int>(spent.count()));
  return 0;
}

template <class Kit, class Files>
uint32_t BasicInstaller<Kit, Files>::dryRun(Kit* kit) {
  const uint32_t startCode = this->inspect(m_targetDirectory);
  if (startCode != 0) return stopOnError(startCode, 0);
  countWork(kit);
  // The times of the files the run would have written so far.
  std::unordered_map<std::string, _FILETIME> written;
  for (uint32_t index = 0; kit != nullptr && index != kit->count(); ++index) {
    if (m_data->isCancelled()) return cancel();
    PlannedEntry entry = decideEntry(*kit, index);
    const WideString path = publishedPath(*kit, index);
    publishProgress(path, 0);
    const auto earlierCopy = written.find(entry.name);
    if (earlierCopy != written.end() && entry.action != Action::kFail) {
      // A file named twice: decided as a run decides it once the first
      // copy is written.
      entry.replaces = true;
      entry.action = earlier(earlierCopy->second, entry.time) ? Action::kWrite : Action::kSkip;
    }
    if (entry.action == Action::kWrite) {
      // Planned in memory only: finds what stands in the way of its
      // directories, as a run's plan would.
      entry.code = this->planEntry(index, entry.name, entry.replaces, madeIdentity(entry));
      if (entry.code == 0) entry.code = this->checkWritable(entry.name);
      if (entry.code != 0) {
        entry.action = Action::kFail;
        m_planFailure = this->failure();
      }
    }
    if (entry.action == Action::kFail) {
      return stopOnError(this->fail(entry.code, m_planFailure.path, m_planFailure.reason),
                         m_published);
    }
    const uint32_t code = kit->passOver(index, observerFor(path));
    if (code == ERROR_CANCELLED) return cancel();
    if (code != 0) return stopOnError(failInKit(*kit, code, entry.name), m_published);
    m_doneWork += entry.size + 1;
    if (entry.action == Action::kWrite) written[entry.name] = entry.time;
    record(entry);
  }
  if (kit != nullptr) {
    const uint32_t kitCode = kit->verify(observerFor(WideString()));
    if (kitCode == ERROR_CANCELLED) return cancel();
    if (kitCode != 0) return stopOnError(failInKit(*kit, kitCode, std::string()), m_published);
  }
  m_data->setInstallState(0, LoadResString("IDS_INSTALL_FINISH"), 100);
  return 0;
}

template <class Kit, class Files>
void BasicInstaller<Kit, Files>::countWork(Kit* kit) {
  m_totalWork = 0;
  m_doneWork = 0;
  m_published = 0;
  for (uint32_t index = 0; kit != nullptr && index != kit->count(); ++index) {
    typename Kit::Entry entry;
    kit->get(index, entry);
    m_totalWork += uint64_t{entry.size} + 1;
  }
}

template <class Kit, class Files>
void BasicInstaller<Kit, Files>::record(const PlannedEntry& entry) {
  if (entry.action == Action::kWrite) {
    ++(entry.replaces ? m_counts.replaced : m_counts.created);
    m_counts.bytesWritten += entry.size;
    const char* done = entry.replaces ? "replaced" : "created";
    const char* planned = entry.replaces ? "would-replace" : "would-create";
    logEvent(m_dryRun ? planned : done, entry.name);
  } else {
    ++m_counts.unchanged;
    logEvent("kept", entry.name);
  }
  m_data->setCounts(m_counts);
}

template <class Kit, class Files>
void BasicInstaller<Kit, Files>::rollbackAndLog(uint32_t code) {
  // Announced only where the target has begun to change.
  if (this->changing()) m_data->setRollingBack(true);
  logEvent("rollback", "code=" + std::to_string(code));
  this->rollback(code);
  m_counts = InstallCounts();
  m_data->setCounts(m_counts);
}

template <class Kit, class Files>
void BasicInstaller<Kit, Files>::logEvent(const char* event, const std::string& text) {
  if (m_log != nullptr) m_log->write(event, text);
}

template <class Kit, class Files>
uint32_t BasicInstaller<Kit, Files>::cancel() {
  // A dry run has nothing to undo.
  if (m_dryRun) return ERROR_CANCELLED;
  rollbackAndLog(ERROR_CANCELLED);
  if (publishKeptBackupRoot()) m_data->setFailureDetail(lastFailureDetail());
  return ERROR_CANCELLED;
}

template <class Kit, class Files>
bool BasicInstaller<Kit, Files>::publishKeptBackupRoot() {
  if (this->keptBackupRoot().empty()) return false;
  m_data->setKeptBackupRoot(widen_lib(this->keptBackupRoot()));
  return true;
}

template <class Kit, class Files>
bool BasicInstaller<Kit, Files>::compareFiles(const WideString& path, const _FILETIME& time) {
  struct stat status;
  if (Files::StatusOfPath(narrow_lib(path), true, status) != 0) return true;
  return earlier(EpochToFileTime(static_cast<long>(status.st_mtim.tv_sec)), time);
}

template <class Kit, class Files>
uint32_t BasicInstaller<Kit, Files>::stopOnError(uint32_t code, uint32_t progress) {
  const FailurePoint& failure = this->failure();
  const uint32_t reason = failure.reason != 0 ? failure.reason : code;
  const WideString detail = failure_detail(widen_lib(failure.path), reason);
  // The headline says what happened; a path it names stands on a line of its
  // own, and the detail under it follows unless it would name that path again.
  WideString text;
  bool detailShown = true;
  if (code == ERROR_INVALID_DATA) {
    // Invalid data comes from the kit alone: the text says the kit is damaged.
    text = LoadResString("IDS_ERROR_DAMAGEDSOURCE");
  } else if (code == ERROR_SHARING_VIOLATION) {
    // Nothing failed: the target is busy, and that is all there is to say.
    text = LoadResString("IDS_TARGET_BUSY") + u"\n" + withoutFinalSeparators(m_targetDirectory);
    detailShown = false;
  } else if (!this->keptBackupRoot().empty()) {
    text = LoadResString("IDS_RECOVERY_FAILED") + u"\n" + widen_lib(this->keptBackupRoot());
    detailShown = failure.path != this->keptBackupRoot();
  } else if (!this->foreignBackupRoot().empty()) {
    text = LoadResString("IDS_FOREIGN_BACKUP_ROOT") + u"\n" + widen_lib(this->foreignBackupRoot());
    detailShown = failure.path != this->foreignBackupRoot();
  } else if (code == ERROR_PATH_NOT_FOUND &&
             (reason == ERROR_ALREADY_EXISTS || reason == ERROR_CANT_RESOLVE_FILENAME)) {
    // Only a file or link where a directory must be is "in the way"; a
    // directory that may not be written, or a full or failing disk, is not.
    const std::string& blocked = this->blocked().empty() ? failure.path : this->blocked();
    text = LoadResString("IDS_ERROR_NOTDIRECTORY") + u"\n" + widen_lib(blocked);
    detailShown = false;
  } else {
    text = LoadResString("IDS_INSTALL_ERROR") + u"\n" + LoadResString("IDS_TEMPLATE_CATALOG") +
           u"\n" + withoutFinalSeparators(m_targetDirectory);
  }
  m_data->setFailureDetail(code == ERROR_SHARING_VIOLATION ? WideString() : detail);
  m_data->setInstallState(code, detailShown ? text + u"\n" + detail : text,
                          static_cast<int32_t>(progress));
  logEvent("error", narrow_lib(detail) + " code=" + std::to_string(code));
  // A dry run has nothing to undo.
  if (m_dryRun) return code;
  const bool keptBefore = !this->keptBackupRoot().empty();
  rollbackAndLog(code);
  if (!keptBefore && publishKeptBackupRoot()) {
    const WideString unrestored = lastFailureDetail();
    logEvent("error", narrow_lib(unrestored) + " code=" + std::to_string(code));
    m_data->setFailureDetail(unrestored);
    m_data->setInstallState(code,
                            LoadResString("IDS_ROLLBACK_INCOMPLETE") + u"\n" +
                                widen_lib(this->keptBackupRoot()) + u"\n" + unrestored,
                            static_cast<int32_t>(progress));
  }
  return code;
}
