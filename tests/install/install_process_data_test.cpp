// What the dialog and the install worker share: state snapshots that never mix
// two states (init's resets show in the installation tests), the worker thread
// that calls the routine until it returns false or is stopped, and the log.
#include "install/install_process_data.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <regex>
#include <thread>

#include "install/install_thread.h"
#include "support/scratch_directory.h"
#include "text/languages.h"
#include "support/test_files.h"

// Created 0600 or appended to, one timed line per event with newlines escaped; a
// link at its name is refused and a failing write reported once, never twice.
TEST(InstallLog, AppendsLinesAndRefusesLinks) {
  ScratchDirectory directory("orblog-");
  const std::string path = directory / "install.log", linked = directory / "linked.log";
  ASSERT_EQ(0, symlink(path.c_str(), linked.c_str()));
  for (const char* text : {"a\nb", "exit=0"}) {
    InstallLog log;
    ASSERT_TRUE(log.open(path));
    log.write(text[0] == 'a' ? "start" : "end", text);
  }
  InstallLog refused, full;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(refused.open(linked));
  refused.write("end", "dropped");
  full.open("/dev/full");
  for (int i = 0; i < 2; ++i) full.write("end", "lost");
  EXPECT_EQ("setup: cannot write the log " + linked + ": " +
                narrow_lib(LoadResString("IDS_REASON_LINK")) + "\nsetup: cannot write the log " +
                "/dev/full: " + narrow_lib(LoadResString("IDS_REASON_DISKFULL")) + "\n",
            testing::internal::GetCapturedStderr());
  const std::string stamp = "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d{4} ";
  EXPECT_TRUE(std::regex_match(read_file(path), std::regex(stamp + "start a\\\\nb\n" + stamp + "end exit=0\n")))
      << read_file(path);
  struct stat status;
  EXPECT_EQ(0100600u, stat(path.c_str(), &status) == 0 ? status.st_mode : 0);
}

TEST(InstallProcessData, EverySnapshotIsOneConsistentState) {
  InstallProcessData data;
  data.setInstallState(0, u"0", 0);
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int32_t step = 1; step <= 20000; ++step)
      data.setInstallState(static_cast<uint32_t>(step), string_ito(step, 10) + u"/a/path", step);
    done = true;
  });
  for (int32_t last = 0, progress = 0; !done; last = progress) {
    uint32_t code = 0;
    WideString message;
    data.getInstallState(code, message, progress);
    ASSERT_EQ(static_cast<uint32_t>(progress), code);
    ASSERT_EQ(string_ito(progress, 10), message.substr(0, message.find(u'/')));
    ASSERT_GE(progress, last);
  }
  writer.join();
}

// A second start runs from a clean state; a stop ends the loop after the call in
// progress; the destructor waits for the thread.
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
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(thread.finished());
    release = true;
  }
  EXPECT_EQ(std::make_pair(true, 1), std::make_pair(ended.load(), stoppedCalls.load()));
}
