// Copying entries out of an open kit: from the stream in data order, from one
// unpacked copy otherwise, with their times; the codes of failing file calls;
// damaged data; a kit checked whole or replaced on disk.
#include <algorithm>
#include <cstdio>
#include <random>

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
    EXPECT_EQ(faults.count(Op::kCreate, "/kpt") != 0, unpacked) << order.size();
    EXPECT_EQ(temp_files().size(), size_t(unpacked));
    for (const FileCall& call : faults.calls()) EXPECT_LE(call.bytes, kMiB);
  }
  EXPECT_TRUE(temp_files().empty());
}

TEST_F(KitCopy, FailingFileCallsGiveTheirCodesAndLeaveTheKitReadable) {
  // Entry a, over 1 MiB, compresses into one piece of the kit, read before
  // open returns; it comes from the stream or, when b was copied first, from
  // the unpacked copy. The calls of the failing copy, in their order: "out"
  // created; [the unpacked copy created, written twice, ended, opened again,
  // then read]; "out" written twice, ended and dated.
  const std::string a = std::string(5 * kMiB / 4, 'a');
  write_kit(simple_container({{u"a", a}, {u"b", "b"}}));
  const struct {
    Op operation;
    int skip;       // calls of that operation let through first
    bool unpacked;  // a comes from the unpacked copy
    bool kept;      // the unpacked copy is left after the failure
  } failures[] = {
      {Op::kCreate, 0, false, false}, {Op::kWrite, 1, false, false},
      {Op::kSetEnd, 0, false, false}, {Op::kSetTime, 0, false, false},
      {Op::kCreate, 1, true, false},  {Op::kWrite, 0, true, false},
      {Op::kWrite, 1, true, false},   {Op::kSetEnd, 0, true, false},
      {Op::kCreate, 2, true, false},  {Op::kRead, 0, true, true},
      {Op::kWrite, 3, true, true},    {Op::kSetTime, 0, true, true},
  };
  for (const auto& failure : failures) {
    const uint32_t code = 1000 + static_cast<uint32_t>(&failure - failures);
    FileFaults faults;  // outlives the reader's thread, which reads through it
    Reader reader;
    ASSERT_EQ(reader.open(wpath("kit.pkd")), 0u);
    if (failure.unpacked) {
      ASSERT_EQ(reader.copy(1, wpath("b")), 0u);
    }
    faults.fail(failure.operation, code, "", failure.skip);
    EXPECT_EQ(reader.copy(0, wpath("out")), code) << code;
    // An unpacked copy that could not be made is gone, and the kit streams
    // again from its start.
    EXPECT_EQ(temp_files().size(), size_t(failure.kept)) << code;
    ASSERT_EQ(reader.copy(0, wpath("out")), 0u) << code;
    EXPECT_EQ(read_file(path("out")), a) << code;
  }

  // The kit's first or a later piece of 1 MiB read (data that does not
  // compress fills more than one).
  std::string noise(3 * kMiB / 2, '\0');
  std::mt19937 random(7);
  for (char& byte : noise) byte = static_cast<char>(random());
  write_kit(simple_container({{u"noise", noise}}), "noise.pkd");
  for (const int skip : {0, 1}) {
    FileFaults faults;  // the stream's thread reads the kit
    faults.fail(Op::kRead, ERROR_SHARING_VIOLATION, "", skip);
    Reader reader;
    EXPECT_EQ(reader.open(wpath("noise.pkd")), skip == 0 ? ERROR_SHARING_VIOLATION : 0u);
    if (skip == 1) {
      EXPECT_EQ(reader.copy(0, wpath("noise")), ERROR_SHARING_VIOLATION);
      EXPECT_EQ(reader.verify(), ERROR_SHARING_VIOLATION);
    }
  }
}

TEST_F(KitCopy, DamagedDataIsInvalidDataAndTheKitOpenedIsReadWhateverReplacesIt) {
  // Entries h (4 bytes) and t (3 bytes). A stored block is cut where its
  // data ends; a block of a type that does not exist is damage.
  const std::string head =
      u32(1) + u32(0) + u32(2) + record(file_fields(u"h", 0, 4)) + record(file_fields(u"t", 4, 3));
  const auto compressed = [this](const std::string& container) {
    return read_file(write_kit(container, "compressed.pkd"));
  };
  const struct {
    const char* label;
    std::string kit;
    // Copy h, t, h again, verify; a second reader: verify twice, then t.
    std::vector<uint32_t> codes;
  } cases[] = {
      {"container ends in h", compressed(head + "he"), {13, 13, 13, 13, 13, 13, 13}},
      {"stream cut in t", stored_block(head + "headtt"), {0, 13, 0, 13, 13, 13, 13}},
      {"damaged in t", stored_block(head + "headtt") + "\x07", {0, 13, 13, 13, 13, 13, 13}},
      {"damaged after t", stored_block(head + "headttt") + "\x07", {0, 0, 13, 13, 13, 13, 0}},
      {"bytes after the end", compressed(head + "headttt") + "trailing", {0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& test : cases) {
    write_file(path("case.pkd"), test.kit);
    FileFaults faults;
    Reader reader, second;
    ASSERT_EQ(reader.open(wpath("case.pkd")), 0u) << test.label;
    ASSERT_EQ(second.open(wpath("case.pkd")), 0u);
    const std::string decoy = write_kit(head + "HEADTTT", "decoy.pkd");
    ASSERT_EQ(rename(decoy.c_str(), path("case.pkd").c_str()), 0);
    std::vector<uint32_t> codes = {reader.copy(0, wpath("h")),
                                   reader.copy(1, wpath("t")),
                                   reader.copy(0, wpath("h")),
                                   reader.verify(),
                                   second.verify(),
                                   second.verify()};
    const int unpacked = faults.count(Op::kCreate, "/kpt");
    HANDLE output = INVALID_HANDLE_VALUE;
    ASSERT_EQ(FileSystem::CreateFile(wpath("t2"), GENERIC_WRITE, 0, CREATE_ALWAYS, output), 0u);
    codes.push_back(second.copyTo(1, output));
    EXPECT_EQ(FileSystem::CloseHandle(output), 0);  // copyTo leaves it to its caller
    EXPECT_EQ(codes, test.codes) << test.label;
    // After a check, copies stream from the start of the file opened again.
    EXPECT_EQ(faults.count(Op::kCreate, "/kpt"), unpacked) << test.label;
    EXPECT_TRUE(codes[2] != 0 || read_file(path("h")) == "head") << test.label;
    EXPECT_TRUE(codes[6] != 0 || read_file(path("t2")) == "ttt") << test.label;
  }
}

}  // namespace
