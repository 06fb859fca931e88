// The device tab's timers drive its page: the first synchronisation after attaching, the lighting frames,
// the wireless status and, on a receiver link, the tab's visibility as the device goes online and offline.

#include <gtest/gtest.h>

#include <QTest>

#include "tests/controls/strip_test_window.h"

namespace norvane::controls::test {
namespace {

class DeviceTabTimersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Create(nullptr, "timers", false));
    strip_ = window_.Strip();
    tab_ = window_.AddTab(page_, 0, 0);
  }

  StripWindow window_;
  DeviceStrip strip_;
  FakeDevicePage page_;
  CDeviceOptionUI* tab_ = nullptr;
};

TEST_F(DeviceTabTimersTest, AWiredDeviceSynchronisesThenAnimates) {
  page_.wirelessCapable = true;
  ShowDeviceTab(strip_, 0, true, true);
  tab_->StartAttachTimer();
  ASSERT_TRUE(QTest::qWaitFor([&] { return page_.initialSyncs == 1; }, 2000));
  EXPECT_EQ(page_.linkQueries, 0) << "a wired device is not asked for its link";
  EXPECT_TRUE(QTest::qWaitFor([&] { return page_.frames >= 5 && page_.statusReads >= 1; }, 2000))
      << "frames repeat while the channel is open";
  EXPECT_TRUE(tab_->IsTimerRunning(kTimerWirelessStatus)) << "the status is read again later";
  EXPECT_FALSE(tab_->IsTimerRunning(kTimerLinkWatch));

  page_.channelOpen = false;
  const int framesWhenClosed = page_.frames;
  QTest::qWait(60);
  EXPECT_LE(page_.frames, framesWhenClosed + 1) << "frames stop with the channel";
  EXPECT_EQ(page_.initialSyncs, 1);
}

TEST_F(DeviceTabTimersTest, FramesNobodyWantsAreNotPresentedUntilThePageWakesTheTab) {
  ShowDeviceTab(strip_, 0, true, true);
  page_.needsFrames = FramesFor::kNobody;
  tab_->PresentSoon();
  tab_->OnTimer(kTimerAttach);
  QTest::qWait(100);
  EXPECT_EQ(page_.initialSyncs, 1);
  EXPECT_EQ(page_.frames, 0) << "nobody sees the preview and the device takes no frames";
  EXPECT_GE(page_.demandChecks, 1);
  EXPECT_EQ(tab_->TimerInterval(kTimerPresentFrame), 250) << "the tab keeps looking, four times a second";

  page_.needsFrames = FramesFor::kPreview;
  tab_->PresentSoon();
  EXPECT_TRUE(QTest::qWaitFor([&] { return page_.frames >= 1; }, 100)) << "at once, not at the next look";
  tab_->StopTimers();
}

TEST_F(DeviceTabTimersTest, TheFramePaceFollowsWhoWantsTheFrames) {
  const auto paceAfterAFrame = [&](FramesFor wanted) {
    page_.needsFrames = wanted;
    tab_->OnTimer(kTimerPresentFrame);
    return tab_->TimerInterval(kTimerPresentFrame);
  };
  EXPECT_EQ(paceAfterAFrame(FramesFor::kPreview), 15) << "the lighting tick's pace, 15.625 ms";
  EXPECT_EQ(paceAfterAFrame(FramesFor::kDevice), 10) << "a wired device";
  page_.receiver = true;
  EXPECT_EQ(paceAfterAFrame(FramesFor::kDevice), 50) << "a device behind its receiver";
  EXPECT_EQ(paceAfterAFrame(FramesFor::kPreview), 15) << "the preview does not wait for the receiver";
  EXPECT_EQ(paceAfterAFrame(FramesFor::kNobody), 250);
  const int frames = page_.frames;
  page_.channelOpen = false;
  tab_->StopTimers();
  EXPECT_EQ(paceAfterAFrame(FramesFor::kPreview), -1) << "no frames after the channel closed";
  EXPECT_EQ(page_.frames, frames + 1) << "the last one is still shown";
}

TEST_F(DeviceTabTimersTest, PageThreadTimersReachThePage) {
  for (int id : {int(kTimerResync), int(kTimerFirstDeferred), int(kTimerSecondDeferred)})
    ui::CPaintManagerUI::SetTimer(tab_, id, 0);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return page_.resyncs == 1 && page_.firstDeferred == 1 && page_.secondDeferred == 1; }, 2000));
}

TEST_F(DeviceTabTimersTest, AReceiverWhoseDeviceIsOffKeepsItsTabHidden) {
  page_.receiver = true;
  page_.linkUp = -101;
  tab_->OnTimer(kTimerAttach);
  EXPECT_FALSE(tab_->IsVisible());
  EXPECT_EQ(page_.initialSyncs, 0);
  EXPECT_TRUE(tab_->IsTimerRunning(kTimerAttach)) << "the check repeats";
  EXPECT_TRUE(window_.linkMessages.empty()) << "a hidden tab is not hidden again";

  page_.linkUp = 1;
  page_.wirelessCapable = true;
  tab_->OnTimer(kTimerAttach);
  EXPECT_TRUE(tab_->IsVisible());
  EXPECT_TRUE(tab_->IsSelected()) << "the only device is selected";
  EXPECT_EQ(page_.initialSyncs, 1);
  EXPECT_TRUE(tab_->IsTimerRunning(kTimerPresentFrame));
  EXPECT_TRUE(tab_->IsTimerRunning(kTimerWirelessStatus));
  EXPECT_TRUE(tab_->IsTimerRunning(kTimerLinkWatch));
  tab_->StopTimers();
}

TEST_F(DeviceTabTimersTest, TheLinkWatchFollowsTheDeviceOnlineAndOffline) {
  page_.receiver = true;
  page_.wirelessCapable = true;
  ShowDeviceTab(strip_, 0, true, true);

  page_.linkUp = 0;
  tab_->OnTimer(kTimerLinkWatch);
  EXPECT_FALSE(tab_->IsVisible());
  ASSERT_EQ(window_.linkMessages.size(), 1u);
  EXPECT_EQ(window_.linkMessages[0].show, 0);
  EXPECT_TRUE(strip_.noDeviceNotice->IsVisible());
  EXPECT_TRUE(tab_->IsTimerRunning(kTimerLinkWatch));

  page_.linkUp = 1;
  tab_->OnTimer(kTimerLinkWatch);
  EXPECT_TRUE(tab_->IsVisible());
  EXPECT_EQ(page_.statusReads, 1);
  EXPECT_EQ(CurrentDevicePage(strip_), &page_);

  tab_->OnTimer(kTimerLinkWatch);
  EXPECT_EQ(window_.linkMessages.size(), 2u) << "no message while nothing changes";
  tab_->StopTimers();
}

TEST_F(DeviceTabTimersTest, AnUnlinkedPageIsNeverCalled) {
  tab_->StartAttachTimer();
  tab_->SetPage(nullptr);
  EXPECT_FALSE(tab_->IsTimerRunning(kTimerAttach));
  for (int id : {1000, 1001, 1002, 1003, 1004, 1005, 1007}) tab_->OnTimer(id);
  EXPECT_EQ(page_.initialSyncs + page_.resyncs + page_.frames + page_.linkQueries, 0);
}

}  // namespace
}  // namespace norvane::controls::test
