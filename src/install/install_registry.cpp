#include "install/install_registry.h"

#include <fcntl.h>

#include <algorithm>

#include "config/config_locations.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "platform/posix_call.h"

std::string install_registry_directory() { return narrow_lib(p8_app_data_dir(false)) + "pending/"; }

uint32_t check_registry_directory(const std::string& directory) {
  struct stat status;
  if (lstat(directory.c_str(), &status) != 0) return 0;
  return check_owned(status, true);
}

uint32_t read_registry_entries(const std::string& directory, std::vector<RegistryEntry>& entries,
                              bool tidy) {
  entries.clear();
  const uint32_t trusted = check_registry_directory(directory);
  if (trusted != 0) return trusted;
  const int opened = retryOnInterrupt([&] {
    return open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  });
  if (opened == -1) return 0;
  // The directory opened is the one checked, not one put in its place since.
  struct stat status;
  if (fstat(opened, &status) != 0 || check_owned(status, true) != 0) {
    close(opened);
    return ERROR_INVALID_OWNER;
  }
  if (tidy) removeReplacementLeftovers<FileSystem>(directory);
  std::vector<std::string> names;
  FileSystem::ListDirectory(directory, names);
  for (const std::string& name : names) {
    if (name.compare(0, 8, "install-") != 0) continue;
    RegistryEntry entry;
    entry.path = directory + name;
    entry.code = read_journal_file(opened, name, kMaxRegistryEntryBytes, entry.records);
    entries.push_back(std::move(entry));
  }
  close(opened);
  std::sort(entries.begin(), entries.end(),
            [](const RegistryEntry& a, const RegistryEntry& b) { return a.path < b.path; });
  return 0;
}
