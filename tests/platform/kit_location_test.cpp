// Where the kit is looked for: beside the executable, or in the current directory.
#include "platform/kit_location.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <tuple>
#include <vector>

#include "platform/test_files.h"

TEST(KitLocation, UseCwdJoinsTheThirdArgumentAsTextElseTheExecutablesDirectory) {
  // "usecwd", the arguments, the current directory, the executable, the kit.
  const std::tuple<bool, std::vector<const char*>, std::string, std::string, WideString> cases[] = {
      {true, {"setup", "usecwd", "kits"}, "/home/user", "", u"/home/user/kits/orbp8.pkd"},
      {true, {"setup", "usecwd", "kits", "-S"}, "/home/user", "", u"/home/user/orbp8.pkd"},
      {true, {"setup", "usecwd", "Шаблоны"}, "/home/я\xFF", "", u"/home/я\xDCFF/Шаблоны/orbp8.pkd"},
      {true, {"setup", "usecwd", "kits"}, "", "/opt/setup", u""},
      {false, {"setup"}, "/home/user", "/opt/kit dir/setup (deleted)", u"/opt/kit dir/orbp8.pkd"},
      {false, {"setup"}, "/home/user", "setup", u""},
  };
  for (const auto& [usecwd, argv, current, executable, kit] : cases) {
    EXPECT_EQ(
        kit_file_path(usecwd, static_cast<int>(argv.size()), argv.data(), current, executable), kit)
        << narrow_lib(kit);
  }
  // The current directory as it is, and none once it is gone.
  ScratchDirectory scratch = platform_scratch();
  const std::string inside = scratch / "каталог $x \xFF", previous = current_directory();
  ASSERT_EQ(mkdir(inside.c_str(), 0700), 0);
  ASSERT_EQ(chdir(inside.c_str()), 0);
  const char* const argv[] = {"setup", "usecwd"};
  EXPECT_EQ(narrow_lib(locate_kit_file(true, 2, argv)), inside + "/orbp8.pkd");
  rmdir(inside.c_str());
  EXPECT_EQ(locate_kit_file(true, 2, argv), u"");
  ASSERT_EQ(chdir(previous.c_str()), 0);
}
