// The lighting synchronisation: when it is wanted, how many ticks a step waits, which pages take the
// shared colour and how a page shows it; and the thread reading pages that the UI thread appends meanwhile
// (run under ThreadSanitizer).
#include "app/light_sync.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "devices/basic_device.h"

namespace norvane::app {
namespace {

using namespace std::chrono_literals;
using hid::DeviceKind;

std::unique_ptr<devices::CNorvaneUSBDevice> Page(DeviceKind kind, bool open, bool synced) {
  auto device = std::make_unique<devices::CNorvaneBasicDevice>();
  hid::InterfaceEntry entry;
  entry.kind = kind;
  device->SetIdentity(entry);
  device->SetLedCount(3);
  device->CommandChannel().SetOpen(open);
  device->SetLightSynced(synced);
  return device;
}

class LightSyncTest : public ::testing::Test {
 protected:
  devices::CNorvaneUSBDevice& Add(DeviceKind kind, bool open, bool synced) {
    pages_.push_back(Page(kind, open, synced));
    shared_.targets.Add(pages_.back().get());
    return *pages_.back();
  }
  LightSyncLoop::Turn TickTimes(LightSyncLoop& loop, int ticks) {
    LightSyncLoop::Turn turn = LightSyncLoop::Turn::kIdle;
    for (int i = 0; i < ticks; ++i) turn = loop.OnTick(now_ += lighting::kLightingTick);
    return turn;
  }

  LightSyncShared shared_;
  std::vector<std::unique_ptr<devices::CNorvaneUSBDevice>> pages_;
  Clock::TimePoint now_{};
};

TEST_F(LightSyncTest, WantedOnlyWhileAnOpenPageIsInTheSharedEffect) {
  LightSyncLoop loop(shared_, now_);
  EXPECT_FALSE(loop.Wanted()) << "no pages";
  Add(DeviceKind::kKeyboard, false, true);
  Add(DeviceKind::kMouse, true, false);
  EXPECT_FALSE(loop.Wanted()) << "the synchronised keyboard is not connected, the mouse is not synchronised";
  EXPECT_EQ(loop.OnTick(now_), LightSyncLoop::Turn::kIdle);
  Add(DeviceKind::kHeadset, true, true);
  EXPECT_TRUE(loop.Wanted()) << "failing the others, a headset in the shared effect is enough";
  devices::CNorvaneUSBDevice& pad = Add(DeviceKind::kMousePad, true, true);
  EXPECT_TRUE(loop.Wanted());
  pad.SetLightSynced(false);
  Add(DeviceKind::kMouseReceiver, true, true);
  EXPECT_TRUE(loop.Wanted()) << "a mouse through its receiver counts as a mouse";
}

TEST_F(LightSyncTest, StepsAtTheSpeedsThresholdAndGivesTheColourToSynchronisedPages) {
  devices::CNorvaneUSBDevice& keyboard = Add(DeviceKind::kKeyboard, true, true);
  devices::CNorvaneUSBDevice& mouse = Add(DeviceKind::kMouse, true, false);
  shared_.effect.Store({.type = lighting::kSharedStatic, .brightness = 4, .speed = 2, .red = 255});
  LightSyncLoop loop(shared_, now_);
  EXPECT_EQ(TickTimes(loop, 17), LightSyncLoop::Turn::kCounting) << "speed level 2 waits 18 ticks";
  EXPECT_EQ(keyboard.LedAt(0).level, 0);
  EXPECT_EQ(TickTimes(loop, 1), LightSyncLoop::Turn::kStepped);
  EXPECT_EQ(loop.LastWord(), 0xFF0000FFu);
  for (std::size_t led = 0; led < 3; ++led) {
    EXPECT_EQ(keyboard.LedAt(led).red, 255);
    EXPECT_EQ(keyboard.LedAt(led).level, 255);
  }
  EXPECT_EQ(mouse.LedAt(0).level, 0) << "a page in its own effect keeps it";

  shared_.effect.Store({.type = lighting::kSharedOff, .brightness = 4, .speed = 4});
  EXPECT_EQ(TickTimes(loop, 6), LightSyncLoop::Turn::kCounting) << "the count starts again after a step";
  EXPECT_EQ(TickTimes(loop, 1), LightSyncLoop::Turn::kStepped);
  EXPECT_EQ(keyboard.LedAt(0).level, 0);
}

TEST_F(LightSyncTest, ASynchronisedPageRestsItsOwnEffectUntilItLeavesTheSharedOne) {
  devices::CNorvaneUSBDevice& pad = Add(DeviceKind::kMousePad, true, true);
  lighting::LightParams own;
  own.mode = 3;  // static, drawn every 7 ticks at speed level 4
  own.brightness = 4;
  own.speed = 4;
  own.green = 255;
  pad.SetLightParams(own);
  auto tick7 = [&] {
    for (int i = 0; i < 7; ++i) pad.LightingTick(now_ += lighting::kLightingTick);
  };
  tick7();
  ASSERT_EQ(pad.LedAt(0).green, 255);

  pad.ShowSyncColour(lighting::ColourWord(0, 0, 255, 200));
  tick7();
  EXPECT_EQ(pad.LedAt(0).blue, 255) << "the shared colour stays";
  EXPECT_EQ(pad.LedAt(0).green, 0);
  EXPECT_EQ(pad.LedAt(0).level, 200);

  pad.SetLightSynced(false);
  pad.ShowSyncColour(lighting::ColourWord(255, 0, 0, 255));
  EXPECT_EQ(pad.LedAt(0).red, 0) << "a page out of the shared effect ignores its colour";
  tick7();
  EXPECT_EQ(pad.LedAt(0).green, 255) << "its own effect paints again";
  EXPECT_EQ(pad.LedAt(0).blue, 0);
}

// The UI thread appends pages and changes the shared effect while the thread walks the pages.
TEST_F(LightSyncTest, TheThreadServesPagesAppendedWhileItRuns) {
  auto shared = std::make_shared<LightSyncShared>();
  shared->effect.Store({.type = lighting::kSharedStatic, .brightness = 4, .speed = 4, .blue = 255});
  std::vector<std::unique_ptr<devices::CNorvaneUSBDevice>> pages;
  pages.push_back(Page(DeviceKind::kKeyboard, true, true));
  shared->targets.Add(pages.back().get());
  std::unique_ptr<IWorker> thread = StartLightSyncThread(shared);

  for (int i = 0; i < 20; ++i) {
    pages.push_back(Page(i % 2 ? DeviceKind::kMouse : DeviceKind::kMousePad, true, true));
    shared->targets.Add(pages.back().get());
    shared->effect.Store({.type = lighting::kSharedStatic, .brightness = std::uint8_t(i % 5), .speed = 4,
                          .blue = 255});
    std::this_thread::sleep_for(2ms);
  }
  shared->effect.Store({.type = lighting::kSharedStatic, .brightness = 4, .speed = 4, .blue = 255});
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  auto allBlue = [&] {
    for (const auto& page : pages)
      if (page->LedAt(0).blue != 255 || page->LedAt(0).level != 255) return false;
    return true;
  };
  while (!allBlue() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(10ms);
  EXPECT_TRUE(allBlue()) << "every page appended meanwhile shows the shared colour";

  thread->RequestStop();
  EXPECT_TRUE(thread->WaitForEnd(1s));
}

}  // namespace
}  // namespace norvane::app
