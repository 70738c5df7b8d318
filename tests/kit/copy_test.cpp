// Extraction of single entries from the open container.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "injecting_file_system.h"
#include "kit_test_support.h"
#include "support/file_contents.h"

namespace {

constexpr uint32_t kMiB = 0x100000;

class Copy : public ScratchTest {};

// A stored deflate block, not the last one, holding `bytes` (below 64 KiB).
std::string stored_block(const std::string& bytes) {
  const auto length = static_cast<uint16_t>(bytes.size());
  return std::string{'\0', char(length & 0xFF), char(length >> 8), char(~length & 0xFF),
                     char((~length >> 8) & 0xFF)} +
         bytes;
}

TEST_F(Copy, StreamServesEntriesInDataOrderAndTheContainerTheRest) {
  std::string big(kMiB + 1, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
  const std::string kit =
      write_kit(simple_container({{u"exact", big.substr(0, kMiB)}, {u"plus", big}, {u"z", "Z"}}));
  config::InstallData<LZCompressor, InjectingFileSystem> reader;
  ASSERT_EQ(reader.open(widen_lib(kit)), 0u);
  // Skipping an entry is no reason to leave the stream.
  ASSERT_EQ(reader.copy(1, wpath("plus")), 0u);
  EXPECT_EQ(read_file(path("plus")), big);
  EXPECT_TRUE(temp_files().empty());

  // Entry 0 lies behind the stream now: the container serves it, through
  // the one buffer of 1 MiB.
  for (uint32_t index : {0u, 1u}) {
    SCOPED_TRACE(index);
    InjectingFileSystem::reset();
    ASSERT_EQ(reader.copy(index, wpath("out")), 0u);
    EXPECT_EQ(InjectingFileSystem::reads, 1 + int(index));
    const std::vector<uint32_t> sizes =
        index == 0 ? std::vector<uint32_t>{kMiB} : std::vector<uint32_t>{kMiB, 1};
    EXPECT_EQ(InjectingFileSystem::writeSizes, sizes);
    EXPECT_EQ(read_file(path("out")), big.substr(0, kMiB + index));
  }
  EXPECT_EQ(temp_files().size(), 1u);
  ASSERT_EQ(reader.copy(2, wpath("z")), 0u);
  EXPECT_EQ(read_file(path("z")), "Z");
}

TEST_F(Copy, EntriesCopyInAnyOrderAndKeepTheirTimes) {
  std::vector<std::pair<std::u16string, std::string>> entries;
  for (int i = 0; i < 7; ++i) {
    entries.push_back({u"f" + widen_lib(std::to_string(i)), std::string(i * 1000, char('a' + i))});
  }
  Bytes container;
  container.number(0).text(u"").text(u"").text(u"").number(7);
  uint32_t offset = 0;
  for (int i = 0; i < 7; ++i) {
    const _FILETIME time = EpochToFileTime(1000000000L + i * 86400L);
    const uint32_t size = static_cast<uint32_t>(entries[i].second.size());
    container.record(file_fields(entries[i].first, offset, size, time));
    offset += size;
  }
  for (const auto& entry : entries) container.raw(entry.second);
  const std::string kit = write_kit(container.str());
  for (const std::vector<uint32_t>& order :
       {std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6}, std::vector<uint32_t>{5, 2, 0, 6, 5, 1, 3, 4, 2}}) {
    Reader reader;
    ASSERT_EQ(reader.open(widen_lib(kit)), 0u);
    for (uint32_t index : order) {
      const std::string target = path("out" + std::to_string(index));
      // An older, longer file in the way is replaced completely.
      write_file(target, std::string(9000, 'x'));
      ASSERT_EQ(reader.copy(index, widen_lib(target)), 0u);
      EXPECT_EQ(read_file(target), entries[index].second) << index;
      EXPECT_EQ(modification_seconds(target), 1000000000L + index * 86400L);
    }
    EXPECT_EQ(read_file(path("out0")), "");
    // Only copies out of the data's order need a temporary container.
    EXPECT_EQ(temp_files().size(), order[0] == 0 ? 0u : 1u);
  }
}

TEST_F(Copy, FailuresReportTheirCodes) {
  const std::string kit =
      write_kit(simple_container({{u"a", std::string(5000, 'a')}, {u"b", "bb"}}));
  config::InstallData<LZCompressor, InjectingFileSystem> reader;
  ASSERT_EQ(reader.open(widen_lib(kit)), 0u);

  InjectingFileSystem::reset();
  InjectingFileSystem::failingWrite = 0;
  EXPECT_EQ(reader.copy(0, wpath("a")), ERROR_DISK_FULL);

  InjectingFileSystem::reset();
  EXPECT_EQ(reader.copy(0, wpath("missing dir/a")), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(reader.copy(1, wpath("b")), 0u);
}

TEST_F(Copy, DataThatEndsEarlyOrIsCorruptFailsTheCopy) {
  // The data area holds 100 of entry a's 5000 bytes, and nothing of b.
  const std::string whole = simple_container({{u"a", std::string(5000, 'a')}, {u"b", "bb"}});
  const std::string cut = whole.substr(0, whole.size() - 5002 + 100);
  for (const std::string& kit : {write_kit(cut, "cut.pkd"),
                                 write_kit(whole.substr(0, whole.size() - 2), "short.pkd")}) {
    Reader reader;
    ASSERT_EQ(reader.open(widen_lib(kit)), 0u) << kit;
    const bool isCut = kit == path("cut.pkd");
    EXPECT_EQ(reader.copy(0, wpath("a")), isCut ? ERROR_INVALID_DATA : 0u) << kit;
    EXPECT_EQ(read_file(path("a")), std::string(isCut ? 100 : 5000, 'a'));
    EXPECT_EQ(reader.copy(1, wpath("b")), ERROR_INVALID_DATA) << kit;
    // The container ends at the same place.
    EXPECT_EQ(reader.copy(0, wpath("a")), isCut ? ERROR_INVALID_DATA : 0u) << kit;
    EXPECT_EQ(reader.verify(), ERROR_INVALID_DATA) << kit;
    // And so does a check of a stream nothing was copied from.
    Reader unread;
    ASSERT_EQ(unread.open(widen_lib(kit)), 0u);
    EXPECT_EQ(unread.verify(), ERROR_INVALID_DATA) << kit;
  }

  // Deflate data damaged after the catalogue: the head opens, and what lies
  // behind the damage fails. Each kit is a stored block (not final) holding
  // the head and entry h, then a broken block: a stored one whose length
  // check is wrong, or one of the block type that does not exist.
  const Bytes head = Bytes().number(1).number(0).number(2).record(file_fields(u"h", 0, 4)).record(
      file_fields(u"t", 4, 3));
  write_file(path("damaged.pkd"),
             stored_block(head.str() + "head") + std::string("\x01\x03\x00\x00\x00ttt", 8));
  Reader reader;
  ASSERT_EQ(reader.open(wpath("damaged.pkd")), 0u);
  EXPECT_EQ(reader.copy(0, wpath("h")), 0u);
  EXPECT_EQ(read_file(path("h")), "head");
  EXPECT_EQ(reader.copy(1, wpath("t")), ERROR_INVALID_DATA);
  EXPECT_EQ(reader.copy(0, wpath("h")), ERROR_INVALID_DATA);
  Reader unread;
  ASSERT_EQ(unread.open(wpath("damaged.pkd")), 0u);
  EXPECT_EQ(unread.verify(), ERROR_INVALID_DATA);

  // Damage after the last entry's data shows in the check alone.
  const Bytes oneEntry = Bytes().number(1).number(0).number(1).record(file_fields(u"h", 0, 4));
  write_file(path("tail.pkd"), stored_block(oneEntry.str() + "head") + "\x07");
  Reader tail;
  ASSERT_EQ(tail.open(wpath("tail.pkd")), 0u);
  EXPECT_EQ(tail.copy(0, wpath("h")), 0u);
  EXPECT_EQ(tail.verify(), ERROR_INVALID_DATA);
}

TEST_F(Copy, ACheckedKitStreamsFromTheStartOfTheFileItOpenedAgain) {
  const std::string kit =
      write_kit(simple_container({{u"a", std::string(3 * kMiB, 'a')}, {u"b", "bb"}}));
  Reader reader;
  ASSERT_EQ(reader.open(widen_lib(kit)), 0u);
  ASSERT_EQ(reader.copy(0, wpath("a")), 0u);
  EXPECT_EQ(reader.verify(), 0u);
  EXPECT_EQ(reader.verify(), 0u);
  for (uint32_t index : {0u, 1u}) ASSERT_EQ(reader.copy(index, wpath("again")), 0u);
  EXPECT_EQ(read_file(path("again")), "bb");
  // No container was needed for any of it.
  EXPECT_TRUE(temp_files().empty());
  // A kit checked from its container.
  ASSERT_EQ(reader.copy(0, wpath("a")), 0u);
  EXPECT_EQ(temp_files().size(), 1u);
  Reader fromContainer;
  ASSERT_EQ(fromContainer.open(widen_lib(kit)), 0u);
  ASSERT_EQ(fromContainer.copy(1, wpath("b")), 0u);
  ASSERT_EQ(fromContainer.copy(0, wpath("a")), 0u);
  EXPECT_EQ(fromContainer.verify(), 0u);

  // Another kit renamed over the opened one: the container, and the stream
  // started again after a check, still read the kit opened. Entry a's data
  // lies after b's, so b needs the container.
  const auto unordered = [](const std::string& data) {
    Bytes bytes;
    bytes.number(1).number(0).number(2).record(file_fields(u"a", 2, 3));
    return bytes.record(file_fields(u"b", 0, 2)).raw(data).str();
  };
  for (const bool checked : {false, true}) {
    SCOPED_TRACE(checked);
    const std::string opened = write_kit(unordered("bbaaa"), "opened.pkd");
    Reader replaced;
    ASSERT_EQ(replaced.open(widen_lib(opened)), 0u);
    ASSERT_EQ(rename(write_kit(unordered("BBAAA"), "other.pkd").c_str(), opened.c_str()), 0);
    if (checked) {
      EXPECT_EQ(replaced.verify(), 0u);
    }
    ASSERT_EQ(replaced.copy(0, wpath("a")), 0u);
    EXPECT_EQ(read_file(path("a")), "aaa");
    // copyTo leaves the handle to its caller.
    HANDLE output = INVALID_HANDLE_VALUE;
    ASSERT_EQ(FileSystem::CreateFile(wpath("b"), GENERIC_WRITE, 0, CREATE_ALWAYS, output), 0u);
    EXPECT_EQ(replaced.copyTo(1, output), 0u);
    EXPECT_EQ(FileSystem::CloseHandle(output), 0);
    EXPECT_EQ(read_file(path("b")), "bb");
  }
}

// Builds a container without decompressing: `head` at the start, `tail` at
// the end of `size` bytes, zeros between; written sparsely to a file, or
// streamed.
struct SparseCompressor {
  static inline std::string head;
  static inline std::string tail;
  static inline uint64_t size = 0;
  uint32_t unpack(HANDLE, const WideString& destination) const {
    const int fd = ::open(narrow_lib(destination).c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0) return ERROR_FILE_NOT_FOUND;
    const bool written =
        pwrite(fd, head.data(), head.size(), 0) == static_cast<ssize_t>(head.size()) &&
        ftruncate(fd, static_cast<off_t>(size)) == 0 &&
        pwrite(fd, tail.data(), tail.size(), static_cast<off_t>(size - tail.size())) ==
            static_cast<ssize_t>(tail.size());
    ::close(fd);
    return written ? 0 : ERROR_DISK_FULL;
  }
  uint32_t openStream(HANDLE, std::unique_ptr<InflatePipe>& stream) const {
    auto position = std::make_shared<uint64_t>(0);
    stream.reset(new InflatePipe(
        [position](uint8_t* block, uint32_t capacity, uint32_t& produced, bool& ended) {
          const uint64_t begin = *position;
          produced = static_cast<uint32_t>(std::min<uint64_t>(capacity, size - begin));
          const uint64_t end = begin + produced;
          std::memset(block, 0, produced);
          for (uint64_t i = begin; i < std::min<uint64_t>(end, head.size()); ++i) {
            block[i - begin] = static_cast<uint8_t>(head[i]);
          }
          const uint64_t tailStart = size - tail.size();
          for (uint64_t i = std::max(begin, tailStart); i < end; ++i) {
            block[i - begin] = static_cast<uint8_t>(tail[i - tailStart]);
          }
          *position = end;
          ended = *position == size;
          return 0u;
        },
        kMiB, 2));
    return 0;
  }
};

// A multi-language container without products whose one entry lies at
// `offset` in the data area.
std::string one_entry_head(uint32_t offset) {
  return Bytes().number(1).number(0).number(1).record(file_fields(u"far", offset, 8)).str();
}

TEST_F(Copy, EntryBeyondTwoGibibytesFromTheStreamAndFromTheContainer) {
  const uint32_t offset = 0x90000000u;  // 2.25 GiB into the data area
  SparseCompressor::head = one_entry_head(offset);
  SparseCompressor::tail = "far away";
  SparseCompressor::size = SparseCompressor::head.size() + offset + 8;
  config::InstallData<SparseCompressor, FileSystem> reader;
  write_file(path("unused"), "");
  ASSERT_EQ(reader.open(wpath("unused")), 0u);
  config::FileData<FileSystem> entry;
  reader.get(0, entry);
  EXPECT_EQ(entry.offset, SparseCompressor::head.size() + offset);
  for (const char* name : {"streamed", "from the container"}) {
    ASSERT_EQ(reader.copy(0, wpath(name)), 0u);
    EXPECT_EQ(read_file(path(name)), "far away");
  }
}

}  // namespace
