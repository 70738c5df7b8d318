#include "install/journal_file.h"

#include <fstream>
#include <iterator>

bool read_journal_file(const std::string& path, std::vector<JournalRecord>& records) {
  records.clear();
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return decode_journal(bytes, records);
}
