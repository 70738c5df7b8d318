// Writing and reading a journal file (format in journal_record.h). Records
// are gathered in memory and written with one write and one flush per batch,
// so a whole batch of changes costs one trip to the disk; a record reaches
// the disk before the change it describes. `Files` is the Win32-style file
// layer. One thread at a time.
#pragma once

#include <string>
#include <vector>

#include "install/journal_record.h"
#include "platform/file_system.h"

template <class Files>
class BasicJournalFile {
 public:
  BasicJournalFile() = default;
  ~BasicJournalFile() { close(); }
  BasicJournalFile(const BasicJournalFile&) = delete;
  BasicJournalFile& operator=(const BasicJournalFile&) = delete;

  // Creates the file `name` in `directory`, which must not hold it yet
  // (never through a link), readable by its owner alone, with the version
  // word and `header`, and flushes it. 0 or the failing step's code.
  uint32_t create(HANDLE directory, const std::string& name, const JournalRecord& header) {
    close();
    const uint32_t code = Files::CreateFileAt(directory, name, 0600, m_handle);
    if (code != 0) {
      m_handle = INVALID_HANDLE_VALUE;
      return code;
    }
    m_pending = journal_file_start();
    add(header);
    return flush();
  }
  void add(const JournalRecord& record) { append_journal_record(m_pending, record); }
  bool hasPending() const { return !m_pending.empty(); }
  // Writes the records added since the last flush and waits until they are
  // on the disk. 0 or the failing step's code.
  uint32_t flush() {
    if (m_pending.empty()) return 0;
    unsigned int written = 0;
    uint32_t code = Files::WriteFile(m_handle, m_pending.data(),
                                     static_cast<uint32_t>(m_pending.size()), &written, nullptr);
    if (code == 0) code = Files::FlushFileBuffers(m_handle);
    if (code == 0) m_pending.clear();
    return code;
  }
  void close() {
    if (m_handle != INVALID_HANDLE_VALUE) Files::CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    m_pending.clear();
  }

 private:
  HANDLE m_handle = INVALID_HANDLE_VALUE;
  std::string m_pending;
};

// Bounds on what is read of a journal and of a registry entry, which anyone
// may have planted. A journal holds at most three records per kit entry (its
// file, a directory made for it, one directory's times), each under 130
// bytes besides a path no longer than the entry's name in UTF-8; the kit's
// head keeps each entry in at least 48 bytes plus two per name character, so
// eight times the head's memory ceiling (64 MiB) bounds any real journal. A
// registry entry names a target, a backup root and directories above the
// target: 8 MiB holds 2,000 of them of 4,096 bytes.
constexpr uint64_t kMaxJournalBytes = (uint64_t{8} * 64 + 1) << 20;
constexpr uint64_t kMaxRegistryEntryBytes = uint64_t{8} << 20;

// Reads the journal file `name` of the directory `directoryFd` (AT_FDCWD
// for a path), never through a link or from a pipe or device, only when it
// is this user's own and at most `bound` bytes: 0; 2 when it is missing; 13
// when it is not a journal (decode_journal); else read_owned_file's code.
uint32_t read_journal_file(int directoryFd, const std::string& name, uint64_t bound,
                           std::vector<JournalRecord>& records);
