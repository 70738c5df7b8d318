// The tests' file layer: FileSystem, with the failures and actions that the
// running test chooses per operation and per path (FileFaults), and a record
// of every call. Without a FileFaults alive every call simply goes through.
// Any thread may make the calls; a test holds one FileFaults at a time.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/last_error.h"

enum class FileOperation {
  kOpen,             // CreateFile for reading, OpenDirectoryAt
  kCreate,           // CreateFile for writing, CreateFileAt
  kRead,             // ReadFile, ReadFileAt
  kWrite,            // WriteFile
  kSetEnd,           // SetEndOfFile
  kSetTime,          // SetFileTime, SetTimesAt
  kSetMode,          // SetFileMode
  kMove,             // MoveFile, MoveFileAt: the path is "FROM -> TO"
  kLink,             // CreateHardLink, CreateHardLinkAt: "EXISTING -> NEW"
  kMakeDirectory,    // CreateDirectory, CreateDirectoryAt
  kRemoveDirectory,  // RemoveDirectory, RemoveDirectoryAt
  kDelete,           // DeleteFile, DeleteFileAt
  kFlush,            // FlushFileBuffers, FlushFileSystem
  kStatus,           // StatusAt, StatusOfPath
  kList,             // ListDirectory
};

// One call as the layer saw it. The path of a handle operation is the one
// the handle was opened with; a name relative to a directory handle is
// joined to that directory's path when the layer opened it.
struct FileCall {
  FileOperation operation;
  std::string path;
  uint32_t bytes, code;  // asked for by a read or write; the failure injected
};

class FileFaults {
 public:
  // Returns 0 to let the call go on, else the code it fails with.
  using Action = std::function<uint32_t(const std::string& path)>;

  FileFaults();  // from now on consulted by FaultyFileSystem
  ~FileFaults();
  FileFaults(const FileFaults&) = delete;
  FileFaults& operator=(const FileFaults&) = delete;

  // The calls of `operation` whose path contains `part` (every call when it
  // is empty) fail with `code`: `count` of them (-1: all) after the first
  // `skip` such calls.
  FileFaults& fail(FileOperation operation, uint32_t code, const std::string& part = "",
                   int skip = 0, int count = 1);
  // Runs `action` before every call of `operation`, on the calling thread.
  FileFaults& on(FileOperation operation, Action action);

  // How many calls of `operation` on paths containing `part` were made.
  int count(FileOperation operation, const std::string& part = "") const;
  std::vector<FileCall> calls() const;

  // For FaultyFileSystem: the failure for this call, recorded.
  static uint32_t ask(FileOperation operation, const std::string& path, uint32_t bytes = 0);
  static std::string pathOf(HANDLE handle, const std::string& name = "");
  static void opened(HANDLE handle, const std::string& path);
  static void closed(HANDLE handle);

 private:
  struct Rule {
    FileOperation operation;
    uint32_t code;
    std::string part;
    int skip, count, seen;
  };
  mutable std::mutex m_mutex;
  std::vector<Rule> m_rules;
  std::vector<std::pair<FileOperation, Action>> m_actions;
  std::vector<FileCall> m_calls;
  std::map<HANDLE, std::string> m_paths;
  // Read by any thread that calls the layer, set by the test's thread.
  static std::atomic<FileFaults*> s_current;
};

// Each operation asks the test's FileFaults first; a failed handle operation
// also leaves its code in the last-error cell, as the real one would.
struct FaultyFileSystem : FileSystem {
  using Op = FileOperation;
  template <class Call>
  static uint32_t through(Op operation, const std::string& path, Call call, bool handle = false,
                          uint32_t bytes = 0) {
    const uint32_t code = FileFaults::ask(operation, path, bytes);
    if (code != 0) return handle ? setLastError(code) : code;
    return call();
  }
  static std::string at(HANDLE directory, const std::string& name = "") {
    return FileFaults::pathOf(directory, name);
  }

  static uint32_t CreateFile(const WideString& path, uint32_t access, uint32_t share,
                             uint32_t disposition, HANDLE& handle) {
    const Op operation = (access & GENERIC_WRITE) != 0 ? Op::kCreate : Op::kOpen;
    return opened(through(operation, narrow_lib(path), [&] {
      return FileSystem::CreateFile(path, access, share, disposition, handle);
    }, true), handle, narrow_lib(path));
  }
  static int CloseHandle(HANDLE handle) {
    FileFaults::closed(handle);
    return FileSystem::CloseHandle(handle);
  }
  static uint32_t ReadFile(HANDLE handle, void* buffer, uint32_t count, unsigned int* read,
                           _OVERLAPPED* overlapped) {
    return through(Op::kRead, at(handle), [&] {
      return FileSystem::ReadFile(handle, buffer, count, read, overlapped);
    }, true, count);
  }
  // Leaves the last-error cell alone, as the real one does.
  static uint32_t ReadFileAt(HANDLE handle, void* buffer, uint32_t count, uint64_t offset,
                             unsigned int* read) {
    return through(Op::kRead, at(handle), [&] {
      return FileSystem::ReadFileAt(handle, buffer, count, offset, read);
    }, false, count);
  }
  static uint32_t WriteFile(HANDLE handle, const void* buffer, uint32_t count,
                            unsigned int* written, _OVERLAPPED* overlapped) {
    return through(Op::kWrite, at(handle), [&] {
      return FileSystem::WriteFile(handle, buffer, count, written, overlapped);
    }, true, count);
  }
  static uint32_t SetEndOfFile(HANDLE handle) {
    return through(Op::kSetEnd, at(handle), [&] { return FileSystem::SetEndOfFile(handle); }, true);
  }
  static uint32_t SetFileTime(HANDLE handle, const _FILETIME* creation, const _FILETIME* access,
                              const _FILETIME* write) {
    return through(Op::kSetTime, at(handle), [&] {
      return FileSystem::SetFileTime(handle, creation, access, write);
    }, true);
  }
  static uint32_t SetTimesAt(HANDLE directory, const std::string& name, const timespec times[2]) {
    return through(Op::kSetTime, at(directory, name),
                   [&] { return FileSystem::SetTimesAt(directory, name, times); });
  }
  static uint32_t SetFileMode(HANDLE file, uint32_t mode) {
    return through(Op::kSetMode, at(file), [&] { return FileSystem::SetFileMode(file, mode); });
  }
  static uint32_t FlushFileBuffers(HANDLE handle) {
    return through(Op::kFlush, at(handle), [&] { return FileSystem::FlushFileBuffers(handle); },
                   true);
  }
  static uint32_t FlushFileSystem(HANDLE handle) {
    return through(Op::kFlush, at(handle), [&] { return FileSystem::FlushFileSystem(handle); },
                   true);
  }
  static uint32_t MoveFile(const WideString& existing, const WideString& target) {
    return through(Op::kMove, narrow_lib(existing) + " -> " + narrow_lib(target),
                   [&] { return FileSystem::MoveFile(existing, target); });
  }
  static uint32_t MoveFileAt(HANDLE fromDirectory, const std::string& from, HANDLE toDirectory,
                             const std::string& to) {
    return through(Op::kMove, at(fromDirectory, from) + " -> " + at(toDirectory, to),
                   [&] { return FileSystem::MoveFileAt(fromDirectory, from, toDirectory, to); });
  }
  static uint32_t CreateHardLink(const WideString& newPath, const WideString& existingPath) {
    return through(Op::kLink, narrow_lib(existingPath) + " -> " + narrow_lib(newPath),
                   [&] { return FileSystem::CreateHardLink(newPath, existingPath); });
  }
  static uint32_t CreateHardLinkAt(HANDLE directory, const std::string& name,
                                   HANDLE existingDirectory, const std::string& existing) {
    return through(Op::kLink, at(existingDirectory, existing) + " -> " + at(directory, name), [&] {
      return FileSystem::CreateHardLinkAt(directory, name, existingDirectory, existing);
    });
  }
  static uint32_t CreateDirectory(const WideString& path) {
    return through(Op::kMakeDirectory, narrow_lib(path),
                   [&] { return FileSystem::CreateDirectory(path); });
  }
  static uint32_t CreateDirectoryAt(HANDLE directory, const std::string& name, uint32_t mode) {
    return through(Op::kMakeDirectory, at(directory, name),
                   [&] { return FileSystem::CreateDirectoryAt(directory, name, mode); });
  }
  static uint32_t RemoveDirectory(const WideString& path) {
    return through(Op::kRemoveDirectory, narrow_lib(path),
                   [&] { return FileSystem::RemoveDirectory(path); });
  }
  static uint32_t RemoveDirectoryAt(HANDLE directory, const std::string& name) {
    return through(Op::kRemoveDirectory, at(directory, name),
                   [&] { return FileSystem::RemoveDirectoryAt(directory, name); });
  }
  static uint32_t DeleteFile(const WideString& path) {
    return through(Op::kDelete, narrow_lib(path), [&] { return FileSystem::DeleteFile(path); });
  }
  static uint32_t DeleteFileAt(HANDLE directory, const std::string& name) {
    return through(Op::kDelete, at(directory, name),
                   [&] { return FileSystem::DeleteFileAt(directory, name); });
  }
  static uint32_t OpenDirectoryAt(HANDLE directory, const std::string& name, HANDLE& handle) {
    return opened(through(Op::kOpen, at(directory, name), [&] {
      return FileSystem::OpenDirectoryAt(directory, name, handle);
    }), handle, at(directory, name));
  }
  static uint32_t CreateFileAt(HANDLE directory, const std::string& name, uint32_t mode,
                               HANDLE& file) {
    return opened(through(Op::kCreate, at(directory, name), [&] {
      return FileSystem::CreateFileAt(directory, name, mode, file);
    }), file, at(directory, name));
  }
  static uint32_t StatusAt(HANDLE directory, const std::string& name, FileStatus& status,
                           bool followLink = false) {
    return through(Op::kStatus, at(directory, name),
                   [&] { return FileSystem::StatusAt(directory, name, status, followLink); });
  }
  static uint32_t StatusOfPath(const std::string& path, bool followLinks, FileStatus& status) {
    return through(Op::kStatus, path,
                   [&] { return FileSystem::StatusOfPath(path, followLinks, status); });
  }
  static uint32_t ListDirectory(const std::string& path, std::vector<std::string>& names) {
    return through(Op::kList, path, [&] { return FileSystem::ListDirectory(path, names); });
  }

 private:
  // Remembers the path of a handle just opened, for the calls that use it;
  // by reference, as the handle is read only once the call has set it.
  static uint32_t opened(uint32_t code, const HANDLE& handle, const std::string& path) {
    if (code == 0) FileFaults::opened(handle, path);
    return code;
  }
};
