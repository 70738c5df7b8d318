// The registry of this user's unfinished installations: one small file per
// run in the user's application-data directory ("pending/"), in the journal's
// format, naming the run's target directory, its backup root and the
// directories it made above the target. It lets the next start of the
// program find an interrupted installation whatever directory it proposes
// this time. The registry is only used when it is a real directory of the
// effective user that no one else may write, and its entries are read as
// untrusted input. `Files` is the Win32-style file layer. One thread at a
// time.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "install/journal_file.h"
#include "install/journal_record.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "platform/owned_file.h"
#include "platform/path_parts.h"

// The registry's directory, ending with "/".
std::string install_registry_directory();
// 0 when `directory` is missing or a directory of the effective user that
// no one else may write (check_owned), else check_owned's code (a link at
// its place is another kind of file: 222).
uint32_t check_registry_directory(const std::string& directory);

// One registry entry found at start, read or passed over.
struct RegistryEntry {
  std::string path;
  std::vector<JournalRecord> records;  // the header first, when read
  uint32_t code = 0;                   // 0 when read, else why it was passed over
};
// Reads the entries of the registry `directory` (whole paths, sorted), each
// within kMaxRegistryEntryBytes, after the temporaries of entries that
// writers killed meanwhile left there are removed when `tidy`.
// 0 (also when there is no registry), or check_owned's code for a registry
// that may not be used, which is then not read.
uint32_t read_registry_entries(const std::string& directory, std::vector<RegistryEntry>& entries,
                              bool tidy = true);

template <class Files>
class BasicRegistryEntry {
 public:
  // Writes the entry of the run `header` describes, or rewrites it in one
  // step: the header, then a kMakeDirectory record for each of `made`, then
  // `times` (the times of the outermost directory the run changes: the one
  // they are made in, else the target) when it is a kDirectoryTimes record.
  // Returns once it is on the disk: 0 or the failing step's code (that of
  // check_registry_directory for a registry that may not be used).
  uint32_t write(const JournalRecord& header, const std::vector<std::string>& made,
                 const JournalRecord& times) {
    const std::string directory = install_registry_directory();
    uint32_t code = makeDirectory(directory);
    if (code != 0) return code;
    char name[40];
    std::snprintf(name, sizeof name, "install-%016llx",
                  static_cast<unsigned long long>(header.runId));
    m_path = directory + name;
    std::string bytes = journal_file_start();
    append_journal_record(bytes, header);
    for (const std::string& path : made) {
      JournalRecord record;
      record.type = JournalRecordType::kMakeDirectory;
      record.path = path;
      append_journal_record(bytes, record);
    }
    if (times.type == JournalRecordType::kDirectoryTimes) append_journal_record(bytes, times);
    // A temporary beside it, on the disk before it takes the entry's name.
    return replaceFileWhole<Files>(m_path, bytes, 0600);
  }
  // Removes the entry written last, if any, then the registry's directory
  // and the directories made for it when nothing else is left in them.
  // 0, or the code of why the entry could not be removed.
  uint32_t remove() {
    uint32_t code = 0;
    if (!m_path.empty()) {
      code = Files::DeleteFileAt(INVALID_HANDLE_VALUE, m_path);
      if (code == ERROR_FILE_NOT_FOUND) code = 0;
      m_path.clear();
    }
    Files::RemoveDirectoryAt(INVALID_HANDLE_VALUE, install_registry_directory());
    for (auto made = m_madeDirectories.rbegin(); made != m_madeDirectories.rend(); ++made) {
      Files::RemoveDirectoryAt(INVALID_HANDLE_VALUE, *made);
    }
    m_madeDirectories.clear();
    return code;
  }
  // The entry's path while it exists.
  const std::string& path() const { return m_path; }

 private:
  // Makes the registry's directory and its missing parents, private, and
  // remembers those made; an existing one must pass check_registry_directory.
  uint32_t makeDirectory(const std::string& directory) {
    std::vector<std::string> missing;
    for (std::string path = directory.substr(0, directory.size() - 1); path.size() > 1;
         path = splitPath(path).parent) {
      struct stat status;
      if (Files::StatusOfPath(path, false, status) == 0) break;
      missing.insert(missing.begin(), path);
    }
    for (const std::string& path : missing) {
      // The registry itself is private; the directories above it are the
      // application's, made as any other.
      const uint32_t mode = &path == &missing.back() ? 0700 : 0777;
      const uint32_t code = Files::CreateDirectoryAt(INVALID_HANDLE_VALUE, path, mode);
      if (code == 0) m_madeDirectories.push_back(path);
      if (code != 0 && code != ERROR_ALREADY_EXISTS) return code;
    }
    return check_registry_directory(directory);
  }

  std::string m_path;
  std::vector<std::string> m_madeDirectories;
};
