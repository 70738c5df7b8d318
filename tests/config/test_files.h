// Helpers of the configuration tests: a scratch directory removed with its
// content, whole-file reads and writes, and a HOME that is restored afterwards.
#pragma once

#include <string>

#include "text/wide_string.h"

class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& path() const { return m_path; }
  std::string file(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

// Sets HOME for the lifetime of the object and restores the old value after.
class ScopedHome {
 public:
  explicit ScopedHome(const std::string& home);
  ~ScopedHome();
  ScopedHome(const ScopedHome&) = delete;
  ScopedHome& operator=(const ScopedHome&) = delete;

 private:
  bool m_hadHome;
  std::string m_oldHome;
};

void write_bytes(const std::string& path, const std::string& bytes);
// The whole content; "<missing>" when the file cannot be opened.
std::string read_bytes(const std::string& path);
// The names in a directory, "." and ".." left out, sorted.
std::string list_directory(const std::string& path);

// Runs `body` in a forked child and returns its exit status (or 128 + signal).
int run_in_child(int (*body)(void*), void* argument);
