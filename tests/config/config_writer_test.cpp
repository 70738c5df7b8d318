// Replacing a configuration file: permission bits and symbolic links are kept,
// a new file is never writable by others, a write that fails for any reason
// leaves the old file as it was, and a file whose directory takes no new file
// is rewritten in place.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>

#include "config/config_file_io.h"
#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/nobody_user.h"
#include "support/private_tmpfs.h"
#include "support/scratch_directory.h"
#include "test_files.h"

namespace {

const char kOldContent[] = "DefaultVersion=8.3\r\nConfigurationTemplatesLocation=/old\r\n";

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

// Mounts a 64 KiB tmpfs on `mountPoint` in a mount namespace of its own,
// fills it, and checks that replacing a file there fails with 2 and leaves the
// file and nothing else. Runs in a child; empty when all held.
std::string write_into_full_file_system(const std::string& mountPoint) {
  const std::string failure = mount_private_tmpfs(mountPoint, "size=64k");
  if (!failure.empty()) return "skip: " + failure;
  const std::string path = mountPoint + "/orbstart.cfg";
  write_file(path, kOldContent);
  const int filler = open((mountPoint + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
  const std::string block(4096, 'f');
  while (write(filler, block.data(), block.size()) > 0) {
  }
  close(filler);
  if (write_result(path, large_model(20000)) != 2) return "no exception 2";
  if (read_file(path) != kOldContent) return "old file changed";
  if (list_directory(mountPoint) != "filler|orbstart.cfg|") return "files left behind";
  return "";
}

// Writing beyond a file size limit fails like a full disk. Runs in a child;
// empty when all held.
std::string write_beyond_size_limit(const std::string& directory) {
  signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{8192, 8192};
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return "skip: no file size limit";
  const std::string path = directory + "/orbstart.cfg";
  if (write_result(path, large_model(20000)) != 2) return "no exception 2";
  if (read_file(path) != kOldContent) return "old file changed";
  if (list_directory(directory) != "orbstart.cfg|") return "files left behind";
  // A short model still fits.
  if (write_result(path, large_model(300)) != 0) return "short write failed";
  return "";
}

// Writes a file in `directory` as the user nobody. Runs in a child; the
// thrown code, or "skip: <reason>".
std::string write_as_nobody(const std::string& directory) {
  const std::string failure = become_nobody();
  if (!failure.empty()) return "skip: " + failure;
  ConfigFile model;
  model.addValue(u"k", u"v");
  return "code " + std::to_string(write_result(directory + "/orbstart.cfg", model));
}

}  // namespace

TEST(ConfigFileWriter, KeepsPermissionBitsAndLeavesNoTemporaryFile) {
  ScratchDirectory scratch(kOddScratchName);
  const std::string path = scratch / "orbstart.cfg";
  write_file(path, kOldContent);
  chmod(path.c_str(), 0666);
  ConfigFile model;
  model.addValue(u"k", u"v");
  write_config_file(widen_lib(path), model);
  EXPECT_EQ(read_file(path), "k=v\n");
  EXPECT_EQ(mode_of(path), S_IFREG | 0666);
  EXPECT_EQ(list_directory(scratch.path()), "orbstart.cfg|");

  // A new file gets the bits that creating it directly would give, but never
  // write permission for group or others.
  const std::pair<mode_t, mode_t> masksAndModes[] = {{0, 0644}, {027, 0640}, {077, 0600}};
  for (const auto& [mask, mode] : masksAndModes) {
    const std::string created = scratch / ("new" + std::to_string(mask) + ".cfg");
    const mode_t oldMask = umask(mask);
    write_config_file(widen_lib(created), model);
    umask(oldMask);
    EXPECT_EQ(mode_of(created), S_IFREG | mode) << "umask " << std::oct << mask;
    EXPECT_EQ(read_file(created), "k=v\n");
  }
}

TEST(ConfigFileWriter, SymbolicLinkKeepsPointingAtTheReplacedFile) {
  ScratchDirectory scratch(kOddScratchName);
  mkdir((scratch / "real").c_str(), 0755);
  mkdir((scratch / "links").c_str(), 0755);
  write_file(scratch / "real/orbstart.cfg", kOldContent);
  // links/first -> second -> ../real/orbstart.cfg
  ASSERT_EQ(symlink("../real/orbstart.cfg", (scratch / "links/second").c_str()), 0);
  ASSERT_EQ(symlink("second", (scratch / "links/first").c_str()), 0);
  ConfigFile model;
  model.addValue(u"k", u"через ссылку");
  write_config_file(widen_lib(scratch / "links/first"), model);

  EXPECT_TRUE(S_ISLNK(mode_of(scratch / "links/first")));
  EXPECT_TRUE(S_ISLNK(mode_of(scratch / "links/second")));
  EXPECT_EQ(read_file(scratch / "real/orbstart.cfg"), "k=через ссылку\n");
  EXPECT_EQ(list_directory(scratch / "links"), "first|second|");
  EXPECT_EQ(list_directory(scratch / "real"), "orbstart.cfg|");

  // A link to a file that does not exist yet creates that file.
  ASSERT_EQ(symlink("../real/later.cfg", (scratch / "links/dangling").c_str()), 0);
  write_config_file(widen_lib(scratch / "links/dangling"), model);
  EXPECT_TRUE(S_ISLNK(mode_of(scratch / "links/dangling")));
  EXPECT_EQ(read_file(scratch / "real/later.cfg"), "k=через ссылку\n");
}

TEST(ConfigFileWriter, PathsThatCannotBeWrittenThrowOne) {
  ScratchDirectory scratch(kOddScratchName);
  ConfigFile model;
  model.addValue(u"k", u"v");
  EXPECT_EQ(write_result(scratch / "missing/orbstart.cfg", model), 1);
  mkdir((scratch / "directory").c_str(), 0755);
  EXPECT_EQ(write_result(scratch / "directory", model), 1);
  EXPECT_EQ(write_result(scratch.path() + "/", model), 1);
  EXPECT_EQ(list_directory(scratch.path()), "directory|");
  EXPECT_EQ(list_directory(scratch / "directory"), "");
}

TEST(ConfigFileWriter, FullFileSystemLeavesTheOldFile) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a tmpfs needs the super-user";
  ScratchDirectory scratch(kOddScratchName);
  const std::string report =
      run_in_child([&] { return write_into_full_file_system(scratch.path()); });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ(report, "");
}

TEST(ConfigFileWriter, FailedWriteLeavesTheOldFile) {
  ScratchDirectory scratch(kOddScratchName);
  write_file(scratch / "orbstart.cfg", kOldContent);
  EXPECT_EQ(run_in_child([&] { return write_beyond_size_limit(scratch.path()); }), "");
}

TEST(ConfigFileWriter, UnprivilegedWriterRewritesInPlaceOnlyAFileItMayWrite) {
  if (geteuid() != 0) GTEST_SKIP() << "switching to nobody needs the super-user";
  const passwd* nobody = getpwnam("nobody");
  if (nobody == nullptr) GTEST_SKIP() << "no user nobody";
  ScratchDirectory scratch(kOddScratchName);
  chmod(scratch.path().c_str(), 0755);  // nobody may pass through
  struct Case {
    const char* name;
    mode_t directoryMode;
    mode_t fileMode;
    bool nobodysFile;
    const char* result;
    std::string content;
  };
  const Case cases[] = {
      // A read-only file is not replaced, although its directory is open to everybody.
      {"open", 0777, 0444, false, "code 1", kOldContent},
      // A file that may be written in a directory that may not is rewritten in place.
      {"shared", 0755, 0644, true, "code 0", "k=v\n"},
      {"closed", 0755, 0644, false, "code 1", kOldContent},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string directory = scratch / c.name;
    const std::string path = directory + "/orbstart.cfg";
    mkdir(directory.c_str(), 0700);
    chmod(directory.c_str(), c.directoryMode);
    write_file(path, kOldContent);
    chmod(path.c_str(), c.fileMode);
    if (c.nobodysFile) {
      ASSERT_EQ(chown(path.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    const std::string result = run_in_child([&] { return write_as_nobody(directory); });
    if (is_skip_report(result)) GTEST_SKIP() << result;
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(read_file(path), c.content);
    EXPECT_EQ(mode_of(path), S_IFREG | c.fileMode);
    EXPECT_EQ(list_directory(directory), "orbstart.cfg|");
  }
}
