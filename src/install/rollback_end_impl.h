// Definitions of BasicRollback (rollback.h): the commit, the cleanup and the undo.
// Included only where the engine is compiled for a file layer.
#pragma once

#include "install/rollback_plan_impl.h"

template <class Files>
uint32_t BasicRollback<Files>::stop(const std::function<bool()>& cancelled) {
  // The flushes ahead are over before anything of the commit.
  m_earlyFlush.end();
  // A cancel counts until the commit: before it, and once the disk has
  // caught up.
  if (cancelled && cancelled()) return ERROR_CANCELLED;
  if (m_backupRoot.empty()) return 0;
  // The new directories, complete, take their names; then every new file
  // and every rename is on the disk, and then the journal goes: from here
  // on, the installation stands.
  uint32_t code = revealDirectories();
  if (code != 0) return code;
  code = Files::FlushFileSystem(m_lock.handle());
  if (code != 0) return fail(code, m_target);
  if (cancelled && cancelled()) return ERROR_CANCELLED;
  m_journalFile.close();
  // Only a commit known to be on the disk is one: otherwise the next start
  // could undo an installation the user was told had succeeded.
  const uint32_t committed = m_backup.commit();
  return committed == 0 ? 0 : fail(committed, m_backupRoot + kJournalFileName);
}

template <class Files>
void BasicRollback<Files>::closeBackupRoot() {
  m_savedWalker.clear();
  if (m_savedHandle != INVALID_HANDLE_VALUE) Files::CloseHandle(m_savedHandle);
  m_savedHandle = INVALID_HANDLE_VALUE;
}

template <class Files>
std::vector<FailurePoint> BasicRollback<Files>::discardBackup() {
  std::vector<FailurePoint> left;
  if (!m_backupRoot.empty()) {
    // The run's own records, not a copy of them: they may be many.
    for (const std::string& name :
         remove_earlier_versions<Files>(m_runId, m_records, m_lock.handle())) {
      left.push_back({ERROR_ACCESS_DENIED, name});
    }
  }
  closeBackupRoot();
  m_targetWalker.clear();
  // With an earlier version left, the committed journal and the registry
  // entry stay, so that the next start finds and removes it.
  if (left.empty()) {
    std::string failed;
    const uint32_t discarded = m_backup.discard(failed);
    if (discarded != 0) left.push_back({discarded, m_backupRoot + failed});
    const std::string entry = m_registry.path();
    const uint32_t unregistered = m_registry.remove();
    if (unregistered != 0) left.push_back({unregistered, entry});
  }
  m_backup.close();
  m_lock.release();
  m_started = false;
  return left;
}

template <class Files>
uint32_t BasicRollback<Files>::rollback(uint32_t code) {
  m_earlyFlush.end();
  if (!m_started) {
    m_registry.remove();
    return code;
  }
  m_journalFile.close();
  closeBackupRoot();
  m_targetWalker.clear();
  const std::vector<JournalRecord> records = journal();
  const std::vector<std::string> unrestored =
      m_backupRoot.empty()
          ? std::vector<std::string>()
          : replay_journal<Files>(records, m_lock.handle(), m_backup.handle(), m_report).unrestored;
  if (!unrestored.empty()) {
    m_kept = m_backupRoot;
    m_backup.close();
    fail(code, unrestored.front(), ERROR_RECOVERY_FAILURE);
  } else {
    if (!m_backupRoot.empty()) {
      Files::FlushFileSystem(m_lock.handle());
      // While the journal still names them; removing the backup root then
      // changes only the target's own times, which the registry holds.
      restore_journal_times<Files>(records, m_lock.handle());
      std::string failed;
      m_backup.discard(failed);
    }
    removeMadeAboveTarget();
  }
  m_lock.release();
  m_started = false;
  return code;
}

template <class Files>
void BasicRollback<Files>::removeMadeAboveTarget() {
  // Before the registry entry that names them goes; those that hold the
  // registry's own directory, once it is gone.
  remove_made_directories<Files>(m_madeAboveTarget, m_aboveTimes);
  m_registry.remove();
  remove_made_directories<Files>(m_madeAboveTarget, m_aboveTimes);
  m_madeAboveTarget.clear();
}
