// Walks a directory tree from the handle of its root one component at a
// time, never through a symbolic link, so that nothing outside the tree is
// reached whatever others put into it. The directories opened are kept for
// the next walks (a bounded number of them). `Files` is the Win32-style file
// layer. One thread at a time.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/file_system.h"
#include "platform/path_parts.h"

// Splits a relative path into its directory ("" for none: the root of a
// walk) and last name.
inline void split_relative(const std::string& path, std::string& directory, std::string& name) {
  const PathParts parts = splitPath(path);
  directory = path.find('/') == std::string::npos ? std::string() : parts.parent;
  name = parts.base;
}

template <class Files>
class BasicDirectoryWalker {
 public:
  BasicDirectoryWalker() = default;
  ~BasicDirectoryWalker() { clear(); }
  BasicDirectoryWalker(const BasicDirectoryWalker&) = delete;
  BasicDirectoryWalker& operator=(const BasicDirectoryWalker&) = delete;

  // Walks from `root` from now on; the caller keeps it open.
  void reset(HANDLE root) {
    clear();
    m_hidden.clear();
    m_root = root;
  }
  HANDLE root() const { return m_root; }

  // From now on the directory `relative` is reached under `name` in its
  // parent, until it is revealed (once it has been renamed to its own name;
  // handles already open stay valid).
  void hide(const std::string& relative, const std::string& name) { m_hidden[relative] = name; }
  void reveal(const std::string& relative) { m_hidden.erase(relative); }

  // The directory `relative` below the root ("" for the root, components
  // separated by "/"). With `make`, missing directories are made with
  // `mode` on the way. Returns 0; 2 when a directory is missing; 3 when a
  // component is a link or no directory. The handle stays valid until the
  // next call.
  uint32_t open(const std::string& relative, HANDLE& directory, bool make = false,
                uint32_t mode = 0700) {
    if (relative.empty()) {
      directory = m_root;
      return m_root == INVALID_HANDLE_VALUE ? ERROR_PATH_NOT_FOUND : 0;
    }
    const auto known = m_open.find(relative);
    if (known != m_open.end()) {
      directory = known->second;
      return 0;
    }
    std::string above;
    std::string name;
    split_relative(relative, above, name);
    const auto hidden = m_hidden.find(relative);
    if (hidden != m_hidden.end()) name = hidden->second;
    HANDLE parent = INVALID_HANDLE_VALUE;
    uint32_t code = open(above, parent, make, mode);
    if (code != 0) return code;
    code = Files::OpenDirectoryAt(parent, name, directory);
    if (code == ERROR_FILE_NOT_FOUND && make) {
      code = Files::CreateDirectoryAt(parent, name, mode);
      if (code == 0 || code == ERROR_ALREADY_EXISTS) {
        code = Files::OpenDirectoryAt(parent, name, directory);
      }
    }
    if (code != 0) return code;
    if (m_open.size() >= kMaxOpen) clear();
    m_open.emplace(relative, directory);
    return 0;
  }

  // Closes every directory opened (the root stays the caller's).
  void clear() {
    for (const auto& entry : m_open) Files::CloseHandle(entry.second);
    m_open.clear();
  }

 private:
  static constexpr size_t kMaxOpen = 256;
  HANDLE m_root = INVALID_HANDLE_VALUE;
  std::unordered_map<std::string, HANDLE> m_open;
  std::unordered_map<std::string, std::string> m_hidden;
};

