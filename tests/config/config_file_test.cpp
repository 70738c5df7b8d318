// The configuration file: its bytes read and written back; replacing it keeps modes, links
// and, on failure, the old content, or rewrites in place where the directory takes no new file.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "config/config_file_io.h"
#include "config/in_place_file.h"
#include "platform/test_files.h"
#include "support/child_process.h"

namespace {

const std::string kOldContent = "DefaultVersion=8.3\r\nConfigurationTemplatesLocation=/old\r\n";

// Writes `lines` values "k=<value><number>"; the int thrown, 0 when none was.
int write_result(const std::string& path, const WideString& value = u"v", int lines = 1) {
  ConfigFile model;
  for (int i = 0; i < lines; ++i) model.addValue(u"k", value + string_ito(i, 10));
  try {
    write_config_file(widen_lib(path), model);
  } catch (int code) {
    return code;
  }
  return 0;
}

}  // namespace

TEST(ConfigFileWriter, KeepsModesAndLinksAndRefusesWhatIsNoFile) {
  ScratchDirectory scratch = platform_scratch();
  mkdir((scratch / "real").c_str(), 0755);
  write_file(scratch / "real/orbstart.cfg", kOldContent);
  chmod((scratch / "real/orbstart.cfg").c_str(), 0666);
  ASSERT_EQ(symlink("real/orbstart.cfg", (scratch / "second").c_str()), 0);
  ASSERT_EQ(symlink("second", (scratch / "first").c_str()), 0);
  EXPECT_EQ(write_result(scratch / "first", u"через ссылку"), 0);
  EXPECT_EQ(read_file(scratch / "real/orbstart.cfg"), "k=через ссылку0\n");
  EXPECT_EQ(mode_of(scratch / "real/orbstart.cfg"), S_IFREG | 0666u);
  EXPECT_TRUE(S_ISLNK(mode_of(scratch / "first")) && S_ISLNK(mode_of(scratch / "second")));
  // A new file gets the bits the umask leaves, but never write permission for others.
  for (const auto& [mask, mode] : {std::pair{0, 0644u}, {027, 0640u}, {077, 0600u}}) {
    const std::string created = scratch / ("real/new" + std::to_string(mask));
    const mode_t oldMask = umask(mask);
    EXPECT_EQ(write_result(created), 0);
    umask(oldMask);
    EXPECT_EQ(mode_of(created), S_IFREG | mode) << "umask " << mask;
  }
  EXPECT_EQ(write_result(scratch / "missing/orbstart.cfg"), 1);
  EXPECT_EQ(write_result(scratch / "real"), 1);
  EXPECT_EQ(joined_names(directory_names(scratch / "real"), "|"), "new0|new23|new63|orbstart.cfg|");
}

// Writing beyond a file size limit fails as on a full disk.
TEST(ConfigFileWriter, FailedWriteLeavesTheOldContent) {
  ScratchDirectory scratch = platform_scratch();
  const std::string path = scratch / "orbstart.cfg";
  const std::string report = run_in_child([&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{8192, 8192};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return std::string("skip: no file size limit");
    write_file(path, kOldContent);
    std::string result = std::to_string(write_result(path, WideString(90, u'x'), 200)) + " ";
    result += read_file(path) + joined_names(directory_names(scratch.path()), "|");
    InPlaceFile inPlace(path);
    result += " in place " + std::to_string(inPlace.open());
    result += std::to_string(inPlace.rewrite(std::string(9000, 'n')));
    return result + " " + read_file(path);
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ(report, "2 " + kOldContent + "orbstart.cfg| in place 10 " + kOldContent);
}

// nobody's own file in a closed directory is rewritten in place; a read-only one is not.
TEST(ConfigFileWriter, UnprivilegedWriterRewritesInPlaceOnlyAFileItMayWrite) {
  const passwd* nobody = getpwnam("nobody");
  if (geteuid() != 0 || nobody == nullptr) GTEST_SKIP() << "needs the super-user and nobody";
  ScratchDirectory scratch = platform_scratch();
  chmod(scratch.path().c_str(), 0755);
  const std::string shared = scratch / "shared/orbstart.cfg", open = scratch / "open/orbstart.cfg";
  for (const auto& [path, directoryMode, fileMode] :
       {std::tuple{shared, 0755, 0644}, {open, 0777, 0444}}) {
    const std::string directory = path.substr(0, path.rfind('/'));
    mkdir(directory.c_str(), 0700);
    chmod(directory.c_str(), directoryMode);
    write_file(path, kOldContent);
    chmod(path.c_str(), fileMode);
  }
  ASSERT_EQ(chown(shared.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  const std::string report = run_in_child([&] {
    const std::string failure = become_nobody();
    if (!failure.empty()) return "skip: " + failure;
    return std::to_string(write_result(shared)) + std::to_string(write_result(open));
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ(report, "01");
  EXPECT_EQ(read_file(shared) + read_file(open), "k=v0\n" + kOldContent);
  EXPECT_EQ(mode_of(shared), S_IFREG | 0644u);
  EXPECT_EQ(joined_names(directory_names(scratch / "open"), "|"), "orbstart.cfg|");
}

TEST(ConfigFileFormat, ReadsLinesAsTheyStandAndWritesThemBack) {
  ScratchDirectory scratch = platform_scratch();
  const std::string path = scratch / "orbstart.cfg";
  // "Ж" takes bytes 1023 and 1024: the reader's first chunk ends inside it.
  const std::string cut = "P=" + std::string(1021, 'a') + "Ж\n";
  // A zero byte hides the rest of its chunk.
  const std::string zeroed =
      "A=1\nX=5" + std::string(1, '\0') + "hidden=1\n" + std::string(1007, 'h');
  // Equal values once, case ignored, nothing trimmed, any bytes, the launcher's BOM and CR LF.
  const std::pair<std::string, std::string> cases[] = {
      {"B=2\nA=x\n\na=3\nA=X\nA=3 \n#x\n", "B=2\nA=x\nA=3\nA=3 \n#x=\n"},
      {"key=a=b\n=v\n=\n  k \t= v \nlast=no line feed",
       "key=a=b\n=v\n  k \t= v \nlast=no line feed\n"},
      {"\xEF\xBB\xBFV=8.3\r\n\r\nK\xff=/Базы\xc3(\x80 \xe2\x82\r\nW=\xed\xa0\x80\xf8\r\n",
       "\xEF\xBB\xBFV=8.3\r\n\r=\nK\xff=/Базы\xc3(\x80 \xe2\x82\r\nW=\xed\xa0\x80\xf8\r\n"},
      {cut, cut},
      {zeroed + "\nB=2\n", "A=1\nX=5\nB=2\n"},
  };
  for (const auto& [bytes, written] : cases) {
    write_file(path, bytes);
    ConfigFile model;
    read_config_file(widen_lib(path), model);
    write_config_file(widen_lib(path), model);
    EXPECT_EQ(read_file(path), written) << bytes.substr(0, 40);
  }
  // A list is kept as given, an emptied setting moves to the end, a zero unit ends a text.
  ConfigFile model;
  model.addValue(u"key", u"x");
  model.setValues(u"OTHER", {u"a", u"a"});
  model.addValue(u"last", u"z");
  model.setValues(u"key", {});
  EXPECT_TRUE(model.findValues(u"KEY")->empty() && model.findValues(u"absent") == nullptr);
  model.addValue(u"KEY", u"late");
  model.addValue(WideString(u"z\0z", 3), WideString(u"a\0b", 3));
  write_config_file(widen_lib(path), model);
  EXPECT_EQ(read_file(path), "OTHER=a\nOTHER=a\nlast=z\nkey=late\nz=a\n");
}
