// Copying entries out of an open kit: from the stream in data order, from one unpacked copy
// otherwise, with their times; failing file calls; damaged data; checks of the whole kit; the
// free space an unpacked copy needs, checked before a kit is opened.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <tuple>

#include "kit/kit_check.h"
#include "kit/temp_space.h"
#include "kit_test_support.h"
#include "support/child_process.h"

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
  // An entry right at the stream's position and entries passed over stay on the stream; the
  // first one behind it unpacks the kit, once for the rest, and the reader deletes that copy.
  for (const std::vector<uint32_t>& order :
       {std::vector<uint32_t>{3, 2, 1}, {0, 1, 2, 3}, {2, 1, 3, 0, 2}, {0, 2, 3}}) {
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
    EXPECT_EQ(temp_files().size(), size_t(!std::is_sorted(order.begin(), order.end())));
    for (const FileCall& call : faults.calls()) EXPECT_LE(call.bytes, kMiB);
  }
}

TEST_F(KitCopy, FailingFileCallsGiveTheirCodesAndLeaveTheKitReadable) {
  // Calls: "out" created; [the copy created, written twice, ended, opened, read]; "out"
  // written twice, ended, dated. A call fails while a (over 1 MiB) streams, while the kit
  // is unpacked (b was copied first), or after that (the unpacked copy stays).
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
    // What failed: the unpacked copy (or its directory), else the caller's file.
    const bool inTemp = stage == kUnpacking || operation == Op::kRead;
    EXPECT_EQ(inTemp ? path("tmp") : "", reader.failedPath().substr(0, path("tmp").size())) << code;
    // An unpacked copy that could not be made is gone; the kit streams again.
    EXPECT_EQ(temp_files().size(), size_t(stage == kUnpacked)) << code;
    ASSERT_EQ(reader.copy(0, wpath("out")), 0u) << code;
    EXPECT_EQ(read_file(path("out")), a) << code;
  }
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
    ASSERT_EQ(reader.open(wpath("case.pkd")) + second.open(wpath("case.pkd")), 0u) << label;
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
  // A failing read of a later piece is the code of the copy; the check after it reads the kit
  // again, in pieces. A separate check (on a thread too) reads the file opened, cut or replaced
  // since, counts and stops.
  std::string noise(3 * kMiB, '\0');
  std::mt19937 random(3);
  for (char& byte : noise) byte = static_cast<char>(random());
  const std::string kit = write_kit(simple_container({{u"noise", noise}}), "noise.pkd");
  const uint64_t kitSize = std::filesystem::file_size(kit);
  Reader reader;
  std::vector<uint64_t> results;
  {
    FileFaults faults;  // outlives the stream's thread, which reads the kit
    faults.fail(Op::kRead, ERROR_SHARING_VIOLATION, "", 1);
    ASSERT_EQ(reader.open(widen_lib(kit)), 0u);
    results = {reader.copy(0, wpath("noise")), reader.verify()};
  }
  KitCheck check;
  check.start([&](const std::atomic<bool>& stop,
                  std::atomic<uint64_t>& read) { return reader.checkSeparately(stop, read); },
              kitSize);
  results.push_back(check.wait());
  std::atomic<bool> stop{false};
  std::atomic<uint64_t> read{0};
  ASSERT_EQ(truncate(kit.c_str(), static_cast<off_t>(kitSize * 2 / 3)), 0);
  ASSERT_EQ(rename(write_kit(simple_container({}), "other.pkd").c_str(), kit.c_str()), 0);
  results.push_back(reader.checkSeparately(stop, read));
  results.push_back(read);
  stop = true;
  results.push_back(reader.checkSeparately(stop, read));
  EXPECT_EQ(results, (std::vector<uint64_t>{ERROR_SHARING_VIOLATION, 0, 0, 13,
                                            kitSize * 2 / 3, ERROR_CANCELLED}));
}

// The real file layer, but for the free space, which the test sets; 87 fails the query.
struct ChosenSpace : FileSystem {
  static inline uint64_t s_free = 0;
  static uint32_t GetFreeSpaceTmpDir(unsigned int* freeBytes) {
    *freeBytes = static_cast<unsigned int>(s_free);
    return s_free == 87 ? ERROR_INVALID_PARAMETER : 0;
  }
};

TEST_F(KitCopy, RoomForAnUnpackedCopyIsMeasuredIn64BitsAndSpaceBeyond32BitsIsEnough) {
  constexpr uint64_t kGiB = uint64_t{1} << 30;
  for (const auto& [name, size] :
       {std::pair{"small.pkd", uint64_t{100}}, std::pair{"1.5g.pkd", 3 * kGiB / 2},
        std::pair{"4.5g.pkd", 9 * kGiB / 2}}) {
    write_file(path(name), "");
    ASSERT_EQ(truncate(path(name).c_str(), static_cast<off_t>(size)), 0);
  }
  // 0xFFFFFFFF stands for more than 32 bits hold; 2 GiB would pass 4.5 GiB's low 32 bits.
  const std::tuple<const char*, uint64_t, bool> cases[] = {
      {"small.pkd", 299, false},      {"small.pkd", 300, true},
      {"1.5g.pkd", 0xFFFFFFFF, true}, {"1.5g.pkd", 4000000000, false},
      {"4.5g.pkd", 0xFFFFFFFF, true}, {"4.5g.pkd", 87, true},
      {"4.5g.pkd", 2 * kGiB, false},  {"missing.pkd", 0, true},
  };
  for (const auto& [name, freeBytes, suffices] : cases) {
    ChosenSpace::s_free = freeBytes;
    EXPECT_EQ(temp_space_suffices<ChosenSpace>(wpath(name)), suffices) << name << " " << freeBytes;
  }
  // A tmpfs of 16 GiB has more room than 32 bits hold: the largest 32-bit value, enough.
  const std::string report = run_in_child([&] {
    const std::string failure = mount_private_tmpfs(path("16g"), "size=16g");
    if (!failure.empty()) return "skip: " + failure;
    setenv("TMPDIR", path("16g").c_str(), 1);
    unsigned int freeBytes = 0;
    FileSystem::GetFreeSpaceTmpDir(&freeBytes);
    return std::to_string(freeBytes) + " " +
           std::to_string(temp_space_suffices<FileSystem>(wpath("4.5g.pkd")));
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ(report, "4294967295 1");
}

}  // namespace
