#include "install/install_registry.h"

#include <algorithm>

#include "config/config_locations.h"
#include "platform/file_system.h"

std::string install_registry_directory() { return narrow_lib(p8_app_data_dir(false)) + "pending/"; }

std::vector<std::string> list_registry_entries(const std::string& directory) {
  std::vector<std::string> names;
  std::vector<std::string> entries;
  FileSystem::ListDirectory(directory, names);
  for (const std::string& name : names) {
    if (name.compare(0, 8, "install-") != 0) continue;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".new") == 0) continue;
    entries.push_back(directory + name);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}
