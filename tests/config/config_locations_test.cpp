// Locations of the launcher's files for a given home directory, and the probe
// for directories in which files can be created.
#include "config/config_locations.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/nobody_user.h"
#include "support/scratch_directory.h"
#include "test_files.h"

TEST(ConfigLocations, PathsFollowTheHomeAsItStands) {
  ScopedHome home("/home/u/");  // a final "/" is kept
  const std::pair<WideString, WideString> paths[] = {
      {app_data_dir(false), u"/home/u//.orbp8"},
      {p8_app_data_dir(true), u"/home/u//.orbp8/Orbe/orbp8/"},
      {default_tmplts_dir(), u"/home/u//.orbp8/Orbe/orbp8/tmplts/"},
      {get_local_config_file_path(), u"/home/u//.Orbe/orbstart/orbstart.cfg"},
      {get_allusers_config_file_path(), u"/home/u//.orbp8/.Orbe/orbstart/orbstart.cfg"},
      {get_local_config_file_path_base(), u"/home/u//.Orbe/orbstartt/orbstart.cfg"},
      {get_allusers_config_file_path_base(), u"/home/u//.Orbe/orbstart/orbstart.cfg"},
  };
  for (const auto& [path, expected] : paths) EXPECT_EQ(path, expected);
  unsetenv("HOME");  // then the account's home directory
  const passwd* account = getpwuid(getuid());
  ASSERT_NE(account, nullptr);
  EXPECT_EQ(home_dir(), widen_lib(account->pw_dir));
}

TEST(ConfigLocations, ProbeFindsWhereADirectoryCouldBeMadeAndLeavesNothing) {
  ScratchDirectory scratch(kOddScratchName);
  write_file(scratch / "file", "x");
  ASSERT_EQ(symlink("nowhere", (scratch / "dangling").c_str()), 0);
  const std::pair<std::string, bool> cases[] = {
      {scratch.path(), true},
      {scratch.path() + "/", true},
      {scratch / "not/yet/there", true},
      {scratch / "-dash \"$x\" \\ \n/", true},
      {scratch / "file", false},
      {scratch / "file/sub", false},
      {scratch / "dangling", false},
      {scratch / "dangling/sub", false},
      {"", false},
  };
  for (const auto& [directory, permitted] : cases) {
    EXPECT_EQ(isWritePermitted(widen_lib(directory)), permitted) << directory;
  }
  EXPECT_EQ(list_directory(scratch.path()), "dangling|file|");
}

TEST(ConfigLocations, ProbeFailsWhereAnUnprivilegedUserMayNotWrite) {
  if (geteuid() != 0) GTEST_SKIP() << "switching to nobody needs the super-user";
  ScratchDirectory scratch(kOddScratchName);
  chmod(scratch.path().c_str(), 0755);  // nobody may pass through
  mkdir((scratch / "closed").c_str(), 0755);
  mkdir((scratch / "open").c_str(), 0700);
  chmod((scratch / "open").c_str(), 0777);
  const std::pair<std::string, std::string> cases[] = {
      {"closed", "0"}, {"closed/later/tmplts", "0"}, {"open", "1"}, {"open/later/tmplts/", "1"}};
  for (const auto& [directory, answer] : cases) {
    const std::string report = run_in_child([&] {
      const std::string failure = become_nobody();
      setenv("TMPDIR", "/tmp", 1);
      return failure.empty() ? std::to_string(isWritePermitted(widen_lib(scratch / directory)))
                             : "skip: " + failure;
    });
    if (is_skip_report(report)) GTEST_SKIP() << report;
    EXPECT_EQ(report, answer) << directory;
  }
  EXPECT_EQ(list_directory(scratch / "closed") + list_directory(scratch / "open"), "");
}
