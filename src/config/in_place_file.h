// Rewrites an existing file through its own descriptor, for a file whose
// directory takes no new file, so that it cannot be replaced by a renamed
// copy. The file keeps its owner, permission bits and links.
//
// Unlike a replacement this is not atomic: a crash, a power loss or a full disk
// in the middle can leave the file cut short or half old, half new. That is why
// it is only a fallback. One thread per object.
#pragma once

#include <string>

class InPlaceFile {
 public:
  // `path` names the file itself: a symbolic link at its last component is
  // refused, and the file is never created.
  explicit InPlaceFile(const std::string& path);
  ~InPlaceFile();
  InPlaceFile(const InPlaceFile&) = delete;
  InPlaceFile& operator=(const InPlaceFile&) = delete;

  // Opens the regular file for reading and writing and reads its whole old
  // content; false when either fails.
  bool open();
  // Overwrites the file with `content`, cuts it to that length and flushes it
  // to the disk. False when that fails; the old content is then written back
  // as far as the disk allows.
  bool rewrite(const std::string& content);

 private:
  std::string m_path;
  std::string m_old;
  int m_descriptor = -1;
};
