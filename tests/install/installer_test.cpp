// The installation run: which entries it writes and with what mode, what it
// publishes, the entries it refuses, a kit cut short and a busy target.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "install/install_fixture.h"
#include "install/install_registry.h"
#include "install/target_lock.h"

using InstallerTest = InstallTest;

// What is missing, older or a link to nowhere is written with the kit's time, path
// and share published first; modes kept or 0660/0777 less the umask, the backup
// root and registry private; a file named twice decided once; success paused.
TEST_F(InstallerTest, WritesWhatIsMissingOrOlder) {
  const mode_t umaskBefore = umask(022);
  for (const auto& [name, time] : {std::pair<std::string, int64_t>{"older", kT - 1},
                                   {"equal", kT}, {"newer", kT + 1}, {"fraction", kT}})
    write_file(target / (name + ".cfg"), name, time);
  chmod((target / "older.cfg").c_str(), 0604);
  _FILETIME fraction = EpochToFileTime(kT);
  fraction.dwLowDateTime += 5000000;  // half a second later (no carry at this time)
  ASSERT_EQ(0, symlink("nowhere", (target / "dangling.cfg").c_str()));
  openKit({{"missing.cfg", "kit missing"},
           {"older.cfg", "kit older"},
           {"equal.cfg", "kit equal"},
           {"newer.cfg", "kit newer"},
           {"fraction.cfg", "kit fraction", fraction},
           {"dangling.cfg", "kit dangling"},
           {"new\\twice.cfg", "twice"},
           {"new\\twice.cfg", "twice older", EpochToFileTime(kT - 10)}});
  std::string published;
  std::set<std::string> modes;  // of the backup root, the registry and its entry
  FileFaults faults;
  faults.on(FileOperation::kCreate, [&](const std::string& path) {
    Outcome state;
    data.getInstallState(state.code, state.message, state.progress);
    if (path.find(".p8new") != std::string::npos) published += state.text() + ";";
    return 0u;
  });
  faults.on(FileOperation::kMove, [&](const std::string&) {
    modes.insert(snapshot_tree(target.path())[".p8stp"].substr(0, 6));
    for (const auto& [name, item] : snapshot_tree(install_registry_directory()))
      modes.insert(item.substr(0, 6));
    return 0u;
  });
  const auto started = std::chrono::steady_clock::now();
  const Outcome outcome = install(target.path(), 0, 300);
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(300));
  umask(umaskBefore);
  const std::string root = target.path() + "/";
  EXPECT_EQ("0 0 0 " + root + "missing.cfg;0 0 12 " + root + "older.cfg;0 0 50 " + root +
                "fraction.cfg;0 0 62 " + root + "dangling.cfg;0 0 75 " + root + "new/twice.cfg;",
            published);
  EXPECT_EQ("0 0 100 " + resource("IDS_INSTALL_FINISH"), outcome.text());
  modes.erase("");  // no backup root yet
  EXPECT_EQ((std::set<std::string>{"d 0700", "f 0600"}), modes);
  const TreeSnapshot installed = snapshot_tree(target.path());
  EXPECT_EQ((TreeSnapshot{{"dangling.cfg", "f 0640 1600000000.000000000 kit dangling"},
                          {"equal.cfg", "f 0644 1600000000.000000000 equal"},
                          {"fraction.cfg", "f 0644 1600000000.000000000 kit fraction"},
                          {"missing.cfg", "f 0640 1600000000.000000000 kit missing"},
                          {"new/twice.cfg", "f 0640 1600000000.000000000 twice"},
                          {"newer.cfg", "f 0644 1600000001.000000000 newer"},
                          {"older.cfg", "f 0604 1600000000.000000000 kit older"}}),
            files_of(installed));
  EXPECT_EQ("d 0755", installed.at("new").substr(0, 6) + leftovers());
}

// Entries never written (a directory, a pipe, a file in the way, the backup root,
// a name naming nothing), a busy target and a kit cut short after its catalogue:
// the tree is as it was and the state says where the run stopped.
TEST_F(InstallerTest, RefusedRunsTouchNothing) {
  write_file(target / "forms.xml/user.txt", "user data", kT - 5);
  write_file(target / "blocked", "a file, not a directory", kT - 1);
  ASSERT_EQ(0, mkfifo((target / "pipe").c_str(), 0600));
  std::string noise(160000, '\0');
  uint32_t seed = 12345;
  for (char& byte : noise) byte = static_cast<char>((seed = seed * 1103515245 + 12345) >> 24);
  const std::string failed = resource("IDS_INSTALL_ERROR");
  const std::string damaged = "13 13 87 " + resource("IDS_ERROR_DAMAGEDSOURCE");
  const std::pair<std::string, std::string> cases[] = {
      {"forms.xml", "183 183 50 " + failed},
      {"pipe", "183 183 50 " + failed},
      {"blocked\\f", "3 3 50 " + resource("IDS_ERROR_NOTDIRECTORY") + " " + target / "blocked"},
      {".p8stp\\saved\\a.cfg", "123 123 50 " + failed},
      {"cut", damaged},
      {"cut, 7 up to date", damaged},
      {"cut, 8 up to date", damaged},
      {"busy", "32 32 0 " + resource("IDS_TARGET_BUSY") + " " + target.path() + "/"}};
  TargetLock other;
  for (const auto& [name, outcome] : cases) {
    if (name.substr(0, 3) != "cut") {
      openKit({{"a.cfg", "a"}, {name, "kit", EpochToFileTime(kT + 100)}});
    } else {
      std::vector<KitFile> files;
      for (int i = 0; i < 8; ++i)
        files.push_back({"dir\\f" + std::to_string(i), noise.substr(i * 20000, 20000)});
      openKit(files);
      kit.close();
      ASSERT_EQ(0, truncate(kitPath().c_str(), std::filesystem::file_size(kitPath()) * 9 / 10));
      for (int i = 8 - (name.size() > 3 ? name[5] - '0' : 0); i < 8; ++i)
        write_file(target / ("dir/f" + std::to_string(i)), "mine", kT);
      ASSERT_EQ(0u, kit.open(wide(kitPath())));
    }
    ASSERT_EQ(0u, name == "busy" ? other.acquire(target.path(), 0) : 0u);
    const TreeSnapshot before = snapshot_tree(target.path());
    EXPECT_EQ(outcome, install(target.path(), 100).text()) << name;
    EXPECT_EQ(before, snapshot_tree(target.path())) << name;
    EXPECT_EQ("", leftovers()) << name;
  }
  // A run that waits longer goes on once the other is done.
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    other.release();
  });
  EXPECT_EQ("0 0 100 " + resource("IDS_INSTALL_FINISH"), install(target.path(), 5000).text());
  release.join();
}
