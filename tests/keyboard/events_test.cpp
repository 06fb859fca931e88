// The keyboard's event reports on the sync threads, and the syncs they lead to on the UI thread.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "keyboard_fixture.h"
#include "tests/support/callback_page_view.h"

namespace norvane::devices::testing {
namespace {

using namespace std::chrono_literals;
using emulator::MemoryArea;

// Moves the manual clock to each deadline, so the lighting thread ticks as fast as it can.
class ManualSleeper : public lighting::Sleeper {
 public:
  explicit ManualSleeper(ManualClock& clock) : clock_(clock) {}
  bool SleepUntil(Clock::TimePoint deadline, std::stop_token stop) override {
    std::this_thread::sleep_for(100us);
    if (clock_.Now() < deadline) clock_.Set(deadline);
    return !stop.stop_requested();
  }

 private:
  ManualClock& clock_;
};

class KeyboardEventsTest : public KeyboardTest {
 protected:
  void SetUp() override {
    OpenWired();
    ASSERT_EQ(page->ReadDeviceKeys(), 1);
    ASSERT_EQ(page->LoadProfile(), 1);
    view_.Attach(*page, {.refreshPage = [this] { ++refreshes; }, .profileSwitched = [this] { ++switches; }});
    ASSERT_EQ(page->OpenEventInterface(PathOf(kKeyboardProduct, kConsumerPage), EventSide::kWired), 1);
  }
  // Sends an event report from the keyboard.
  void Inject(uint16_t code) { ASSERT_TRUE(Emulator().InjectEvent(Keyboard(), code)); }
  // Gives the sync thread time to act on a report that should change nothing.
  void SettleEvents() { std::this_thread::sleep_for(50ms); }

  int refreshes = 0;
  int switches = 0;
  norvane::testing::CallbackPageView view_;
};

TEST_F(KeyboardEventsTest, AProfileSwitchReportedByTheKeyboardReloadsOnTheUiThread) {
  ASSERT_TRUE(Emulator().WriteMemory(Keyboard(), MemoryArea::kSettings, 0, std::vector<uint8_t>{1}));
  Inject(0x0402);
  ASSERT_TRUE(poster.WaitForCall(2000));
  EXPECT_EQ(switches, 0) << "nothing touches the page before the UI thread runs the call";
  EXPECT_EQ(poster.RunAll(), 1);
  EXPECT_EQ(switches, 1);
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(page->LastLiveReadResult(), 1);
  EXPECT_EQ(page->ActiveProfile(), 1);
  EXPECT_EQ(page->LastDeviceEvent(), 0);

  Inject(0x0401);  // resynchronise without a profile switch
  ASSERT_TRUE(poster.WaitForCall(2000));
  poster.RunAll();
  EXPECT_EQ(switches, 1);
  EXPECT_EQ(refreshes, 2);
}

TEST_F(KeyboardEventsTest, AResyncRequestRightBehindAProfileSwitchStillReloadsTheProfile) {
  Inject(0x0402);
  Inject(0x0401);
  ASSERT_TRUE(poster.WaitForCall(2000));
  std::this_thread::sleep_for(100ms);  // time for any further call to arrive
  EXPECT_EQ(poster.RunAll(), 1) << "one resync for both";
  EXPECT_EQ(switches, 1);
  EXPECT_EQ(refreshes, 1);
}

TEST_F(KeyboardEventsTest, ProfileNumbersInEventCodesRefreshThePage) {
  Inject(0x1003);
  ASSERT_TRUE(poster.WaitForCall(2000));
  EXPECT_EQ(page->ActiveProfile(), 3);
  poster.RunAll();
  EXPECT_EQ(refreshes, 1);
  Inject(0x8200);
  ASSERT_TRUE(poster.WaitForCall(2000));
  EXPECT_EQ(page->ActiveProfile(), 2);
  poster.RunAll();
  EXPECT_EQ(refreshes, 2);

  page->CommandChannel().SetOpen(false);  // codes above 0x402 count only while the keyboard is open
  Inject(0x1001);
  SettleEvents();
  EXPECT_EQ(poster.RunAll(), 0);
  EXPECT_EQ(page->ActiveProfile(), 2);
}

TEST_F(KeyboardEventsTest, KeyPressesFeedTheReactiveLighting) {
  page->SetLightParams({.mode = 10, .brightness = 4});
  page->RefreshKeyButtons();
  const auto a_key = static_cast<uint16_t>(PositionOf(kCodeA));  // the device reports positions
  Inject(0x0500 + a_key);
  Inject(0x05FF);  // position 255: no key
  Inject(0x0600 + a_key);
  const auto deadline = std::chrono::steady_clock::now() + 2s;
  while (page->Lighting().StateSnapshot().keyAction[64] != 2 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(1ms);
  }
  const auto state = page->Lighting().StateSnapshot();
  EXPECT_EQ(state.fade[64], 255);
  EXPECT_EQ(state.keyAction[64], 2) << "released last";
  int lit = 0;
  for (auto fade : state.fade) lit += fade != 0;
  EXPECT_EQ(lit, 1);
  EXPECT_EQ(poster.RunAll(), 0) << "key events need nothing of the UI thread";
}

TEST_F(KeyboardEventsTest, InitialSyncReadsTheKeyboardAndStartsTheLighting) {
  ManualSleeper sleeper(clock);
  MakePage(&sleeper);
  OpenWired();
  view_.Attach(*page, {.refreshPage = [this] { ++refreshes; }});
  CKeyboardProfiledata profile;
  profile.SetDefaultPath(page->DefaultProfileFile());
  profile.SetFilePath(ProfileFile());
  profile.LoadEntry(ProfileFile());
  LightEffect light = profile.GetLightInfo();
  light.mode = 5;  // static: every LED the fixed colour
  light.multi_color = 0;
  profile.SetLightInfo(light);
  ASSERT_TRUE(profile.Save());
  ASSERT_TRUE(Emulator().WriteMemory(Keyboard(), MemoryArea::kSettings, 1, std::vector<uint8_t>{5, 4}));

  page->InitialSync();
  EXPECT_TRUE(page->Layout().loaded);
  EXPECT_EQ(page->LastLiveReadResult(), 1);
  EXPECT_EQ(refreshes, 1);
  EXPECT_FALSE(page->Lists().effectNames.empty());
  ASSERT_TRUE(page->IsLightingThreadRunning());
  const auto deadline = std::chrono::steady_clock::now() + 2s;
  while (page->LedAt(64).level == 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(1ms);
  EXPECT_EQ(page->LedAt(64).level, 255);
  page.reset();  // stops the lighting thread before the sleeper goes
}

}  // namespace
}  // namespace norvane::devices::testing
