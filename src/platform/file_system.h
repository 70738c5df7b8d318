// The Win32-style file API over POSIX: handles carrying file descriptors, path
// operations done with system calls (never a shell), and one process-wide
// last-error cell. All operations are static so the class can be passed as a
// template argument (the kit reader takes it). Any thread; the last-error cell
// is shared, so only one thread should do handle operations at a time.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "platform/win32_types.h"
#include "text/wide_string.h"

// What a status query tells of a file: kind, mode, owner, size, times, identity.
using FileStatus = struct stat;

class FileSystem {
 public:
  // Handle operations: each sets the last error to 0, then to the failure's code.
  static uint32_t CreateFile(const WideString& path, uint32_t desiredAccess, uint32_t shareMode,
                             uint32_t creationDisposition, HANDLE& handle);
  static uint32_t ReadFile(HANDLE handle, void* buffer, uint32_t count, unsigned int* bytesRead,
                           _OVERLAPPED* overlapped);
  static uint32_t WriteFile(HANDLE handle, const void* buffer, uint32_t count,
                            unsigned int* bytesWritten, _OVERLAPPED* overlapped);
  // Returns the low 32 bits of the new position, all ones on failure. With
  // `distanceHigh` the distance is (high << 32) + (uint32_t)low, and the new
  // position's high word is written back. A failed seek also sets the last error.
  static uint32_t SetFilePointer(HANDLE handle, int32_t distance, long* distanceHigh,
                                 uint32_t moveMethod);
  static int CloseHandle(HANDLE handle);
  static uint32_t GetFileTime(HANDLE handle, _FILETIME* creation, _FILETIME* lastAccess,
                              _FILETIME* lastWrite);
  static uint32_t SetFileTime(HANDLE handle, const _FILETIME* creation, const _FILETIME* lastAccess,
                              const _FILETIME* lastWrite);
  static uint32_t SetEndOfFile(HANDLE handle);
  // Writes the file's data and status through to the disk (fsync); on a
  // directory's handle, its entries.
  static uint32_t FlushFileBuffers(HANDLE handle);
  // Writes everything pending on the handle's whole file system through to
  // the disk (syncfs): one call for the thousands of files of an installation.
  static uint32_t FlushFileSystem(HANDLE handle);
  // Writes everything pending on the whole file system of `directory` to
  // the disk through a descriptor of its own (syncfs), so that a later flush
  // finds little left to do. Its outcome does not count: a failure it meets
  // is still reported to that flush, through its own descriptor opened
  // before. Any thread; the last error stays as it is.
  static void FlushFileSystemAhead(HANDLE directory);

  // Path operations: they return their code and leave the last error alone.
  // No shell is involved: any character of a path is taken literally.
  // A second name `newPath` for the file (or symbolic link, not followed) at
  // `existingPath`: 0; 183 when `newPath` exists; else the translated errno.
  static uint32_t CreateHardLink(const WideString& newPath, const WideString& existingPath);
  // The whole size of the file at `path`, 64 bits wide: 0, or 1 on any failure.
  static uint32_t GetFileSize(const WideString& path, uint64_t* size);
  static uint32_t DeleteFile(const WideString& path);  // always 0
  // Renames a file or directory tree, replacing an existing target file; across
  // file systems copies it (modes, times) and removes the source. 0; 2 when the
  // source is missing or the move fails; 112 when the target's disk is full.
  static uint32_t MoveFile(const WideString& existing, const WideString& target);
  // Removes a file or a whole tree; symbolic links are removed, never followed.
  static uint32_t RemoveDirectory(const WideString& path);  // always 0
  // 183 when the directory exists; else creates it with missing parents: 0, 2
  // when a parent cannot be reached, or the code of why one cannot be made.
  static uint32_t CreateDirectory(const WideString& path);
  // Creates a new empty file in `directory` (never elsewhere) whose name starts
  // with at most five characters of `prefix`; 0, or 1013 when it cannot.
  static uint32_t GetTempFileName(const WideString& directory, const WideString& prefix,
                                  WideString& fileName);
  static uint32_t GetTempPath(WideString& directory);  // always 0; ends with "/"
  // Free bytes in the temporary directory that this user may use,
  // 0xFFFFFFFF when more; 0, or 87 when they cannot be measured.
  static uint32_t GetFreeSpaceTmpDir(unsigned int* freeBytes);

  static uint32_t GetLastError();

  // Operations relative to an open directory, for walking a tree that others
  // may write to: `name` is one path component, and a symbolic link there is
  // never followed. They return their code and leave the last error alone.
  // INVALID_HANDLE_VALUE as the directory stands for the current directory;
  // the name may then be a whole path.
  // Opens a directory: 0; 2 when missing; 3 when it is a link or not a
  // directory.
  static uint32_t OpenDirectoryAt(HANDLE directory, const std::string& name, HANDLE& opened);
  // Creates a new file for writing where the name is free: 0; 183 when the
  // name exists (a link included).
  static uint32_t CreateFileAt(HANDLE directory, const std::string& name, uint32_t mode,
                               HANDLE& file);
  // Renames within one file system, replacing a file (or link) at `to`; 17
  // between two file systems.
  static uint32_t MoveFileAt(HANDLE fromDirectory, const std::string& from, HANDLE toDirectory,
                             const std::string& to);
  // Renames `from` to `to` within `directory` only where `to` is free, so
  // that nothing standing there meanwhile is lost: 0; 183 when `to` exists
  // (a link or directory included).
  static uint32_t MoveNewFileAt(HANDLE directory, const std::string& from, const std::string& to);
  // Swaps the names `first` and `second` of `directory` in one atomic step:
  // each then names what the other did. 0; 2 when either is missing; 50
  // when the file system cannot swap names.
  static uint32_t ExchangeAt(HANDLE directory, const std::string& first, const std::string& second);
  // A second name for the file or link `existing`: 0; 183 when `name` exists.
  static uint32_t CreateHardLinkAt(HANDLE directory, const std::string& name,
                                   HANDLE existingDirectory, const std::string& existing);
  static uint32_t DeleteFileAt(HANDLE directory, const std::string& name);
  // 0; 183 when the name exists.
  static uint32_t CreateDirectoryAt(HANDLE directory, const std::string& name, uint32_t mode);
  // Removes an empty directory.
  static uint32_t RemoveDirectoryAt(HANDLE directory, const std::string& name);
  // Sets the permission bits of an open file.
  static uint32_t SetFileMode(HANDLE file, uint32_t mode);
  // Sets the owner and group of `name` in `directory` (of the directory or
  // file itself when `name` is empty), never through a link; -1 keeps one.
  static uint32_t SetOwnerAt(HANDLE directory, const std::string& name, uid_t owner, gid_t group);
  // The status of `name` in `directory` (of the directory itself when `name`
  // is empty); a link there is described, or followed when `followLink`.
  // 0, or the translated errno.
  static uint32_t StatusAt(HANDLE directory, const std::string& name, FileStatus& status,
                           bool followLink = false);
  // The status of a path; a final symbolic link is followed when `followLinks`.
  static uint32_t StatusOfPath(const std::string& path, bool followLinks, FileStatus& status);
  // Sets the access and write times of `name` in `directory` (of the
  // directory itself when `name` is empty), never through a link.
  static uint32_t SetTimesAt(HANDLE directory, const std::string& name, const timespec times[2]);
  // 0 when this process may make, rename and remove entries in the
  // directory `path` (write into it and search it), else the translated
  // errno (5 for a denied access, 19 on a read-only file system).
  static uint32_t CheckWritable(const std::string& path);
  // Appends the names in a directory, "." and ".." left out, sorted bytewise
  // (directory_listing.h).
  static uint32_t ListDirectory(const std::string& path, std::vector<std::string>& names);
  // Reads up to `count` bytes at `offset` without moving the file position;
  // 0 with fewer bytes at the end of the file.
  static uint32_t ReadFileAt(HANDLE handle, void* buffer, uint32_t count, uint64_t offset,
                             unsigned int* bytesRead);
};

// CreateFile dispositions: CREATE_NEW makes a file only where the name is
// free and never follows a symbolic link (O_CREAT | O_EXCL | O_NOFOLLOW).

// Translates an errno value into a Win32 code (ENOENT 2, ENOSPC and EDQUOT 112,
// any other 87) and stores it as the last error.
uint32_t setLastErrorByErrNo(int errnoValue);

// Seconds since 1970 and _FILETIME ticks, in 64-bit arithmetic (no 2038 wrap).
long FileTimeToEpoch(const _FILETIME& fileTime);
_FILETIME EpochToFileTime(const long& seconds);
