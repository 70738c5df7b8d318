// The state the dialog and the install worker share: snapshots that never
// mix two states, and what init resets and how it spells the directory.
#include "install/install_process_data.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// A reader on another thread never sees parts of two published states. Init
// then resets all but the message and ends the directory with a separator.
TEST(InstallProcessData, SnapshotsAreConsistentAndInitResetsTheRun) {
  InstallProcessData data;
  data.setInstallState(0, u"0", 0);
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int32_t step = 1; step <= 20000; ++step)
      data.setInstallState(static_cast<uint32_t>(step), string_ito(step, 10) + u"/a/path", step);
    done = true;
  });
  uint32_t code = 0;
  WideString message;
  int32_t progress = 0;
  for (int32_t last = 0; !done; last = progress) {
    data.getInstallState(code, message, progress);
    ASSERT_EQ(static_cast<uint32_t>(progress), code);
    ASSERT_EQ(string_ito(progress, 10), message.substr(0, message.find(u'/')));
    ASSERT_GE(progress, last);
  }
  writer.join();
  KitReader* const kit = reinterpret_cast<KitReader*>(0x1000);
  for (const auto& [given, stored] : {std::pair{u"/home/u/t", u"/home/u/t/"},
                                      {u"/t/", u"/t/"},
                                      {u"C:\\t\\", u"C:\\t\\"},
                                      {u"", u""}}) {
    data.setCancel(true);
    data.setKeptBackupRoot(u"/kept/");
    data.init(kit, given);
    KitReader* gotKit = nullptr;
    WideString directory;
    data.get(gotKit, directory);
    data.getInstallState(code, message, progress);
    EXPECT_EQ(std::make_tuple(kit, WideString(stored), false, WideString(), 0u, 0,
                              WideString(u"20000/a/path")),
              std::make_tuple(gotKit, directory, data.isCancelled(), data.keptBackupRoot(), code,
                              progress, message));
  }
}
