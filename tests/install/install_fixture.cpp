#include "install/install_fixture.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>

#include "install/install_registry.h"
#include "kit/kit_writer.h"
#include "text/languages.h"

void set_time(const std::string& path, int64_t seconds, long nanoseconds) {
  const timespec times[2] = {{static_cast<time_t>(seconds), nanoseconds},
                             {static_cast<time_t>(seconds), nanoseconds}};
  ASSERT_EQ(0, utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW)) << path;
}

void write_file(const std::string& path, const std::string& content, int64_t seconds,
                long nanoseconds) {
  std::filesystem::create_directories(path.substr(0, path.rfind('/')));
  write_file(path, content);
  set_time(path, seconds, nanoseconds);
}

namespace {

void snapshot_into(const std::string& root, const std::string& relative, TreeSnapshot& tree) {
  const std::string path = relative == "." ? root : root + "/" + relative;
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return;
  const char kind = S_ISREG(info.st_mode)   ? 'f'
                    : S_ISDIR(info.st_mode) ? 'd'
                    : S_ISLNK(info.st_mode) ? 'l'
                                            : 'o';
  const std::string content = kind == 'f'   ? read_file(path)
                              : kind == 'l' ? std::filesystem::read_symlink(path).string()
                                            : "";
  char head[64];
  snprintf(head, sizeof head, "%c %04o %lld.%09ld ", kind, info.st_mode & 07777,
           static_cast<long long>(info.st_mtim.tv_sec), info.st_mtim.tv_nsec);
  tree[relative] = head + content;
  for (const std::string& name : kind == 'd' ? directory_names(path) : std::vector<std::string>())
    snapshot_into(root, relative == "." ? name : relative + "/" + name, tree);
}

}  // namespace

TreeSnapshot snapshot_tree(const std::string& root) {
  TreeSnapshot tree;
  snapshot_into(root, ".", tree);
  return tree;
}

TreeSnapshot files_of(TreeSnapshot tree) {
  for (auto item = tree.begin(); item != tree.end();)
    item = item->second[0] == 'd' ? tree.erase(item) : std::next(item);
  return tree;
}

std::string Outcome::text() const {
  return std::to_string(result) + " " + std::to_string(code) + " " + std::to_string(progress) +
         " " + narrow_lib(message);
}

std::string resource(const char* id) { return narrow_lib(LoadResString(id)); }

InstallTest::InstallTest() {
  setenv("TMPDIR", temp.path().c_str(), 1);
  setenv("HOME", home.path().c_str(), 1);
  log.open(staging / "install.log");
  data.setLog(&log);
}

void InstallTest::openKit(const std::vector<KitFile>& files, int level) {
  KitLayout layout;
  layout.products.push_back({u"en", u"Templates", u"Vendor", u""});
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string source = staging / ("source" + std::to_string(i));
    write_file(source, files[i].content);
    layout.entries.push_back({wide(files[i].name), source, files[i].time,
                              static_cast<uint32_t>(files[i].content.size())});
  }
  kit.close();
  ASSERT_EQ("", write_kit(layout, kitPath(), level, nullptr));
  ASSERT_EQ(0u, kit.open(wide(kitPath())));
}

Outcome InstallTest::install(const std::string& directory, int lockWait, int pause,
                             bool dryRun) {
  BasicInstaller<FaultyKit, FaultyFileSystem> installer(pause);
  installer.setLockWait(lockWait);
  installer.setEarlyFlushStep(earlyFlushStep);
  data.setDryRun(dryRun);
  data.init(&kit, wide(directory));
  Outcome outcome;
  outcome.result = installer.run(&data);
  data.getInstallState(outcome.code, outcome.message, outcome.progress);
  return outcome;
}

Outcome InstallTest::dryRun(const std::string& directory, uint32_t accessFault) {
  FileFaults faults;
  if (accessFault != 0) faults.fail(FileOperation::kAccess, accessFault, directory);
  const Outcome outcome = install(directory, 100, 0, true);
  for (const FileCall& call : faults.calls())
    EXPECT_TRUE(call.operation == FileOperation::kOpen || call.operation >= FileOperation::kStatus);
  return outcome;
}

std::string InstallTest::logged() {
  const std::string contents = read_file(staging / "install.log");
  std::filesystem::resize_file(staging / "install.log", 0);
  std::string lines;
  for (size_t start = 0, end; (end = contents.find('\n', start)) != std::string::npos; start = end + 1)
    lines += contents.substr(contents.find(' ', start) + 1, end - contents.find(' ', start));
  const InstallCounts counts = data.counts();
  return lines + std::to_string(counts.created) + "/" + std::to_string(counts.replaced) + "/" +
         std::to_string(counts.unchanged) + "/" + std::to_string(counts.bytesWritten);
}

std::string InstallTest::leftovers() const {
  const std::string registry = install_registry_directory();
  return joined_names(directory_names(temp.path(), "p8stp"), " ") +
         (exists(registry) ? "registry: " + joined_names(directory_names(registry), " ") : "");
}
