// Kits written from a directory tree and read back, in process and through
// the orbkit tool.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "kit/kit_tree.h"
#include "kit/kit_writer.h"
#include "kit_test_support.h"
#include "support/file_contents.h"

extern char** environ;

namespace {

struct SourceFile {
  std::string name;  // relative, "/" separators
  std::string content;
  long mtime;
};

std::vector<SourceFile> sample_tree() {
  std::string large;
  for (unsigned i = 0; large.size() < 3 * 0x100000; ++i) large += std::to_string(i * 7919u) + ",";
  large.resize(3 * 0x100000);
  return {
      {"-leading dash", "dash", 946684800L},
      {"a.txt", "alpha\n", 1000000000L},
      {"nested/deeper/large.bin", large, 1234567890L},
      {"nested/empty", "", 1500000000L},
      {"nested/x $HOME `q` \"quoted\" 'single'", "odd", 1600000000L},
      {"\xc3\xbcnic\xc3\xb6"
       "de/\xd1\x84\xd0\xb0\xd0\xb9\xd0\xbb.txt",
       "\xe4\xb8\xad", 2000000000L},
  };
}

// Creates the directories leading to `root`/`name`.
void make_parents(const std::string& root, const std::string& name) {
  for (size_t slash = name.find('/'); slash != std::string::npos;
       slash = name.find('/', slash + 1)) {
    mkdir((root + "/" + name.substr(0, slash)).c_str(), 0755);
  }
}

// Creates the tree below `root`; times are set in whole seconds plus a
// fraction that a kit does not keep.
void make_tree(const std::string& root, const std::vector<SourceFile>& files) {
  ASSERT_EQ(mkdir(root.c_str(), 0755), 0);
  for (const SourceFile& file : files) {
    make_parents(root, file.name);
    const std::string target = root + "/" + file.name;
    write_file(target, file.content);
    const struct timespec times[2] = {{file.mtime, 400000000}, {file.mtime, 400000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, target.c_str(), times, 0), 0) << target;
  }
}

void expect_tree(const std::string& root, const std::vector<SourceFile>& files) {
  for (const SourceFile& file : files) {
    const std::string target = root + "/" + file.name;
    EXPECT_EQ(read_file(target), file.content) << target;
    EXPECT_EQ(modification_seconds(target), file.mtime) << target;
  }
}

// Runs the kit tool; returns its exit status and collects its output.
int run_orbkit(const std::vector<std::string>& arguments, std::string& output) {
  std::vector<char*> argv{const_cast<char*>(ORBKIT_PATH)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, ORBKIT_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  output.clear();
  char chunk[4096];
  ssize_t got;
  while ((got = read(pipeEnds[0], chunk, sizeof chunk)) > 0) output.append(chunk, got);
  close(pipeEnds[0]);
  if (spawned != 0) return -1;
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class RoundTrip : public ScratchTest {};

TEST_F(RoundTrip, PackedTreeComesBackWithContentsNamesAndTimes) {
  const std::vector<SourceFile> files = sample_tree();
  ASSERT_NO_FATAL_FAILURE(make_tree(path("src"), files));
  KitLayout layout;
  layout.products.push_back({u"en", u"Title", u"Vendor", u"a.txt"});
  ASSERT_EQ(scan_kit_tree(path("src"), layout.entries), "");
  uint64_t lastDone = 0;
  ASSERT_EQ(::write_kit(layout, path("kit.pkd"), 6,
                        [&lastDone](uint64_t done, uint64_t total) {
                          EXPECT_LE(done, total);
                          lastDone = done;
                        }),
            "");
  uint64_t total = 0;
  for (const SourceFile& file : files) total += file.content.size();
  EXPECT_EQ(lastDone, total);

  Reader reader;
  ASSERT_EQ(reader.open(wpath("kit.pkd")), 0u);
  ASSERT_EQ(reader.count(), files.size());
  ASSERT_EQ(mkdir(path("out").c_str(), 0755), 0);
  for (uint32_t i = 0; i < reader.count(); ++i) {
    config::FileData<FileSystem> entry;
    reader.get(i, entry);
    WideString expected = widen_lib(files[i].name);
    replace_all(expected, kPathSeparator, kBadPathSeparator);
    EXPECT_EQ(entry.name, expected);  // stable bytewise order, "\" separators
    make_parents(path("out"), files[i].name);
    const std::string target = path("out/" + files[i].name);
    ASSERT_EQ(reader.copy(i, widen_lib(target)), 0u) << target;
  }
  expect_tree(path("out"), files);
}

TEST_F(RoundTrip, OrbkitPacksListsExtractsAndVerifies) {
  const std::vector<SourceFile> files = sample_tree();
  ASSERT_NO_FATAL_FAILURE(make_tree(path("src"), files));
  const std::string kit = path("-kit $1.pkd");
  std::string output;
  ASSERT_EQ(run_orbkit({"pack", path("src"), kit, "--title", "en=Templates", "--vendor", "en=Acme",
                        "--title", "ru=\xd0\xa8\xd0\xb0\xd0\xb1\xd0\xbb\xd0\xbe\xd0\xbd\xd1\x8b",
                        "--readme", "en=a.txt", "--level", "1"},
                       output),
            0)
      << output;

  ASSERT_EQ(run_orbkit({"list", kit}, output), 0) << output;
  for (const char* line :
       {"product en: title \"Templates\" vendor \"Acme\" readme \"a.txt\"",
        "product ru: title \"\xd0\xa8\xd0\xb0\xd0\xb1\xd0\xbb\xd0\xbe\xd0\xbd\xd1\x8b\"",
        "3145728  2009-02-13 23:31:30  nested\\deeper\\large.bin",
        "0  2017-07-14 02:40:00  nested\\empty", "6 files"}) {
    EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
  }

  ASSERT_EQ(run_orbkit({"extract", kit, path("out")}, output), 0) << output;
  expect_tree(path("out"), files);
  EXPECT_EQ(run_orbkit({"verify", kit}, output), 0) << output;
  EXPECT_TRUE(temp_files().empty());

  ASSERT_EQ(run_orbkit({"pack", "--single", "--title", "xx=Only", path("src"), path("single.pkd")},
                       output),
            0);
  ASSERT_EQ(run_orbkit({"list", path("single.pkd")}, output), 0);
  EXPECT_EQ(output.find("product en: title \"Only\""), 0u) << output;
}

TEST_F(RoundTrip, OrbkitRefusesBadInputWithClearStatus) {
  std::string output;
  EXPECT_EQ(run_orbkit({"--help"}, output), 0);
  EXPECT_NE(output.find("usage: orbkit"), std::string::npos);
  for (const std::vector<std::string>& usage : std::vector<std::vector<std::string>>{
           {},
           {"frobnicate"},
           {"pack", path("missing")},
           {"pack", path("missing"), path("k.pkd"), "--level", "12"}}) {
    EXPECT_EQ(run_orbkit(usage, output), 2) << usage.size();
  }
  EXPECT_EQ(run_orbkit({"pack", path("missing"), path("k.pkd")}, output), 1);
  EXPECT_NE(output.find("not a directory"), std::string::npos) << output;

  // A backslash inside a name would read back as a separator.
  ASSERT_EQ(mkdir(path("odd").c_str(), 0755), 0);
  write_file(path("odd/back\\slash"), "");
  EXPECT_EQ(run_orbkit({"pack", path("odd"), path("k.pkd")}, output), 1);
  EXPECT_NE(output.find("back\\slash"), std::string::npos) << output;

  write_file(path("garbage.pkd"), std::string("\xff\xff\xff\xff", 4));
  EXPECT_EQ(run_orbkit({"verify", path("garbage.pkd")}, output), 1);
  EXPECT_NE(output.find("damaged or unsafe kit"), std::string::npos) << output;

  // An escaping entry: nothing is written, not even the safe entry.
  write_kit(simple_container({{u"safe", "1"}, {u"..\\escaped", "2"}}), "evil.pkd");
  EXPECT_EQ(run_orbkit({"extract", path("evil.pkd"), path("out/inner")}, output), 1);
  EXPECT_EQ(list_directory(path("")),
            (std::vector<std::string>{"evil.pkd", "garbage.pkd", "odd", "tmp"}));
}

}  // namespace
