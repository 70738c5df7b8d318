// The tests' file layer: FileSystem, with the failures and actions that the
// running test chooses per operation and per path (FileFaults), and a record
// of every call. Without a FileFaults alive every call simply goes through.
// Any thread may make the calls; a test holds one FileFaults at a time.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/file_system.h"

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
  uint32_t bytes;  // asked for by a read or write
  uint32_t code;   // the failure injected, 0 when the call went through
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
    int skip;
    int count;
    int seen;
  };
  mutable std::mutex m_mutex;
  std::vector<Rule> m_rules;
  std::vector<std::pair<FileOperation, Action>> m_actions;
  std::vector<FileCall> m_calls;
  std::map<HANDLE, std::string> m_paths;
  static FileFaults* s_current;
};

struct FaultyFileSystem : FileSystem {
  static uint32_t CreateFile(const WideString& path, uint32_t access, uint32_t share,
                             uint32_t disposition, HANDLE& handle);
  static int CloseHandle(HANDLE handle);
  static uint32_t ReadFile(HANDLE handle, void* buffer, uint32_t count, unsigned int* read,
                           _OVERLAPPED* overlapped);
  static uint32_t ReadFileAt(HANDLE handle, void* buffer, uint32_t count, uint64_t offset,
                             unsigned int* read);
  static uint32_t WriteFile(HANDLE handle, const void* buffer, uint32_t count,
                            unsigned int* written, _OVERLAPPED* overlapped);
  static uint32_t SetEndOfFile(HANDLE handle);
  static uint32_t SetFileTime(HANDLE handle, const _FILETIME* creation, const _FILETIME* access,
                              const _FILETIME* write);
  static uint32_t SetTimesAt(HANDLE directory, const std::string& name, const timespec times[2]);
  static uint32_t SetFileMode(HANDLE file, uint32_t mode);
  static uint32_t FlushFileBuffers(HANDLE handle);
  static uint32_t FlushFileSystem(HANDLE handle);
  static uint32_t MoveFile(const WideString& existing, const WideString& target);
  static uint32_t MoveFileAt(HANDLE fromDirectory, const std::string& from, HANDLE toDirectory,
                             const std::string& to);
  static uint32_t CreateHardLink(const WideString& newPath, const WideString& existingPath);
  static uint32_t CreateHardLinkAt(HANDLE directory, const std::string& name,
                                   HANDLE existingDirectory, const std::string& existing);
  static uint32_t CreateDirectory(const WideString& path);
  static uint32_t CreateDirectoryAt(HANDLE directory, const std::string& name, uint32_t mode);
  static uint32_t RemoveDirectory(const WideString& path);
  static uint32_t RemoveDirectoryAt(HANDLE directory, const std::string& name);
  static uint32_t DeleteFile(const WideString& path);
  static uint32_t DeleteFileAt(HANDLE directory, const std::string& name);
  static uint32_t OpenDirectoryAt(HANDLE directory, const std::string& name, HANDLE& opened);
  static uint32_t CreateFileAt(HANDLE directory, const std::string& name, uint32_t mode,
                               HANDLE& file);
  static uint32_t StatusAt(HANDLE directory, const std::string& name, FileStatus& status,
                           bool followLink = false);
  static uint32_t StatusOfPath(const std::string& path, bool followLinks, FileStatus& status);
  static uint32_t ListDirectory(const std::string& path, std::vector<std::string>& names);
};
