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

// Reads a whole journal file (a link is not followed). False when it is
// missing, unreadable or not a journal (decode_journal).
bool read_journal_file(const std::string& path, std::vector<JournalRecord>& records);
// The same from an open file, read from its start.
bool read_journal_descriptor(int descriptor, std::vector<JournalRecord>& records);
