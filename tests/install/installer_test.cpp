// The installation run: which entries it writes, what it publishes, the
// entries it refuses, a kit cut short and a target another run holds.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "install/install_fixture.h"
#include "install/target_lock.h"
#include "text/languages.h"

using InstallerTest = InstallTest;

// Success is published with the full bar and then shown for the pause.
TEST_F(InstallerTest, AnEmptyKitCommitsAndPauses) {
  openKit({});
  const TreeSnapshot before = snapshot_tree(target.path());
  const auto started = std::chrono::steady_clock::now();
  const Outcome outcome = install(target.path(), 0, 300);
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(300));
  EXPECT_EQ(0u, outcome.result);
  EXPECT_EQ(0u, outcome.code);
  EXPECT_EQ(100, outcome.progress);
  EXPECT_EQ(LoadResString("IDS_INSTALL_FINISH"), outcome.message);
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_EQ("", leftovers());
}

TEST_F(InstallerTest, WritesMissingAndOlderFilesOnly) {
  write_file(target / "older.cfg", "older", kT - 1);
  write_file(target / "equal.cfg", "equal", kT);
  write_file(target / "newer.cfg", "newer", kT + 1);
  write_file(target / "fraction.cfg", "fraction", kT);
  // A link to nowhere has no time to compare: the file replaces it.
  ASSERT_EQ(0, symlink("nowhere", (target / "dangling.cfg").c_str()));
  // A file named twice is decided against what the first time wrote.
  openKit({{"missing.cfg", "kit missing"},
           {"older.cfg", "kit older"},
           {"equal.cfg", "kit equal"},
           {"newer.cfg", "kit newer"},
           {"fraction.cfg", "kit fraction", file_time(kT, 5000000)},
           {"empty.cfg", ""},
           {"dangling.cfg", "kit dangling"},
           {"twice.cfg", "twice"},
           {"twice.cfg", "twice older", file_time(kT - 10)}});
  ASSERT_EQ(0u, install(target.path()).result);
  const std::pair<const char*, const char*> expected[] = {
      {"missing", "kit missing"},   {"older", "kit older"},       {"equal", "equal"},
      {"newer", "newer"},           {"fraction", "kit fraction"}, {"empty", ""},
      {"dangling", "kit dangling"}, {"twice", "twice"}};
  for (const auto& [name, content] : expected) {
    const std::string file = target / (std::string(name) + ".cfg");
    EXPECT_EQ(content, read_file(file)) << name;
    EXPECT_EQ(std::string(name) == "newer" ? kT + 1 : kT, modification_seconds(file)) << name;
  }
  EXPECT_EQ("", leftovers());

  // A time that is not a whole second always compares as newer than the
  // installed file, so that entry is written on every run; the others not.
  write_file(target / "fraction.cfg", "edited", kT);
  write_file(target / "older.cfg", "edited", kT);
  ASSERT_EQ(0u, install(target.path()).result);
  EXPECT_EQ("kit fraction", read_file(target / "fraction.cfg"));
  EXPECT_EQ("edited", read_file(target / "older.cfg"));
}

// Before each entry the run publishes its path and the share done; entry 3
// of 10 failing publishes 30 and names what stands in the way.
TEST_F(InstallerTest, PublishesEachEntryAndWhereItStopped) {
  std::vector<KitFile> files;
  for (int i = 0; i < 10; ++i) files.push_back({(i == 3 ? "blocked\\f" : "f") + std::to_string(i), "x"});
  openKit(files);
  write_file(target / "blocked", "a file, not a directory", kT - 1);
  const TreeSnapshot before = snapshot_tree(target.path());
  std::vector<WideString> published;
  FileFaults faults;
  faults.on(FileOperation::kCreate, [&](const std::string& path) {
    Outcome state;
    data.getInstallState(state.code, state.message, state.progress);
    if (path.find(".p8new") != std::string::npos) {
      published.push_back(string_ito(state.progress, 10) + u" " + state.message);
    }
    return 0u;
  });
  const Outcome outcome = install(target.path());
  EXPECT_EQ((std::vector<WideString>{u"0 " + wide(target / "f0"), u"10 " + wide(target / "f1"),
                                     u"20 " + wide(target / "f2")}),
            published);
  EXPECT_EQ(ERROR_PATH_NOT_FOUND, outcome.result);
  EXPECT_EQ(ERROR_PATH_NOT_FOUND, outcome.code);
  EXPECT_EQ(30, outcome.progress);
  EXPECT_EQ(LoadResString("IDS_ERROR_NOTDIRECTORY") + u" " + wide(target / "blocked"),
            outcome.message);
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_EQ("", leftovers());
}

// A directory (with the user's files in it) or a pipe at an entry's name is
// never written over; the backup root and a name naming nothing are no
// kit's to write. What came before is rolled back.
TEST_F(InstallerTest, RefusesEntriesThatNameNoPlainFile) {
  write_file(target / "forms.xml/user.txt", "user data", kT - 5);
  ASSERT_EQ(0, mkfifo((target / "pipe").c_str(), 0600));
  const TreeSnapshot before = snapshot_tree(target.path());
  const std::pair<const char*, uint32_t> cases[] = {{"forms.xml", ERROR_ALREADY_EXISTS},
                                                    {"pipe", ERROR_ALREADY_EXISTS},
                                                    {".p8stp\\saved\\a.cfg", ERROR_INVALID_NAME},
                                                    {".\\.", ERROR_INVALID_NAME}};
  for (const auto& [name, code] : cases) {
    SCOPED_TRACE(name);
    openKit({{"a.cfg", "a"}, {name, "kit", file_time(kT + 100)}});
    const Outcome outcome = install(target.path());
    EXPECT_EQ(code, outcome.result);
    EXPECT_EQ(50, outcome.progress);
    EXPECT_EQ(before, snapshot_tree(target.path()));
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
    SCOPED_TRACE(upToDate);
    for (int i = 8 - upToDate; i < 8; ++i) write_file(target / ("dir/f" + std::to_string(i)), "mine", kT);
    ASSERT_EQ(0u, kit.open(wide(kitPath())));
    const TreeSnapshot before = snapshot_tree(target.path());
    const Outcome outcome = install(target.path());
    EXPECT_EQ(ERROR_INVALID_DATA, outcome.result);
    EXPECT_EQ(ERROR_INVALID_DATA, outcome.code);
    EXPECT_EQ(LoadResString("IDS_ERROR_DAMAGEDSOURCE"), outcome.message);
    EXPECT_LT(outcome.progress, 100);
    EXPECT_EQ(before, snapshot_tree(target.path()));
    EXPECT_EQ("", leftovers());
  }
}

// While another installation holds the target, a run that waits briefly
// refuses, touching nothing; one that waits longer goes on once it is free.
TEST_F(InstallerTest, ABusyTargetIsWaitedForThenRefused) {
  openKit({{"a.cfg", "kit a"}});
  const TreeSnapshot before = snapshot_tree(target.path());
  TargetLock other;
  ASSERT_EQ(0u, other.acquire(target.path(), 0));
  Outcome outcome = install(target.path(), 100);
  EXPECT_EQ(ERROR_SHARING_VIOLATION, outcome.result);
  EXPECT_EQ(LoadResString("IDS_TARGET_BUSY") + u" " + wide(target.path()) + u"/", outcome.message);
  EXPECT_EQ(before, snapshot_tree(target.path()));
  EXPECT_EQ("", leftovers());

  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    other.release();
  });
  outcome = install(target.path(), 5000);
  release.join();
  EXPECT_EQ(0u, outcome.result);
  EXPECT_EQ("kit a", read_file(target / "a.cfg"));
}
