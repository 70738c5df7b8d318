#include "platform/kit_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/test_files.h"
#include "support/rerun_test.h"
#include "support/scratch_directory.h"

namespace {

WideString usecwd_kit(std::vector<const char*> arguments,
                      const std::string& currentDirectory = "/home/user") {
  arguments.insert(arguments.begin(), {"setup", "usecwd"});
  return kit_file_path(true, static_cast<int>(arguments.size()), arguments.data(), currentDirectory,
                       "/opt/kit/setup");
}

WideString beside_executable_kit(const std::string& executablePath) {
  const char* const argv[] = {"setup", "usecwd", "kits"};
  return kit_file_path(false, 3, argv, "/home/user", executablePath);
}

}  // namespace

TEST(KitLocation, UseCwdJoinsTheThirdArgumentAsText) {
  EXPECT_EQ(usecwd_kit({}), u"/home/user/orbp8.pkd");
  EXPECT_EQ(usecwd_kit({"kits"}), u"/home/user/kits/orbp8.pkd");
  // Four arguments: the kit is in the current directory itself.
  EXPECT_EQ(usecwd_kit({"kits", "-S"}), u"/home/user/orbp8.pkd");
  EXPECT_EQ(usecwd_kit({"-S"}), u"/home/user/-S/orbp8.pkd");
  // No normalisation: an absolute or parent path stays relative to the directory.
  EXPECT_EQ(usecwd_kit({"/srv/kits"}), u"/home/user//srv/kits/orbp8.pkd");
  EXPECT_EQ(usecwd_kit({"../up/"}), u"/home/user/../up//orbp8.pkd");
  EXPECT_EQ(usecwd_kit({""}), u"/home/user//orbp8.pkd");
  EXPECT_EQ(usecwd_kit({}, "/"), u"//orbp8.pkd");
  EXPECT_EQ(usecwd_kit({"a \"$HOME` \\\n'-x"}), u"/home/user/a \"$HOME` \\\n'-x/orbp8.pkd");
  EXPECT_EQ(usecwd_kit({"Шаблоны"}, "/home/пользователь\xFF"),
            u"/home/пользователь\xDCFF/Шаблоны/orbp8.pkd");
  // An undeterminable current directory gives no kit path at all.
  EXPECT_EQ(usecwd_kit({}, ""), u"");
  EXPECT_EQ(usecwd_kit({"kits"}, ""), u"");
}

TEST(KitLocation, OtherwiseTheKitLiesBesideTheExecutable) {
  EXPECT_EQ(beside_executable_kit("/opt/kit/setup"), u"/opt/kit/orbp8.pkd");
  EXPECT_EQ(beside_executable_kit("/setup"), u"/orbp8.pkd");
  EXPECT_EQ(beside_executable_kit("/opt/kit dir/sub/setup (deleted)"),
            u"/opt/kit dir/sub/orbp8.pkd");
  EXPECT_EQ(beside_executable_kit("/opt/ქართული/\xC0setup"), u"/opt/ქართული/orbp8.pkd");
  EXPECT_EQ(beside_executable_kit(""), u"");
  EXPECT_EQ(beside_executable_kit("setup"), u"");
  // A path longer than any fixed buffer is taken whole.
  const std::string deep = "/" + std::string(300, 'd') + "/" + std::string(300, 'e');
  EXPECT_EQ(narrow_lib(beside_executable_kit(deep + "/setup")), deep + "/orbp8.pkd");
}

TEST(KitLocation, CurrentDirectoryIsEmptyOnceItIsGone) {
  ScratchDirectory scratch("platform-", ".");
  const std::string inside = scratch.path() + "/каталог $x \xFF";
  ASSERT_EQ(mkdir(inside.c_str(), 0700), 0);
  const std::string previous = current_directory();
  ASSERT_FALSE(previous.empty());
  ASSERT_EQ(chdir(inside.c_str()), 0);
  EXPECT_EQ(current_directory(), inside);
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
  EXPECT_EQ(executable_path(), path);
  const char* const argv[] = {"setup"};
  EXPECT_EQ(narrow_lib(locate_kit_file(false, 1, argv)),
            path.substr(0, path.rfind('/')) + "/orbp8.pkd");
  finish_child_test();
}

TEST(KitLocation, LongExecutablePathIsReadInFull) {
  ScratchDirectory scratch("platform-", ".");
  std::string directory = scratch.path();
  for (const char* part : {"/Шаблоны для установки ", "/$HOME `x` \"q\" \xFF", "/-dash"}) {
    directory += part + std::string(160, 'x');
  }
  ASSERT_GT(directory.size(), 520u);  // beyond twice the first buffer
  std::filesystem::create_directories(directory);
  const std::string copy = directory + "/setup";
  std::filesystem::copy_file(executable_path(), copy);
  EXPECT_EQ(run_test_in_child(copy, "KitLocationChild.DISABLED_ReadsItsOwnPath",
                              {"ORB_EXPECTED_EXE=" + copy}),
            kChildTestPassed);
}
