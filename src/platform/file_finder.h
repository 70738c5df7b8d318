// Enumerates the entries of one directory whose names match the wildcard
// pattern in the last component of a path ("." and ".." included), or tests
// whether a plain path exists. One finder per enumeration, used by one thread.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <vector>

#include "text/wide_string.h"

class FileFinder {
 public:
  FileFinder();
  ~FileFinder();
  FileFinder(const FileFinder&) = delete;
  FileFinder& operator=(const FileFinder&) = delete;

  // Starts an enumeration of the directory part of `path` (its parent as
  // splitPath gives it: "." for a bare name); true when a first matching
  // entry was found. A path ending in "/" has an empty pattern, which
  // matches nothing.
  bool reset(const WideString& path);
  // Advances to the next matching entry; false when there is none.
  bool next();
  // The current entry's name (without directory); empty when closed.
  WideString name() const;
  // FILE_ATTRIBUTE_DIRECTORY (16) for a directory, else 0; 0 when closed.
  uint32_t attributes() const;
  void close();

 private:
  bool m_open;
  // The directory's names, read whole by reset, and the next one to test.
  std::vector<std::string> m_names;
  size_t m_nextName;
  std::string m_pattern;
  std::string m_directory;
  std::string m_currentName;
  struct stat64 m_status;
};
