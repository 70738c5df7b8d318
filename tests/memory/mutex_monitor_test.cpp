// The debug mutex monitor: made only when wanted, every broken rule reported
// (before the real lock where the calling thread's own state shows it),
// correct use quiet, destroying it while held ends the process, and its start-up
// linked into the programs.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <thread>
#include <tuple>

#include "memory/debug_mutex_monitor.h"

namespace {

using nuke::IMutexMonitor;

// The mutex is imaginary: its lock and unlock functions only count their calls.
int g_realCalls = 0;
void count_call(void*) { ++g_realCalls; }

TEST(MutexMonitor, ReportsEveryBrokenRuleAndStaysQuietAroundCorrectUse) {
  EXPECT_EQ(nuke::create_mutex_monitor(nullptr, 0), nullptr) << "p8_use_mutex_monitor is unset";
  nuke::DebugMutexMonitor::s_use = true;
  IMutexMonitor* monitor = nuke::create_mutex_monitor(nullptr, 0);
  nuke::DebugMutexMonitor::s_use = false;
  ASSERT_NE(dynamic_cast<nuke::DebugMutexMonitor*>(monitor), nullptr);

  using Call = void (IMutexMonitor::*)(void*, IMutexMonitor::LockFunction);
  const Call lock = &IMutexMonitor::lock, unlock = &IMutexMonitor::unlock;
  const Call lockShared = &IMutexMonitor::lockShared, unlockShared = &IMutexMonitor::unlockShared;
  // In order: the call, whether another thread makes it, and whether it is
  // "quiet" or reported "before" or "after" the real function ran.
  const std::tuple<Call, bool, const char*> steps[] = {
      {lock, false, "quiet"},          {lock, false, "before"},  // recursion
      {lockShared, false, "before"},   {unlockShared, false, "before"},
      {unlock, true, "before"},        {lock, true, "after"},  // a writer elsewhere
      {lockShared, true, "after"},     {unlock, false, "quiet"},
      {unlock, false, "before"},       {lockShared, false, "quiet"},
      {lockShared, false, "before"},   {lock, false, "before"},  // no upgrade
      {unlock, false, "before"},       {lock, true, "after"},    // a reader elsewhere
      {unlockShared, true, "before"},  {unlockShared, false, "quiet"},
      {unlockShared, false, "before"},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    const auto& [call, otherThread, expected] = steps[i];
    const int realCalls = g_realCalls;
    std::string outcome;
    auto run = [&](Call made) {
      try {
        (monitor->*made)(nullptr, count_call);
        outcome = g_realCalls == realCalls ? "quiet without the real function" : "quiet";
      } catch (const nuke::DebugMonitorException&) {
        outcome = g_realCalls == realCalls ? "before" : "after";
      }
    };
    otherThread ? std::thread(run, call).join() : run(call);
    EXPECT_EQ(outcome, expected) << "step " << i;
  }
  monitor->lock(nullptr, count_call);
  EXPECT_DEATH(nuke::delete_mutex_monitor(monitor), "destroyed while held: writer present");
  monitor->unlock(nullptr, count_call);
  monitor->lockShared(nullptr, count_call);
  EXPECT_DEATH(nuke::delete_mutex_monitor(monitor), "destroyed while held: readers present");
  monitor->unlockShared(nullptr, count_call);
  nuke::delete_mutex_monitor(monitor);
}

// A program reads the switch as its memory manager is made: the start-up is linked in
// with the manager, though nothing of the program uses a monitor.
TEST(MutexMonitor, TheKitToolLinksTheStartUp) {
  FILE* const symbols = popen("nm -C '" ORBKIT_PATH "'", "r");
  ASSERT_NE(symbols, nullptr);
  std::string listing;
  for (int byte; (byte = fgetc(symbols)) != EOF;) listing += char(byte);
  EXPECT_EQ(pclose(symbols), 0);
  EXPECT_NE(listing.find(" T nuke::start_mutex_monitors()\n"), std::string::npos);
}

}  // namespace
