// Small files replaced whole: every step failed in turn leaves the old content and
// no temporary; the steps in their crash-safe order; crashes' leftovers removed.
#include "platform/file_replacement.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/test_files.h"
#include "support/faulty_file_system.h"

using Op = FileOperation;

// The id of a process that has ended.
static std::string ended_process() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return std::to_string(child);
}

TEST(FileReplacement, EveryFailedStepLeavesTheOldFileAndNoTemporary) {
  ScratchDirectory scratch = platform_scratch();
  mkdir((scratch / "real").c_str(), 0700);
  ASSERT_EQ(symlink("real", (scratch / "dir-link").c_str()), 0);
  const std::string path = scratch / "dir-link/orbstart.cfg";
  // One letter per call: o open, c create, w write, f flush, m move, d delete.
  const std::pair<Op, char> letters[] = {{Op::kOpen, 'o'},  {Op::kCreate, 'c'}, {Op::kWrite, 'w'},
                                         {Op::kFlush, 'f'}, {Op::kMove, 'm'},   {Op::kDelete, 'd'}};
  for (int failAt = 0;; ++failAt) {
    write_file(scratch / "real/orbstart.cfg", "old");
    FileFaults faults;
    std::string calls;
    for (const auto& [operation, letter] : letters) {
      faults.on(operation, [&, letter = letter](const std::string&) {
        calls += letter;
        return calls.size() == size_t(failAt) + 1 ? ERROR_DISK_FULL : 0u;
      });
    }
    const uint32_t code = replaceFileWhole<FaultyFileSystem>(path, "new", 0600);
    // Only a failed flush of the directory comes after the rename.
    const bool renamed = code == 0 || calls.substr(0, 6) == "ocwfmf";
    EXPECT_EQ(read_file(scratch / "real/orbstart.cfg"), renamed ? "new" : "old") << calls;
    EXPECT_EQ(joined_names(directory_names(scratch / "real"), "|"), "orbstart.cfg|") << calls;
    if (code == 0) {
      EXPECT_EQ(calls, "ocwfmf");
      EXPECT_EQ(mode_of(scratch / "real/orbstart.cfg"), S_IFREG | 0600u);
      break;
    }
    EXPECT_EQ(code, ERROR_DISK_FULL) << calls;
  }
  // A link at the name itself is replaced, never written through.
  ASSERT_EQ(symlink("real/orbstart.cfg", (scratch / "file-link").c_str()), 0);
  EXPECT_EQ(replaceFileWhole<FileSystem>(scratch / "file-link", "linked", 0600), 0u);
  EXPECT_EQ(read_file(scratch / "real/orbstart.cfg"), "new");
  EXPECT_EQ(mode_of(scratch / "file-link"), S_IFREG | 0600u);
  for (const std::string& refused : {scratch / "real/", scratch / "real/..", std::string("/")})
    EXPECT_EQ(replaceFileWhole<FileSystem>(refused, "x", 0600), ERROR_INVALID_NAME) << refused;
}

TEST(FileReplacement, LeftoversOfEndedProcessesAreRemovedOthersStay) {
  ScratchDirectory scratch = platform_scratch();
  const std::string ended = ended_process(), running = std::to_string(getpid());
  const std::string file = replacementTemporaryName("orbstart.cfg");
  EXPECT_EQ(file.substr(0, file.size() - 8), ".orbstart.cfg.orbtmp-" + running + "-");
  const std::string names[] = {".a.orbtmp-" + ended + "-0123abcd",    // a crash's file
                               ".b.orbtmp-" + ended + "-00000000",    // a crash's copied tree
                               ".c.orbtmp-" + running + "-00000000",  // one going on
                               "d.orbtmp-" + ended + "-00000000",     // the user's own names
                               ".e.orbtmp-" + ended + "-0000000g",   ".f.orbtmp-" + ended};
  mkdir((scratch / names[1]).c_str(), 0700);
  for (const std::string& name : names)
    write_file(scratch / name + (name == names[1] ? "/inside" : ""), "x");
  FileFaults faults;
  removeReplacementLeftovers<FaultyFileSystem>(scratch.path());
  EXPECT_EQ(faults.count(Op::kOpen, scratch.path()), 1) << "listed through the layer";
  EXPECT_EQ(faults.count(Op::kRemoveDirectory, scratch.path()), 2);
  EXPECT_EQ(joined_names(directory_names(scratch.path()), "|"),
            names[2] + "|" + names[4] + "|" + names[5] + "|" + names[3] + "|");
}
