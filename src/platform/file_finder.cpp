#include "platform/file_finder.h"

#include <fnmatch.h>

#include "platform/win32_types.h"

FileFinder::FileFinder() : m_stream(nullptr), m_status{} {}

FileFinder::~FileFinder() { close(); }

bool FileFinder::reset(const WideString& path) {
  close();
  m_fullPath = narrow_lib(path);
  const std::string::size_type slash = m_fullPath.rfind('/');
  if (slash == std::string::npos) {
    m_directory = m_fullPath;
    m_pattern = m_fullPath;
  } else {
    m_directory = m_fullPath.substr(0, slash);
    m_pattern = m_fullPath.substr(slash + 1);
  }
  m_stream = opendir(m_directory.c_str());
  if (m_stream == nullptr) {
    return false;
  }
  return next();
}

bool FileFinder::next() {
  if (m_stream == nullptr) {
    return false;
  }
  for (;;) {
    const dirent* entry = readdir(m_stream);
    if (entry == nullptr) {
      close();
      return false;
    }
    const int match = fnmatch(m_pattern.c_str(), entry->d_name, FNM_PATHNAME);
    if (match == FNM_NOMATCH) {
      continue;
    }
    if (match != 0) {
      return false;
    }
    m_currentName = entry->d_name;
    const std::string entryPath = m_directory + "/" + m_currentName;
    return stat64(entryPath.c_str(), &m_status) == 0;
  }
}

WideString FileFinder::name() const {
  return m_stream == nullptr ? WideString() : widen_lib(m_currentName);
}

uint32_t FileFinder::attributes() const {
  if (m_stream == nullptr) {
    return 0;
  }
  return S_ISDIR(m_status.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0;
}

void FileFinder::close() {
  if (m_stream != nullptr) {
    closedir(m_stream);
    m_stream = nullptr;
  }
}
