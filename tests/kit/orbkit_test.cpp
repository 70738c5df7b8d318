// The kit tool run as vendors run it: a tree packed, listed, extracted and
// verified, and the wrong usage and unsafe kits it refuses.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "kit_test_support.h"

namespace {

// Runs the kit tool in a time zone far from UTC (no argument holds a single
// quote), checks its exit status and returns what it wrote to either stream.
std::string orbkit(const std::vector<std::string>& arguments, int expected = 0) {
  std::string command = "TZ=UTC-14 '" ORBKIT_PATH "'", output;
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  FILE* child = popen((command + " 2>&1").c_str(), "r");
  char chunk[4096];
  for (size_t got; child != nullptr && (got = fread(chunk, 1, sizeof chunk, child)) > 0;) {
    output.append(chunk, got);
  }
  const int status = child != nullptr ? pclose(child) : -1;
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, expected) << command << "\n" << output;
  return output;
}

class Orbkit : public KitTest {};

TEST_F(Orbkit, PacksListsExtractsAndVerifiesATree) {
  std::string large;
  for (unsigned i = 0; large.size() < 3 * 0x100000; ++i) large += std::to_string(i * 7919u) + ",";
  large.resize(3 * 0x100000);
  const struct {
    std::string name;
    std::string content;
    long mtime;
  } files[] = {
      {"a.txt", "alpha\n", 1000000000L},
      {"nested/deeper/large.bin", large, 1234567890L},
      {"nested/empty", "", 1500000000L},
      {"\u00fcnic\u00f6de/\u0444\u0430\u0439\u043b.txt", "\u4e2d", 2000000000L},
  };
  // Times carry a fraction of a second that a kit does not keep.
  for (const auto& file : files) {
    const std::string target = path("src/" + file.name);
    for (size_t slash = 0; (slash = target.find('/', slash + 1)) != std::string::npos;) {
      mkdir(target.substr(0, slash).c_str(), 0755);
    }
    write_file(target, file.content);
    const timespec times[2] = {{file.mtime, 400000000}, {file.mtime, 400000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, target.c_str(), times, 0), 0) << target;
  }
  ASSERT_EQ(symlink("nested", path("src/nested link").c_str()), 0);  // not descended into
  const std::string kit = path("-kit $1.pkd"),
                    russian = "\u0428\u0430\u0431\u043b\u043e\u043d\u044b";
  orbkit({"pack", path("src"), kit, "--title", "en=Templates", "--vendor", "en=Acme", "--title",
          "ru=" + russian, "--readme", "en=a.txt", "--level", "1"});
  // Names sorted bytewise with "\" separators; times in UTC.
  EXPECT_EQ(orbkit({"list", kit}),
            "product en: title \"Templates\" vendor \"Acme\" readme \"a.txt\"\n"
            "product ru: title \"" +
                russian +
                "\" vendor \"\" readme \"\"\n"
                "6  2001-09-09 01:46:40  a.txt\n"
                "3145728  2009-02-13 23:31:30  nested\\deeper\\large.bin\n"
                "0  2017-07-14 02:40:00  nested\\empty\n"
                "3  2033-05-18 03:33:20  \u00fcnic\u00f6de\\\u0444\u0430\u0439\u043b.txt\n"
                "4 files\n");
  orbkit({"extract", kit, path("out")});
  for (const auto& file : files) {
    EXPECT_EQ(read_file(path("out/" + file.name)), file.content) << file.name;
    EXPECT_EQ(modification_seconds(path("out/" + file.name)), file.mtime) << file.name;
  }
  EXPECT_EQ(joined_names(directory_names(path("out")), "|"), "a.txt|nested|\u00fcnic\u00f6de|");
  EXPECT_EQ(orbkit({"verify", kit}), "kit is sound: 2 products, 4 files, 3145737 bytes\n");
  EXPECT_TRUE(temp_files().empty());

  // A kit written into its own tree by an earlier run does not pack itself.
  const std::vector<std::string> single = {"pack", "--single",  "--level",
                                           "9",    "--title",   "xx=Only",
                                           "--",   path("src"), path("src/self.pkd")};
  orbkit(single);
  orbkit(single);
  const std::string listed = orbkit({"list", path("src/self.pkd")});
  EXPECT_EQ(listed.find("product en: title \"Only\" vendor \"\" readme \"\"\n"), 0u) << listed;
  EXPECT_NE(listed.find("\n4 files\n"), std::string::npos) << listed;
}

TEST_F(Orbkit, RefusesWrongUsageAndDamagedOrUnsafeKits) {
  EXPECT_EQ(orbkit({"--help"}).find("usage: orbkit"), 0u);
  const std::string src = path("src"), kit = path("k.pkd");
  for (const std::vector<std::string>& usage : std::vector<std::vector<std::string>>{
           {},
           {"frobnicate"},
           {"pack", src},
           {"pack", src, kit, "--level", "10"},
           {"pack", src, kit, "--level", "-1"},
           {"pack", src, kit, "--title", "en"},
           {"pack", src, kit, "--single", "--title", "en=A", "--title", "ru=B"},
           {"list"},
           {"extract", kit}}) {
    orbkit(usage, 2);
  }

  // A backslash in a name would read back as a separator. The directory an
  // entry needs may be a link out of the target.
  ASSERT_EQ(mkdir(path("odd").c_str(), 0755), 0);
  write_file(path("odd/back\\slash"), "");
  write_file(path("garbage.pkd"), "\xff\xff\xff\xff");
  write_file(
      path("tail.pkd"),
      stored_block(u32(1) + u32(0) + u32(1) + record(file_fields(u"h", 0, 4)) + "head") + "\x07");
  write_kit(simple_container({{u"safe", "1"}, {u"..\\escaped", "2"}}), "escaping.pkd");
  write_kit(simple_container({{u"nested\\f", "1"}}), "linked.pkd");
  ASSERT_EQ(mkdir(path("elsewhere").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(path("out").c_str(), 0755), 0);
  ASSERT_EQ(symlink(path("elsewhere").c_str(), path("out/nested").c_str()), 0);
  const std::pair<std::vector<std::string>, std::string> failures[] = {
      {{"pack", path("missing"), kit}, "not a directory: " + path("missing")},
      {{"pack", path("odd"), kit}, "back\\slash"},
      {{"verify", path("garbage.pkd")}, "damaged or unsafe kit"},
      {{"verify", path("tail.pkd")}, "damaged kit after its last entry"},
      {{"extract", path("escaping.pkd"), path("out/inner")}, "damaged or unsafe kit"},
      {{"extract", path("linked.pkd"), path("out")}, "not a directory: " + path("out/nested")},
  };
  for (const auto& [arguments, message] : failures) {
    EXPECT_NE(orbkit(arguments, 1).find(message), std::string::npos) << message;
  }
  EXPECT_FALSE(exists(kit));
  EXPECT_EQ(directory_names(path("out")), std::vector<std::string>{"nested"});
  EXPECT_TRUE(directory_names(path("elsewhere")).empty());
}

}  // namespace
