// Replacing a configuration file: permission bits and symbolic links are kept,
// and a write that fails for any reason leaves the old file as it was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "config/config_file_io.h"
#include "test_files.h"

namespace {

const char kOldContent[] = "DefaultVersion=8.3\r\nConfigurationTemplatesLocation=/old\r\n";
constexpr int kChildSkipped = 77;

mode_t mode_of(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0 ? status.st_mode : 0;
}

// A model whose text is about `bytes` long.
ConfigFile large_model(size_t bytes) {
  ConfigFile model;
  for (size_t i = 0; i * 100 < bytes; ++i) {
    model.addValue(u"ConfigurationTemplatesLocation", WideString(90, u'x') + string_ito(i, 10));
  }
  return model;
}

// The int thrown by write_config_file, 0 when it returned.
int write_result(const std::string& path, const ConfigFile& model) {
  try {
    write_config_file(widen_lib(path), model);
  } catch (int code) {
    return code;
  }
  return 0;
}

struct FailedWrite {
  std::string directory;
  int expectedCode;
};

// Mounts a 64 KiB tmpfs in a mount namespace of its own, fills it, and checks
// that replacing a file there fails with 2 and leaves the file and nothing else.
int write_into_full_file_system(void* argument) {
  const std::string& mountPoint = static_cast<FailedWrite*>(argument)->directory;
  if (unshare(CLONE_NEWNS) != 0) return kChildSkipped;
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return kChildSkipped;
  if (mount("configtest", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) return kChildSkipped;
  const std::string path = mountPoint + "/orbstart.cfg";
  write_bytes(path, kOldContent);
  const int filler = open((mountPoint + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
  const std::string block(4096, 'f');
  while (write(filler, block.data(), block.size()) > 0) {
  }
  close(filler);
  if (write_result(path, large_model(20000)) != 2) return 1;
  if (read_bytes(path) != kOldContent) return 2;
  if (list_directory(mountPoint) != "filler|orbstart.cfg|") return 3;
  return 0;
}

// Writing beyond a file size limit fails like a full disk.
int write_beyond_size_limit(void* argument) {
  const std::string& directory = static_cast<FailedWrite*>(argument)->directory;
  signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{8192, 8192};
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return kChildSkipped;
  const std::string path = directory + "/orbstart.cfg";
  if (write_result(path, large_model(20000)) != 2) return 1;
  if (read_bytes(path) != kOldContent) return 2;
  if (list_directory(directory) != "orbstart.cfg|") return 3;
  // A short model still fits.
  if (write_result(path, large_model(300)) != 0) return 4;
  return 0;
}

int write_as_nobody(void* argument) {
  const FailedWrite& failed = *static_cast<FailedWrite*>(argument);
  const passwd* nobody = getpwnam("nobody");
  if (nobody == nullptr || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) {
    return kChildSkipped;
  }
  const std::string path = failed.directory + "/orbstart.cfg";
  ConfigFile model;
  model.addValue(u"k", u"v");
  return write_result(path, model) == failed.expectedCode ? 0 : 1;
}

}  // namespace

TEST(ConfigFileWriter, KeepsPermissionBitsAndLeavesNoTemporaryFile) {
  ScratchDirectory scratch;
  const std::string path = scratch.file("orbstart.cfg");
  write_bytes(path, kOldContent);
  chmod(path.c_str(), 0640);
  ConfigFile model;
  model.addValue(u"k", u"v");
  write_config_file(widen_lib(path), model);
  EXPECT_EQ(read_bytes(path), "k=v\n");
  EXPECT_EQ(mode_of(path), S_IFREG | 0640);
  EXPECT_EQ(list_directory(scratch.path()), "orbstart.cfg|");

  // A new file gets the bits that creating it directly would give.
  const mode_t oldMask = umask(027);
  write_config_file(widen_lib(scratch.file("new.cfg")), model);
  umask(oldMask);
  EXPECT_EQ(mode_of(scratch.file("new.cfg")), S_IFREG | 0640);
  EXPECT_EQ(read_bytes(scratch.file("new.cfg")), "k=v\n");
}

TEST(ConfigFileWriter, SymbolicLinkKeepsPointingAtTheReplacedFile) {
  ScratchDirectory scratch;
  mkdir(scratch.file("real").c_str(), 0755);
  mkdir(scratch.file("links").c_str(), 0755);
  write_bytes(scratch.file("real/orbstart.cfg"), kOldContent);
  // links/first -> second -> ../real/orbstart.cfg
  ASSERT_EQ(symlink("../real/orbstart.cfg", scratch.file("links/second").c_str()), 0);
  ASSERT_EQ(symlink("second", scratch.file("links/first").c_str()), 0);
  ConfigFile model;
  model.addValue(u"k", u"через ссылку");
  write_config_file(widen_lib(scratch.file("links/first")), model);

  EXPECT_TRUE(S_ISLNK(mode_of(scratch.file("links/first"))));
  EXPECT_TRUE(S_ISLNK(mode_of(scratch.file("links/second"))));
  EXPECT_EQ(read_bytes(scratch.file("real/orbstart.cfg")), "k=через ссылку\n");
  EXPECT_EQ(list_directory(scratch.file("links")), "first|second|");
  EXPECT_EQ(list_directory(scratch.file("real")), "orbstart.cfg|");

  // A link to a file that does not exist yet creates that file.
  ASSERT_EQ(symlink("../real/later.cfg", scratch.file("links/dangling").c_str()), 0);
  write_config_file(widen_lib(scratch.file("links/dangling")), model);
  EXPECT_TRUE(S_ISLNK(mode_of(scratch.file("links/dangling"))));
  EXPECT_EQ(read_bytes(scratch.file("real/later.cfg")), "k=через ссылку\n");
}

TEST(ConfigFileWriter, PathsThatCannotBeWrittenThrowOne) {
  ScratchDirectory scratch;
  ConfigFile model;
  model.addValue(u"k", u"v");
  EXPECT_EQ(write_result(scratch.file("missing/orbstart.cfg"), model), 1);
  mkdir(scratch.file("directory").c_str(), 0755);
  EXPECT_EQ(write_result(scratch.file("directory"), model), 1);
  EXPECT_EQ(write_result(scratch.path() + "/", model), 1);
  EXPECT_EQ(list_directory(scratch.path()), "directory|");
  EXPECT_EQ(list_directory(scratch.file("directory")), "");
}

TEST(ConfigFileWriter, FullFileSystemLeavesTheOldFile) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a tmpfs needs the super-user";
  ScratchDirectory scratch;
  FailedWrite failed{scratch.path(), 2};
  const int status = run_in_child(write_into_full_file_system, &failed);
  if (status == kChildSkipped) GTEST_SKIP() << "no private mount namespace here";
  EXPECT_EQ(status, 0) << "1: no exception 2, 2: old file changed, 3: files left behind";
}

TEST(ConfigFileWriter, FailedWriteLeavesTheOldFile) {
  ScratchDirectory scratch;
  write_bytes(scratch.file("orbstart.cfg"), kOldContent);
  FailedWrite failed{scratch.path(), 2};
  EXPECT_EQ(run_in_child(write_beyond_size_limit, &failed), 0)
      << "1: no exception 2, 2: old file changed, 3: files left behind, 4: short write failed";
}

TEST(ConfigFileWriter, UnprivilegedWriterCannotReplaceAReadOnlyFile) {
  if (geteuid() != 0) GTEST_SKIP() << "switching to nobody needs the super-user";
  ScratchDirectory scratch;
  // A read-only file is not replaced, although its directory is open to everybody.
  const std::string open = scratch.file("open");
  mkdir(open.c_str(), 0777);
  chmod(open.c_str(), 0777);
  write_bytes(open + "/orbstart.cfg", kOldContent);
  chmod((open + "/orbstart.cfg").c_str(), 0444);
  FailedWrite readOnlyFile{open, 1};
  EXPECT_EQ(run_in_child(write_as_nobody, &readOnlyFile), 0);
  EXPECT_EQ(read_bytes(open + "/orbstart.cfg"), kOldContent);
  EXPECT_EQ(list_directory(open), "orbstart.cfg|");
}
