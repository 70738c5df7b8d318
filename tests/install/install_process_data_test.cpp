#include "install/install_process_data.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(InstallProcessData, InitNormalisesTheDirectoryAndResetsTheRunState) {
  InstallProcessData data;
  KitReader* kit = reinterpret_cast<KitReader*>(0x1000);
  data.setInstallState(5, u"preparing", 40);
  data.setCancel(true);
  data.init(kit, u"/home/u/templates");

  KitReader* gotKit = nullptr;
  WideString directory;
  data.get(gotKit, directory);
  EXPECT_EQ(kit, gotKit);
  EXPECT_EQ(u"/home/u/templates/", directory);
  EXPECT_FALSE(data.isCancelled());
  uint32_t code = 1;
  WideString message;
  int32_t progress = -1;
  data.getInstallState(code, message, progress);
  EXPECT_EQ(0u, code);
  EXPECT_EQ(0, progress);
  EXPECT_EQ(u"preparing", message);  // the message survives init

  for (const char16_t* kept : {u"/t/", u"C:\\t\\"}) {
    data.init(kit, kept);
    data.get(gotKit, directory);
    EXPECT_EQ(kept, directory);
  }
  data.init(nullptr, u"");
  data.get(gotKit, directory);
  EXPECT_EQ(u"", directory);
  EXPECT_EQ(nullptr, gotKit);

  data.setCancel(true);
  EXPECT_TRUE(data.isCancelled());
  data.setCancel(false);
  EXPECT_FALSE(data.isCancelled());
}

// A writer publishes states whose three parts belong together; a reader on
// another thread must never see parts of two different states.
TEST(InstallProcessData, EverySnapshotIsOneConsistentState) {
  InstallProcessData data;
  data.setInstallState(0, u"0", 0);
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int32_t step = 1; step <= 20000; ++step) {
      data.setInstallState(static_cast<uint32_t>(step),
                           string_ito(step, 10) + u"/a/long/enough/path/to/need/memory", step);
    }
    done = true;
  });
  int checked = 0;
  int32_t last = 0;
  while (!done || checked == 0) {
    uint32_t code = 0;
    WideString message;
    int32_t progress = 0;
    data.getInstallState(code, message, progress);
    ASSERT_EQ(static_cast<uint32_t>(progress), code);
    ASSERT_EQ(string_ito(progress, 10), message.substr(0, message.find(u'/')));
    ASSERT_GE(progress, last);
    last = progress;
    ++checked;
  }
  writer.join();
  EXPECT_GT(checked, 0);
}
