// Helpers of the wizard tests: a sandbox directory that is HOME, TMPDIR and
// the front of PATH while it lives, and kits packed from small trees. Test
// thread only.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kit/kit_layout.h"
#include "support/scratch_directory.h"

// A directory made in the current one, with "home", "tmp" and "bin" inside;
// HOME, TMPDIR and PATH point there until it is destroyed. "bin" holds an
// "xdg-open" that appends each argument, one a line, to opened().
class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  std::string operator/(const std::string& name) const { return m_directory / name; }
  // The sandbox's name, its path relative to the current directory.
  std::string name() const { return m_directory.path().substr(m_directory.path().rfind('/') + 1); }
  std::string opened() const { return m_directory / "opened.txt"; }

 private:
  ScratchDirectory m_directory;
  std::vector<std::pair<std::string, std::optional<std::string>>> m_savedEnvironment;
};

// Writes the files ("/"-separated relative name -> content) below `tree`,
// each modified at 2020-09-13 12:26:40 UTC, and packs them as `kitDirectory`/orbp8.pkd.
void makeKit(const std::string& tree, const std::map<std::string, std::string>& files,
             const std::vector<KitProduct>& products, const std::string& kitDirectory);
