// Where the kit is looked for, and the process facts that decide it: the
// current directory and the executable's own path; and the shell helpers.
#include "platform/kit_location.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/shell.h"
#include "platform/test_files.h"
#include "support/rerun_test.h"

TEST(KitLocation, UseCwdJoinsTheThirdArgumentAsTextElseTheExecutablesDirectory) {
  const struct {
    bool usecwd;
    std::vector<const char*> argv;
    std::string current, executable;
    WideString kit;
  } cases[] = {
      {true, {"setup", "usecwd"}, "/home/user", "", u"/home/user/orbp8.pkd"},
      {true, {"setup", "usecwd", "kits"}, "/home/user", "", u"/home/user/kits/orbp8.pkd"},
      {true, {"setup", "usecwd", "kits", "-S"}, "/home/user", "", u"/home/user/orbp8.pkd"},
      // No normalisation: an absolute or parent path stays below the directory.
      {true, {"setup", "usecwd", "/srv/../k"}, "/", "", u"///srv/../k/orbp8.pkd"},
      {true, {"setup", "usecwd", "Шаблоны"}, "/home/я\xFF", "", u"/home/я\xDCFF/Шаблоны/orbp8.pkd"},
      {true, {"setup", "usecwd", "kits"}, "", "/opt/setup", u""},
      {false, {"setup"}, "/home/user", "/opt/kit dir/setup (deleted)", u"/opt/kit dir/orbp8.pkd"},
      {false, {"setup", "usecwd", "kits"}, "/home/user", "/setup", u"/orbp8.pkd"},
      {false, {"setup"}, "/home/user", "setup", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(kit_file_path(c.usecwd, static_cast<int>(c.argv.size()), c.argv.data(), c.current,
                            c.executable),
              c.kit)
        << narrow_lib(c.kit);
  }
}

TEST(KitLocation, CurrentDirectoryIsEmptyOnceItIsGone) {
  ScratchDirectory scratch = platform_scratch();
  const std::string inside = scratch / "каталог $x \xFF";
  ASSERT_EQ(mkdir(inside.c_str(), 0700), 0);
  const std::string previous = current_directory();
  ASSERT_EQ(chdir(inside.c_str()), 0);
  const char* const argv[] = {"setup", "usecwd"};
  EXPECT_EQ(narrow_lib(locate_kit_file(true, 2, argv)), inside + "/orbp8.pkd");
  ASSERT_EQ(rmdir(inside.c_str()), 0);
  EXPECT_EQ(current_directory(), "");
  EXPECT_EQ(locate_kit_file(true, 2, argv), u"");
  ASSERT_EQ(chdir(previous.c_str()), 0);
}

// Run by KitLocation.LongExecutablePathIsReadInFull from a copy of this
// executable whose path is ORB_EXPECTED_EXE.
TEST(KitLocationChild, DISABLED_ReadsItsOwnPath) {
  const char* expected = std::getenv("ORB_EXPECTED_EXE");
  ASSERT_NE(expected, nullptr);
  const std::string path = expected;
  const char* const argv[] = {"setup"};
  EXPECT_EQ(narrow_lib(locate_kit_file(false, 1, argv)),
            path.substr(0, path.rfind('/')) + "/orbp8.pkd");
  finish_child_test();
}

TEST(KitLocation, LongExecutablePathIsReadInFull) {
  ScratchDirectory scratch = platform_scratch();
  const std::string directory =
      scratch / (std::string(200, 'x') + "/Шаблоны " + std::string(200, 'y'));
  std::filesystem::create_directories(directory);
  std::filesystem::copy_file(executable_path(), directory + "/setup");
  EXPECT_EQ(run_test_in_child(directory + "/setup", "KitLocationChild.DISABLED_ReadsItsOwnPath",
                              {"ORB_EXPECTED_EXE=" + directory + "/setup"}),
            kChildTestPassed);
}

TEST(Shell, CommandsAndTheirFirstLine) {
  EXPECT_EQ(u"abc", get_one_line_output(u"printf 'abc\\n'; echo second"));
  EXPECT_EQ(u"", get_one_line_output(u"true"));
  EXPECT_EQ(WideString(253, u'0'), get_one_line_output(u"printf '%0300d\\n' 0"));
  const int status = run_linux_command("exit 3");
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3);
}
