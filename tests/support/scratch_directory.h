// A directory made for one test and removed with everything in it when the
// object goes, even when the test left parts of it unwritable. Test thread
// only (the destructor may chmod what it removes).
#pragma once

#include <string>

class ScratchDirectory {
 public:
  // Made with mkdtemp as `parent` + "/" + `namePrefix` + six random
  // characters, mode 0700. Never $TMPDIR: tests point it elsewhere. path()
  // is absolute. Throws std::runtime_error when it cannot be made.
  explicit ScratchDirectory(const std::string& namePrefix = "orbtest-",
                            const std::string& parent = "/tmp");
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& path() const { return m_path; }
  std::string operator/(const std::string& relative) const { return m_path + "/" + relative; }

 private:
  std::string m_path;
};

// Removes `path` and, for a directory, everything below it; directories are
// made writable and searchable first. Links are removed, never followed.
void remove_tree(const std::string& path);
