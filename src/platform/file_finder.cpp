#include "platform/file_finder.h"

#include <fnmatch.h>

#include "platform/directory_listing.h"
#include "platform/path_parts.h"
#include "platform/win32_types.h"

FileFinder::FileFinder() : m_open(false), m_nextName(0), m_status{} {}

FileFinder::~FileFinder() { close(); }

bool FileFinder::reset(const WideString& path) {
  close();
  const std::string fullPath = narrow_lib(path);
  if (fullPath.empty() || fullPath.back() == '/') return false;
  const PathParts parts = splitPath(fullPath);
  m_directory = parts.parent;
  m_pattern = parts.base;
  m_names = {".", ".."};
  if (listDirectory(m_directory, m_names) != 0) {
    m_names.clear();
    return false;
  }
  m_open = true;
  m_nextName = 0;
  return next();
}

bool FileFinder::next() {
  if (!m_open) {
    return false;
  }
  for (;;) {
    if (m_nextName == m_names.size()) {
      close();
      return false;
    }
    const std::string& entry = m_names[m_nextName++];
    const int match = fnmatch(m_pattern.c_str(), entry.c_str(), FNM_PATHNAME);
    if (match == FNM_NOMATCH) {
      continue;
    }
    if (match != 0) {
      return false;
    }
    m_currentName = entry;
    const std::string entryPath = m_directory + "/" + m_currentName;
    return stat64(entryPath.c_str(), &m_status) == 0;
  }
}

WideString FileFinder::name() const { return m_open ? widen_lib(m_currentName) : WideString(); }

uint32_t FileFinder::attributes() const {
  if (!m_open) {
    return 0;
  }
  return S_ISDIR(m_status.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0;
}

void FileFinder::close() {
  m_open = false;
  m_names.clear();
}
