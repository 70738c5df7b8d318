#include "install/journal_file.h"

#include "platform/owned_file.h"

uint32_t read_journal_file(int directoryFd, const std::string& name, uint64_t bound,
                           std::vector<JournalRecord>& records) {
  records.clear();
  std::string bytes;
  const uint32_t code = read_owned_file(directoryFd, name, bound, bytes);
  if (code != 0) return code;
  return decode_journal(bytes, records) ? 0 : ERROR_INVALID_DATA;
}
