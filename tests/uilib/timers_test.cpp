// Control timers and window timers: one expiry per start, restart instead of a second instance, kill, and
// starting from a worker thread.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <thread>

#include "tests/uilib/ui_test_support.h"

namespace norvane::ui::test {
namespace {

class TimerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.Create(nullptr, "timers", false));
    control = window.FindControl("apply_btn");
    ASSERT_NE(control, nullptr);
  }
  size_t Fired(WPARAM id) const {
    size_t n = 0;
    for (const Seen& s : window.Of("timer", "apply_btn")) n += s.wParam == id ? 1 : 0;
    return n;
  }
  RecordingWindow window;
  CControlUI* control = nullptr;
};

TEST_F(TimerTest, FiresOnceWithItsIdOnTheControl) {
  CPaintManagerUI::SetTimer(control, 1000, 10);
  ASSERT_TRUE(WaitFor([&] { return Fired(1000) == 1; }));
  QTest::qWait(60);
  EXPECT_EQ(Fired(1000), 1u) << "single-shot: the program re-arms what it wants again";
  EXPECT_FALSE(control->IsTimerRunning(1000));
}

TEST_F(TimerTest, StartingARunningIdRestartsItInsteadOfAddingOne) {
  QElapsedTimer clock;
  clock.start();
  CPaintManagerUI::SetTimer(control, 7, 120);
  QTest::qWait(60);
  CPaintManagerUI::SetTimer(control, 7, 120);  // pushes the expiry to ~180 ms from the start
  ASSERT_TRUE(WaitFor([&] { return Fired(7) == 1; }));
  EXPECT_GE(clock.elapsed(), 170);
  QTest::qWait(150);
  EXPECT_EQ(Fired(7), 1u);
}

TEST_F(TimerTest, IdsAreIndependentAndKillStopsThem) {
  CPaintManagerUI::SetTimer(control, 1, 20);
  CPaintManagerUI::SetTimer(control, 2, 20);
  CPaintManagerUI::KillTimer(control, 2);
  ASSERT_TRUE(WaitFor([&] { return Fired(1) == 1; }));
  QTest::qWait(50);
  EXPECT_EQ(Fired(2), 0u);

  CPaintManagerUI::SetTimer(control, 3, 20);
  CPaintManagerUI::SetTimer(control, 4, 20);
  CPaintManagerUI::KillTimer(control);
  QTest::qWait(60);
  EXPECT_EQ(Fired(3) + Fired(4), 0u);
}

TEST_F(TimerTest, RepeatingTimerKeepsFiringUntilKilled) {
  CPaintManagerUI::SetTimer(control, 9, 10, TimerMode::kRepeating);
  ASSERT_TRUE(WaitFor([&] { return Fired(9) >= 3; }));
  CPaintManagerUI::KillTimer(control, 9);
  const size_t after = Fired(9);
  QTest::qWait(50);
  EXPECT_EQ(Fired(9), after);
}

TEST_F(TimerTest, StartedFromAWorkerItFiresOnTheUiThread) {
  std::thread worker([this] { CPaintManagerUI::SetTimer(control, 1002, 5); });
  worker.join();
  ASSERT_TRUE(WaitFor([&] { return Fired(1002) == 1; }));
  ASSERT_FALSE(window.timerThreads.empty());
  EXPECT_EQ(window.timerThreads.back(), QCoreApplication::instance()->thread());
}

TEST_F(TimerTest, ATimerOfADestroyedControlNeverFires) {
  auto* card = window.FindControlAs<CContainerUI>("stat_battery");
  ASSERT_NE(card, nullptr);
  CControlUI* value = card->FindSubControl("stat_value");
  ASSERT_NE(value, nullptr);
  CPaintManagerUI::SetTimer(value, 5, 10);
  delete value->GetWidget();
  QTest::qWait(40);
  EXPECT_TRUE(window.Of("timer", "stat_value").empty());
}

TEST_F(TimerTest, WindowTimerArrivesAsTimerMessageOnce) {
  window.SetTimer(1011, 10);
  window.SetTimer(1011, 10);
  auto count = [&] {
    size_t n = 0;
    for (const auto& m : window.messages) n += (m.msg == WM_TIMER && m.wParam == 1011) ? 1 : 0;
    return n;
  };
  ASSERT_TRUE(WaitFor([&] { return count() == 1; }));
  QTest::qWait(40);
  EXPECT_EQ(count(), 1u);
  window.SetTimer(1032, 10);
  window.KillTimer(1032);
  QTest::qWait(40);
  for (const auto& m : window.messages) EXPECT_FALSE(m.msg == WM_TIMER && m.wParam == 1032);
}

}  // namespace
}  // namespace norvane::ui::test
