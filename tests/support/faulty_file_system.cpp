#include "support/faulty_file_system.h"

#include "platform/last_error.h"

FileFaults* FileFaults::s_current = nullptr;

FileFaults::FileFaults() { s_current = this; }

FileFaults::~FileFaults() { s_current = nullptr; }

FileFaults& FileFaults::fail(FileOperation operation, uint32_t code, const std::string& part,
                             int skip, int count) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_rules.push_back({operation, code, part, skip, count, 0});
  return *this;
}

FileFaults& FileFaults::on(FileOperation operation, Action action) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_actions.emplace_back(operation, std::move(action));
  return *this;
}

int FileFaults::count(FileOperation operation, const std::string& part) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  int calls = 0;
  for (const FileCall& call : m_calls) {
    calls += call.operation == operation && call.path.find(part) != std::string::npos;
  }
  return calls;
}

std::vector<FileCall> FileFaults::calls() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_calls;
}

uint32_t FileFaults::ask(FileOperation operation, const std::string& path, uint32_t bytes) {
  FileFaults* faults = s_current;
  if (faults == nullptr) return 0;
  std::vector<Action> actions;
  {
    std::lock_guard<std::mutex> lock(faults->m_mutex);
    for (const auto& [on, action] : faults->m_actions) {
      if (on == operation) actions.push_back(action);
    }
  }
  // Actions run unlocked: they may use the file layer themselves.
  uint32_t code = 0;
  for (const Action& action : actions) {
    if (code == 0) code = action(path);
  }
  std::lock_guard<std::mutex> lock(faults->m_mutex);
  for (Rule& rule : faults->m_rules) {
    if (rule.operation != operation || path.find(rule.part) == std::string::npos) continue;
    const int index = rule.seen++;
    if (code == 0 && index >= rule.skip && (rule.count < 0 || index < rule.skip + rule.count)) {
      code = rule.code;
    }
  }
  faults->m_calls.push_back({operation, path, bytes, code});
  return code;
}

std::string FileFaults::pathOf(HANDLE handle, const std::string& name) {
  std::string path;
  if (FileFaults* faults = s_current) {
    std::lock_guard<std::mutex> lock(faults->m_mutex);
    const auto known = faults->m_paths.find(handle);
    if (known != faults->m_paths.end()) path = known->second;
  }
  if (name.empty()) return path;
  return path.empty() || name[0] == '/' ? name : path + "/" + name;
}

void FileFaults::opened(HANDLE handle, const std::string& path) {
  if (FileFaults* faults = s_current) {
    std::lock_guard<std::mutex> lock(faults->m_mutex);
    faults->m_paths[handle] = path;
  }
}

void FileFaults::closed(HANDLE handle) {
  if (FileFaults* faults = s_current) {
    std::lock_guard<std::mutex> lock(faults->m_mutex);
    faults->m_paths.erase(handle);
  }
}

namespace {

using Op = FileOperation;

// A failed handle operation also leaves its code in the last-error cell.
uint32_t failed(uint32_t code) { return setLastError(code); }

}  // namespace

uint32_t FaultyFileSystem::CreateFile(const WideString& path, uint32_t access, uint32_t share,
                                      uint32_t disposition, HANDLE& handle) {
  const std::string name = narrow_lib(path);
  const Op operation = (access & GENERIC_WRITE) != 0 ? Op::kCreate : Op::kOpen;
  if (const uint32_t code = FileFaults::ask(operation, name)) return failed(code);
  const uint32_t code = FileSystem::CreateFile(path, access, share, disposition, handle);
  if (code == 0) FileFaults::opened(handle, name);
  return code;
}

int FaultyFileSystem::CloseHandle(HANDLE handle) {
  FileFaults::closed(handle);
  return FileSystem::CloseHandle(handle);
}

uint32_t FaultyFileSystem::ReadFile(HANDLE handle, void* buffer, uint32_t count,
                                    unsigned int* read, _OVERLAPPED* overlapped) {
  if (const uint32_t code = FileFaults::ask(Op::kRead, FileFaults::pathOf(handle), count)) {
    return failed(code);
  }
  return FileSystem::ReadFile(handle, buffer, count, read, overlapped);
}

uint32_t FaultyFileSystem::ReadFileAt(HANDLE handle, void* buffer, uint32_t count,
                                      uint64_t offset, unsigned int* read) {
  // Leaves the last-error cell alone, as the real one does.
  if (const uint32_t code = FileFaults::ask(Op::kRead, FileFaults::pathOf(handle), count)) {
    return code;
  }
  return FileSystem::ReadFileAt(handle, buffer, count, offset, read);
}

uint32_t FaultyFileSystem::WriteFile(HANDLE handle, const void* buffer, uint32_t count,
                                     unsigned int* written, _OVERLAPPED* overlapped) {
  if (const uint32_t code = FileFaults::ask(Op::kWrite, FileFaults::pathOf(handle), count)) {
    return failed(code);
  }
  return FileSystem::WriteFile(handle, buffer, count, written, overlapped);
}

uint32_t FaultyFileSystem::SetEndOfFile(HANDLE handle) {
  if (const uint32_t code = FileFaults::ask(Op::kSetEnd, FileFaults::pathOf(handle))) {
    return failed(code);
  }
  return FileSystem::SetEndOfFile(handle);
}

uint32_t FaultyFileSystem::SetFileTime(HANDLE handle, const _FILETIME* creation,
                                       const _FILETIME* access, const _FILETIME* write) {
  if (const uint32_t code = FileFaults::ask(Op::kSetTime, FileFaults::pathOf(handle))) {
    return failed(code);
  }
  return FileSystem::SetFileTime(handle, creation, access, write);
}

uint32_t FaultyFileSystem::SetTimesAt(HANDLE directory, const std::string& name,
                                      const timespec times[2]) {
  if (const uint32_t code = FileFaults::ask(Op::kSetTime, FileFaults::pathOf(directory, name))) {
    return code;
  }
  return FileSystem::SetTimesAt(directory, name, times);
}

uint32_t FaultyFileSystem::SetFileMode(HANDLE file, uint32_t mode) {
  if (const uint32_t code = FileFaults::ask(Op::kSetMode, FileFaults::pathOf(file))) return code;
  return FileSystem::SetFileMode(file, mode);
}

uint32_t FaultyFileSystem::FlushFileBuffers(HANDLE handle) {
  if (const uint32_t code = FileFaults::ask(Op::kFlush, FileFaults::pathOf(handle))) {
    return failed(code);
  }
  return FileSystem::FlushFileBuffers(handle);
}

uint32_t FaultyFileSystem::FlushFileSystem(HANDLE handle) {
  if (const uint32_t code = FileFaults::ask(Op::kFlush, FileFaults::pathOf(handle))) {
    return failed(code);
  }
  return FileSystem::FlushFileSystem(handle);
}

uint32_t FaultyFileSystem::MoveFile(const WideString& existing, const WideString& target) {
  if (const uint32_t code =
          FileFaults::ask(Op::kMove, narrow_lib(existing) + " -> " + narrow_lib(target))) {
    return code;
  }
  return FileSystem::MoveFile(existing, target);
}

uint32_t FaultyFileSystem::MoveFileAt(HANDLE fromDirectory, const std::string& from,
                                      HANDLE toDirectory, const std::string& to) {
  const std::string path =
      FileFaults::pathOf(fromDirectory, from) + " -> " + FileFaults::pathOf(toDirectory, to);
  if (const uint32_t code = FileFaults::ask(Op::kMove, path)) return code;
  return FileSystem::MoveFileAt(fromDirectory, from, toDirectory, to);
}

uint32_t FaultyFileSystem::CreateHardLink(const WideString& newPath,
                                          const WideString& existingPath) {
  if (const uint32_t code =
          FileFaults::ask(Op::kLink, narrow_lib(existingPath) + " -> " + narrow_lib(newPath))) {
    return code;
  }
  return FileSystem::CreateHardLink(newPath, existingPath);
}

uint32_t FaultyFileSystem::CreateHardLinkAt(HANDLE directory, const std::string& name,
                                            HANDLE existingDirectory,
                                            const std::string& existing) {
  const std::string path = FileFaults::pathOf(existingDirectory, existing) + " -> " +
                           FileFaults::pathOf(directory, name);
  if (const uint32_t code = FileFaults::ask(Op::kLink, path)) return code;
  return FileSystem::CreateHardLinkAt(directory, name, existingDirectory, existing);
}

uint32_t FaultyFileSystem::CreateDirectory(const WideString& path) {
  if (const uint32_t code = FileFaults::ask(Op::kMakeDirectory, narrow_lib(path))) return code;
  return FileSystem::CreateDirectory(path);
}

uint32_t FaultyFileSystem::CreateDirectoryAt(HANDLE directory, const std::string& name,
                                             uint32_t mode) {
  const std::string path = FileFaults::pathOf(directory, name);
  if (const uint32_t code = FileFaults::ask(Op::kMakeDirectory, path)) return code;
  return FileSystem::CreateDirectoryAt(directory, name, mode);
}

uint32_t FaultyFileSystem::RemoveDirectory(const WideString& path) {
  if (const uint32_t code = FileFaults::ask(Op::kRemoveDirectory, narrow_lib(path))) return code;
  return FileSystem::RemoveDirectory(path);
}

uint32_t FaultyFileSystem::RemoveDirectoryAt(HANDLE directory, const std::string& name) {
  const std::string path = FileFaults::pathOf(directory, name);
  if (const uint32_t code = FileFaults::ask(Op::kRemoveDirectory, path)) return code;
  return FileSystem::RemoveDirectoryAt(directory, name);
}

uint32_t FaultyFileSystem::DeleteFile(const WideString& path) {
  if (const uint32_t code = FileFaults::ask(Op::kDelete, narrow_lib(path))) return code;
  return FileSystem::DeleteFile(path);
}

uint32_t FaultyFileSystem::DeleteFileAt(HANDLE directory, const std::string& name) {
  const std::string path = FileFaults::pathOf(directory, name);
  if (const uint32_t code = FileFaults::ask(Op::kDelete, path)) return code;
  return FileSystem::DeleteFileAt(directory, name);
}

uint32_t FaultyFileSystem::OpenDirectoryAt(HANDLE directory, const std::string& name,
                                           HANDLE& opened) {
  const std::string path = FileFaults::pathOf(directory, name);
  if (const uint32_t code = FileFaults::ask(Op::kOpen, path)) return code;
  const uint32_t code = FileSystem::OpenDirectoryAt(directory, name, opened);
  if (code == 0) FileFaults::opened(opened, path);
  return code;
}

uint32_t FaultyFileSystem::CreateFileAt(HANDLE directory, const std::string& name,
                                        uint32_t mode, HANDLE& file) {
  const std::string path = FileFaults::pathOf(directory, name);
  if (const uint32_t code = FileFaults::ask(Op::kCreate, path)) return code;
  const uint32_t code = FileSystem::CreateFileAt(directory, name, mode, file);
  if (code == 0) FileFaults::opened(file, path);
  return code;
}

uint32_t FaultyFileSystem::StatusAt(HANDLE directory, const std::string& name,
                                    FileStatus& status, bool followLink) {
  if (const uint32_t code = FileFaults::ask(Op::kStatus, FileFaults::pathOf(directory, name))) {
    return code;
  }
  return FileSystem::StatusAt(directory, name, status, followLink);
}

uint32_t FaultyFileSystem::StatusOfPath(const std::string& path, bool followLinks,
                                        FileStatus& status) {
  if (const uint32_t code = FileFaults::ask(Op::kStatus, path)) return code;
  return FileSystem::StatusOfPath(path, followLinks, status);
}

uint32_t FaultyFileSystem::ListDirectory(const std::string& path,
                                         std::vector<std::string>& names) {
  if (const uint32_t code = FileFaults::ask(Op::kList, path)) return code;
  return FileSystem::ListDirectory(path, names);
}
