#include "support/test_files.h"

#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

void write_file(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> directory_names(const std::string& directory, const std::string& prefix) {
  std::vector<std::string> names;
  if (DIR* stream = opendir(directory.c_str())) {
    while (const dirent* entry = readdir(stream)) {
      const std::string name = entry->d_name;
      if (name != "." && name != ".." && name.compare(0, prefix.size(), prefix) == 0) {
        names.push_back(name);
      }
    }
    closedir(stream);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string joined_names(const std::vector<std::string>& names, const std::string& separator) {
  std::string joined;
  for (const std::string& name : names) joined += name + separator;
  return joined;
}

struct stat status_of(const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0) status = {};
  return status;
}
