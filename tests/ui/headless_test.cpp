// Runs without a display, in a process of its own: an unattended run installs
// and reports on standard error with the same exit codes as the wizard; an
// interactive run refuses with a clear message; a temporary directory that
// fills up while the kit is unpacked is reported as too little space; a
// termination request cancels and rolls back before the process ends; a
// worker thread that cannot be started is an installation error.
#include <glib.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "config/config_locations.h"
#include "config/starter.h"
#include "support/file_contents.h"
#include "ui/exit_code.h"
#include "ui_test_support.h"

namespace {

struct ProbeResult {
  int exitCode = -1;
  std::string errorOutput;
};

// Runs the probe (or `wrapper` around it) in `directory` with no DISPLAY.
ProbeResult runProbe(const std::string& directory, std::vector<std::string> arguments,
                     std::vector<std::string> wrapper = {}) {
  std::vector<std::string> command = wrapper;
  command.push_back(UI_PROBE_PATH);
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<gchar*> argv;
  for (std::string& argument : command) argv.push_back(argument.data());
  argv.push_back(nullptr);

  gchar** environment = g_get_environ();
  environment = g_environ_unsetenv(environment, "DISPLAY");
  environment = g_environ_unsetenv(environment, "WAYLAND_DISPLAY");
  gchar* errorText = nullptr;
  gint status = -1;
  GError* error = nullptr;
  ProbeResult result;
  if (g_spawn_sync(directory.c_str(), argv.data(), environment, G_SPAWN_SEARCH_PATH, nullptr,
                   nullptr, nullptr, &errorText, &status, &error)) {
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.errorOutput = errorText != nullptr ? errorText : "";
  } else {
    result.errorOutput = error->message;
    g_error_free(error);
  }
  g_free(errorText);
  g_strfreev(environment);
  return result;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(HeadlessRun, UnattendedRunsInstallAndReportWithExitCodes) {
  Sandbox sandbox;
  const std::string kit = sandbox / "kit";
  makeKit(sandbox / "tree", {{"acc/main.xml", "<main/>"}, {"acc/b.xml", "<b/>"}},
          {{"en", "Orbe Templates", "Orbe Ltd", ""}}, kit);

  // Without -S and without a display: a clear refusal.
  ProbeResult result = runProbe(kit, {});
  EXPECT_EQ(result.exitCode, kExitFailure) << result.errorOutput;
  EXPECT_TRUE(contains(result.errorOutput, "no display")) << result.errorOutput;
  EXPECT_FALSE(pathExists(sandbox.home() + "/.orbp8"));

  // Unattended: the default template directory, progress, the final text.
  result = runProbe(kit, {"-S"});
  EXPECT_EQ(result.exitCode, kExitSuccess) << result.errorOutput;
  const std::string target = narrow_lib(default_tmplts_dir());
  EXPECT_TRUE(contains(result.errorOutput, "Template directory: " + target)) << result.errorOutput;
  EXPECT_TRUE(contains(result.errorOutput, "Files being copied... 0%")) << result.errorOutput;
  EXPECT_TRUE(contains(result.errorOutput, "Configuration installed successfully."))
      << result.errorOutput;
  EXPECT_EQ(read_file(target + "acc/main.xml"), "<main/>");
  std::vector<WideString> list;
  get_tmplts_list(list, true, false);
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list[0], widen_lib(target.substr(0, target.size() - 1)));

  // A failing installation: the worker's message and the error text, exit 1.
  const std::string blocked = sandbox / "blocked";
  makeDirectories(blocked + "/acc/main.xml");
  set_tmplts_list({widen_lib(blocked)}, false);
  result = runProbe(kit, {"-S"});
  EXPECT_EQ(result.exitCode, kExitFailure) << result.errorOutput;
  EXPECT_TRUE(contains(result.errorOutput, "Installation error\n")) << result.errorOutput;
  EXPECT_TRUE(contains(result.errorOutput, "Template directory has not been changed."))
      << result.errorOutput;
  EXPECT_FALSE(pathExists(blocked + "/acc/b.xml"));

  // No kit: the missing-kit text, exit 1.
  result = runProbe(sandbox.root(), {"-S"});
  EXPECT_EQ(result.exitCode, kExitFailure) << result.errorOutput;
  EXPECT_TRUE(contains(result.errorOutput, "Distribution kit file orbp8.pkd not found."))
      << result.errorOutput;
}

TEST(HeadlessRun, KitLargerThanTheTemporaryDirectoryInstallsStraightFromTheStream) {
  Sandbox sandbox;
  const std::string kit = sandbox / "kit";
  // Compresses to a few kilobytes, so the free-space check passes, but
  // unpacks to 4 MB, more than the temporary file system holds.
  makeKit(sandbox / "tree", {{"zeros.bin", std::string(4 << 20, '\0')}}, {}, kit);
  const std::string script =
      "mount -t tmpfs -o size=2m tmpfs \"$TMPDIR\" || exit 77; exec \"$0\" \"$@\"";
  ProbeResult result = runProbe(kit, {"-S"}, {"unshare", "-m", "sh", "-c", script});
  if (result.exitCode == 77 || contains(result.errorOutput, "unshare:")) {
    GTEST_SKIP() << "no private mount namespace here: " << result.errorOutput;
  }
  EXPECT_EQ(result.exitCode, kExitSuccess) << result.errorOutput;
  struct stat status {};
  ASSERT_EQ(stat((narrow_lib(default_tmplts_dir()) + "zeros.bin").c_str(), &status), 0);
  EXPECT_EQ(status.st_size, 4 << 20);
}

TEST(HeadlessRun, DamagedKitDataRollsBackAndIsReportedAsADamagedKit) {
  Sandbox sandbox;
  const std::string kit = sandbox / "kit";
  std::map<std::string, std::string> files;
  uint32_t noise = 7;
  for (int i = 0; i < 6; ++i) {
    std::string content(30000, '\0');
    for (char& byte : content) byte = static_cast<char>((noise = noise * 1103515245 + 12345) >> 24);
    files["f" + std::to_string(i) + ".bin"] = content;
  }
  makeKit(sandbox / "tree", files, {}, kit);
  // The catalogue survives the cut; the last entries do not.
  struct stat status {};
  ASSERT_EQ(stat((kit + "/orbp8.pkd").c_str(), &status), 0);
  ASSERT_EQ(truncate((kit + "/orbp8.pkd").c_str(), status.st_size * 3 / 4), 0);
  const ProbeResult result = runProbe(kit, {"-S"});
  EXPECT_EQ(result.exitCode, kExitFailure) << result.errorOutput;
  EXPECT_TRUE(contains(result.errorOutput, "orbp8.pkd corrupted")) << result.errorOutput;
  EXPECT_TRUE(contains(result.errorOutput, "Template directory has not been changed."))
      << result.errorOutput;
  EXPECT_FALSE(pathExists(narrow_lib(default_tmplts_dir()) + "f0.bin"));
}

TEST(HeadlessRun, TerminationRequestCancelsAndWaitsForTheRollback) {
  Sandbox sandbox;
  const std::string kit = sandbox / "kit";
  std::map<std::string, std::string> files;
  for (int i = 0; i < 1500; ++i) {
    files["d" + std::to_string(i % 10) + "/t" + std::to_string(i) + ".xml"] =
        std::string(2000, static_cast<char>('a' + i % 26));
  }
  makeKit(sandbox / "tree", files, {}, kit);
  const std::string target = sandbox / "target";
  makeDirectories(target);
  write_file(target + "/mine.txt", "mine");
  set_tmplts_list({widen_lib(target)}, false);

  std::string probe = UI_PROBE_PATH;
  std::string silent = "-S";
  gchar* argv[] = {probe.data(), silent.data(), nullptr};
  gchar** environment = g_environ_unsetenv(g_get_environ(), "DISPLAY");
  GPid pid = 0;
  gint errorPipe = -1;
  ASSERT_TRUE(g_spawn_async_with_pipes(kit.c_str(), argv, environment, G_SPAWN_DO_NOT_REAP_CHILD,
                                       nullptr, nullptr, &pid, nullptr, nullptr, &errorPipe,
                                       nullptr));
  g_strfreev(environment);

  // Wait until the run is under way, then ask it to stop.
  std::string output;
  char buffer[4096];
  bool underWay = false;
  while (!underWay) {
    const ssize_t got = read(errorPipe, buffer, sizeof buffer);
    if (got <= 0) break;
    output.append(buffer, static_cast<size_t>(got));
    underWay = output.find("Files being copied... ") != std::string::npos &&
               output.find("Files being copied... 0%\n") != output.rfind("Files being copied... ");
  }
  ASSERT_TRUE(underWay) << output;
  kill(pid, SIGTERM);
  for (ssize_t got; (got = read(errorPipe, buffer, sizeof buffer)) > 0;) {
    output.append(buffer, static_cast<size_t>(got));
  }
  close(errorPipe);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  g_spawn_close_pid(pid);
  ASSERT_TRUE(WIFEXITED(status)) << output;
  EXPECT_EQ(WEXITSTATUS(status), kExitCancelled) << output;
  EXPECT_TRUE(contains(output, "Installation canceled. Template directory has not been changed."))
      << output;
  // Everything the run wrote is gone again; the user's file stays.
  EXPECT_EQ(read_file(target + "/mine.txt"), "mine");
  EXPECT_FALSE(pathExists(target + "/d0"));
  std::vector<WideString> list;
  get_tmplts_list(list, true, false);
  EXPECT_EQ(list, std::vector<WideString>{widen_lib(target)});
}

TEST(HeadlessRun, WorkerThreadThatCannotStartIsAnInstallationError) {
  Sandbox sandbox;
  const std::string kit = sandbox / "kit";
  makeKit(sandbox / "tree", {{"a.xml", "<a/>"}}, {}, kit);
  // An unprivileged user allowed one process cannot start a second thread.
  for (const std::string& path : {sandbox.root(), kit, sandbox.home(), sandbox / "tmp"}) {
    chmod(path.c_str(), 0777);
  }
  chmod((kit + "/orbp8.pkd").c_str(), 0644);
  std::vector<std::string> wrapper = {
      "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "prlimit", "--nproc=1", "--"};
#if defined(__SANITIZE_ADDRESS__)
  // The leak check at exit needs a thread of its own, which this user cannot
  // start either; this one run goes without it.
  const char* options = std::getenv("ASAN_OPTIONS");
  wrapper.push_back("env");
  wrapper.push_back(std::string("ASAN_OPTIONS=") + (options != nullptr ? options : "") +
                    ":detect_leaks=0");
#endif
  ProbeResult result = runProbe(kit, {"-S"}, wrapper);
  if (contains(result.errorOutput, "setpriv") || contains(result.errorOutput, "prlimit") ||
      contains(result.errorOutput, "Failed to execute") ||
      contains(result.errorOutput, "orbp8.pkd not found")) {
    GTEST_SKIP() << "another user cannot run the probe here: " << result.errorOutput;
  }
  EXPECT_EQ(result.exitCode, kExitFailure) << result.errorOutput;
  EXPECT_TRUE(contains(result.errorOutput, "Installation error\n")) << result.errorOutput;
  EXPECT_FALSE(pathExists(narrow_lib(default_tmplts_dir()) + "a.xml"));
}
