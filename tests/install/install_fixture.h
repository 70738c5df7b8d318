// Common ground of the installation tests: dated files, trees as text, kits from
// a list of entries, runs over the fault-injecting file layer in scratch homes.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "install/installer.h"
#include "support/test_files.h"
#include "support/faulty_file_system.h"
#include "support/scratch_directory.h"

constexpr int64_t kT = 1600000000;  // a kit time, whole seconds

// Sets both times of `path` (a link's own).
void set_time(const std::string& path, int64_t seconds, long nanoseconds = 0);
// Writes `content` to `path` (parents made) with that time.
void write_file(const std::string& path, const std::string& content, int64_t seconds,
                long nanoseconds = 0);

// Every entry below `root` by relative path ("." the root) as "KIND MODE
// MTIME CONTENT": f file, d directory, l link (content its target), o other.
using TreeSnapshot = std::map<std::string, std::string>;
TreeSnapshot snapshot_tree(const std::string& root);
// Without the directories, whose times differ from run to run.
TreeSnapshot files_of(TreeSnapshot tree);

struct KitFile {
  std::string name;  // "\" separators, as in a kit
  std::string content;
  _FILETIME time = EpochToFileTime(kT);
};

using FaultyKit = config::InstallData<LZCompressor, FaultyFileSystem>;

struct Outcome {
  uint32_t result = 0, code = 0;  // the code, progress and message as published
  int32_t progress = -1;
  WideString message;
  std::string text() const;  // "RESULT CODE PROGRESS MESSAGE"
};
std::string resource(const char* id);  // a text of the interface's language table

// In memory where the machine has it: the runs flush often, slowly on a busy disk.
struct MemoryDirectory : ScratchDirectory {
  MemoryDirectory()
      : ScratchDirectory("orbtest-", access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") {}
};

class InstallTest : public ::testing::Test {
 protected:
  InstallTest();  // points TMPDIR and HOME at `temp` and `home`, logs to `staging`

  std::string kitPath() const { return staging / "orbp8.pkd"; }
  // Writes the kit of `files` at compression `level` and opens it as `kit`.
  void openKit(const std::vector<KitFile>& files, int level = 6);
  // One run into `directory`, lasting `pause` after a success.
  Outcome install(const std::string& directory, int lockWait = 5000, int pause = 0,
                  bool dryRun = false);
  // A dry run, the target's access check failing with `accessFault` when set;
  // it may only open and query.
  Outcome dryRun(const std::string& directory, uint32_t accessFault = 0);
  // The lines logged since the last call, without their times, and the counts.
  std::string logged();
  // The backup roots in TMPDIR and the pending registry that runs left.
  std::string leftovers() const;

  MemoryDirectory temp, home, staging, target;
  FaultyKit kit;
  BasicInstallProcessData<FaultyKit> data;
  InstallLog log;
  // Bytes a run writes between two flushes ahead of the commit's.
  uint64_t earlyFlushStep = EarlyFlush::kDefaultStep;
};
