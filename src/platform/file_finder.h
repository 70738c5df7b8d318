// Enumerates the entries of one directory whose names match the wildcard
// pattern in the last component of a path ("." and ".." included), or tests
// whether a plain path exists. One finder per enumeration, used by one thread.
#pragma once

#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "text/wide_string.h"

class FileFinder {
 public:
  FileFinder();
  ~FileFinder();
  FileFinder(const FileFinder&) = delete;
  FileFinder& operator=(const FileFinder&) = delete;

  // Starts an enumeration; true when a first matching entry was found.
  bool reset(const WideString& path);
  // Advances to the next matching entry; false when there is none.
  bool next();
  // The current entry's name (without directory); empty when closed.
  WideString name() const;
  // FILE_ATTRIBUTE_DIRECTORY (16) for a directory, else 0; 0 when closed.
  uint32_t attributes() const;
  void close();

 private:
  DIR* m_stream;
  std::string m_pattern;
  std::string m_directory;
  std::string m_fullPath;
  std::string m_currentName;
  struct stat64 m_status;
};
