// Test helpers for the platform tests: a scratch directory on the disk that
// is removed afterwards, small file utilities that use the C library directly
// (never the code under test), and running a check in a forked child, for
// private mount namespaces and other users. Test thread only.
#pragma once

#include <sys/stat.h>

#include <functional>
#include <string>

#include "text/wide_string.h"

class ScratchDirectory {
 public:
  // Made under the current directory (the build tree, on the disk).
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

inline WideString wide(const std::string& narrow) { return widen_lib(narrow); }

void writeText(const std::string& path, const std::string& content);
// The file's content; "<missing>" when it cannot be opened.
std::string readText(const std::string& path);
// lstat: true for a dangling link too.
bool exists(const std::string& path);
// The names in a directory except "." and "..", sorted, separated by blanks.
std::string listNames(const std::string& directory);
struct stat statusOf(const std::string& path);
// Sets the access and modification time of a path (links not followed).
void setTimes(const std::string& path, long seconds, long nanoseconds);

// Runs `body` in a forked child and returns the text it returned; the text
// "skip: <reason>" means the child could not set itself up. A crash in the
// child gives "child failed".
std::string runInChild(const std::function<std::string()>& body);
// For a child: a private mount namespace with a tmpfs of `sizeOption` (for
// example "size=64k") mounted on `mountPoint`; empty on success, else the
// reason.
std::string mountPrivateTmpfs(const std::string& mountPoint, const std::string& sizeOption);
