// Presenting frames: the preview, and the frames streamed to the keyboard in modes 29 and 30.
#include <gtest/gtest.h>

#include <chrono>

#include "keyboard_fixture.h"

namespace norvane::devices::testing {
namespace {

using namespace std::chrono_literals;
using emulator::FaultKind;
using emulator::MemoryArea;
using keyboard::StreamOutcome;

constexpr uint8_t kStreamLight = 0x12;

class RecordingPreview : public FramePreview {
 public:
  void ShowFrame(std::span<const lighting::LedRecord> shown, const lighting::DeviceFrame&) override {
    leds.assign(shown.begin(), shown.end());
  }
  std::vector<lighting::LedRecord> leds;
};

class KeyboardStreamTest : public KeyboardTest {
 protected:
  void SetUp() override {
    OpenWired();
    ASSERT_EQ(page->ReadDeviceKeys(), 1);
    ASSERT_EQ(page->LoadProfile(), 1);
    page->AttachPreview(&preview);
  }
  void UseMode(uint8_t mode) {
    page->SetLightParams({.mode = mode, .brightness = 4});
    page->RefreshKeyButtons();
    Emulator().ClearFrameLog();
  }

  RecordingPreview preview;
};

TEST_F(KeyboardStreamTest, HostDrivenModesStreamThreeBytesPerKeyPosition) {
  for (uint8_t mode : {29, 30}) {
    UseMode(mode);
    page->SetLedRecord(64, {10, 20, 30, 255, 0});
    page->SetLedRecord(0, {255, 0, 0, 128, 0});
    ASSERT_TRUE(page->PresentFrame());
    EXPECT_EQ(page->LastStreamOutcome(), StreamOutcome::kSent);
    // Each LED's colour goes to its key's device position.
    const auto a_key = static_cast<size_t>(PositionOf(kCodeA));
    const auto escape = static_cast<size_t>(PositionOf(kCodeEscape));
    EXPECT_EQ(Memory(MemoryArea::kLightStream, 3 * a_key, 3), (std::vector<uint8_t>{9, 19, 29}));
    EXPECT_EQ(Memory(MemoryArea::kLightStream, 3 * escape, 3), (std::vector<uint8_t>{127, 0, 0}));
    const auto frames = Requests(kStreamLight);
    ASSERT_EQ(frames.size(), 7u) << "129 positions: 387 bytes";
    EXPECT_EQ(frames.back().bytes[4], 387 - 6 * 56);
  }
}

TEST_F(KeyboardStreamTest, OtherModesTheReceiverLinkAndNoLightControlStreamNothing) {
  UseMode(5);
  ASSERT_TRUE(page->PresentFrame());
  EXPECT_TRUE(Requests(kStreamLight).empty());

  UseMode(29);
  page->SetLightControl(false);
  EXPECT_FALSE(page->PresentFrame());
  EXPECT_TRUE(Requests(kStreamLight).empty());

  page->SetLightControl(true);
  page->CommandChannel().SetOpen(false);
  OpenReceiver();
  Emulator().ClearFrameLog();
  ASSERT_TRUE(page->PresentFrame());
  EXPECT_TRUE(Requests(kStreamLight).empty());
}

TEST_F(KeyboardStreamTest, AFailedFramePausesTheStreamFor200msOnThePagesClock) {
  UseMode(29);
  Emulator().AddFault(Keyboard(), {.kind = FaultKind::kRefuse, .command = kStreamLight});
  const auto started = std::chrono::steady_clock::now();
  page->PresentFrame();
  EXPECT_EQ(page->LastStreamOutcome(), StreamOutcome::kFailed);
  page->PresentFrame();
  EXPECT_EQ(page->LastStreamOutcome(), StreamOutcome::kPaused);
  clock.Advance(199ms);
  page->PresentFrame();
  EXPECT_EQ(page->LastStreamOutcome(), StreamOutcome::kPaused);
  EXPECT_EQ(Requests(kStreamLight).size(), 1u);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 190ms)
      << "the UI thread never sleeps through a pause";
  clock.Advance(1ms);
  page->PresentFrame();
  EXPECT_EQ(page->LastStreamOutcome(), StreamOutcome::kSent);

  Emulator().Unplug(Keyboard());
  for (int i = 0; i < 5; ++i) page->PresentFrame();
  EXPECT_EQ(page->LastStreamOutcome(), StreamOutcome::kPaused);
}

TEST_F(KeyboardStreamTest, ThePreviewShowsTheLightsOnlyOnTheLightingTab) {
  UseMode(5);
  page->SetLedRecord(3, {1, 2, 3, 255, 0});
  page->PresentFrame();
  EXPECT_EQ(preview.leds[3], (lighting::LedRecord{1, 2, 3, 255, 0}));
  page->SelectFunctionTab(2);
  page->PresentFrame();
  EXPECT_EQ(preview.leds[3], lighting::LedRecord{});
  const auto f3 = static_cast<size_t>(PositionOf(kCodeF3));
  EXPECT_NE(page->LastDeviceFrame()[3 * f3 + 2], 0) << "the device frame is unaffected";
}

}  // namespace
}  // namespace norvane::devices::testing
