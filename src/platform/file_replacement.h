// Small files written whole (the launcher's configuration, registry entries)
// by replacement: the content goes to a new temporary file beside the target,
// reaches the disk and is renamed over the target, and then the directory is
// flushed, so that after a crash the target holds its old or its new content,
// never a mix, and at most a temporary is left that the next writer in that
// directory recognises and removes. `Files` is the Win32-style file layer
// (FileSystem, or the tests' one). One object per replacement, one thread.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/path_parts.h"
#include "platform/win32_types.h"
#include "text/wide_string.h"

// The name of the temporary with which this process replaces the file `name`
// (one component), different for each call: "." + at most 64 bytes of
// `name` + ".orbtmp-" + the process id + "-" + eight hex digits.
std::string replacementTemporaryName(const std::string& name);
// Whether `name` is such a temporary of a process that no longer runs, so
// that no replacement can still be going on with it: a crash's leftover.
bool isReplacementLeftover(const std::string& name);

template <class Files>
class BasicFileReplacement {
 public:
  BasicFileReplacement() = default;
  // Removes the temporary unless commit has put it in place.
  ~BasicFileReplacement() { abandon(); }
  BasicFileReplacement(const BasicFileReplacement&) = delete;
  BasicFileReplacement& operator=(const BasicFileReplacement&) = delete;

  // Starts replacing the file at `path`: opens its directory (a symbolic
  // link naming the directory, or one on the way to it, is followed) and
  // creates the temporary there with `mode`, less the umask, only where the
  // name is free and never through a link. A link at `path` itself is not
  // followed: commit replaces the link. Returns 0, 123 for a path ending in
  // "/", ".", ".." or naming the root, or the code of the failing open or
  // create (2 or 3 for a missing directory, 5 or 19 for one that takes no
  // new file).
  uint32_t begin(const std::string& path, uint32_t mode) {
    abandon();
    const PathParts parts = splitPath(path);
    if (path.empty() || path.back() == '/' || parts.base.empty() || parts.base == "." ||
        parts.base == "..") {
      return ERROR_INVALID_NAME;
    }
    // The final "." is no link, so the directory's own name is followed.
    uint32_t code = Files::OpenDirectoryAt(INVALID_HANDLE_VALUE, parts.parent + "/.", m_directory);
    if (code != 0) return code;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      m_temporary = replacementTemporaryName(parts.base);
      code = Files::CreateFileAt(m_directory, m_temporary, mode, m_file);
      if (code != ERROR_ALREADY_EXISTS) break;
    }
    if (code != 0) {
      m_temporary.clear();
      abandon();
      return code;
    }
    m_name = parts.base;
    return 0;
  }
  // The temporary's handle between begin and commit, to set its owner or
  // mode before the content goes in.
  HANDLE file() const { return m_file; }
  // Appends `bytes` to the temporary: 0 or the failing write's code.
  uint32_t write(const std::string& bytes) {
    if (m_file == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
    for (size_t done = 0; done < bytes.size();) {
      const uint32_t step = static_cast<uint32_t>(std::min<size_t>(bytes.size() - done, kMaxStep));
      unsigned int written = 0;
      const uint32_t code = Files::WriteFile(m_file, bytes.data() + done, step, &written, nullptr);
      if (code != 0) return code;
      done += written;
    }
    return 0;
  }
  // Flushes the temporary to the disk, renames it over the target and
  // flushes the directory. Returns 0 or the first failing step's code.
  // When the flush or the rename fails, the temporary is removed and the
  // target is as it was; when only the directory's flush fails, the target
  // has its new content, which a crash may still undo.
  uint32_t commit() {
    if (m_file == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
    uint32_t code = Files::FlushFileBuffers(m_file);
    Files::CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    if (code == 0) code = Files::MoveFileAt(m_directory, m_temporary, m_directory, m_name);
    if (code != 0) {
      abandon();
      return code;
    }
    m_temporary.clear();
    code = Files::FlushFileBuffers(m_directory);
    abandon();
    return code;
  }
  // Removes the temporary, if any, and closes what begin opened; the
  // target stays as it was.
  void abandon() {
    if (m_file != INVALID_HANDLE_VALUE) Files::CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    if (!m_temporary.empty()) Files::DeleteFileAt(m_directory, m_temporary);
    m_temporary.clear();
    if (m_directory != INVALID_HANDLE_VALUE) Files::CloseHandle(m_directory);
    m_directory = INVALID_HANDLE_VALUE;
  }

 private:
  static constexpr int kNameAttempts = 100;
  static constexpr size_t kMaxStep = size_t{1} << 30;

  HANDLE m_directory = INVALID_HANDLE_VALUE;
  HANDLE m_file = INVALID_HANDLE_VALUE;
  std::string m_name;
  std::string m_temporary;
};

// Replaces the file at `path` with `content` in one step, as begin, write
// and commit of a BasicFileReplacement do: 0 or the failing step's code.
template <class Files>
uint32_t replaceFileWhole(const std::string& path, const std::string& content, uint32_t mode) {
  BasicFileReplacement<Files> replacement;
  uint32_t code = replacement.begin(path, mode);
  if (code == 0) code = replacement.write(content);
  if (code == 0) code = replacement.commit();
  return code;
}

// Removes from `directory` the temporaries that replacements, and moves
// across file systems (FileSystem::MoveFile names its copies alike), of
// processes no longer running left there (isReplacementLeftover): files, or
// whole trees, never following a link. Those of running processes are
// theirs and stay. Failures are skipped: a leftover costs only room. Call it
// before replacing files in a directory, or at start.
template <class Files>
void removeReplacementLeftovers(const std::string& directory) {
  std::vector<std::string> names;
  Files::ListDirectory(directory, names);
  for (const std::string& name : names) {
    if (isReplacementLeftover(name)) Files::RemoveDirectory(widen_lib(directory + "/" + name));
  }
}

using FileReplacement = BasicFileReplacement<FileSystem>;
