// An environment variable set for one scope, for code that reads HOME or
// TMPDIR at each call. Test thread only.
#pragma once

#include <cstdlib>
#include <string>

// Sets `name` to `value` (unsets it for null) and restores the old state when
// the object goes.
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
