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

const std::string kKey = "ConfigurationTemplatesLocation=";

// A home directory of its own in which the launcher's files are placed.
class TemplateList : public ::testing::Test {
 protected:
  static void put(const WideString& path, const std::string& bytes) {
    FileSystem::CreateDirectory(path.substr(0, path.rfind(u'/')));
    write_file(narrow_lib(path), bytes);
  }
  static List read(bool useBaseLocations) {
    List list;
    get_tmplts_list(list, true, useBaseLocations);
    return list;
  }
  // The dialog's way of recording an installation: read, put the target first, store.
  static void record(const WideString& target) {
    List list = read(false);
    list.insert(list.begin(), target);
    set_tmplts_list(list, false);
  }

  ScratchDirectory m_scratch{kOddScratchName};
  ScopedHome m_home{m_scratch / "home"};
};

}  // namespace

TEST_F(TemplateList, MergesLocalFirstAndCleansTheEntries) {
  EXPECT_EQ(read(false), List{});
  put(get_local_config_file_path(), kKey + "/t/a\n" + kKey + "x\\y\\z\n" + kKey + "/T/A/\n");
  put(get_allusers_config_file_path(),
      kKey + "/t/a/\nconfigurationtemplateslocation=/t/c\n" + kKey + "X/Y/Z/\n");
  List list{u"kept"};
  get_tmplts_list(list, true, false);
  EXPECT_EQ(list, (List{u"kept", u"/t/a", u"x/y/z", u"/t/c"}));
  // The base pair: the base local file, then the regular local file.
  put(get_local_config_file_path_base(), kKey + "/base\n" + kKey + "/t/A\n");
  EXPECT_EQ(read(true), (List{u"/base", u"/t/A", u"x/y/z"}));

  List raw{u"", u"", u"/a", u"/A/", u"\\b\\", u"\\B", u"\\b\\"};
  Starter::removePathDuplicates(raw);
  EXPECT_EQ(raw, (List{u"", u"/a", u"\\b\\", u"\\B"}));
}

TEST_F(TemplateList, StoringKeepsOtherSettingsAndCreatesWhatIsMissing) {
  set_tmplts_list({u"/t/new", u"/T/NEW/", u"/t/second"}, true);
  EXPECT_EQ(read_file(narrow_lib(get_local_config_file_path_base())),
            kKey + "/t/new\n" + kKey + "/t/second\n");
  EXPECT_EQ(list_directory(narrow_lib(get_local_config_file_dir())), "<missing>");

  put(get_local_config_file_path(), "A=1\n" + kKey + "/t/a\nZ=2\n");
  put(get_allusers_config_file_path(), kKey + "/t/c\nAllUsersOnly=1\n");
  record(u"/t/new");
  record(u"/t/c/");  // the target moves to the front, once
  EXPECT_EQ(read_file(narrow_lib(get_local_config_file_path())),
            "A=1\n" + kKey + "/t/c/\n" + kKey + "/t/new\n" + kKey + "/t/a\nZ=2\n");
  EXPECT_EQ(read_file(narrow_lib(get_allusers_config_file_path())),
            kKey + "/t/c\nAllUsersOnly=1\n");
  set_tmplts_list({}, false);
  EXPECT_EQ(read_file(narrow_lib(get_local_config_file_path())), "A=1\nZ=2\n");
}

TEST_F(TemplateList, RealLauncherFileKeepsEverythingButTheOneSetting) {
  // A byte-order mark, CR LF lines, Cyrillic values, a path split by the
  // reader's first chunk boundary, a byte that is not UTF-8 and an empty line.
  const std::string head =
      "\xEF\xBB\xBF"
      "DefaultVersion=8.3.22.1709\r\n"
      "CommonInfoBases=/home/u/.orbp8/Базы/список.v8i\r\n";
  const std::string padding =
      "Padding=" + std::string(1023 - head.size() - 10 - kKey.size() - 8, 'p') + "\r\n";
  const std::string before = head + padding + kKey + "/home/u/Шаблоны/";
  ASSERT_EQ(before.find("Шаблоны"), 1023u);
  put(get_local_config_file_path(), before + "старые\r\n" + kKey + "/mnt/общие\\шаблоны\r\n" +
                                        "DistributiveLocation=/opt/дистрибутив\xff\r\n\r\n" +
                                        "InstallComponents=DESIGNER=1 SERVER=0\r\n");
  EXPECT_EQ(read(false), (List{u"/home/u/Шаблоны/старые\r", u"/mnt/общие/шаблоны\r"}));

  record(u"/home/u/tmplts");
  // The template lines gain the new directory; the backslash is gone, as it
  // was read; the empty line becomes "\r=". Nothing else changes.
  EXPECT_EQ(read_file(narrow_lib(get_local_config_file_path())),
            head + padding + kKey + "/home/u/tmplts\n" + kKey + "/home/u/Шаблоны/старые\r\n" +
                kKey + "/mnt/общие/шаблоны\r\n" + "DistributiveLocation=/opt/дистрибутив\xff\r\n" +
                "\r=\n" + "InstallComponents=DESIGNER=1 SERVER=0\r\n");
}
