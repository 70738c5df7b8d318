#include "install/tree_fixture.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "kit/kit_writer.h"
#include "platform/file_system.h"
#include "support/file_contents.h"

void make_directories(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0755);
  }
  mkdir(path.c_str(), 0755);
}

void write_file(const std::string& path, const std::string& content, int64_t seconds,
                long nanoseconds) {
  make_directories(path.substr(0, path.rfind('/')));
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    ASSERT_TRUE(out.good()) << path;
  }
  const timespec times[2] = {{static_cast<time_t>(seconds), nanoseconds},
                             {static_cast<time_t>(seconds), nanoseconds}};
  ASSERT_EQ(0, utimensat(AT_FDCWD, path.c_str(), times, 0)) << path;
}

namespace {

void snapshot_into(const std::string& root, const std::string& relative, TreeSnapshot& tree) {
  const std::string path = relative == "." ? root : root + "/" + relative;
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return;
  TreeItem item;
  item.mode = info.st_mode & 07777;
  item.mtimeNanoseconds =
      static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  if (S_ISREG(info.st_mode)) {
    item.kind = 'f';
    item.content = read_file(path);
  } else if (S_ISLNK(info.st_mode)) {
    item.kind = 'l';
    char target[4096];
    const ssize_t size = readlink(path.c_str(), target, sizeof target);
    item.content.assign(target, size > 0 ? static_cast<size_t>(size) : 0);
  } else if (S_ISDIR(info.st_mode)) {
    item.kind = 'd';
  } else {
    item.kind = 'o';
  }
  tree[relative] = item;
  if (item.kind != 'd') return;
  for (const std::string& name : directory_names(path)) {
    snapshot_into(root, relative == "." ? name : relative + "/" + name, tree);
  }
}

}  // namespace

TreeSnapshot snapshot_tree(const std::string& root) {
  TreeSnapshot tree;
  snapshot_into(root, ".", tree);
  return tree;
}


_FILETIME file_time(int64_t seconds, uint32_t extraTicks) {
  const long epoch = static_cast<long>(seconds);
  _FILETIME time = EpochToFileTime(epoch);
  const uint64_t ticks =
      ((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) + extraTicks;
  return {static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}

void build_kit(const std::vector<KitFile>& files, const std::string& staging,
               const std::string& kitPath) {
  KitLayout layout;
  layout.products.push_back({u"en", u"Templates", u"Vendor", u""});
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string source = staging + "/source" + std::to_string(i);
    write_file(source, files[i].content, 0);
    layout.entries.push_back({widen_lib(files[i].name), source, files[i].time,
                              static_cast<uint32_t>(files[i].content.size())});
  }
  ASSERT_EQ("", write_kit(layout, kitPath, 6, nullptr));
}
