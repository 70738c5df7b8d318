// Fuzz target of the kit reader: opens an arbitrary kit and reads every
// entry, checking that whatever open accepts is consistent and that no
// temporary container outlives its reader. Setting ORB_FUZZ_WRITE_SEEDS to a
// directory writes the seed corpus there and exits.
#include <dirent.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "fuzz_seeds.h"
#include "kit/deflate_writer.h"
#include "kit/entry_name.h"
#include "kit/install_data.h"
#include "kit/lz_compressor.h"
#include "platform/file_system.h"

namespace {

std::string g_root;

void remove_root() {
  nftw(
      g_root.c_str(),
      [](const char* item, const struct stat*, int, struct FTW*) { return ::remove(item); }, 16,
      FTW_DEPTH | FTW_PHYS);
}

bool temp_directory_is_empty() {
  DIR* directory = opendir((g_root + "/tmp").c_str());
  if (directory == nullptr) return false;
  bool empty = true;
  while (const dirent* item = readdir(directory)) {
    const std::string name = item->d_name;
    if (name != "." && name != "..") empty = false;
  }
  closedir(directory);
  return empty;
}

off_t file_size(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 ? status.st_size : -1;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (const char* seeds = std::getenv("ORB_FUZZ_WRITE_SEEDS")) {
    std::exit(write_fuzz_seeds(seeds) ? 0 : 1);
  }
  const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::string pattern = std::string(base) + "/kit_fuzz.XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  g_root = pattern;
  if (mkdir((g_root + "/tmp").c_str(), 0700) != 0) std::abort();
  setenv("TMPDIR", (g_root + "/tmp").c_str(), 1);
  std::atexit(remove_root);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string body(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string kit = g_root + "/kit.pkd";
  if (data[0] == kInputIsContainer) {
    if (!deflate_to_file(body, kit, 1).empty()) std::abort();
  } else {
    std::ofstream(kit, std::ios::binary | std::ios::trunc) << body;
  }

  {
    config::InstallData<LZCompressor, FileSystem> reader;
    if (reader.open(widen_lib(kit)) == 0) {
      WideString title, vendor;
      reader.getTitles(u"en", title, vendor);
      reader.getReadme(u"ru");
      const std::string target = g_root + "/entry";
      // The data is checked as it is read: an entry it does not hold is
      // damage, and anything else copies whole.
      const auto copy_checked = [&](uint32_t index) {
        config::FileData<FileSystem> entry;
        reader.get(index, entry);
        if (!is_safe_entry_name(entry.name)) std::abort();
        const uint32_t code = reader.copy(index, widen_lib(target));
        if (code != 0 && code != ERROR_INVALID_DATA) std::abort();
        if (code == 0 && file_size(target) != static_cast<off_t>(entry.size)) std::abort();
      };
      // In order from the stream, then the first entry again from the
      // temporary container.
      for (uint32_t i = 0; i < reader.count(); ++i) copy_checked(i);
      if (reader.count() > 1) copy_checked(0);
    } else if (reader.count() != 0) {
      std::abort();
    }
  }
  if (!temp_directory_is_empty()) std::abort();
  return 0;
}
