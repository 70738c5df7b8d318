// Common ground of the installation tests: dated files, snapshots of whole
// trees (kind, mode, nanosecond time, bytes or link target) to compare before
// and after, kits built from a list of entries, and one run of the installer
// over the fault-injecting file layer with scratch home, temp and target.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "install/installer.h"
#include "support/directory_names.h"
#include "support/faulty_file_system.h"
#include "support/file_contents.h"
#include "support/scratch_directory.h"
#include "support/wide_text.h"

constexpr int64_t kT = 1600000000;  // a kit time, whole seconds

void make_directories(const std::string& path);
// Sets access and modification time of `path` (a link's own).
void set_time(const std::string& path, int64_t seconds, long nanoseconds = 0);
// Writes `content` to `path` (parents made) and dates it.
void write_file(const std::string& path, const std::string& content, int64_t seconds,
                long nanoseconds = 0);

// Every entry below `root` by relative path ("." the root itself), as
// "KIND MODE MTIME CONTENT": f file, d directory, l link (content its
// target), o anything else.
using TreeSnapshot = std::map<std::string, std::string>;
TreeSnapshot snapshot_tree(const std::string& root);
// The snapshot without its directories, whose times differ from run to run.
TreeSnapshot files_of(TreeSnapshot tree);
// What an item of a snapshot holds, "<missing>" when there is none.
std::string content_of(const TreeSnapshot& tree, const std::string& relative);

// A kit time from whole seconds and extra 100 ns ticks.
_FILETIME file_time(int64_t seconds, uint32_t extraTicks = 0);

struct KitFile {
  std::string name;  // "\" separators, as in a kit
  std::string content;
  _FILETIME time = file_time(kT);
};

// FaultyFileSystem whose opened handles are known by their paths. The base
// names a handle from arguments evaluated before the open has set it; here
// each is named after the open (the out-parameter first reset to a value
// that names nothing, so the base's early naming harms no open handle).
struct PathTrackingFileSystem : FaultyFileSystem {
  static uint32_t CreateFile(const WideString& path, uint32_t access, uint32_t share,
                             uint32_t disposition, HANDLE& handle) {
    handle = INVALID_HANDLE_VALUE;
    const uint32_t code = FaultyFileSystem::CreateFile(path, access, share, disposition, handle);
    return named(code, handle, narrow_lib(path));
  }
  static uint32_t OpenDirectoryAt(HANDLE directory, const std::string& name, HANDLE& handle) {
    handle = INVALID_HANDLE_VALUE;
    const uint32_t code = FaultyFileSystem::OpenDirectoryAt(directory, name, handle);
    return named(code, handle, at(directory, name));
  }
  static uint32_t CreateFileAt(HANDLE directory, const std::string& name, uint32_t mode,
                               HANDLE& file) {
    file = INVALID_HANDLE_VALUE;
    const uint32_t code = FaultyFileSystem::CreateFileAt(directory, name, mode, file);
    return named(code, file, at(directory, name));
  }
  static uint32_t named(uint32_t code, HANDLE handle, const std::string& path) {
    if (code == 0) FileFaults::opened(handle, path);
    return code;
  }
};

using FaultyKit = config::InstallData<LZCompressor, PathTrackingFileSystem>;
using FaultyInstaller = BasicInstaller<FaultyKit, PathTrackingFileSystem>;
using FaultyProcessData = BasicInstallProcessData<FaultyKit>;

// The calls that change the disk, where failures and kills are injected.
extern const FileOperation kChanges[11];
// Runs `action` before every change the layer sees, numbering them from 0.
void on_every_change(FileFaults& faults,
                     std::function<uint32_t(int number, FileOperation, const std::string&)> action);

struct Outcome {
  uint32_t result = 0;
  uint32_t code = 0;  // the published state
  WideString message;
  int32_t progress = -1;
};

// A scratch directory in memory: the runs flush often, and flushes to a
// busy disk would make the tests slow.
struct MemoryDirectory : ScratchDirectory {
  MemoryDirectory() : ScratchDirectory("orbtest-", "/dev/shm") {}
};

class InstallTest : public ::testing::Test {
 protected:
  InstallTest();  // TMPDIR and HOME point into scratch directories

  std::string kitPath() const { return staging / "orbp8.pkd"; }
  // Writes the kit of `files` and opens it as `kit`.
  void openKit(const std::vector<KitFile>& files);
  // One run of the installer into `directory`; `pause` after a success.
  Outcome install(const std::string& directory, int lockWait = 5000, int pause = 0);
  // Runs `body` in a forked child with the kit open there (the kit's
  // reading thread does not cross a fork); its report, see child_process.h.
  std::string inChild(const std::function<std::string()>& body);
  // Backup roots left in TMPDIR and the registry of pending installations,
  // empty when a run left neither.
  std::string leftovers() const;

  MemoryDirectory temp;
  MemoryDirectory home;
  MemoryDirectory staging;
  MemoryDirectory target;
  FaultyKit kit;
  FaultyProcessData data;
};
