// The registry of this user's unfinished installations: one small file per
// run in the user's application-data directory ("pending/"), in the journal's
// format, naming the run's target directory, its backup root and the
// directories it made above the target. It lets the next start of the
// program find an interrupted installation whatever directory it proposes
// this time. `Files` is the Win32-style file layer. One thread at a time.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "install/journal_record.h"
#include "platform/file_system.h"

// The registry's directory, ending with "/".
std::string install_registry_directory();
// The entries in it (whole paths), leaving out entries being written.
std::vector<std::string> list_registry_entries(const std::string& directory);

template <class Files>
class BasicRegistryEntry {
 public:
  // Writes the entry of the run `header` describes, or rewrites it in one
  // step: the header, then a kMakeDirectory record for each of `made`, then
  // `times` (the times of the outermost directory the run changes: the one
  // they are made in, else the target) when it is a kDirectoryTimes record.
  // Returns once it is on the disk: 0 or the failing step's code.
  uint32_t write(const JournalRecord& header, const std::vector<std::string>& made,
                 const JournalRecord& times) {
    const std::string directory = install_registry_directory();
    uint32_t code = Files::CreateDirectory(widen_lib(directory));
    if (code != 0 && code != ERROR_ALREADY_EXISTS) return code;
    // The user's own business, whatever the umask made of it.
    if (code == 0) chmod(directory.c_str(), 0700);
    char name[40];
    std::snprintf(name, sizeof name, "install-%016llx",
                  static_cast<unsigned long long>(header.runId));
    m_path = directory + name;
    const std::string fresh = m_path + ".new";
    std::string bytes = journal_file_start();
    append_journal_record(bytes, header);
    for (const std::string& path : made) {
      JournalRecord record;
      record.type = JournalRecordType::kMakeDirectory;
      record.path = path;
      append_journal_record(bytes, record);
    }
    if (times.type == JournalRecordType::kDirectoryTimes) append_journal_record(bytes, times);
    Files::DeleteFile(widen_lib(fresh));
    HANDLE file = INVALID_HANDLE_VALUE;
    code = Files::CreateFile(widen_lib(fresh), GENERIC_WRITE, 0, CREATE_NEW, file);
    if (code != 0) return code;
    unsigned int written = 0;
    code = Files::SetFileMode(file, 0600);
    if (code == 0) {
      code = Files::WriteFile(file, bytes.data(), static_cast<uint32_t>(bytes.size()), &written,
                              nullptr);
    }
    if (code == 0) code = Files::FlushFileBuffers(file);
    Files::CloseHandle(file);
    if (code == 0) code = Files::MoveFile(widen_lib(fresh), widen_lib(m_path));
    if (code != 0) {
      Files::DeleteFile(widen_lib(fresh));
      return code;
    }
    HANDLE parent = INVALID_HANDLE_VALUE;
    if (Files::CreateFile(widen_lib(directory), GENERIC_READ, 0, OPEN_EXISTING, parent) == 0) {
      code = Files::FlushFileBuffers(parent);
      Files::CloseHandle(parent);
    }
    return code;
  }
  // Removes the entry written last, if any, and the registry's directory
  // when no other entry is left in it.
  void remove() {
    if (m_path.empty()) return;
    Files::DeleteFile(widen_lib(m_path));
    rmdir(install_registry_directory().c_str());
    m_path.clear();
  }

 private:
  std::string m_path;
};
