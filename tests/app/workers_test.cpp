// Stopping the worker slots: every worker hears the stop first, blocked waits are cancelled, a worker that
// overruns its bound is left to end on its own, and the tray's "exit" with blocked workers ends in time.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/main_messages.h"
#include "tests/app/main_window_fixture.h"

namespace norvane::app::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A worker blocked in a wait that only its stop request ends.
std::unique_ptr<IWorker> BlockedWorker(std::atomic<int>& ended) {
  return StartThreadWorker("blocked", [&ended](std::stop_token stop) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait(lock, stop, [] { return false; });
    ++ended;
  });
}

// A worker that ignores its stop request for `busy`.
std::unique_ptr<IWorker> StuckWorker(std::shared_ptr<std::atomic<bool>> done,
                                     std::chrono::milliseconds busy) {
  return StartThreadWorker("stuck", [done, busy](std::stop_token) {
    std::this_thread::sleep_for(busy);
    *done = true;
  });
}

TEST(WorkerSlotsTest, BlockedWorkersStopTogetherAndAStuckOneIsLeftAfterItsBound) {
  std::atomic<int> ended{0};
  auto stuckDone = std::make_shared<std::atomic<bool>>(false);
  WorkerSlots workers;
  ASSERT_TRUE(workers.Put(kScanSlot, BlockedWorker(ended)));
  ASSERT_TRUE(workers.Put(kLightSyncSlot, BlockedWorker(ended)));
  ASSERT_TRUE(workers.Put(3, StuckWorker(stuckDone, 1500ms)));
  // A taken slot or a slot outside the twenty refuses the worker (and stops it).
  EXPECT_FALSE(workers.Put(kScanSlot, BlockedWorker(ended)));
  EXPECT_FALSE(workers.Put(kWorkerSlotCount, BlockedWorker(ended)));
  EXPECT_EQ(ended, 2);

  const auto start = Clock::now();
  const WorkerSlots::StopReport report = workers.StopAll(300ms);
  const auto elapsed = Clock::now() - start;
  EXPECT_EQ(report.stopped, 2);
  EXPECT_EQ(report.overran, 1);
  EXPECT_EQ(ended, 4);
  EXPECT_LT(elapsed, 1000ms);
  EXPECT_FALSE(workers.IsTaken(3));
  // The stuck one still finishes on its own; nothing it holds went away under it.
  EXPECT_TRUE(QTest::qWaitFor([&] { return stuckDone->load(); }, 5000));
  EXPECT_TRUE(AnyWorkerLeftRunning());
  // Stopping again has nothing left to do.
  EXPECT_EQ(workers.StopAll().stopped, 0);
}

TEST_F(MainWindowTest, TrayExitWithBlockedWorkersEndsWithinTwoSeconds) {
  Start();
  FinishFirstPassAndWaitShown();
  std::atomic<int> ended{0};
  // The lighting synchronisation runs in its slot from the start; it stops with the others.
  EXPECT_TRUE(window_->Workers().IsTaken(kLightSyncSlot));
  ASSERT_TRUE(window_->Workers().Put(3, BlockedWorker(ended)));
  // A worker waiting for the UI thread, which is busy stopping it: its wait gives up on the stop.
  const ui::WindowHandle handle = window_->GetHWND();
  ASSERT_TRUE(window_->Workers().Put(5, StartThreadWorker("sender", [handle, &ended](std::stop_token stop) {
                                       while (!stop.stop_requested())
                                         handle.SendMessage(kMsgNothing, 0, 0, stop);
                                       ++ended;
                                     })));
  auto stuckDone = std::make_shared<std::atomic<bool>>(false);
  ASSERT_TRUE(window_->Workers().Put(9, StuckWorker(stuckDone, 2500ms)));

  const auto start = Clock::now();
  window_->OnMenuCommand(ui::MenuCmd{"exit", {}, {}, false});
  const auto elapsed = Clock::now() - start;
  EXPECT_FALSE(window_->IsWindowVisible());
  EXPECT_EQ(ended, 2);
  EXPECT_EQ(devices_->scansStopped, 1);
  EXPECT_EQ(window_->LeftRunningWorkers(), 1);
  EXPECT_GE(elapsed, 900ms);  // the stuck one had its full bound
  EXPECT_LT(elapsed, 2000ms);
  EXPECT_TRUE(QuitRequestedWithin(1000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return stuckDone->load(); }, 5000));
}

}  // namespace
}  // namespace norvane::app::test
