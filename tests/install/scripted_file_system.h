// A Win32-style file layer for the tests: every operation goes to FileSystem,
// but each operation that changes the disk first asks a hook, which may make
// it fail or act (request a cancel, read the published state, end the
// process) at a chosen moment. The hook is process-wide; tests set it on one
// thread.
#pragma once

#include <functional>

#include "install/installer.h"
#include "platform/file_system.h"

enum class FileOperation {
  kCreateFile,
  kWriteFile,
  kSetEndOfFile,
  kSetFileTime,
  kMoveFile,
  kCreateDirectory,
  kRemoveDirectory,
  kDeleteFile,
  kCreateHardLink,
  kFlush
};

struct ScriptedFileSystem : FileSystem {
  // Returns 0 to let the operation run, else the code it fails with.
  using Hook = std::function<uint32_t(FileOperation, const WideString& path)>;
  static inline Hook hook;

  static uint32_t ask(FileOperation operation, const WideString& path) {
    return hook ? hook(operation, path) : 0;
  }

  static uint32_t CreateFile(const WideString& path, uint32_t access, uint32_t share,
                             uint32_t disposition, HANDLE& handle) {
    if (access & GENERIC_WRITE) {
      if (const uint32_t code = ask(FileOperation::kCreateFile, path)) return code;
    }
    return FileSystem::CreateFile(path, access, share, disposition, handle);
  }
  static uint32_t WriteFile(HANDLE handle, const void* buffer, uint32_t count,
                            unsigned int* written, _OVERLAPPED* overlapped) {
    if (const uint32_t code = ask(FileOperation::kWriteFile, WideString())) return code;
    return FileSystem::WriteFile(handle, buffer, count, written, overlapped);
  }
  static uint32_t SetEndOfFile(HANDLE handle) {
    if (const uint32_t code = ask(FileOperation::kSetEndOfFile, WideString())) return code;
    return FileSystem::SetEndOfFile(handle);
  }
  static uint32_t SetFileTime(HANDLE handle, const _FILETIME* creation, const _FILETIME* access,
                              const _FILETIME* write) {
    if (const uint32_t code = ask(FileOperation::kSetFileTime, WideString())) return code;
    return FileSystem::SetFileTime(handle, creation, access, write);
  }
  static uint32_t MoveFile(const WideString& existing, const WideString& target) {
    if (const uint32_t code = ask(FileOperation::kMoveFile, existing)) return code;
    return FileSystem::MoveFile(existing, target);
  }
  static uint32_t CreateDirectory(const WideString& path) {
    if (const uint32_t code = ask(FileOperation::kCreateDirectory, path)) return code;
    return FileSystem::CreateDirectory(path);
  }
  static uint32_t RemoveDirectory(const WideString& path) {
    ask(FileOperation::kRemoveDirectory, path);
    return FileSystem::RemoveDirectory(path);
  }
  static uint32_t DeleteFile(const WideString& path) {
    ask(FileOperation::kDeleteFile, path);
    return FileSystem::DeleteFile(path);
  }
  static uint32_t CreateHardLink(const WideString& newPath, const WideString& existingPath) {
    if (const uint32_t code = ask(FileOperation::kCreateHardLink, existingPath)) return code;
    return FileSystem::CreateHardLink(newPath, existingPath);
  }
  static uint32_t FlushFileBuffers(HANDLE handle) {
    if (const uint32_t code = ask(FileOperation::kFlush, WideString())) return code;
    return FileSystem::FlushFileBuffers(handle);
  }
  static uint32_t FlushFileSystem(HANDLE handle) {
    if (const uint32_t code = ask(FileOperation::kFlush, WideString())) return code;
    return FileSystem::FlushFileSystem(handle);
  }
  static uint32_t CreateFileAt(HANDLE directory, const std::string& name, uint32_t mode,
                               HANDLE& file) {
    if (const uint32_t code = ask(FileOperation::kCreateFile, widen_lib(name))) return code;
    return FileSystem::CreateFileAt(directory, name, mode, file);
  }
  // The hook sees "FROM -> TO".
  static uint32_t MoveFileAt(HANDLE fromDirectory, const std::string& from, HANDLE toDirectory,
                             const std::string& to) {
    if (const uint32_t code = ask(FileOperation::kMoveFile, widen_lib(from + " -> " + to))) {
      return code;
    }
    return FileSystem::MoveFileAt(fromDirectory, from, toDirectory, to);
  }
  static uint32_t CreateHardLinkAt(HANDLE directory, const std::string& name,
                                   HANDLE existingDirectory, const std::string& existing) {
    if (const uint32_t code = ask(FileOperation::kCreateHardLink, widen_lib(existing))) {
      return code;
    }
    return FileSystem::CreateHardLinkAt(directory, name, existingDirectory, existing);
  }
  static uint32_t DeleteFileAt(HANDLE directory, const std::string& name) {
    ask(FileOperation::kDeleteFile, widen_lib(name));
    return FileSystem::DeleteFileAt(directory, name);
  }
  static uint32_t CreateDirectoryAt(HANDLE directory, const std::string& name, uint32_t mode) {
    if (const uint32_t code = ask(FileOperation::kCreateDirectory, widen_lib(name))) return code;
    return FileSystem::CreateDirectoryAt(directory, name, mode);
  }
  static uint32_t RemoveDirectoryAt(HANDLE directory, const std::string& name) {
    ask(FileOperation::kRemoveDirectory, widen_lib(name));
    return FileSystem::RemoveDirectoryAt(directory, name);
  }
};

using ScriptedKit = config::InstallData<LZCompressor, ScriptedFileSystem>;
using ScriptedInstaller = BasicInstaller<ScriptedKit, ScriptedFileSystem>;
using ScriptedProcessData = BasicInstallProcessData<ScriptedKit>;
