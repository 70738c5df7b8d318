// The journal's file format: every record type survives a round trip with
// hostile paths, and a record torn or damaged by a crash ends the journal.
#include "install/journal_record.h"

#include <gtest/gtest.h>

namespace {

std::vector<JournalRecord> sample_records() {
  std::vector<JournalRecord> records(5);
  records[0].type = JournalRecordType::kHeader;
  records[0].runId = 0x0123456789ABCDEFull;
  records[0].path = "/t/-odd $HOME \"q\" `x`\\\n/";
  records[0].backupRoot = "/t/-odd $HOME \"q\" `x`\\\n/.p8stp/";
  records[1].type = JournalRecordType::kMakeDirectory;
  records[1].path = "/t/new dir";
  records[2].type = JournalRecordType::kCreate;
  records[2].entry = 4000000000u;
  records[2].path = "a/b.cfg";
  records[3].type = JournalRecordType::kReplace;
  records[3].entry = 7;
  records[3].path = std::string("x\0y", 3);
  records[3].old = {1, 2, 3, -4, 999999999};
  records[4].type = JournalRecordType::kDirectoryTimes;
  records[4].path = "/t";
  records[4].accessSeconds = -1;
  records[4].accessNanoseconds = 5;
  return records;
}

bool same(const JournalRecord& a, const JournalRecord& b) {
  return a.type == b.type && a.entry == b.entry && a.runId == b.runId &&
         a.old.device == b.old.device && a.old.inode == b.old.inode && a.old.size == b.old.size &&
         a.old.seconds == b.old.seconds && a.old.nanoseconds == b.old.nanoseconds &&
         a.accessSeconds == b.accessSeconds && a.accessNanoseconds == b.accessNanoseconds &&
         a.path == b.path && a.backupRoot == b.backupRoot;
}

}  // namespace

TEST(JournalFormat, RoundTripAndTheEndsACrashLeaves) {
  const std::vector<JournalRecord> records = sample_records();
  std::string bytes = journal_file_start();
  std::vector<size_t> ends;
  for (const JournalRecord& record : records) {
    append_journal_record(bytes, record);
    ends.push_back(bytes.size());
  }
  std::vector<JournalRecord> decoded;
  ASSERT_TRUE(decode_journal(bytes, decoded));
  ASSERT_EQ(records.size(), decoded.size());
  for (size_t i = 0; i < records.size(); ++i) EXPECT_TRUE(same(records[i], decoded[i])) << i;

  // Cut anywhere: exactly the whole records before the cut remain.
  for (size_t cut = ends[0]; cut < bytes.size(); ++cut) {
    ASSERT_TRUE(decode_journal(bytes.substr(0, cut), decoded));
    size_t whole = 0;
    while (whole < ends.size() && ends[whole] <= cut) ++whole;
    EXPECT_EQ(whole, decoded.size()) << cut;
  }
  // A changed byte in the third record ends the journal before it.
  std::string damaged = bytes;
  damaged[ends[1] + 12] ^= 0x20;
  ASSERT_TRUE(decode_journal(damaged, decoded));
  EXPECT_EQ(2u, decoded.size());

  // Not a journal: another version, a cut header, a first record that is not
  // a header.
  std::string otherVersion = bytes;
  otherVersion[4] = 2;
  EXPECT_FALSE(decode_journal(otherVersion, decoded));
  EXPECT_FALSE(decode_journal(bytes.substr(0, ends[0] - 1), decoded));
  std::string headless = journal_file_start();
  append_journal_record(headless, records[2]);
  EXPECT_FALSE(decode_journal(headless, decoded));
}
