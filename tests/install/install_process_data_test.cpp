// The state the dialog and the install worker share: snapshots that never
// mix two states. What init resets shows in every installation test.
#include "install/install_process_data.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// A reader on another thread never sees parts of two published states.
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
