// Locations of the launcher's files for a given home directory, and the probe
// for directories in which files can be created.
#include "config/config_locations.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "test_files.h"

namespace {

constexpr int kChildSkipped = 77;

struct ProbeCase {
  std::string directory;
  bool expected;
};

// Runs isWritePermitted as the user nobody, with TMPDIR naming a directory
// that everybody may write to.
int probe_as_nobody(void* argument) {
  const ProbeCase& probe = *static_cast<ProbeCase*>(argument);
  const passwd* nobody = getpwnam("nobody");
  if (nobody == nullptr || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) {
    return kChildSkipped;
  }
  setenv("TMPDIR", "/tmp", 1);
  return isWritePermitted(widen_lib(probe.directory)) == probe.expected ? 0 : 1;
}

}  // namespace

TEST(ConfigLocations, PathsForAGivenHome) {
  ScopedHome home("/home/u");
  EXPECT_EQ(home_dir(), u"/home/u");
  EXPECT_EQ(app_data_dir(false), u"/home/u/.orbp8");
  EXPECT_EQ(app_data_dir(true), u"/home/u/.orbp8");
  EXPECT_EQ(p8_app_data_dir(true), u"/home/u/.orbp8/Orbe/orbp8/");
  EXPECT_EQ(default_tmplts_dir(), u"/home/u/.orbp8/Orbe/orbp8/tmplts/");
  EXPECT_EQ(get_local_config_file_dir(), u"/home/u/.Orbe/orbstart");
  EXPECT_EQ(get_local_config_file_path(), u"/home/u/.Orbe/orbstart/orbstart.cfg");
  EXPECT_EQ(get_allusers_config_file_dir(), u"/home/u/.orbp8/.Orbe/orbstart");
  EXPECT_EQ(get_allusers_config_file_path(), u"/home/u/.orbp8/.Orbe/orbstart/orbstart.cfg");
  EXPECT_EQ(get_local_config_file_dir_base(), u"/home/u/.Orbe/orbstartt");
  EXPECT_EQ(get_local_config_file_path_base(), u"/home/u/.Orbe/orbstartt/orbstart.cfg");
  EXPECT_EQ(get_allusers_config_file_path_base(), get_local_config_file_path());
}

TEST(ConfigLocations, HomeIsTakenAsItStands) {
  {
    ScopedHome home("/home/u/");
    EXPECT_EQ(get_local_config_file_path(), u"/home/u//.Orbe/orbstart/orbstart.cfg");
    EXPECT_EQ(app_data_dir(false), u"/home/u//.orbp8");
  }
  {
    // Nothing in the value is expanded or run.
    ScratchDirectory scratch;
    const std::string odd = scratch.file("$(touch ran) `touch ran2` $HOME \"q\" *");
    ScopedHome home(odd);
    EXPECT_EQ(home_dir(), widen_lib(odd));
    EXPECT_EQ(list_directory(scratch.path()), "");
  }
  // Without HOME, the account's home directory.
  ScopedHome home("");
  unsetenv("HOME");
  const passwd* account = getpwuid(getuid());
  ASSERT_NE(account, nullptr);
  EXPECT_EQ(home_dir(), widen_lib(account->pw_dir));
}

TEST(ConfigLocations, ProbeFindsWritableDirectoriesAndLeavesNothing) {
  ScratchDirectory scratch;
  write_bytes(scratch.file("file"), "x");
  EXPECT_TRUE(isWritePermitted(widen_lib(scratch.path())));
  EXPECT_TRUE(isWritePermitted(widen_lib(scratch.path() + "/")));
  // Directories that the installation would create.
  EXPECT_TRUE(isWritePermitted(widen_lib(scratch.file("not/yet/there"))));
  EXPECT_TRUE(isWritePermitted(widen_lib(scratch.file("-dash \"$x\" \\ \n/"))));
  EXPECT_EQ(list_directory(scratch.path()), "file|");

  // A file, or a path below a file, can never become a directory.
  EXPECT_FALSE(isWritePermitted(widen_lib(scratch.file("file"))));
  EXPECT_FALSE(isWritePermitted(widen_lib(scratch.file("file/sub"))));
  ASSERT_EQ(symlink("nowhere", scratch.file("dangling").c_str()), 0);
  EXPECT_FALSE(isWritePermitted(widen_lib(scratch.file("dangling"))));
  EXPECT_FALSE(isWritePermitted(u""));
  EXPECT_EQ(list_directory(scratch.path()), "dangling|file|");
}

TEST(ConfigLocations, ProbeFailsWhereAnUnprivilegedUserMayNotWrite) {
  if (geteuid() != 0) GTEST_SKIP() << "switching to nobody needs the super-user";
  ScratchDirectory scratch;
  const std::string closed = scratch.file("closed");
  const std::string open = scratch.file("open");
  mkdir(closed.c_str(), 0755);
  mkdir(open.c_str(), 0777);
  chmod(open.c_str(), 0777);
  const ProbeCase cases[] = {
      {closed, false},
      {closed + "/later/tmplts", false},
      {open, true},
      {open + "/later/tmplts/", true},
  };
  for (const ProbeCase& probe : cases) {
    ProbeCase copy = probe;
    EXPECT_EQ(run_in_child(probe_as_nobody, &copy), 0) << probe.directory;
  }
  EXPECT_EQ(list_directory(closed), "");
  EXPECT_EQ(list_directory(open), "");
}
