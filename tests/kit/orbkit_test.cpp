// The kit tool run as vendors run it: a tree packed, listed, extracted and
// verified, and the wrong usage and unsafe kits it refuses.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <tuple>

#include "kit_test_support.h"

namespace {

// Runs the kit tool in a time zone far from UTC, checks its exit status, returns its output.
std::string orbkit(const std::vector<std::string>& arguments, int expected = 0) {
  std::string command = "TZ=UTC-14 '" ORBKIT_PATH "'", output;
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  FILE* child = popen((command + " 2>&1").c_str(), "r");
  for (int byte; child != nullptr && (byte = fgetc(child)) != EOF;) output += char(byte);
  const int status = child != nullptr ? pclose(child) : -1;
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, expected) << command << "\n" << output;
  return output;
}

class Orbkit : public KitTest {};

TEST_F(Orbkit, PacksListsExtractsAndVerifiesATree) {
  std::string large(3 * 0x100000, '\0');
  for (size_t i = 0; i < large.size(); ++i) large[i] = "0123456789,"[i * 7919 / 13 % 11];
  const std::tuple<std::string, std::string, long> files[] = {
      {"a.txt", "alpha\n", 1000000000L},
      {"nested/deep/large.bin", large, 1234567890L},
      {"nested/empty", "", 1500000000L},
      {"\u00fcnic\u00f6de/\u0444\u0430\u0439\u043b.txt", "\u4e2d", 2000000000L},
  };
  // Times carry a fraction of a second that a kit does not keep.
  for (const char* directory : {"src", "src/nested", "src/nested/deep", "src/\u00fcnic\u00f6de"}) {
    ASSERT_EQ(mkdir(path(directory).c_str(), 0755), 0) << directory;
  }
  for (const auto& [name, content, mtime] : files) {
    write_file(path("src/" + name), content);
    const timespec times[2] = {{mtime, 400000000}, {mtime, 400000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, path("src/" + name).c_str(), times, 0), 0) << name;
  }
  ASSERT_EQ(symlink("nested", path("src/nested link").c_str()), 0);  // not descended into
  const std::string kit = path("-kit $1.pkd");
  orbkit({"pack", path("src"), kit, "--title", "en=Templates", "--vendor", "en=Acme", "--title",
          "ru=\u0428\u0430\u0431", "--readme", "en=a.txt", "--level", "1"});
  // Names sorted bytewise with "\" separators; times in UTC.
  const std::string entries =
      "6  2001-09-09 01:46:40  a.txt\n"
      "3145728  2009-02-13 23:31:30  nested\\deep\\large.bin\n"
      "0  2017-07-14 02:40:00  nested\\empty\n"
      "3  2033-05-18 03:33:20  \u00fcnic\u00f6de\\\u0444\u0430\u0439\u043b.txt\n"
      "4 files\n";
  EXPECT_EQ(orbkit({"list", kit}),
            "product en: title \"Templates\" vendor \"Acme\" readme \"a.txt\"\n"
            "product ru: title \"\u0428\u0430\u0431\" vendor \"\" readme \"\"\n" +
                entries);
  orbkit({"extract", kit, path("out")});
  for (const auto& [name, content, mtime] : files) {
    EXPECT_EQ(read_file(path("out/" + name)), content) << name;
    EXPECT_EQ(modification_seconds(path("out/" + name)), mtime) << name;
  }
  const std::string sound = "kit is sound: 2 products, 4 files, 3145737 bytes\n";
  EXPECT_EQ(orbkit({"verify", kit}), sound);
  // Signed by minisign: verified with its key, refused with another's.
  const std::string key = path("k"), other = path("o"), quiet = " > /dev/null";
  for (const std::string& pair : {key, other})
    ASSERT_EQ(system(("minisign -GW -p " + pair + ".pub -s " + pair + ".sec" + quiet).c_str()), 0);
  ASSERT_EQ(system(("minisign -S -s " + key + ".sec -m '" + kit + "'" + quiet).c_str()), 0);
  const std::string verified =
      orbkit({"verify", kit, "--key", other + ".pub", "--key", key + ".pub"});
  EXPECT_EQ(verified.find(sound + "signature verified with the key " + key + ".pub (key id "), 0u);
  EXPECT_EQ(orbkit({"verify", kit, "--key", other + ".pub"}, 1),
            "orbkit: signature refused: " + kit + ": signed by a key that is not trusted.\n");

  // A kit written into its own tree by an earlier run does not pack itself.
  for (int run = 0; run < 2; ++run) {
    orbkit({"pack", "--single", "--level", "9", "--title", "xx=Only", "--", path("src"),
            path("src/self.pkd")});
  }
  EXPECT_EQ(orbkit({"list", path("src/self.pkd")}),
            "product en: title \"Only\" vendor \"\" readme \"\"\n" + entries);
}

TEST_F(Orbkit, RefusesWrongUsageAndDamagedOrUnsafeKits) {
  // A backslash in a name would read back as a separator; out/nested links out of the target.
  ASSERT_EQ(mkdir(path("odd").c_str(), 0755), 0);
  write_file(path("odd/back\\slash"), "");
  write_file(path("garbage.pkd"), "\xff\xff\xff\xff");
  write_file(path("tail.pkd"), stored_block(simple_container({{u"h", "head"}})) + "\x07");
  write_kit(simple_container({{u"nested\\f", "1"}}), "linked.pkd");
  ASSERT_EQ(mkdir(path("elsewhere").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(path("out").c_str(), 0755), 0);
  ASSERT_EQ(symlink(path("elsewhere").c_str(), path("out/nested").c_str()), 0);
  const std::string src = path("src"), kit = path("k.pkd"), usage = "usage: orbkit COMMAND";
  const std::tuple<std::vector<std::string>, int, std::string> runs[] = {
      {{"--help"}, 0, usage},
      {{}, 2, usage},
      {{"frobnicate"}, 2, "unknown command 'frobnicate'"},
      {{"pack", src}, 2, "pack takes SRC_DIR and KIT"},
      {{"pack", src, kit, "--level", "10"}, 2, "--level takes a number from 0 to 9"},
      {{"pack", src, kit, "--level", "-1"}, 2, "--level takes a number from 0 to 9"},
      {{"pack", src, kit, "--title", "en"}, 2, "--title takes LANG=TEXT, not 'en'"},
      {{"pack", src, kit, "--single", "--title", "en=A", "--title", "ru=B"}, 2, "one product"},
      {{"list"}, 2, "list takes KIT"},
      {{"extract", kit}, 2, "extract takes KIT and DIR"},
      {{"verify", kit, "--key"}, 2, "verify takes KIT and --key PUB"},
      {{"verify", path("tail.pkd"), "--key", path("garbage.pkd")},
       1,
       "key refused: " + path("garbage.pkd") + ": not a minisign signature or public key"},
      {{"pack", path("missing"), kit}, 1, "not a directory: " + path("missing")},
      {{"pack", path("odd"), kit}, 1, "back\\slash"},
      {{"verify", path("garbage.pkd")}, 1, "damaged or unsafe kit"},
      {{"verify", path("tail.pkd")}, 1, "damaged kit after its last entry"},
      {{"extract", path("linked.pkd"), path("out")}, 1, "not a directory: " + path("out/nested")},
  };
  for (const auto& [arguments, status, message] : runs) {
    EXPECT_NE(orbkit(arguments, status).find(message), std::string::npos) << message;
  }
  EXPECT_FALSE(exists(kit));
  EXPECT_TRUE(directory_names(path("elsewhere")).empty());
}

}  // namespace
