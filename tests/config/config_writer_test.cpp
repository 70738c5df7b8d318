// Replacing a configuration file: permission bits and symbolic links are kept,
// a new file is never writable by others, a write that fails for any reason
// leaves the old content, and a file whose directory takes no new file is
// rewritten in place.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "config/config_file_io.h"
#include "config/in_place_file.h"
#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/nobody_user.h"
#include "support/scratch_directory.h"
#include "test_files.h"

namespace {

const char kOldContent[] = "DefaultVersion=8.3\r\nConfigurationTemplatesLocation=/old\r\n";

mode_t mode_of(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0 ? status.st_mode : 0;
}

ConfigFile model_of(const WideString& value, int lines = 1) {
  ConfigFile model;
  for (int i = 0; i < lines; ++i) model.addValue(u"k", value + string_ito(i, 10));
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

}  // namespace

TEST(ConfigFileWriter, KeepsModesAndLinksAndRefusesWhatIsNoFile) {
  ScratchDirectory scratch(kOddScratchName);
  mkdir((scratch / "real").c_str(), 0755);
  write_file(scratch / "real/orbstart.cfg", kOldContent);
  chmod((scratch / "real/orbstart.cfg").c_str(), 0666);
  // first -> second -> real/orbstart.cfg, and a link to a file not made yet.
  ASSERT_EQ(symlink("real/orbstart.cfg", (scratch / "second").c_str()), 0);
  ASSERT_EQ(symlink("second", (scratch / "first").c_str()), 0);
  ASSERT_EQ(symlink("real/later.cfg", (scratch / "dangling").c_str()), 0);
  EXPECT_EQ(write_result(scratch / "first", model_of(u"через ссылку")), 0);
  EXPECT_EQ(write_result(scratch / "dangling", model_of(u"v")), 0);
  EXPECT_EQ(read_file(scratch / "real/orbstart.cfg"), "k=через ссылку0\n");
  EXPECT_EQ(read_file(scratch / "real/later.cfg"), "k=v0\n");
  EXPECT_EQ(mode_of(scratch / "real/orbstart.cfg"), S_IFREG | 0666);
  EXPECT_TRUE(S_ISLNK(mode_of(scratch / "first")) && S_ISLNK(mode_of(scratch / "second")));

  // A new file gets the bits that creating it directly would give, but never
  // write permission for group or others.
  for (const auto& [mask, mode] : {std::pair{0, 0644}, {027, 0640}, {077, 0600}}) {
    const std::string created = scratch / ("real/new" + std::to_string(mask));
    const mode_t oldMask = umask(mask);
    EXPECT_EQ(write_result(created, model_of(u"v")), 0);
    umask(oldMask);
    EXPECT_EQ(mode_of(created), S_IFREG | mode) << "umask " << mask;
  }
  EXPECT_EQ(write_result(scratch / "missing/orbstart.cfg", model_of(u"v")), 1);
  EXPECT_EQ(write_result(scratch / "real", model_of(u"v")), 1);
  EXPECT_EQ(write_result(scratch.path() + "/", model_of(u"v")), 1);
  EXPECT_EQ(list_directory(scratch / "real"), "later.cfg|new0|new23|new63|orbstart.cfg|");
  EXPECT_EQ(list_directory(scratch.path()), "dangling|first|real|second|");
}

// Writing beyond a file size limit fails like a full disk: a replaced file
// stays as it was, one rewritten in place gets its old bytes back.
TEST(ConfigFileWriter, FailedWriteLeavesTheOldContent) {
  ScratchDirectory scratch(kOddScratchName);
  const std::string path = scratch / "orbstart.cfg";
  const std::string report = run_in_child([&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{8192, 8192};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return std::string("skip: no file size limit");
    write_file(path, kOldContent);
    const ConfigFile large = model_of(WideString(90, u'x'), 200);
    const int replaced = write_result(path, large);
    const bool replaceKeptOld = read_file(path) == kOldContent;
    const std::string left = list_directory(scratch.path());
    InPlaceFile inPlace(path);
    const bool opened = inPlace.open();
    const bool rewritten = inPlace.rewrite(std::string(9000, 'n'));
    const bool rewriteKeptOld = read_file(path) == kOldContent;
    return "replace " + std::to_string(replaced) + " " + std::to_string(replaceKeptOld) + " " +
           left + ", in place " + std::to_string(opened) + std::to_string(rewritten) + " " +
           std::to_string(rewriteKeptOld) + ", short " +
           std::to_string(write_result(path, model_of(u"v")));
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ(report, "replace 2 1 orbstart.cfg|, in place 10 1, short 0");
  EXPECT_EQ(read_file(path), "k=v0\n");
}

TEST(ConfigFileWriter, UnprivilegedWriterRewritesInPlaceOnlyAFileItMayWrite) {
  if (geteuid() != 0) GTEST_SKIP() << "switching to nobody needs the super-user";
  const passwd* nobody = getpwnam("nobody");
  if (nobody == nullptr) GTEST_SKIP() << "no user nobody";
  ScratchDirectory scratch(kOddScratchName);
  chmod(scratch.path().c_str(), 0755);  // nobody may pass through
  const struct {
    const char* name;
    mode_t directoryMode, fileMode;
    bool nobodysFile;
    const char* result;
    std::string content;
  } cases[] = {
      // A read-only file is not replaced, although its directory is open to everybody.
      {"open", 0777, 0444, false, "1", kOldContent},
      // A file that may be written in a directory that may not is rewritten in place.
      {"shared", 0755, 0644, true, "0", "k=v0\n"},
      {"closed", 0755, 0644, false, "1", kOldContent},
  };
  for (const auto& c : cases) {
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
    const std::string result = run_in_child([&] {
      const std::string failure = become_nobody();
      return failure.empty() ? std::to_string(write_result(path, model_of(u"v")))
                             : "skip: " + failure;
    });
    if (is_skip_report(result)) GTEST_SKIP() << result;
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(read_file(path), c.content);
    EXPECT_EQ(mode_of(path), S_IFREG | c.fileMode);
    EXPECT_EQ(list_directory(directory), "orbstart.cfg|");
  }
}
