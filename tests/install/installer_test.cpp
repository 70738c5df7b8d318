// The installation run: which entries it writes and with what mode, what it
// publishes, the entries it refuses, a kit cut short and a busy target.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "install/install_fixture.h"
#include "install/install_registry.h"
#include "install/target_lock.h"

using InstallerTest = InstallTest;

// What is missing or older is written with the kit's time, its path and
// share done published before; a replaced file keeps its mode, a new file
// gets 0660 and a new directory 0777 less the umask, the backup root 0700
// whatever the umask. A file named twice is decided against its first copy;
// a link to nowhere is replaced; the registry entry is private. Success is
// published with the full bar and shown for the pause.
TEST_F(InstallerTest, WritesWhatIsMissingOrOlder) {
  const mode_t umaskBefore = umask(022);
  write_file(target / "older.cfg", "older", kT - 1);
  chmod((target / "older.cfg").c_str(), 0604);
  write_file(target / "equal.cfg", "equal", kT);
  write_file(target / "newer.cfg", "newer", kT + 1);
  write_file(target / "fraction.cfg", "fraction", kT);
  ASSERT_EQ(0, symlink("nowhere", (target / "dangling.cfg").c_str()));
  openKit({{"missing.cfg", "kit missing"},
           {"older.cfg", "kit older"},
           {"equal.cfg", "kit equal"},
           {"newer.cfg", "kit newer"},
           {"fraction.cfg", "kit fraction", file_time(kT, 5000000)},
           {"dangling.cfg", "kit dangling"},
           {"new\\twice.cfg", "twice"},
           {"new\\twice.cfg", "twice older", file_time(kT - 10)}});
  std::string published;
  std::string registry;  // the modes of its directory and entry
  FileFaults faults;
  faults
      .on(FileOperation::kCreate,
          [&](const std::string& path) {
            Outcome state;
            data.getInstallState(state.code, state.message, state.progress);
            if (path.find(".p8new") != std::string::npos) published += state.text() + ";";
            return 0u;
          })
      .on(FileOperation::kMove, [&](const std::string&) {
        published += snapshot_tree(target.path())[".p8stp"].substr(0, 6) + ";";
        registry.clear();
        for (const auto& [name, item] : snapshot_tree(install_registry_directory()))
          registry += item.substr(0, 7);
        return 0u;
      });
  const auto started = std::chrono::steady_clock::now();
  const Outcome outcome = install(target.path(), 0, 300);
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(300));
  umask(umaskBefore);
  const std::string root = target.path() + "/";
  EXPECT_EQ(";0 0 0 " + root + "missing.cfg;d 0700;0 0 12 " + root + "older.cfg;d 0700;0 0 50 " +
                root + "fraction.cfg;d 0700;0 0 62 " + root + "dangling.cfg;d 0700;0 0 75 " + root +
                "new/twice.cfg;d 0700;",
            published);
  EXPECT_EQ("0 0 100 " + resource("IDS_INSTALL_FINISH"), outcome.text());
  EXPECT_EQ("d 0700 f 0600 ", registry);
  const TreeSnapshot installed = snapshot_tree(target.path());
  EXPECT_EQ((TreeSnapshot{{"dangling.cfg", "f 0640 1600000000.000000000 kit dangling"},
                          {"equal.cfg", "f 0644 1600000000.000000000 equal"},
                          {"fraction.cfg", "f 0644 1600000000.000000000 kit fraction"},
                          {"missing.cfg", "f 0640 1600000000.000000000 kit missing"},
                          {"new/twice.cfg", "f 0640 1600000000.000000000 twice"},
                          {"newer.cfg", "f 0644 1600000001.000000000 newer"},
                          {"older.cfg", "f 0604 1600000000.000000000 kit older"}}),
            files_of(installed));
  EXPECT_EQ("d 0755", installed.at("new").substr(0, 6));
  EXPECT_EQ("", leftovers());

  // A time that is not a whole second always compares as newer than the
  // installed file, so that entry is written on every run; the others not.
  write_file(target / "fraction.cfg", "edited", kT);
  write_file(target / "older.cfg", "edited", kT);
  ASSERT_EQ(0u, install(target.path()).result);
  EXPECT_EQ("kit fraction|edited",
            read_file(target / "fraction.cfg") + "|" + read_file(target / "older.cfg"));
}

// A directory (with the user's files in it) or a pipe at an entry's name is
// never written over, nor a file where a directory is needed; the backup
// root and a name naming nothing are no kit's to write. What came before is
// rolled back, and the state says where the run stopped.
TEST_F(InstallerTest, RefusesEntriesThatNameNoPlainFile) {
  write_file(target / "forms.xml/user.txt", "user data", kT - 5);
  write_file(target / "blocked", "a file, not a directory", kT - 1);
  ASSERT_EQ(0, mkfifo((target / "pipe").c_str(), 0600));
  const TreeSnapshot before = snapshot_tree(target.path());
  const std::string failed = resource("IDS_INSTALL_ERROR");
  const std::pair<const char*, std::string> cases[] = {
      {"forms.xml", "183 183 50 " + failed},
      {"pipe", "183 183 50 " + failed},
      {"blocked\\f", "3 3 50 " + resource("IDS_ERROR_NOTDIRECTORY") + " " + target / "blocked"},
      {".p8stp\\saved\\a.cfg", "123 123 50 " + failed},
      {".\\.", "123 123 50 " + failed}};
  for (const auto& [name, outcome] : cases) {
    openKit({{"a.cfg", "a"}, {name, "kit", file_time(kT + 100)}});
    EXPECT_EQ(outcome, install(target.path()).text()) << name;
    EXPECT_EQ(before, snapshot_tree(target.path())) << name;
    EXPECT_EQ("", leftovers()) << name;
  }
}

// A kit cut short after its catalogue is never committed: neither when the
// cut falls in an entry being written, nor when the entries after the one
// written, or all of them, are up to date and never read.
TEST_F(InstallerTest, AKitCutShortIsNeverCommitted) {
  std::vector<KitFile> files;
  uint32_t noise = 12345;
  for (int i = 0; i < 8; ++i) {
    std::string content(20000, '\0');
    for (char& byte : content) byte = static_cast<char>((noise = noise * 1103515245 + 12345) >> 24);
    files.push_back({"dir\\f" + std::to_string(i), content});
  }
  openKit(files);
  kit.close();
  struct stat kitStatus {};
  ASSERT_EQ(0, stat(kitPath().c_str(), &kitStatus));
  ASSERT_EQ(0, truncate(kitPath().c_str(), kitStatus.st_size * 9 / 10));
  for (const int upToDate : {0, 7, 8}) {
    for (int i = 8 - upToDate; i < 8; ++i)
      write_file(target / ("dir/f" + std::to_string(i)), "mine", kT);
    ASSERT_EQ(0u, kit.open(wide(kitPath())));
    const TreeSnapshot before = snapshot_tree(target.path());
    EXPECT_EQ("13 13 87 " + resource("IDS_ERROR_DAMAGEDSOURCE"), install(target.path()).text())
        << upToDate;
    EXPECT_EQ(before, snapshot_tree(target.path())) << upToDate;
    EXPECT_EQ("", leftovers()) << upToDate;
  }
}

// While another installation holds the target, a run that waits briefly
// refuses, touching nothing; one that waits longer goes on once it is free.
TEST_F(InstallerTest, ABusyTargetIsWaitedForThenRefused) {
  openKit({{"a.cfg", "kit a"}});
  const TreeSnapshot before = snapshot_tree(target.path());
  TargetLock other;
  ASSERT_EQ(0u, other.acquire(target.path(), 0));
  EXPECT_EQ("32 32 0 " + resource("IDS_TARGET_BUSY") + " " + target.path() + "/",
            install(target.path(), 100).text());
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_EQ("", leftovers());
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    other.release();
  });
  const Outcome outcome = install(target.path(), 5000);
  release.join();
  EXPECT_EQ(0u, outcome.result);
  EXPECT_EQ("kit a", read_file(target / "a.cfg"));
}
