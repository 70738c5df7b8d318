// The journal's file format: every record type survives a round trip with
// hostile paths, and a record torn or damaged by a crash ends the journal.
#include <gtest/gtest.h>

#include <sstream>

#include "install/journal_record.h"

namespace {

std::string text_of(const JournalRecord& r) {
  std::ostringstream text;
  text << static_cast<int>(r.type) << ' ' << r.entry << ' ' << r.runId << ' ' << r.old.device << ' '
       << r.old.inode << ' ' << r.old.size << ' ' << r.old.seconds << ' ' << r.old.nanoseconds
       << ' ' << r.accessSeconds << ' ' << r.accessNanoseconds << " [" << r.path << "] ["
       << r.backupRoot << "]\n";
  return text.str();
}

// The records of `journal` as text, every field shown.
std::string decoded(const std::string& journal) {
  std::vector<JournalRecord> records;
  if (!decode_journal(journal, records)) return "not a journal";
  std::string text;
  for (const JournalRecord& record : records) text += text_of(record);
  return text;
}

}  // namespace

TEST(JournalFormat, RoundTripAndTheEndsACrashLeaves) {
  using Type = JournalRecordType;
  const std::string odd = "/t/-odd $HOME \"q\" `x`\\\n/";
  const JournalRecord times = {
      Type::kDirectoryTimes, 0, 0, {0, 0, 0, 1600000000, 999999999}, -1, 5, "/t", ""};
  const JournalRecord records[] = {
      {Type::kHeader, 0, 0x0123456789ABCDEFull, {}, 0, 0, odd, odd + ".p8stp/"},
      {Type::kMakeDirectory, 0, 0, {}, 0, 0, "/t/new dir", ""},
      times,
      {Type::kCreate, 4000000000u, 0, {}, 0, 0, "a/b.cfg", ""},
      {Type::kReplace, 7, 0, {1, 2, 3, -4, 999999999}, 0, 0, std::string("x\0y", 3), ""},
      times};
  std::string bytes = journal_file_start();
  std::vector<size_t> ends;
  std::vector<std::string> texts;  // of the records up to each end
  for (const JournalRecord& record : records) {
    append_journal_record(bytes, record);
    ends.push_back(bytes.size());
    texts.push_back((texts.empty() ? "" : texts.back()) + text_of(record));
  }
  EXPECT_EQ(texts.back(), decoded(bytes));
  // Cut anywhere: exactly the whole records before the cut remain.
  for (size_t cut = ends[0]; cut < bytes.size(); ++cut) {
    size_t whole = 0;
    while (whole + 1 < ends.size() && ends[whole + 1] <= cut) ++whole;
    EXPECT_EQ(texts[whole], decoded(bytes.substr(0, cut))) << cut;
  }
  // A changed byte in a record (its length, checksum or payload) ends the
  // journal before it.
  for (const size_t at : {ends[2] + 1, ends[2] + 6, ends[2] + 30, ends[3] - 1}) {
    std::string damaged = bytes;
    damaged[at] ^= 0x20;
    EXPECT_EQ(texts[2], decoded(damaged)) << at;
  }
  // Not a journal: another version, a cut header, a first record that is not
  // a header.
  std::string otherVersion = bytes;
  otherVersion[4] = 2;
  for (const std::string& journal :
       {otherVersion, bytes.substr(0, ends[0] - 1),
        journal_file_start() + bytes.substr(ends[2], ends[3] - ends[2])}) {
    EXPECT_EQ("not a journal", decoded(journal));
  }
}
