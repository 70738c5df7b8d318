#include "install/recovery.h"

#include <sys/stat.h>
#include <unistd.h>

#include "config/config_locations.h"
#include "install/install_registry.h"
#include "install/journal_replay.h"
#include "install/target_lock.h"
#include "platform/path_parts.h"

namespace {

bool starts_with(const std::string& text, const std::string& head) {
  return text.compare(0, head.size(), head) == 0;
}

// An absolute path of plain components ("/a/b/" with `slash`, "/a/b" without).
bool plain_absolute(const std::string& path, bool slash) {
  if (path.size() < 2 || path[0] != '/' || (path.back() == '/') != slash) return false;
  const std::string body = slash ? path.substr(1, path.size() - 2) : path.substr(1);
  for (size_t start = 0; start <= body.size();) {
    size_t end = body.find('/', start);
    if (end == std::string::npos) end = body.size();
    const std::string component = body.substr(start, end - start);
    if (component.empty() || component == "." || component == "..") return false;
    start = end + 1;
  }
  return true;
}

// Where a run puts its backup root: in its target, else as "p8stpN" in the
// temporary directory; none yet while it makes the target.
bool possible_backup_root(const std::string& target, const std::string& backupRoot) {
  if (backupRoot.empty() || backupRoot == target + kBackupRootName + "/") return true;
  WideString temporary;
  FileSystem::GetTempPath(temporary);
  const std::string base = narrow_lib(temporary) + "p8stp";
  if (!starts_with(backupRoot, base) || backupRoot.size() < base.size() + 2) return false;
  const std::string number = backupRoot.substr(base.size(), backupRoot.size() - base.size() - 1);
  return backupRoot.back() == '/' && number.find_first_not_of("0123456789") == std::string::npos;
}

// Whether the registry entry `records` is one a run writes: a header with a
// target and a possible backup root, then directories made at or above the
// target, then at most the times of the one they were made in (of the
// target when none was made).
bool well_formed_entry(const std::vector<JournalRecord>& records) {
  const JournalRecord& header = records.front();
  if (!plain_absolute(header.path, true) || !possible_backup_root(header.path, header.backupRoot)) {
    return false;
  }
  std::string outermost = header.path.substr(0, header.path.size() - 1);
  bool made = false;
  for (size_t i = 1; i < records.size(); ++i) {
    const JournalRecord& record = records[i];
    if (record.type == JournalRecordType::kMakeDirectory) {
      if (!plain_absolute(record.path, false) || !starts_with(header.path, record.path + "/"))
        return false;
      if (!made || record.path.size() < outermost.size()) outermost = record.path;
      made = true;
    } else if (record.type == JournalRecordType::kDirectoryTimes) {
      const std::string expected = made ? splitPath(outermost).parent : outermost;
      if (i + 1 != records.size() || record.path != (expected.empty() ? "/" : expected))
        return false;
    } else {
      return false;
    }
  }
  return true;
}

// The proposed target as runs spell it, ending with "/" ("" for none).
std::string target_spelled(const WideString& proposedTarget) {
  std::string target = narrow_lib(proposedTarget);
  if (!target.empty() && target.back() != '/') target += '/';
  return target;
}

RecoveryNote passed_over(const std::string& path, uint32_t reason) {
  RecoveryNote note;
  note.passedOver = widen_lib(path);
  note.reason = reason;
  return note;
}

// Undoes what `backupRoot` holds for `target` (of the run `runId` unless
// 0); a note when there was an interrupted installation or a stranger's
// backup root. True when nothing of the run is left there.
bool recoverTarget(const std::string& target, const std::string& backupRoot, uint64_t runId,
                   int lockWait, std::vector<RecoveryNote>& notes) {
  TargetLock lock;
  // A target that is gone has nothing left to put back.
  struct stat status;
  if (FileSystem::StatusOfPath(target, true, status) != 0) return true;
  // Held by a running installation: that one is not interrupted.
  if (lock.acquire(target, lockWait) != 0) return false;
  RecoveryDetail detail;
  const RecoveryOutcome outcome =
      recover_backup_root<FileSystem>(target, lock.handle(), backupRoot, runId, detail);
  if (outcome == RecoveryOutcome::kNothing) return true;
  if (outcome == RecoveryOutcome::kForeign) {
    notes.push_back(passed_over(backupRoot, detail.reason));
    return false;
  }
  RecoveryNote note;
  note.target = widen_lib(target);
  note.undone = outcome == RecoveryOutcome::kUndone;
  note.leftAlone = detail.leftAlone;
  if (!note.undone) note.keptBackupRoot = widen_lib(backupRoot);
  notes.push_back(note);
  return note.undone;
}

}  // namespace

std::vector<RecoveryNote> recover_interrupted_installations(const WideString& proposedTarget,
                                                            int lockWaitMilliseconds) {
  std::vector<RecoveryNote> notes;
  const std::string registry = install_registry_directory();
  std::string home = narrow_lib(home_dir());
  while (!home.empty() && home.back() == '/') home.pop_back();
  std::vector<RegistryEntry> entries;
  const uint32_t trusted = read_registry_entries(registry, entries);
  if (trusted != 0) notes.push_back(passed_over(registry, trusted));
  for (const RegistryEntry& entry : entries) {
    if (entry.code != 0 || !well_formed_entry(entry.records)) {
      notes.push_back(passed_over(entry.path, entry.code != 0 ? entry.code : ERROR_BAD_FORMAT));
      continue;
    }
    const JournalRecord& header = entry.records.front();
    if (!recoverTarget(header.path, header.backupRoot, header.runId, lockWaitMilliseconds, notes))
      continue;
    // The directories the run made above its target, deepest first; any
    // that holds something now stays. Then the times of the outermost
    // directory it changed.
    FileSystem::DeleteFileAt(INVALID_HANDLE_VALUE, entry.path);
    FileSystem::RemoveDirectoryAt(INVALID_HANDLE_VALUE, registry);
    std::vector<std::string> made;
    JournalRecord times;
    for (const JournalRecord& record : entry.records) {
      if (record.type == JournalRecordType::kMakeDirectory) made.push_back(record.path);
      if (record.type == JournalRecordType::kDirectoryTimes) times = record;
    }
    remove_made_directories<FileSystem>(made, times);
  }
  // Also when a run could not remove it, or was killed before: with nothing
  // left in it, the registry goes, and so do the application's directories
  // above it that hold nothing else.
  if (trusted == 0) {
    // Never the home directory itself ("HOME/" is one longer than HOME).
    for (std::string directory = registry; directory.size() > home.size() + 1;
         directory = splitPath(directory).parent + "/") {
      if (FileSystem::RemoveDirectoryAt(INVALID_HANDLE_VALUE, directory) != 0) break;
    }
  }
  const std::string target = target_spelled(proposedTarget);
  if (!target.empty()) {
    recoverTarget(target, target + kBackupRootName + "/", 0, lockWaitMilliseconds, notes);
  }
  return notes;
}

bool interrupted_installation_pending(const WideString& proposedTarget) {
  std::vector<RegistryEntry> entries;
  read_registry_entries(install_registry_directory(), entries, false);
  for (const RegistryEntry& entry : entries) {
    if (entry.code == 0 && well_formed_entry(entry.records)) return true;
  }
  const std::string target = target_spelled(proposedTarget);
  if (target.empty()) return false;
  struct stat status;
  return FileSystem::StatusOfPath(target + kBackupRootName + "/" + kJournalFileName, false,
                                  status) == 0;
}
