#include "devices/lighting/strip_lighting.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "devices/lighting/light_tables.h"

namespace norvane::lighting {
namespace {

using namespace std::chrono_literals;

LightParams Live(std::uint8_t mode, bool multi, bool forward = true) {
  LightParams p;
  p.mode = mode;
  p.brightness = 4;
  p.speed = 4;
  p.multiColour = multi ? 1 : 0;
  p.direction = forward ? 1 : 0;
  p.red = 90;
  return p;
}

TEST(StripWaves, PadAndHeadsetSpreadTheWaveDifferently) {
  GenericAnimation state;
  std::vector<LedRecord> frame(4);
  FramePadWave(state, Live(0, true), frame);
  EXPECT_EQ((Rgb{frame[2].red, frame[2].green, frame[2].blue}), Wheel(1 + 1 + 14));
  FrameHeadsetWave(state, Live(0, true), frame);
  EXPECT_EQ((Rgb{frame[2].red, frame[2].green, frame[2].blue}), Wheel(2 + 1 + 32));

  GenericAnimation single;
  FrameHeadsetWave(single, Live(0, false), frame);
  EXPECT_EQ(single.position, 3) << "the single-colour headset wave moves by 3";
  EXPECT_EQ(frame[1].level, Scale(255, WaveLevel(3 + 10)));
  FrameHeadsetWave(single, Live(0, false, false), frame);
  EXPECT_EQ(single.position, 0);
  FrameHeadsetWave(single, Live(0, false, false), frame);
  EXPECT_EQ(single.position, 93);
}

TEST(StripLighting, ColumnSweepMovesOneLedEveryOtherFrame) {
  StripLighting lighting(StripKind::MousePad);
  lighting.StartMode();
  std::vector<LedRecord> frame(6);
  const LightParams live = Live(6, false);  // speed 4: a frame every 7 ticks
  Clock::TimePoint now{};
  auto frames = [&](int count) {
    for (int i = 0; i < count * 7; ++i) lighting.Tick(live, frame, now += 15625us);
  };
  frames(1);
  EXPECT_EQ(frame[0].level, 0) << "the mark lights on the second frame";
  frames(1);
  EXPECT_EQ(frame[0].level, Scale(255, 215));
  EXPECT_EQ(frame[1].level, 0);
  frames(2);
  EXPECT_EQ(frame[1].level, Scale(255, 215));
  EXPECT_EQ(frame[0].level, Scale(255, 135));
  EXPECT_EQ(frame[1].red, 90);
}

TEST(StripLighting, PairSweepLightsFacingPairsAndSkipsMissingLeds) {
  GenericAnimation state;
  SweepState sweep;
  sweep.buffers.columns[0] = 1;
  std::vector<LedRecord> frame(10);  // LEDs 11 to 14 do not exist
  const LightParams live = Live(7, false);
  FramePairSweep(state, sweep, live, frame);
  FramePairSweep(state, sweep, live, frame);
  EXPECT_EQ(frame[1].level, Scale(255, 215));
  EXPECT_EQ(frame[2].level, 0);
  EXPECT_EQ(sweep.buffers.columns[7], 1) << "forward light runs the pairs' marks backwards";
  FramePairSweep(state, sweep, live, frame);
  FramePairSweep(state, sweep, live, frame);
  EXPECT_EQ(frame[7].level, 0) << "the eighth mark has no pair: a dark beat between rounds";
  FramePairSweep(state, sweep, live, frame);
  FramePairSweep(state, sweep, live, frame);
  EXPECT_EQ(frame[7].level, Scale(255, 215));
  EXPECT_EQ(frame[8].level, Scale(255, 215));
}

TEST(StripLighting, UnlistedModesPlayTheCustomSteps) {
  StripLighting lighting(StripKind::Headset);
  LightStep step;
  step.mode = 1;
  step.brightness = 4;
  step.green = 200;
  step.timeMs = 1000;
  lighting.SetCustomSteps({step});
  std::vector<LedRecord> frame(3);
  lighting.Tick(Live(5, false), frame, {});
  EXPECT_EQ(frame[2], (LedRecord{0, 200, 0, 255, 0}));
  lighting.Tick(Live(8, false), frame, {});
  EXPECT_EQ(frame[2].level, 255) << "a built-in mode waits for its interval";
}

}  // namespace
}  // namespace norvane::lighting
