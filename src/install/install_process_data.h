// The state shared by the dialog and the install worker: the opened kit, the
// target directory, the cancel request and the published state (error code,
// message, progress). Every operation holds one semaphore for its own few
// assignments, so any thread may call any operation and every read is one
// consistent snapshot.
#pragma once

#include <cstdint>
#include <vector>

#include "install/install_counts.h"
#include "install/install_log.h"
#include "install/semaphore_mutex.h"
#include "kit/install_data.h"
#include "kit/lz_compressor.h"
#include "platform/file_system.h"
#include "text/wide_string.h"

template <class Kit>
class BasicInstallProcessData {
 public:
  BasicInstallProcessData() = default;
  BasicInstallProcessData(const BasicInstallProcessData&) = delete;
  BasicInstallProcessData& operator=(const BasicInstallProcessData&) = delete;

  // Resets the cancel flag, error code, progress, counts and kept backup
  // root (not the message, the log or the dry-run flag, which may be set
  // before or after), and stores the kit and the directory; a non-empty directory gets a trailing
  // "/" unless it already ends with "/" or "\".
  void init(Kit* kit, const WideString& targetDirectory) {
    SemaphoreGuard guard(m_lock);
    m_cancel = false;
    m_errorCode = 0;
    m_progress = 0;
    m_keptBackupRoot.clear();
    m_failureDetail.clear();
    m_warnings.clear();
    m_rollingBack = false;
    m_counts = InstallCounts();
    m_kit = kit;
    m_targetDirectory = targetDirectory;
    if (!m_targetDirectory.empty() && !endsWithPathSeparator(m_targetDirectory)) {
      m_targetDirectory += kPathSeparator;
    }
  }

  void get(Kit*& kit, WideString& targetDirectory) {
    SemaphoreGuard guard(m_lock);
    kit = m_kit;
    targetDirectory = m_targetDirectory;
  }

  void setInstallState(uint32_t errorCode, const WideString& message, int32_t progress) {
    SemaphoreGuard guard(m_lock);
    m_errorCode = errorCode;
    m_message = message;
    m_progress = progress;
  }

  void getInstallState(uint32_t& errorCode, WideString& message, int32_t& progress) {
    SemaphoreGuard guard(m_lock);
    errorCode = m_errorCode;
    message = m_message;
    progress = m_progress;
  }

  // What the interface shows of the run, read under one lock: one
  // consistent state, never half of one and half of the next.
  struct Published {
    uint32_t errorCode = 0;
    WideString message;
    int32_t progress = 0;
    WideString keptBackupRoot;
    WideString failureDetail;
    bool rollingBack = false;
  };
  Published published() {
    SemaphoreGuard guard(m_lock);
    return {m_errorCode, m_message, m_progress, m_keptBackupRoot, m_failureDetail, m_rollingBack};
  }

  // Where the saved versions of the user's files are kept after a rollback
  // that could not put everything back; empty otherwise.
  void setKeptBackupRoot(const WideString& directory) {
    SemaphoreGuard guard(m_lock);
    m_keptBackupRoot = directory;
  }
  WideString keptBackupRoot() {
    SemaphoreGuard guard(m_lock);
    return m_keptBackupRoot;
  }

  // What failed and why ("path: reason"), published before the error state;
  // empty while nothing has failed.
  void setFailureDetail(const WideString& detail) {
    SemaphoreGuard guard(m_lock);
    m_failureDetail = detail;
  }
  WideString failureDetail() {
    SemaphoreGuard guard(m_lock);
    return m_failureDetail;
  }

  // What a successful run could not clean up after its commit, one text a
  // warning (the installation stands all the same).
  void addWarning(const WideString& warning) {
    SemaphoreGuard guard(m_lock);
    m_warnings.push_back(warning);
  }
  std::vector<WideString> warnings() {
    SemaphoreGuard guard(m_lock);
    return m_warnings;
  }

  // True while a failed or cancelled run puts the previous version back.
  void setRollingBack(bool rollingBack) {
    SemaphoreGuard guard(m_lock);
    m_rollingBack = rollingBack;
  }
  bool rollingBack() {
    SemaphoreGuard guard(m_lock);
    return m_rollingBack;
  }

  // Where the run logs its events; null (the default) for no log. The log
  // outlives the run.
  void setLog(InstallLog* log) {
    SemaphoreGuard guard(m_lock);
    m_log = log;
  }
  InstallLog* log() {
    SemaphoreGuard guard(m_lock);
    return m_log;
  }

  // A dry run decides and reports what it would do and changes nothing.
  void setDryRun(bool dryRun) {
    SemaphoreGuard guard(m_lock);
    m_dryRun = dryRun;
  }
  bool dryRun() {
    SemaphoreGuard guard(m_lock);
    return m_dryRun;
  }

  // What the run has done so far (would do, in a dry run); after a rollback
  // all zero, as nothing it did stays.
  InstallCounts counts() {
    SemaphoreGuard guard(m_lock);
    return m_counts;
  }
  void setCounts(const InstallCounts& counts) {
    SemaphoreGuard guard(m_lock);
    m_counts = counts;
  }

  void setCancel(bool cancel) {
    SemaphoreGuard guard(m_lock);
    m_cancel = cancel;
  }

  bool isCancelled() {
    SemaphoreGuard guard(m_lock);
    return m_cancel;
  }

 private:
  SemaphoreMutex m_lock;
  Kit* m_kit = nullptr;
  WideString m_targetDirectory;
  bool m_cancel = false;
  uint32_t m_errorCode = 0;
  WideString m_message;
  int32_t m_progress = 0;
  WideString m_keptBackupRoot;
  WideString m_failureDetail;
  std::vector<WideString> m_warnings;
  bool m_rollingBack = false;
  InstallLog* m_log = nullptr;
  bool m_dryRun = false;
  InstallCounts m_counts;
};

// The kit reader the program installs from.
using KitReader = config::InstallData<LZCompressor, FileSystem>;
using InstallProcessData = BasicInstallProcessData<KitReader>;
