// The launcher's file locations, the probe for where files can be created, the
// template list merged from its files, cleaned and stored back, and the installed
// directory recorded in front under the lock that keeps setups from losing theirs.
#include "config/starter.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include "config/config_locations.h"
#include "config/template_record.h"
#include "platform/file_system.h"
#include "platform/lock_file.h"
#include "platform/test_files.h"

namespace {

using List = std::vector<WideString>;

const std::string kKey = "ConfigurationTemplatesLocation=";

// A home directory of its own, named with a final "/", which is kept.
class LauncherFiles : public ::testing::Test {
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

  ScratchDirectory m_scratch = platform_scratch();
  const std::string m_home = m_scratch / "home/";
  ScopedEnvironment m_homeVariable{"HOME", m_home.c_str()};
};

}  // namespace

TEST_F(LauncherFiles, LocationsFollowTheHomeAsItStands) {
  const std::pair<WideString, std::string> paths[] = {
      {p8_app_data_dir(true), "/.orbp8/Orbe/orbp8/"},
      {get_local_config_file_path(), "/.Orbe/orbstart/orbstart.cfg"},
      {get_allusers_config_file_path(), "/.orbp8/.Orbe/orbstart/orbstart.cfg"},
      {get_local_config_file_path_base(), "/.Orbe/orbstartt/orbstart.cfg"},
      {get_allusers_config_file_path_base(), "/.Orbe/orbstart/orbstart.cfg"},
  };
  for (const auto& [path, below] : paths) EXPECT_EQ(narrow_lib(path), m_home + below);
  setenv("HOME", "", 1);  // an empty one, as an unset one: the account's home directory
  EXPECT_EQ(home_dir(), widen_lib(getpwuid(getuid())->pw_dir));
}

// Asked without a trace: no file made, not even the directory's times changed.
TEST_F(LauncherFiles, ProbeFindsWhereADirectoryCouldBeMadeAndLeavesNothing) {
  write_file(m_scratch / "file", "x");
  ASSERT_EQ(symlink("nowhere", (m_scratch / "dangling").c_str()), 0);
  const timespec old[2] = {{1000, 1}, {2000, 2}};
  ASSERT_EQ(0, utimensat(AT_FDCWD, m_scratch.path().c_str(), old, 0));
  const std::pair<std::string, bool> cases[] = {
      {m_scratch / "not/yet/", true},       {m_scratch.path(), true},
      {m_scratch / "file", false},          {m_scratch / "file/sub", false},
      {m_scratch / "dangling/sub", false},  {"", false},
  };
  for (const auto& [directory, permitted] : cases)
    EXPECT_EQ(isWritePermitted(widen_lib(directory)), permitted) << directory;
  EXPECT_EQ(joined_names(directory_names(m_scratch.path()), "|"), "dangling|file|");
  struct stat status;
  ASSERT_EQ(0, stat(m_scratch.path().c_str(), &status));
  EXPECT_EQ(2000, status.st_mtim.tv_sec);
}

TEST_F(LauncherFiles, TemplateListMergesLocalFirstAndCleansTheEntries) {
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
}

TEST_F(LauncherFiles, TemplateListStoringKeepsOtherSettingsAndCreatesWhatIsMissing) {
  set_tmplts_list({u"/t/new", u"/T/NEW/", u"/t/second"}, true);
  EXPECT_EQ(read_file(narrow_lib(get_local_config_file_path_base())),
            kKey + "/t/new\n" + kKey + "/t/second\n");
  EXPECT_FALSE(exists(narrow_lib(get_local_config_file_dir())));
  const std::string head = "\uFEFFA=1\r\n";  // the byte-order mark in UTF-8
  put(get_local_config_file_path(), head + kKey + "/t/a\r\nZ=2\n");
  put(get_allusers_config_file_path(), kKey + "/t/c\nAllUsersOnly=1\n");
  // As the dialog records an installation: read, put the target first, store.
  List list = read(false);
  list.insert(list.begin(), u"/t/c/");
  set_tmplts_list(list, false);
  EXPECT_EQ(read_file(narrow_lib(get_local_config_file_path())),
            head + kKey + "/t/c/\n" + kKey + "/t/a\r\nZ=2\n");
  EXPECT_EQ(read_file(narrow_lib(get_allusers_config_file_path())),
            kKey + "/t/c\nAllUsersOnly=1\n");
  set_tmplts_list({}, false);
  EXPECT_EQ(read_file(narrow_lib(get_local_config_file_path())), head + "Z=2\n");
}

TEST_F(LauncherFiles, RecordingPutsTheDirectoryFirstInTheFilesTheListCameFrom) {
  // Records /installed over `list` set in one file: what it could not save, both lists.
  const auto record = [&](const List& list, bool inBase) {
    set_tmplts_list(list, inBase);
    WideString unsaved = u"left over";
    const bool saved = record_template_directory(u"/installed", unsaved);
    std::string result = (saved ? "saved" : "not saved: ") + narrow_lib(unsaved);
    for (const bool base : {true, false}) {
      result += base ? " | base:" : " | local:";
      for (const WideString& entry : read(base)) result += narrow_lib(entry);
    }
    return result;
  };
  // Only the base file names directories: it alone learns the new one.
  EXPECT_EQ(record({u"/a"}, true), "saved | base:/installed/a | local:");
  // A local file is read first, and both files get its list.
  EXPECT_EQ(record({u"/b", u"/a"}, false), "saved | base:/installed/b/a | local:/installed/b/a");
  // A file that cannot be written is named; the other one is still written.
  const std::string localFile = narrow_lib(get_local_config_file_path());
  remove(localFile.c_str());
  mkdir(localFile.c_str(), 0700);
  EXPECT_EQ(record({u"/a"}, true), "not saved: " + localFile + " | base:/installed | local:");
}

// A setup that read the list and stores it while holding the lock (this process),
// and one that records meanwhile (a child, which waits): both directories stay.
TEST_F(LauncherFiles, RecordingWaitsForTheLockAndReadsTheListAfresh) {
  set_tmplts_list({u"/old"}, false);
  LockFile held;
  ASSERT_EQ(held.acquire(narrow_lib(template_list_lock_path())), 0u);
  List list = read(false);
  const pid_t child = fork();
  if (child == 0) {
    held.release();  // the parent's lock stays: its own descriptor still holds it
    WideString unsaved;
    _exit(record_template_directory(u"/child", unsaved) ? 0 : 1);
  }
  // Until the child waits for the lock (a "->" line of /proc/locks), or has ended without.
  const std::string waiter = "-> FLOCK  ADVISORY  WRITE " + std::to_string(child) + " ";
  int status = -1;
  while (read_file("/proc/locks").find(waiter) == std::string::npos &&
         waitpid(child, &status, WNOHANG) == 0) {
    usleep(1000);
  }
  list.insert(list.begin(), u"/parent");
  set_tmplts_list(list, false);
  held.release();
  if (status == -1) waitpid(child, &status, 0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(read(false), (List{u"/child", u"/parent", u"/old"}));
}
