#include <gtest/gtest.h>

#include <chrono>

#include "devices/lighting/light_tables.h"
#include "devices/usb_device.h"

namespace norvane::devices {
namespace {

using namespace std::chrono_literals;
using lighting::LedRecord;
using lighting::LightParams;

// Every LED of the page shows the same record.
void ExpectUniform(const CNorvaneUSBDevice& page) {
  const auto frame = page.FrameSnapshot();
  for (const LedRecord& led : frame) ASSERT_EQ(led, frame.front());
}

class PageLighting : public ::testing::Test {
 protected:
  PageLighting() { page.SetLedCount(170); }
  void SetParams(LightParams params) { page.SetLightParams(params); }
  CNorvaneUSBDevice page;
};

TEST_F(PageLighting, SettingTheLedCountAlwaysClearsTheRecords) {
  page.SetLedRecord(3, {1, 2, 3, 4, 5});
  page.SetLedCount(170);
  EXPECT_EQ(page.LedCount(), 170);
  EXPECT_EQ(page.GetLedRecord(3), LedRecord{});
  // Out of range: setters do nothing, getters give zeros.
  page.SetLedRecord(170, {1, 1, 1, 1, 1});
  EXPECT_EQ(page.GetLedRecord(170), LedRecord{});
}

TEST_F(PageLighting, BreathingRunsThroughTheCurveAndStepsTheWheelColour) {
  SetParams({.brightness = 4, .direction = 1, .multiColour = 1});
  std::vector<int> colour_indexes;
  for (int tick = 0; tick < 128 * 14; ++tick) {
    page.FrameBreathing();
    if (page.Animation().position == 0) colour_indexes.push_back(page.Animation().colourIndex);
  }
  ExpectUniform(page);
  ASSERT_GE(colour_indexes.size(), 13u);
  for (std::size_t i = 0; i < 13; ++i) EXPECT_EQ(colour_indexes[i], (16 * (i + 1)) % 208) << i;
  EXPECT_EQ(colour_indexes[12], 0);  // after 192 the colour index starts again
}

TEST_F(PageLighting, LevelsFromFilesOrTheDeviceAreClampedWhereLookedUp) {
  SetParams({.brightness = 9, .red = 10, .green = 20, .blue = 30});
  page.FrameStatic();
  EXPECT_EQ(page.GetLedRecord(0), (LedRecord{10, 20, 30, 255, 0}));
  EXPECT_EQ(page.GetLightParams().brightness, 9);  // kept as stored
}

TEST_F(PageLighting, FlashChangesPhaseAfterTheSpeedsBlinkInterval) {
  ManualClock clock;
  const auto phase_changes = [&](uint8_t speed) {
    SetParams({.brightness = 4, .speed = speed, .red = 255});
    page.FrameFlash(clock.Now());
    const bool start = page.Animation().blinkOn;
    int elapsed = 0;
    while (page.Animation().blinkOn == start && elapsed < 10000) {
      clock.Advance(100ms);
      elapsed += 100;
      page.FrameFlash(clock.Now());
    }
    return elapsed;
  };
  EXPECT_EQ(phase_changes(0), 5600);
  EXPECT_EQ(phase_changes(4), 1400);
  EXPECT_EQ(phase_changes(200), 1400);  // an impossible speed level counts as the fastest
}

TEST_F(PageLighting, SpectrumCycleAndOffPaintEveryLed) {
  SetParams({.brightness = 4, .direction = 1});
  page.FrameSpectrum();
  ExpectUniform(page);
  EXPECT_EQ(page.GetLedRecord(169).level, 255);
  page.FrameBreathingCycle();
  ExpectUniform(page);
  page.FrameFlashCycle(ManualClock().Now());
  ExpectUniform(page);
  page.FrameOff();
  EXPECT_EQ(page.GetLedRecord(100), LedRecord{});
}

TEST_F(PageLighting, CustomStepsWithAnEmptyListTurnEveryLedOff) {
  page.SetLedRecord(5, {9, 9, 9, 9, 0});
  page.PlayCustomSteps(ManualClock().Now());
  EXPECT_EQ(page.GetLedRecord(5), LedRecord{});
}

TEST_F(PageLighting, CustomStepsPlayInTurn) {
  ManualClock clock;
  lighting::LightStep step{.mode = 1, .brightness = 4, .red = 255, .timeMs = 1000};
  page.SetCustomSteps({step, step, step});
  for (int i = 0; i < 70; ++i) {
    page.PlayCustomSteps(clock.Now());
    clock.Advance(15625us);
  }
  EXPECT_EQ(page.CustomStepIndex(), 1u);
  EXPECT_EQ(page.GetLedRecord(0), (LedRecord{255, 0, 0, 255, 0}));
}

class FramePresented : public FramePreview {
 public:
  void ShowFrame(std::span<const LedRecord> leds, const lighting::DeviceFrame& frame) override {
    led_count = leds.size();
    last = frame;
    ++calls;
  }
  std::size_t led_count = 0;
  lighting::DeviceFrame last{};
  int calls = 0;
};

TEST_F(PageLighting, PresentFrameShowsThePreviewOnlyWithLightControl) {
  FramePresented preview;
  page.AttachPreview(&preview);
  page.SetLedRecord(1, {200, 100, 50, 128, 0});
  page.SetLightControl(false);  // kind 1 but closed channel: nothing can be sent, nothing breaks
  EXPECT_FALSE(page.PresentFrame());
  EXPECT_EQ(preview.calls, 0);
  page.SetLightControl(true);
  EXPECT_TRUE(page.PresentFrame());
  EXPECT_EQ(preview.calls, 1);
  EXPECT_EQ(preview.led_count, 170u);
  EXPECT_EQ(preview.last[3], 100);
  EXPECT_EQ(preview.last[4], 50);
  EXPECT_EQ(preview.last[5], 25);
}

TEST_F(PageLighting, PresentFrameNeverWritesPastTheDeviceFrame) {
  page.SetLedCount(400);
  for (std::size_t i = 0; i < 400; ++i) page.SetLedRecord(i, {255, 255, 255, 255, 0});
  ASSERT_TRUE(page.PresentFrame());
  const auto& frame = page.LastDeviceFrame();
  EXPECT_EQ(frame.size(), 512u);
  EXPECT_EQ(frame[509], 254);  // LED 169, the last one with a place
  EXPECT_EQ(frame[510], 0);    // LED 170 has no place in the frame
}

}  // namespace
}  // namespace norvane::devices
