// Extraction of single entries from the open container.
#include <fcntl.h>
#include <unistd.h>

#include "injecting_file_system.h"
#include "kit_test_support.h"
#include "support/file_contents.h"

namespace {

constexpr uint32_t kMiB = 0x100000;

class Copy : public ScratchTest {};

TEST_F(Copy, OneMebibyteIsOneReadAndOneMoreByteIsASecondOneByteWrite) {
  std::string big(kMiB + 1, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
  const std::string kit =
      write_kit(simple_container({{u"exact", big.substr(0, kMiB)}, {u"plus", big}, {u"z", "Z"}}));
  config::InstallData<LZCompressor, InjectingFileSystem> reader;
  ASSERT_EQ(reader.open(widen_lib(kit)), 0u);
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
  Reader reader;
  ASSERT_EQ(reader.open(widen_lib(write_kit(container.str()))), 0u);
  for (uint32_t index : {5u, 2u, 0u, 6u, 5u, 1u, 3u, 4u, 2u}) {
    const std::string target = path("out" + std::to_string(index));
    // An older, longer file in the way is replaced completely.
    write_file(target, std::string(9000, 'x'));
    ASSERT_EQ(reader.copy(index, widen_lib(target)), 0u);
    EXPECT_EQ(read_file(target), entries[index].second) << index;
    EXPECT_EQ(file_mtime(target), 1000000000L + index * 86400L);
  }
  EXPECT_EQ(read_file(path("out0")), "");
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

  // The container shrinks behind the reader's back: the entry ends early.
  const std::vector<std::string> containers = temp_files();
  ASSERT_EQ(containers.size(), 1u);
  config::FileData<InjectingFileSystem> entry;
  reader.get(0, entry);
  ASSERT_EQ(truncate(path("tmp/" + containers[0]).c_str(), entry.offset + 100), 0);
  EXPECT_EQ(reader.copy(0, wpath("a")), ERROR_INVALID_DATA);
  EXPECT_EQ(read_file(path("a")), std::string(100, 'a'));
  EXPECT_EQ(reader.copy(1, wpath("b")), ERROR_INVALID_DATA);
}

// Builds a container sparsely instead of decompressing: `head` at the start,
// `tail` at the end of a file of `size` bytes.
struct SparseCompressor {
  static inline std::string head;
  static inline std::string tail;
  static inline uint64_t size = 0;
  uint32_t unpack(const WideString&, const WideString& destination) const {
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
};

// A multi-language container without products whose one entry lies at
// `offset` in the data area.
std::string one_entry_head(uint32_t offset) {
  return Bytes().number(1).number(0).number(1).record(file_fields(u"far", offset, 8)).str();
}

TEST_F(Copy, EntryBeyondTwoGibibytes) {
  const uint32_t offset = 0x90000000u;  // 2.25 GiB into the data area
  SparseCompressor::head = one_entry_head(offset);
  SparseCompressor::tail = "far away";
  SparseCompressor::size = SparseCompressor::head.size() + offset + 8;
  config::InstallData<SparseCompressor, FileSystem> reader;
  ASSERT_EQ(reader.open(wpath("unused")), 0u);
  config::FileData<FileSystem> entry;
  reader.get(0, entry);
  EXPECT_EQ(entry.offset, SparseCompressor::head.size() + offset);
  ASSERT_EQ(reader.copy(0, wpath("far")), 0u);
  EXPECT_EQ(read_file(path("far")), "far away");
}

}  // namespace
