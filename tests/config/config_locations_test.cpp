// Locations of the launcher's files for a given home directory, and the probe
// for directories in which files can be created.
#include "config/config_locations.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/nobody_user.h"
#include "support/scratch_directory.h"
#include "test_files.h"

namespace {

// Runs isWritePermitted on `directory` as the user nobody, with TMPDIR
// naming a directory that everybody may write to. Runs in a child; the
// answer, or "skip: <reason>".
std::string probe_as_nobody(const std::string& directory) {
  const std::string failure = become_nobody();
  if (!failure.empty()) return "skip: " + failure;
  setenv("TMPDIR", "/tmp", 1);
  return isWritePermitted(widen_lib(directory)) ? "permitted" : "refused";
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
    ScratchDirectory scratch(kOddScratchName);
    const std::string odd = scratch / "$(touch ran) `touch ran2` $HOME \"q\" *";
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
  ScratchDirectory scratch(kOddScratchName);
  write_file(scratch / "file", "x");
  EXPECT_TRUE(isWritePermitted(widen_lib(scratch.path())));
  EXPECT_TRUE(isWritePermitted(widen_lib(scratch.path() + "/")));
  // Directories that the installation would create.
  EXPECT_TRUE(isWritePermitted(widen_lib(scratch / "not/yet/there")));
  EXPECT_TRUE(isWritePermitted(widen_lib(scratch / "-dash \"$x\" \\ \n/")));
  EXPECT_EQ(list_directory(scratch.path()), "file|");

  // A file, or a path below a file, can never become a directory.
  EXPECT_FALSE(isWritePermitted(widen_lib(scratch / "file")));
  EXPECT_FALSE(isWritePermitted(widen_lib(scratch / "file/sub")));
  ASSERT_EQ(symlink("nowhere", (scratch / "dangling").c_str()), 0);
  EXPECT_FALSE(isWritePermitted(widen_lib(scratch / "dangling")));
  EXPECT_FALSE(isWritePermitted(u""));
  EXPECT_EQ(list_directory(scratch.path()), "dangling|file|");
}

TEST(ConfigLocations, ProbeFailsWhereAnUnprivilegedUserMayNotWrite) {
  if (geteuid() != 0) GTEST_SKIP() << "switching to nobody needs the super-user";
  ScratchDirectory scratch(kOddScratchName);
  chmod(scratch.path().c_str(), 0755);  // nobody may pass through
  const std::string closed = scratch / "closed";
  const std::string open = scratch / "open";
  mkdir(closed.c_str(), 0755);
  mkdir(open.c_str(), 0777);
  chmod(open.c_str(), 0777);
  const std::pair<std::string, std::string> cases[] = {
      {closed, "refused"},
      {closed + "/later/tmplts", "refused"},
      {open, "permitted"},
      {open + "/later/tmplts/", "permitted"},
  };
  for (const auto& [directory, answer] : cases) {
    EXPECT_EQ(run_in_child([&] { return probe_as_nobody(directory); }), answer) << directory;
  }
  EXPECT_EQ(list_directory(closed), "");
  EXPECT_EQ(list_directory(open), "");
}
