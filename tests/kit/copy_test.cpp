// Copying entries out of an open kit: from the stream in data order, from one
// unpacked copy otherwise, with their times; the codes of failing file calls;
// damaged data; a kit checked whole or replaced on disk.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <tuple>

#include "kit/kit_check.h"
#include "kit_test_support.h"

namespace {

constexpr uint32_t kMiB = 0x100000;
using Op = FileOperation;

class KitCopy : public KitTest {};

TEST_F(KitCopy, EntriesInDataOrderStreamAndTheRestComeFromOneUnpackedCopy) {
  // Sizes around the 1 MiB copy buffer; entry i is dated i days after 2001-09-09.
  std::string big(kMiB + 1, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
  const std::string contents[] = {"", big.substr(0, kMiB), big, "Z"};
  std::string head = u32(1) + u32(0) + u32(4), data;
  for (uint32_t i = 0; i < 4; ++i) {
    const _FILETIME time = EpochToFileTime(1000000000L + i * 86400L);
    head += record(file_fields(u"f", uint32_t(data.size()), uint32_t(contents[i].size()), time));
    data += contents[i];
  }
  write_kit(head + data);
  // An entry right at the stream's position and entries passed over stay on
  // the stream; the first one behind it unpacks the kit, once for the rest.
  for (const std::vector<uint32_t>& order :
       {std::vector<uint32_t>{0, 1, 2, 3}, {0, 2, 3}, {2, 1, 3, 0, 2}, {3, 2, 1}}) {
    FileFaults faults;
    Reader reader;
    ASSERT_EQ(reader.open(wpath("kit.pkd")), 0u);
    for (const uint32_t index : order) {
      const std::string target = path("out" + std::to_string(index));
      write_file(target, std::string(9000, 'x'));  // an older, longer file is replaced whole
      ASSERT_EQ(reader.copy(index, widen_lib(target)), 0u);
      EXPECT_EQ(read_file(target), contents[index]) << index;
      EXPECT_EQ(modification_seconds(target), 1000000000L + index * 86400L) << index;
    }
    const bool unpacked = !std::is_sorted(order.begin(), order.end());
    EXPECT_EQ(temp_files().size(), size_t(unpacked));
    for (const FileCall& call : faults.calls()) EXPECT_LE(call.bytes, kMiB);
  }
  EXPECT_TRUE(temp_files().empty());
}

TEST_F(KitCopy, FailingFileCallsGiveTheirCodesAndLeaveTheKitReadable) {
  // Entry a: over 1 MiB, one piece of the kit read before open returns. Calls:
  // "out" created; [the copy created, written twice, ended, opened, read]; "out"
  // written twice, ended, dated. A call fails while a streams, while the kit is
  // unpacked (b was copied first), or after that (the unpacked copy stays).
  const std::string a = std::string(5 * kMiB / 4, 'a');
  write_kit(simple_container({{u"a", a}, {u"b", "b"}}));
  enum Stage { kStreaming, kUnpacking, kUnpacked };
  const std::tuple<Op, int, Stage> failures[] = {
      {Op::kCreate, 0, kStreaming},  {Op::kWrite, 1, kStreaming},  {Op::kSetEnd, 0, kStreaming},
      {Op::kSetTime, 0, kStreaming}, {Op::kCreate, 1, kUnpacking}, {Op::kWrite, 0, kUnpacking},
      {Op::kWrite, 1, kUnpacking},   {Op::kSetEnd, 0, kUnpacking}, {Op::kCreate, 2, kUnpacking},
      {Op::kRead, 0, kUnpacked},     {Op::kWrite, 3, kUnpacked},   {Op::kSetTime, 0, kUnpacked},
  };
  uint32_t code = 1000;
  for (const auto& [operation, skip, stage] : failures) {
    ++code;
    FileFaults faults;  // outlives the reader's thread, which reads through it
    Reader reader;
    ASSERT_EQ(reader.open(wpath("kit.pkd")), 0u);
    ASSERT_TRUE(stage == kStreaming || reader.copy(1, wpath("b")) == 0);
    faults.fail(operation, code, "", skip);
    EXPECT_EQ(reader.copy(0, wpath("out")), code) << code;
    // An unpacked copy that could not be made is gone; the kit streams again.
    EXPECT_EQ(temp_files().size(), size_t(stage == kUnpacked)) << code;
    ASSERT_EQ(reader.copy(0, wpath("out")), 0u) << code;
    EXPECT_EQ(read_file(path("out")), a) << code;
  }

  // A later piece of 1 MiB of the kit read (noise fills more than one).
  std::string noise(3 * kMiB / 2, '\0');
  std::mt19937 random(7);
  for (char& byte : noise) byte = static_cast<char>(random());
  write_kit(simple_container({{u"noise", noise}}), "noise.pkd");
  FileFaults faults;  // the stream's thread reads the kit
  faults.fail(Op::kRead, ERROR_SHARING_VIOLATION, "", 1);
  Reader reader;
  ASSERT_EQ(reader.open(wpath("noise.pkd")), 0u);
  EXPECT_EQ(reader.copy(0, wpath("noise")), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(reader.verify(), ERROR_SHARING_VIOLATION);
}

TEST_F(KitCopy, DamagedDataIsInvalidDataAndTheKitOpenedIsReadWhateverReplacesIt) {
  // Entries h (4 bytes) and t (3 bytes). A stored block that is not the last
  // is cut where its data ends; a block of a type that does not exist is damage.
  const std::string whole = simple_container({{u"h", "head"}, {u"t", "ttt"}});
  const std::string head = whole.substr(0, whole.size() - 7);
  // Copy h, t, h again, verify; a second reader: verify twice, then t.
  const std::tuple<const char*, std::string, std::vector<uint32_t>> cases[] = {
      {"container ends in h", stored_block(head + "he", true), {13, 13, 13, 13, 13, 13, 13}},
      {"stream cut in t", stored_block(head + "headtt"), {0, 13, 0, 13, 13, 13, 13}},
      {"damaged in t", stored_block(head + "headtt") + "\x07", {0, 13, 13, 13, 13, 13, 13}},
      {"damaged after t", stored_block(whole) + "\x07", {0, 0, 13, 13, 13, 13, 0}},
      {"bytes after the end", stored_block(whole, true) + "trailing", {0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& [label, kit, expected] : cases) {
    write_file(path("case.pkd"), kit);
    FileFaults faults;
    Reader reader, second;
    ASSERT_EQ(reader.open(wpath("case.pkd")), 0u) << label;
    ASSERT_EQ(second.open(wpath("case.pkd")), 0u);
    ASSERT_EQ(rename(write_kit(head + "HEADTTT", "new.pkd").c_str(), path("case.pkd").c_str()), 0);
    std::vector<uint32_t> codes = {reader.copy(0, wpath("h")), reader.copy(1, wpath("t"))};
    codes.push_back(reader.copy(0, wpath("h")));
    for (Reader* checked : {&reader, &second, &second}) codes.push_back(checked->verify());
    // After a check, copies stream from the start of the file opened again.
    const int unpacked = faults.count(Op::kCreate, "/kpt");
    codes.push_back(second.copy(1, wpath("t2")));
    EXPECT_EQ(codes, expected) << label;
    EXPECT_EQ(faults.count(Op::kCreate, "/kpt"), unpacked) << label;
    EXPECT_TRUE(codes[2] != 0 || read_file(path("h")) == "head") << label;
    EXPECT_TRUE(codes[6] != 0 || read_file(path("t2")) == "ttt") << label;
  }
  // Each check reads the kit again: a kit cut in place after a first check
  // fails the next, also when it runs on another thread, reading the file
  // the reader opened. Such a check counts the bytes read and can be stopped.
  std::string noise(3 * kMiB, '\0');
  std::mt19937 random(3);
  for (char& byte : noise) byte = static_cast<char>(random());
  const std::string kit = write_kit(simple_container({{u"a", "a"}, {u"noise", noise}}), "cut.pkd");
  const uint64_t kitSize = std::filesystem::file_size(kit);
  Reader reader;
  ASSERT_EQ(reader.open(widen_lib(kit)), 0u);
  std::vector<uint64_t> results;
  for (int round = 0; round < 2; ++round) {
    KitCheck check;
    check.start([&](const std::atomic<bool>& stop, std::atomic<uint64_t>& read) {
      return reader.checkSeparately(stop, read);
    }, kitSize);
    results.push_back(check.wait());
    results.push_back(reader.verify());
    ASSERT_EQ(truncate(kit.c_str(), static_cast<off_t>(kitSize * 2 / 3)), 0);
  }
  std::atomic<bool> stop{false};
  std::atomic<uint64_t> read{0};
  ASSERT_EQ(rename(write_kit(simple_container({{u"b", "b"}}), "other.pkd").c_str(), kit.c_str()), 0);
  results.push_back(reader.checkSeparately(stop, read));
  results.push_back(read);
  stop = true;
  results.push_back(reader.checkSeparately(stop, read));
  EXPECT_EQ(results, (std::vector<uint64_t>{0, 0, 13, 13, 13, kitSize * 2 / 3, ERROR_CANCELLED}));
}

}  // namespace
