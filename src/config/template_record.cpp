#include "config/template_record.h"

#include "config/config_locations.h"
#include "config/starter.h"
#include "platform/file_system.h"
#include "platform/lock_file.h"
#include "platform/path_parts.h"

namespace {

// A plain status query: names holding "*", "?" or "[" are taken literally.
bool path_exists(const WideString& path) {
  FileStatus status;
  return FileSystem::StatusOfPath(narrow_lib(path), true, status) == 0;
}

// Which files the list comes from, decided as the start decides it.
struct ListSource {
  bool baseFile = false;
  bool fromBaseList = false;
};

ListSource read_list(std::vector<WideString>& list) {
  ListSource source;
  source.baseFile = path_exists(get_local_config_file_path_base());
  if (path_exists(get_local_config_file_path())) {
    get_tmplts_list(list, true, false);
  } else if (source.baseFile) {
    const size_t before = list.size();
    get_tmplts_list(list, true, true);
    source.fromBaseList = list.size() != before;
  }
  return source;
}

// The directory that holds both local files' directories, so that a user of
// the base pair alone gets no directory of the regular pair for the lock.
std::string lock_directory() { return splitPath(narrow_lib(get_local_config_file_dir())).parent; }

}  // namespace

void read_template_list(std::vector<WideString>& list) { read_list(list); }

WideString template_list_lock_path() { return widen_lib(lock_directory() + "/orbstart.cfg.lock"); }

bool record_template_directory(const WideString& entry, WideString& unsavedFiles) {
  FileSystem::CreateDirectory(widen_lib(lock_directory()));
  LockFile lock;
  lock.acquire(narrow_lib(template_list_lock_path()));
  std::vector<WideString> list;
  const ListSource source = read_list(list);
  list.insert(list.begin(), entry);
  unsavedFiles.clear();
  const auto save = [&](bool useBaseLocations, const WideString& path) {
    try {
      set_tmplts_list(list, useBaseLocations);
    } catch (...) {
      // The installation itself succeeded; this file keeps its old list.
      if (!unsavedFiles.empty()) unsavedFiles += u"\n";
      unsavedFiles += path;
    }
  };
  if (!source.fromBaseList) save(false, get_local_config_file_path());
  if (source.baseFile) save(true, get_local_config_file_path_base());
  return unsavedFiles.empty();
}
