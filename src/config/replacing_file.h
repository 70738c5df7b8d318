// Replaces the content of a file as one step: the new bytes go to a new file
// beside the target, reach the disk and are renamed over the target, so a
// failure at any point leaves the old file as it was. One thread per object.
#pragma once

#include <sys/types.h>

#include <string>

class ReplacingFile {
 public:
  // A symbolic link at `path` is followed: the file it names is replaced.
  explicit ReplacingFile(const std::string& path);
  // Removes the temporary file unless it has replaced the target.
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the temporary file; false when the target may not be written or
  // no file can be created beside it.
  bool open();
  // After a failed open: true when the target is an existing file that may be
  // written but its directory refuses a new file (no permission, read-only
  // file system), so that it could only be rewritten in place.
  bool directoryRefused() const { return m_directoryRefused; }
  // The file that is replaced: the path given, symbolic links followed; empty
  // for a loop of links.
  const std::string& target() const { return m_target; }
  // Appends bytes; false when they cannot be written.
  bool write(const std::string& bytes);
  // Writes what is buffered and flushes the file to the disk.
  bool finish();
  // Renames the finished file over the target, which keeps its permission bits.
  bool replaceTarget();

 private:
  bool createTemporary(mode_t mode);
  bool flushBuffer();
  void discardTemporary();

  std::string m_target;
  std::string m_temporary;
  std::string m_buffer;
  int m_descriptor = -1;
  bool m_directoryRefused = false;
};
