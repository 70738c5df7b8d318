#include "config/config_locations.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

const WideString kStartFileName = u"orbstart.cfg";
const WideString kStartrDir = u".Orbe/orbstart";
const WideString kStartrDirt = u".Orbe/orbstartt";

namespace {

const char16_t kAppDataDirName[] = u".orbp8";
const char16_t kVendorDirName[] = u"Orbe";
const char16_t kProductDirPrefix[] = u"orbp";
const int kProductVersion = 8;
const char16_t kTemplatesDirName[] = u"tmplts";

}  // namespace

WideString home_dir() {
  // An empty HOME is taken as unset, so that no path lands at the root.
  const char* variable = std::getenv("HOME");
  if (variable != nullptr && *variable != '\0') return widen_lib(variable);
  std::vector<char> buffer(16384);
  struct passwd account {};
  struct passwd* found = nullptr;
  if (getpwuid_r(getuid(), &account, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr || found->pw_dir == nullptr) {
    return WideString();
  }
  return widen_lib(found->pw_dir);
}

WideString app_data_dir(bool /*flag*/) { return home_dir() + kPathSeparator + kAppDataDirName; }

WideString p8_app_data_dir(bool flag) {
  return app_data_dir(flag) + kPathSeparator + kVendorDirName + kPathSeparator + kProductDirPrefix +
         string_ito(kProductVersion, 10) + kPathSeparator;
}

WideString default_tmplts_dir() {
  return p8_app_data_dir(false) + kTemplatesDirName + kPathSeparator;
}

WideString get_local_config_file_dir() { return home_dir() + kPathSeparator + kStartrDir; }

WideString get_local_config_file_path() {
  return get_local_config_file_dir() + kPathSeparator + kStartFileName;
}

WideString get_allusers_config_file_dir() {
  return app_data_dir(true) + kPathSeparator + kStartrDir;
}

WideString get_allusers_config_file_path() {
  return get_allusers_config_file_dir() + kPathSeparator + kStartFileName;
}

WideString get_local_config_file_dir_base() { return home_dir() + kPathSeparator + kStartrDirt; }

WideString get_local_config_file_path_base() {
  return get_local_config_file_dir_base() + kPathSeparator + kStartFileName;
}

WideString get_allusers_config_file_path_base() {
  return get_local_config_file_dir() + kPathSeparator + kStartFileName;
}
