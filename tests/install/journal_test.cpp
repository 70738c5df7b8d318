// The journal's file format: every record type survives a round trip with
// hostile paths, and a record torn or damaged by a crash ends the journal.
#include <gtest/gtest.h>

#include "install/journal_record.h"

TEST(JournalFormat, RoundTripAndTheEndsACrashLeaves) {
  using Type = JournalRecordType;
  const std::string odd = "/t/-odd $HOME \"q\" `x`\\\n/";
  const JournalRecord times = {
      Type::kDirectoryTimes, 0, 0, {0, 0, 0, 1600000000, 999999999}, -1, 5, "/t", "", {}};
  const JournalRecord records[] = {
      {Type::kHeader, 0, 0x0123456789ABCDEFull, {}, 0, 0, odd, odd + ".p8stp/", {}},
      {Type::kMakeDirectory, 0, 0, {}, 0, 0, "/t/new dir", "", {}},
      times,
      {Type::kCreate, 4000000000u, 0, {}, 0, 0, "a/b.cfg", "", {0, 0, 42, -7, 0}},
      {Type::kReplace, 7, 0, {1, 2, 3, -4, 999999999}, 0, 0, std::string("x\0y", 3), "",
       {0, 0, 1ull << 40, 1600000000, 0}},
      {Type::kHiddenDirectory, 3, 0, {}, 0, 0, "new dir/made", "", {}},
      times};
  std::string bytes = journal_file_start();
  std::vector<size_t> ends;
  for (const JournalRecord& record : records) {
    append_journal_record(bytes, record);
    ends.push_back(bytes.size());
  }
  // Decoded and written again: the whole records before a cut or a changed byte.
  std::vector<std::pair<std::string, std::string>> cases = {{bytes, bytes}};
  for (size_t cut = ends[0]; cut < bytes.size(); ++cut) {
    size_t whole = 0;
    while (whole + 1 < ends.size() && ends[whole + 1] <= cut) ++whole;
    cases.push_back({bytes.substr(0, cut), bytes.substr(0, ends[whole])});
  }
  for (const size_t at : {ends[2] + 1, ends[2] + 6, ends[2] + 30, ends[3] - 1, size_t{4}}) {
    cases.push_back({bytes, at == 4 ? "not a journal" : bytes.substr(0, ends[2])});
    cases.back().first[at] ^= 0x20;
  }
  cases.push_back({bytes.substr(0, ends[0] - 1), "not a journal"});
  cases.push_back(
      {journal_file_start() + bytes.substr(ends[2], ends[3] - ends[2]), "not a journal"});
  for (const auto& [journal, expected] : cases) {
    std::vector<JournalRecord> decoded;
    const bool valid = decode_journal(journal, decoded);
    std::string again = journal_file_start();
    for (const JournalRecord& record : decoded) append_journal_record(again, record);
    EXPECT_EQ(expected, valid ? again : "not a journal") << journal.size();
  }
}
