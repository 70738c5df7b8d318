// Fuzz target of the kit reader, fed from memory: the reader's own stream and
// catalogue code over an in-memory kit, decompressing as it is read (no
// thread), entry data written to a sink that counts and discards it. It
// checks that whatever open accepts is consistent: every entry copies whole
// or the kit is damaged, and no temporary container outlives its reader.
// Setting ORB_FUZZ_WRITE_SEEDS to a directory writes the seed corpus there.
#include <dirent.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_seeds.h"
#include "kit/entry_name.h"
#include "kit/install_data.h"
#include "kit/lz_compressor.h"
#include "platform/file_system.h"

namespace {

// The handle entries are copied to: writes to it are counted, not made.
HANDLE const kSink = reinterpret_cast<HANDLE>(intptr_t{-2});

struct SinkingFiles : FileSystem {
  static inline uint64_t s_sunk = 0;
  static uint32_t WriteFile(HANDLE handle, const void* buffer, uint32_t count,
                            unsigned int* written, _OVERLAPPED* overlapped) {
    if (handle != kSink) return FileSystem::WriteFile(handle, buffer, count, written, overlapped);
    s_sunk += count;
    *written = count;
    return 0;
  }
  static uint32_t SetFileTime(HANDLE handle, const _FILETIME* creation, const _FILETIME* access,
                              const _FILETIME* write) {
    return handle == kSink ? 0 : FileSystem::SetFileTime(handle, creation, access, write);
  }
};

using Reader = config::InstallData<BasicLZCompressor<SinkingFiles>, SinkingFiles>;

std::string g_root;

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

// `container` as one raw deflate stream, made in memory.
std::string deflated(const std::string& container) {
  z_stream stream{};
  if (deflateInit2(&stream, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) std::abort();
  std::string out(deflateBound(&stream, container.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(container.data()));
  stream.avail_in = static_cast<uInt>(container.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  if (deflate(&stream, Z_FINISH) != Z_STREAM_END) std::abort();
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
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
  std::atexit([] {
    nftw(
        g_root.c_str(),
        [](const char* item, const struct stat*, int, struct FTW*) { return ::remove(item); }, 16,
        FTW_DEPTH | FTW_PHYS);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string body(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string kit = data[0] == kInputIsContainer ? deflated(body) : body;
  {
    Reader reader;
    if (reader.openBytes(reinterpret_cast<const uint8_t*>(kit.data()), kit.size()) == 0) {
      WideString title, vendor;
      reader.getTitles(u"en", title, vendor);
      reader.getReadme(u"ru");
      // The data is checked as it is read: an entry it does not hold is
      // damage, and anything else copies whole.
      const auto copy_checked = [&](uint32_t index) {
        config::FileData<SinkingFiles> entry;
        reader.get(index, entry);
        if (!is_safe_entry_name(entry.name)) std::abort();
        const uint64_t before = SinkingFiles::s_sunk;
        const uint32_t code = reader.copyTo(index, kSink);
        if (code != 0 && code != ERROR_INVALID_DATA) std::abort();
        if (code == 0 && SinkingFiles::s_sunk - before != entry.size) std::abort();
      };
      // In order from the stream, then the first entry again from an
      // unpacked copy, then the whole kit checked.
      for (uint32_t i = 0; i < reader.count(); ++i) copy_checked(i);
      if (reader.count() > 1) copy_checked(0);
      const uint32_t code = reader.verify();
      if (code != 0 && code != ERROR_INVALID_DATA) std::abort();
    } else if (reader.count() != 0) {
      std::abort();
    }
  }
  if (!temp_directory_is_empty()) std::abort();
  return 0;
}
