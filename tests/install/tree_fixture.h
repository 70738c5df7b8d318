// Helpers of the installation tests: files with chosen contents and times,
// snapshots of whole trees (content, link targets, modes and nanosecond
// modification times) and kits built with the kit writer from a list of
// entries. One test thread each.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/win32_types.h"
#include "support/directory_names.h"
#include "support/wide_text.h"
#include "text/wide_string.h"

// Creates the file (and its missing parents) with `content` and the
// modification time `seconds` (+ `nanoseconds`).
void write_file(const std::string& path, const std::string& content, int64_t seconds,
                long nanoseconds = 0);
void make_directories(const std::string& path);

// Every entry below a root, by relative path.
struct TreeItem {
  char kind = '?';      // 'f' file, 'd' directory, 'l' link, 'o' other
  std::string content;  // file bytes or link target
  unsigned mode = 0;
  int64_t mtimeNanoseconds = 0;
  bool operator==(const TreeItem& other) const {
    return kind == other.kind && content == other.content && mode == other.mode &&
           mtimeNanoseconds == other.mtimeNanoseconds;
  }
};
using TreeSnapshot = std::map<std::string, TreeItem>;
// The root directory itself is the entry "." (its time counts too).
TreeSnapshot snapshot_tree(const std::string& root);

// A file time from whole seconds since 1970 and extra 100 ns ticks.
_FILETIME file_time(int64_t seconds, uint32_t extraTicks = 0);

struct KitFile {
  std::string name;  // may use "\" separators
  std::string content;
  _FILETIME time{0, 0};
};
// Writes the kit file `kitPath` holding `files` in this order (sources are
// staged below `staging`). Fails the calling test on a writer error.
void build_kit(const std::vector<KitFile>& files, const std::string& staging,
               const std::string& kitPath);
