#include "config/config_locations.h"

#include <wordexp.h>

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
  // WRDE_NOCMD: "~" never runs a command, whatever the environment holds.
  wordexp_t expansion{};
  const int result = wordexp("~", &expansion, WRDE_NOCMD);
  std::string home;
  if (result == 0) {
    if (expansion.we_wordc > 0 && expansion.we_wordv[0] != nullptr) home = expansion.we_wordv[0];
    wordfree(&expansion);
  } else if (result == WRDE_NOSPACE) {
    wordfree(&expansion);
  }
  return widen_lib(home);
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
