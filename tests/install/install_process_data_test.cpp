// What the dialog and the install worker share: state snapshots that never mix
// two states (init's resets show in the installation tests), the worker thread
// that calls the routine until it returns false or is stopped, and the log.
#include "install/install_process_data.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cctype>
#include <csignal>
#include <sstream>
#include <thread>

#include "install/install_thread.h"
#include "support/scratch_directory.h"
#include "support/test_files.h"
#include "text/failure_text.h"
#include "text/languages.h"

// Created 0600 or appended to, one timed line per event, newlines and backslashes
// escaped so that a line reads back as its text (a "\n" typed is no newline); a
// link, a pipe (with or without a reader), a device or a directory at its name is
// refused at once, never waited on; a failing write is reported once, never twice.
TEST(InstallLog, AppendsLinesAndRefusesWhatIsNoFile) {
  ScratchDirectory directory("orblog-");
  const std::string path = directory / "install.log", linked = directory / "linked.log";
  const std::string pipe = directory / "pipe", readPipe = directory / "read pipe";
  ASSERT_EQ(0, symlink(path.c_str(), linked.c_str()));
  ASSERT_EQ(0, mkfifo(pipe.c_str(), 0600));
  ASSERT_EQ(0, mkfifo(readPipe.c_str(), 0600));
  const int reader = open(readPipe.c_str(), O_RDWR | O_NONBLOCK);
  for (const char* text : {"a\nb\\nc", "exit=0"}) {
    InstallLog log;
    ASSERT_TRUE(log.open(path));
    log.write(text[0] == 'a' ? "start" : "end", text);
  }
  const auto reason = [](uint32_t code) { return narrow_lib(failure_reason(code)); };
  const std::string notFile = reason(ERROR_BAD_FILE_TYPE);
  const std::pair<std::string, std::string> refusals[] = {
      {linked, reason(ERROR_CANT_RESOLVE_FILENAME)}, {pipe, notFile}, {readPipe, notFile},
      {"/dev/null", notFile}, {directory.path(), reason(ERROR_ALREADY_EXISTS)}};
  std::string expected;
  testing::internal::CaptureStderr();
  for (const auto& [refused, why] : refusals) {
    InstallLog log;
    EXPECT_FALSE(log.open(refused)) << refused;
    log.write("end", "dropped");
    expected += "setup: cannot write the log " + refused + ": " + why + "\n";
  }
  // A write that fails (past the file size limit, which the captured stderr
  // stays below) is reported once.
  const std::string small = directory / "small.log";
  write_file(small, std::string(8000, 'x'));
  InstallLog full;
  ASSERT_TRUE(full.open(small));
  rlimit limit{}, before{};
  getrlimit(RLIMIT_FSIZE, &before);
  limit = before;
  limit.rlim_cur = 8010;
  signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limit);
  for (int i = 0; i < 2; ++i) full.write("end", "lost");
  setrlimit(RLIMIT_FSIZE, &before);
  signal(SIGXFSZ, SIG_DFL);
  expected += "setup: cannot write the log " + small + ": " + reason(ERROR_INVALID_PARAMETER) + "\n";
  EXPECT_EQ(expected, testing::internal::GetCapturedStderr());
  close(reader);
  // Each line: a local time stamp with its offset ("2026-01-31T23:59:59+0100 "),
  // then the event, its text escaped.
  std::string shapes;
  std::istringstream logged(read_file(path));
  for (std::string line; std::getline(logged, line);) {
    for (size_t at = 0; at < std::min<size_t>(line.size(), 24); ++at) {
      if (isdigit(static_cast<unsigned char>(line[at]))) line[at] = '9';
      if (at == 19 && line[at] == '+') line[at] = '-';
    }
    shapes += line + "\n";
  }
  const std::string stamp = "9999-99-99T99:99:99-9999 ";
  EXPECT_EQ(stamp + "start a\\nb\\\\nc\n" + stamp + "end exit=0\n", shapes) << read_file(path);
  struct stat status;
  EXPECT_EQ(0100600u, stat(path.c_str(), &status) == 0 ? status.st_mode : 0);
}

TEST(InstallProcessData, EverySnapshotIsOneConsistentState) {
  InstallProcessData data;
  data.setInstallState(0, u"0", 0);
  std::atomic<bool> done{false};
  // The detail follows its state: a reading whose detail is newer than its
  // state mixed two of them.
  std::thread writer([&] {
    for (int32_t step = 1; step <= 20000; ++step) {
      data.setInstallState(static_cast<uint32_t>(step), string_ito(step, 10) + u"/a/path", step);
      data.setFailureDetail(string_ito(step, 10));
    }
    done = true;
  });
  for (int32_t last = 0, progress = 0; !done; last = progress) {
    const InstallProcessData::Published state = data.published();
    progress = state.progress;
    ASSERT_EQ(static_cast<uint32_t>(progress), state.errorCode);
    ASSERT_EQ(string_ito(progress, 10), state.message.substr(0, state.message.find(u'/')));
    ASSERT_GE(progress, last);
    ASSERT_GE(progress, state.failureDetail.empty() ? 0 : std::stoi(narrow_lib(state.failureDetail)));
  }
  writer.join();
}

// A second start runs from a clean state; a stop ends the loop after the call in
// progress, which a wait is told of; the destructor waits for the thread.
TEST(InstallThread, RunsUntilFalseOrStopAndIsWaitedFor) {
  std::atomic<int> calls{0}, stoppedCalls{0};
  std::atomic<bool> release{false}, ended{false};
  {
    InstallThread thread;
    thread.join();  // nothing started: returns at once
    for (const int wanted : {3, 1}) {
      calls = 0;
      ASSERT_EQ(0, thread.start([&] { return ++calls < wanted; }));
      thread.join();
      EXPECT_EQ(std::make_pair(true, wanted), std::make_pair(thread.finished(), calls.load()));
    }
    ASSERT_EQ(0, thread.start([&] {
      for (++stoppedCalls; !release;) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      return ended = true;
    }));
    while (stoppedCalls == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    thread.stop();
    EXPECT_FALSE(thread.waitFinished(20));
    release = true;
    // Woken when the loop ends, long before the minute is up.
    EXPECT_TRUE(thread.waitFinished(60000));
  }
  EXPECT_EQ(std::make_pair(true, 1), std::make_pair(ended.load(), stoppedCalls.load()));
}
