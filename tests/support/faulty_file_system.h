// The tests' file layer: FileSystem with the failures and actions the running test
// chooses per operation and path (FileFaults), and a record of every call; without a
// FileFaults alive every call goes through. Any thread; one FileFaults at a time.
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
  kOpen,             // CreateFile for reading, OpenDirectoryAt, ListDirectory
  kCreate,           // CreateFile for writing, CreateFileAt, GetTempFileName
  kRead,             // ReadFile, ReadFileAt
  kWrite,            // WriteFile
  kSetEnd,           // SetEndOfFile
  kSetTime,          // SetFileTime, SetTimesAt
  kSetMode,          // SetFileMode, SetOwnerAt
  kMove,             // MoveFile, MoveFileAt, MoveNewFileAt: "FROM -> TO";
                     // ExchangeAt: "FIRST <-> SECOND"
  kLink,             // CreateHardLink, CreateHardLinkAt: "EXISTING -> NEW"
  kMakeDirectory,    // CreateDirectory, CreateDirectoryAt
  kRemoveDirectory,  // RemoveDirectory, RemoveDirectoryAt
  kDelete,           // DeleteFile, DeleteFileAt
  kFlush,            // FlushFileBuffers, FlushFileSystem
  kFlushAhead,       // FlushFileSystemAhead, from any thread
  kStatus,           // StatusAt, StatusOfPath, GetFileTime, GetFileSize, GetFreeSpaceTmpDir
  kAccess,           // CheckWritable
};

// One call as the layer saw it: a handle's path is the one it was opened with, a
// name relative to a directory handle joined to that directory's path.
struct FileCall {
  FileOperation operation;
  std::string path;
  uint32_t bytes, code;  // asked for by a read or write; the failure injected
};

class FileFaults {
 public:
  // Returns 0 to let the call go on, else the code it fails with.
  using Action = std::function<uint32_t(const std::string& path)>;

  FileFaults() { s_current = this; }  // from now on consulted by FaultyFileSystem
  ~FileFaults() { s_current = nullptr; }
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
// also leaves its code in the last-error cell, as the real one would. It
// inherits nothing from FileSystem: every operation is declared here, so code
// over this layer cannot reach one of the real layer unseen, and one that is
// missing fails to compile.
struct FaultyFileSystem {
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
  static std::string temporaryDirectory() {
    WideString directory;
    FileSystem::GetTempPath(directory);
    return narrow_lib(directory);
  }

  // NAME(PARAMETERS) asks about OPERATION on PATH, then calls the real one
  // with ARGUMENTS; HANDLE_CALL says whether a failure sets the last error.
#define ORB_FAULTY(NAME, PARAMETERS, ARGUMENTS, OPERATION, PATH, HANDLE_CALL, ...) \
  static uint32_t NAME PARAMETERS {                                                \
    return through(Op::OPERATION, PATH, [&] { return FileSystem::NAME ARGUMENTS; }, \
                   HANDLE_CALL, ##__VA_ARGS__);                                    \
  }
  ORB_FAULTY(ReadFile, (HANDLE h, void* b, uint32_t n, unsigned int* r, _OVERLAPPED* o),
             (h, b, n, r, o), kRead, at(h), true, n)
  // Leaves the last-error cell alone, as the real one does.
  ORB_FAULTY(ReadFileAt, (HANDLE h, void* b, uint32_t n, uint64_t offset, unsigned int* r),
             (h, b, n, offset, r), kRead, at(h), false, n)
  ORB_FAULTY(WriteFile, (HANDLE h, const void* b, uint32_t n, unsigned int* w, _OVERLAPPED* o),
             (h, b, n, w, o), kWrite, at(h), true, n)
  ORB_FAULTY(SetEndOfFile, (HANDLE h), (h), kSetEnd, at(h), true)
  ORB_FAULTY(GetFileTime, (HANDLE h, _FILETIME* c, _FILETIME* a, _FILETIME* w), (h, c, a, w),
             kStatus, at(h), true)
  ORB_FAULTY(SetFileTime, (HANDLE h, const _FILETIME* c, const _FILETIME* a, const _FILETIME* w),
             (h, c, a, w), kSetTime, at(h), true)
  ORB_FAULTY(SetTimesAt, (HANDLE d, const std::string& n, const timespec t[2]), (d, n, t),
             kSetTime, at(d, n), false)
  ORB_FAULTY(SetFileMode, (HANDLE h, uint32_t mode), (h, mode), kSetMode, at(h), false)
  ORB_FAULTY(SetOwnerAt, (HANDLE d, const std::string& n, uid_t u, gid_t g), (d, n, u, g),
             kSetMode, at(d, n), false)
  ORB_FAULTY(FlushFileBuffers, (HANDLE h), (h), kFlush, at(h), true)
  ORB_FAULTY(FlushFileSystem, (HANDLE h), (h), kFlush, at(h), true)
  ORB_FAULTY(MoveFile, (const WideString& from, const WideString& to), (from, to), kMove,
             narrow_lib(from) + " -> " + narrow_lib(to), false)
  ORB_FAULTY(MoveFileAt, (HANDLE fd, const std::string& f, HANDLE td, const std::string& t),
             (fd, f, td, t), kMove, at(fd, f) + " -> " + at(td, t), false)
  ORB_FAULTY(MoveNewFileAt, (HANDLE d, const std::string& f, const std::string& t), (d, f, t),
             kMove, at(d, f) + " -> " + at(d, t), false)
  ORB_FAULTY(ExchangeAt, (HANDLE d, const std::string& a, const std::string& b), (d, a, b),
             kMove, at(d, a) + " <-> " + at(d, b), false)
  ORB_FAULTY(CreateHardLink, (const WideString& to, const WideString& from), (to, from), kLink,
             narrow_lib(from) + " -> " + narrow_lib(to), false)
  ORB_FAULTY(CreateHardLinkAt, (HANDLE td, const std::string& t, HANDLE fd, const std::string& f),
             (td, t, fd, f), kLink, at(fd, f) + " -> " + at(td, t), false)
  ORB_FAULTY(CreateDirectory, (const WideString& p), (p), kMakeDirectory, narrow_lib(p), false)
  ORB_FAULTY(CreateDirectoryAt, (HANDLE d, const std::string& n, uint32_t mode), (d, n, mode),
             kMakeDirectory, at(d, n), false)
  ORB_FAULTY(RemoveDirectory, (const WideString& p), (p), kRemoveDirectory, narrow_lib(p), false)
  ORB_FAULTY(RemoveDirectoryAt, (HANDLE d, const std::string& n), (d, n), kRemoveDirectory,
             at(d, n), false)
  ORB_FAULTY(DeleteFile, (const WideString& p), (p), kDelete, narrow_lib(p), false)
  ORB_FAULTY(DeleteFileAt, (HANDLE d, const std::string& n), (d, n), kDelete, at(d, n), false)
  ORB_FAULTY(GetTempFileName, (const WideString& d, const WideString& prefix, WideString& name),
             (d, prefix, name), kCreate, narrow_lib(d) + narrow_lib(prefix), false)
  ORB_FAULTY(ListDirectory, (const std::string& p, std::vector<std::string>& names), (p, names),
             kOpen, p, false)
  ORB_FAULTY(StatusAt, (HANDLE d, const std::string& n, FileStatus& s, bool follow = false),
             (d, n, s, follow), kStatus, at(d, n), false)
  ORB_FAULTY(StatusOfPath, (const std::string& p, bool follow, FileStatus& s), (p, follow, s),
             kStatus, p, false)
  ORB_FAULTY(GetFileSize, (const WideString& p, uint64_t* size), (p, size), kStatus,
             narrow_lib(p), false)
  ORB_FAULTY(GetFreeSpaceTmpDir, (unsigned int* freeBytes), (freeBytes), kStatus,
             temporaryDirectory(), false)
  ORB_FAULTY(CheckWritable, (const std::string& p), (p), kAccess, p, false)
#undef ORB_FAULTY
  // The opening calls also remember the path of the handle they made.
  static uint32_t CreateFile(const WideString& path, uint32_t access, uint32_t share,
                             uint32_t disposition, HANDLE& handle) {
    const Op operation = (access & GENERIC_WRITE) != 0 ? Op::kCreate : Op::kOpen;
    return opened(through(operation, narrow_lib(path), [&] {
      return FileSystem::CreateFile(path, access, share, disposition, handle);
    }, true), handle, narrow_lib(path));
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
  static int CloseHandle(HANDLE handle) {
    FileFaults::closed(handle);
    return FileSystem::CloseHandle(handle);
  }
  // What no test fails: a seek on a regular file, the cells of the process.
  static uint32_t SetFilePointer(HANDLE handle, int32_t distance, long* high, uint32_t method) {
    return FileSystem::SetFilePointer(handle, distance, high, method);
  }
  // A failure injected here skips the flush, which is all a failure of it
  // may do.
  static void FlushFileSystemAhead(HANDLE directory) {
    through(Op::kFlushAhead, at(directory), [&] {
      FileSystem::FlushFileSystemAhead(directory);
      return 0u;
    });
  }
  static uint32_t GetTempPath(WideString& directory) { return FileSystem::GetTempPath(directory); }
  static uint32_t GetLastError() { return FileSystem::GetLastError(); }

 private:
  // Remembers the path of a handle just opened, for the calls that use it;
  // by reference, as the handle is read only once the call has set it.
  static uint32_t opened(uint32_t code, const HANDLE& handle, const std::string& path) {
    if (code == 0) FileFaults::opened(handle, path);
    return code;
  }
};
