// Implementation of BasicInstaller; included by installer.h only.
#pragma once

#include "platform/shell.h"
#include "text/languages.h"

namespace installer_detail {

// The catalogue entry type of a kit reader.
template <class Compressor, class FS>
config::FileData<FS> entry_of(config::InstallData<Compressor, FS>* kit);

}  // namespace installer_detail

template <class Kit, class Files>
uint32_t BasicInstaller<Kit, Files>::run(BasicInstallProcessData<Kit>* data) {
  m_data = data;
  Kit* kit = nullptr;
  WideString targetDirectory;
  m_data->get(kit, targetDirectory);

  const uint32_t startCode = this->start(targetDirectory);
  if (startCode != 0) return stopOnError(startCode, 0);

  // The count is read again before every step, as the kit reader is the
  // authority on it.
  uint32_t progress = 0;
  for (uint32_t index = 0; kit != nullptr && index != kit->count(); ++index) {
    decltype(installer_detail::entry_of(kit)) entry;
    kit->get(index, entry);
    WideString path = targetDirectory + entry.name;
    replace_all(path, kBadPathSeparator, kPathSeparator);
    progress = static_cast<uint32_t>(static_cast<uint64_t>(index) * 100 / kit->count());
    m_data->setInstallState(0, path, static_cast<int32_t>(progress));

    bool written = false;
    const uint32_t code = installEntry(*kit, index, path, entry.time, written);
    if (code != 0) return stopOnError(code, progress);
    if (written && m_data->isCancelled()) return this->rollback(ERROR_CANCELLED);
  }

  // The kit's data is read while it is installed: nothing is committed
  // before all of it has been found sound.
  if (kit != nullptr) {
    const uint32_t kitCode = kit->verify();
    if (kitCode != 0) return stopOnError(kitCode, progress);
  }

  // Every entry is in place: the saved versions are discarded, then success
  // is published, and the pause lets the interface show the full bar.
  this->stop();
  m_data->setInstallState(0, LoadResString("IDS_INSTALL_FINISH"), 100);
  Sleep(m_finalPause);
  return 0;
}

template <class Kit, class Files>
uint32_t BasicInstaller<Kit, Files>::installEntry(Kit& kit, uint32_t index, const WideString& path,
                                                  const _FILETIME& time, bool& written) {
  // One status query decides everything about what is there now.
  const PathStatus existing = query_path(path, false);
  // A directory (with the user's files in it), a device or a pipe is never
  // moved aside or written over.
  if (existing.kind == PathKind::kDirectory || existing.kind == PathKind::kOther) {
    return ERROR_ALREADY_EXISTS;
  }
  bool present = existing.kind != PathKind::kMissing;
  if (present) {
    const PathStatus compared =
        existing.kind == PathKind::kSymbolicLink ? query_path(path, true) : existing;
    if (compared.kind != PathKind::kMissing && !earlier(compared.lastWrite, time)) return 0;

    // A file this run wrote already (the kit names it twice) has no earlier
    // version to save: the journal holds that one since the first time.
    if (m_writtenFiles.count({existing.device, existing.inode}) == 0) {
      const uint32_t code = this->storeRBFile(path);
      // Never write over a file that could not be saved.
      if (code == ERROR_FILE_NOT_FOUND) {
        present = false;
      } else if (code != 0) {
        return code;
      }
    }
  }

  const size_t slash = path.rfind(u'/');
  const uint32_t directoryCode =
      this->makeDirectoryTree(slash == WideString::npos ? path : path.substr(0, slash));
  if (directoryCode != 0) return directoryCode;

  // Recorded before the copy, so that a half-written file is removed too.
  if (!present) this->addRBFile(path);
  const uint32_t copyCode = kit.copy(index, path);
  if (copyCode != 0) return copyCode;
  written = true;
  const PathStatus result = query_path(path, false);
  m_writtenFiles.insert({result.device, result.inode});
  return 0;
}

template <class Kit, class Files>
bool BasicInstaller<Kit, Files>::compareFiles(const WideString& path, const _FILETIME& time) {
  const PathStatus status = query_path(path, true);
  return status.kind == PathKind::kMissing || earlier(status.lastWrite, time);
}

template <class Kit, class Files>
uint32_t BasicInstaller<Kit, Files>::stopOnError(uint32_t code, uint32_t progress) {
  // Invalid data comes from the kit alone: the text says the kit is damaged.
  const char* text = code == ERROR_INVALID_DATA ? "IDS_ERROR_DAMAGEDSOURCE" : "IDS_INSTALL_ERROR";
  m_data->setInstallState(code, LoadResString(text), static_cast<int32_t>(progress));
  return this->rollback(code);
}
