#include "platform/path_parts.h"

PathParts splitPath(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') {
    trimmed.pop_back();
  }
  if (trimmed.empty() || trimmed == "/") {
    return PathParts{trimmed, std::string()};
  }
  const std::string::size_type slash = trimmed.rfind('/');
  if (slash == std::string::npos) {
    return PathParts{".", trimmed};
  }
  std::string parent = trimmed.substr(0, slash);
  while (parent.size() > 1 && parent.back() == '/') {
    parent.pop_back();
  }
  return PathParts{parent.empty() ? "/" : parent, trimmed.substr(slash + 1)};
}
