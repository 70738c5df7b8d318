// The template list: merged from the local and all-users files, cleaned, and
// stored into the local file without disturbing anything else in it.
#include "config/starter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/config_locations.h"
#include "platform/file_system.h"
#include "support/file_contents.h"
#include "support/scratch_directory.h"
#include "test_files.h"

namespace {

using List = std::vector<WideString>;

const std::string kKey = "ConfigurationTemplatesLocation";

// A home directory of its own with helpers to place the launcher's files.
class LauncherHome {
 public:
  LauncherHome() : m_home(m_scratch / "home") {}

  void put(const WideString& path, const std::string& bytes) {
    const std::string narrow = narrow_lib(path);
    FileSystem::CreateDirectory(widen_lib(narrow.substr(0, narrow.rfind('/'))));
    write_file(narrow, bytes);
  }
  std::string content(const WideString& path) const { return read_file(narrow_lib(path)); }
  const std::string& home() const { return m_scratch.path(); }

 private:
  ScratchDirectory m_scratch{kOddScratchName};
  ScopedHome m_home;
};

List read_list(bool useBaseLocations) {
  List list;
  get_tmplts_list(list, true, useBaseLocations);
  return list;
}

// The dialog's way of recording an installation: read, put the target first, store.
void record_installation(const WideString& target, bool useBaseLocations) {
  List list = read_list(useBaseLocations);
  list.insert(list.begin(), target);
  set_tmplts_list(list, useBaseLocations);
}

}  // namespace

TEST(TemplateList, MergesLocalFirstThenOtherAllUsersEntries) {
  LauncherHome home;
  EXPECT_EQ(read_list(false), List{});
  home.put(get_local_config_file_path(), kKey + "=/t/a\n" + kKey + "=/t/b\n");
  home.put(get_allusers_config_file_path(), kKey + "=/T/B\nconfigurationtemplateslocation=/t/c\n");
  List list{u"kept"};
  get_tmplts_list(list, true, false);
  EXPECT_EQ(list, (List{u"kept", u"/t/a", u"/t/b", u"/t/c"}));

  // The base pair: the base local file, then the regular local file.
  home.put(get_local_config_file_path_base(), kKey + "=/base\n" + kKey + "=/T/A\n");
  EXPECT_EQ(read_list(true), (List{u"/base", u"/T/A", u"/t/b"}));
}

TEST(TemplateList, ReadEntriesAreCleaned) {
  LauncherHome home;
  home.put(get_local_config_file_path(),
           kKey + "=x\\y\\z\n" + kKey + "=/t/x\n" + kKey + "=/T/X/\n" + kKey + "=/t/x/\n");
  home.put(get_allusers_config_file_path(), kKey + "=/t/x\n" + kKey + "=X/Y/Z/\n");
  EXPECT_EQ(read_list(false), (List{u"x/y/z", u"/t/x"}));

  List raw{u"", u"", u"/a", u"/a/", u"\\b\\", u"\\B", u"\\b\\"};
  Starter::removePathDuplicates(raw);
  EXPECT_EQ(raw, (List{u"", u"/a", u"\\b\\", u"\\B"}));
  Starter::replaceWrongSeparators(raw);
  EXPECT_EQ(raw, (List{u"", u"/a", u"/b/", u"/B"}));
}

TEST(TemplateList, StoringCreatesTheMissingDirectoryAndFile) {
  LauncherHome home;
  set_tmplts_list({u"/t/new", u"/T/NEW/", u"/t/second"}, false);
  EXPECT_EQ(home.content(get_local_config_file_path()), kKey + "=/t/new\n" + kKey + "=/t/second\n");
  EXPECT_EQ(home.content(get_allusers_config_file_path()), "<missing>");

  set_tmplts_list({u"/t/base"}, true);
  EXPECT_EQ(home.content(get_local_config_file_path_base()), kKey + "=/t/base\n");
}

TEST(TemplateList, StoringKeepsOtherSettingsAndMergesAllUsersEntries) {
  LauncherHome home;
  home.put(get_local_config_file_path(), "A=1\n" + kKey + "=/t/a\nZ=2\n");
  home.put(get_allusers_config_file_path(), kKey + "=/t/c\nAllUsersOnly=1\n");
  record_installation(u"/t/new", false);
  EXPECT_EQ(home.content(get_local_config_file_path()),
            "A=1\n" + kKey + "=/t/new\n" + kKey + "=/t/a\n" + kKey + "=/t/c\nZ=2\n");
  EXPECT_EQ(home.content(get_allusers_config_file_path()), kKey + "=/t/c\nAllUsersOnly=1\n");

  // Storing again reads the file just written: the target moves to the front.
  record_installation(u"/t/c/", false);
  EXPECT_EQ(home.content(get_local_config_file_path()),
            "A=1\n" + kKey + "=/t/c/\n" + kKey + "=/t/new\n" + kKey + "=/t/a\nZ=2\n");

  set_tmplts_list({}, false);
  EXPECT_EQ(home.content(get_local_config_file_path()), "A=1\nZ=2\n");
}

TEST(TemplateList, RealLauncherFileKeepsEverythingButTheOneSetting) {
  LauncherHome home;
  // A byte-order mark, CR LF lines, Cyrillic values, a path split by the
  // first chunk boundary, a byte that is not UTF-8, and keys we never touch.
  const std::string head =
      "\xEF\xBB\xBF"
      "DefaultVersion=8.3.22.1709\r\n"
      "CommonInfoBases=/home/u/.orbp8/Базы/список.v8i\r\n"
      "InstalledLocation=/opt/orbe/8.3.22\r\n";
  const std::string templates = "ConfigurationTemplatesLocation=/home/u/";
  // The first chunk ends after the first byte of "Ш".
  const std::string padding(1023 - head.size() - 10 - templates.size(), 'p');
  const std::string before = head + "Padding=" + padding + "\r\n" + templates + "Шаблоны/";
  std::string tail = "старые\r\n";
  tail += "ConfigurationTemplatesLocation=/mnt/общие\\шаблоны\r\n";
  tail += "DistributiveLocation=/opt/дистрибутив\xff\r\n";
  tail += "UseHwLicenses=0\r\n";
  tail += "\r\n";
  tail += "InstallComponents=DESIGNER=1 SERVER=0\r\n";
  home.put(get_local_config_file_path(), before + tail);
  ASSERT_EQ(before.find("Шаблоны"), 1023u);

  const List read = read_list(false);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0], u"/home/u/Шаблоны/старые\r");
  EXPECT_EQ(read[1], u"/mnt/общие/шаблоны\r");

  record_installation(u"/home/u/.orbp8/Orbe/orbp8/tmplts", false);
  // The template lines lose their separate line and gain the new directory;
  // the backslash of the second entry is gone, as it was read; the empty
  // line goes. Nothing else changes.
  const std::string expected = head + "Padding=" + padding + "\r\n" +
                               "ConfigurationTemplatesLocation=/home/u/.orbp8/Orbe/orbp8/tmplts\n" +
                               "ConfigurationTemplatesLocation=/home/u/Шаблоны/старые\r\n" +
                               "ConfigurationTemplatesLocation=/mnt/общие/шаблоны\r\n" +
                               "DistributiveLocation=/opt/дистрибутив\xff\r\n" +
                               "UseHwLicenses=0\r\n" + "\r=\n" +
                               "InstallComponents=DESIGNER=1 SERVER=0\r\n";
  EXPECT_EQ(home.content(get_local_config_file_path()), expected);
}
