#include "support/faulty_file_system.h"

std::atomic<FileFaults*> FileFaults::s_current{nullptr};

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
