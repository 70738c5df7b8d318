#include "config/starter.h"

#include <set>
#include <utility>

#include "config/config_file_io.h"
#include "config/config_locations.h"
#include "platform/file_finder.h"
#include "platform/file_system.h"
#include "platform/path_parts.h"

namespace {

struct NoCaseLess {
  bool operator()(const WideString& a, const WideString& b) const {
    return compare_nocase(a, b) < 0;
  }
};

using NoCaseSet = std::set<WideString, NoCaseLess>;

// A missing or unreadable file contributes nothing, and neither does a failure
// in the middle of reading one.
void read_ignoring_failures(const WideString& path, ConfigFile& configFile) {
  try {
    read_config_file(path, configFile);
  } catch (...) {
  }
}

}  // namespace

Starter::Starter(bool useBaseLocations) : useBaseLocations(useBaseLocations) {}

WideString Starter::localConfigPath() const {
  return useBaseLocations ? get_local_config_file_path_base() : get_local_config_file_path();
}

WideString Starter::allUsersConfigPath() const {
  return useBaseLocations ? get_allusers_config_file_path_base() : get_allusers_config_file_path();
}

void Starter::loadConfig() {
  read_ignoring_failures(allUsersConfigPath(), allUsersConfig);
  read_ignoring_failures(localConfigPath(), localConfig);
}

void Starter::getConfigFilesValues(bool localFirst, const WideString& key,
                                   std::vector<WideString>& list, bool stopAfterSecond) const {
  const ConfigFile* sources[] = {&localConfig, &allUsersConfig, &extraConfig};
  if (!localFirst) std::swap(sources[0], sources[2]);
  const size_t sourceCount = stopAfterSecond ? 2 : 3;
  NoCaseSet seen;
  for (size_t i = 0; i < sourceCount; ++i) {
    const ConfigValues* values = sources[i]->findValues(key);
    if (values == nullptr) continue;
    for (const WideString& value : *values) {
      if (seen.insert(value).second) list.push_back(value);
    }
  }
}

void Starter::getTmpltsList(std::vector<WideString>& list, bool localFirst) {
  loadConfig();
  getConfigFilesValues(localFirst, kConfigFileFieldTemplatesLocation, list, localFirst);
  replaceWrongSeparators(list);
  removePathDuplicates(list);
}

void Starter::setTmpltsList(const std::vector<WideString>& list) {
  loadConfig();
  std::vector<WideString> cleaned = list;
  removePathDuplicates(cleaned);
  localConfig.setValues(kConfigFileFieldTemplatesLocation, cleaned);
  saveLocalConfigFile();
}

void Starter::replaceWrongSeparators(std::vector<WideString>& list) {
  for (WideString& entry : list) replace_all(entry, kBadPathSeparator, kPathSeparator);
}

void Starter::removePathDuplicates(std::vector<WideString>& list) {
  NoCaseSet seen;
  auto entry = list.begin();
  while (entry != list.end()) {
    const WideString key =
        entry->empty() || endsWithPathSeparator(*entry) ? *entry : *entry + kPathSeparator;
    if (seen.insert(key).second) {
      ++entry;
    } else {
      entry = list.erase(entry);
    }
  }
}

void Starter::saveLocalConfigFile() const {
  const WideString path = localConfigPath();
  const WideString directory = widen_lib(splitPath(narrow_lib(path)).parent);
  if (!FileFinder().reset(path)) FileSystem::CreateDirectory(directory);
  try {
    write_config_file(path, localConfig);
  } catch (...) {
    FileSystem::CreateDirectory(directory);
    write_config_file(path, localConfig);
  }
}

void get_tmplts_list(std::vector<WideString>& list, bool localFirst, bool useBaseLocations) {
  Starter starter(useBaseLocations);
  starter.getTmpltsList(list, localFirst);
}

void set_tmplts_list(const std::vector<WideString>& list, bool useBaseLocations) {
  Starter starter(useBaseLocations);
  starter.setTmpltsList(list);
}
