// What tests read and write around the code under test, with the C and C++
// libraries and never with that code: whole files, listings, a path's status, wide
// text, a scoped environment variable (test thread only). Any thread, forked children.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/wide_string.h"

// Creates or truncates `path` with `content`; throws std::runtime_error on failure.
void write_file(const std::string& path, const std::string& content);
// The whole content of `path`; "<missing>" when it cannot be opened, so that
// a missing file never passes for an empty one.
std::string read_file(const std::string& path);

// The names in `directory` that begin with `prefix`, sorted, "." and ".."
// left out; empty when it cannot be read.
std::vector<std::string> directory_names(const std::string& directory,
                                         const std::string& prefix = std::string());
// The names joined, each followed by `separator`.
std::string joined_names(const std::vector<std::string>& names, const std::string& separator);

// The status of `path` itself (a link's own), all zero when nothing is there.
struct stat status_of(const std::string& path);
// Whether anything (a dangling link included) is at `path`.
inline bool exists(const std::string& path) { return status_of(path).st_nlink != 0; }
// The modification time in whole seconds; -1 when missing.
inline int64_t modification_seconds(const std::string& path) {
  return exists(path) ? static_cast<int64_t>(status_of(path).st_mtime) : -1;
}
// The type and permission bits; 0 when missing.
inline uint32_t mode_of(const std::string& path) { return status_of(path).st_mode; }

inline WideString wide(const std::string& narrow) { return widen_lib(narrow); }

// Sets `name` to `value` (unsets it for null) and restores the old state when
// the object goes, for code that reads HOME or TMPDIR at each call.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : m_name(name) {
    const char* old = std::getenv(name);
    m_had = old != nullptr;
    if (m_had) m_old = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnvironment() { m_had ? setenv(m_name, m_old.c_str(), 1) : unsetenv(m_name); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* m_name;
  bool m_had;
  std::string m_old;
};
